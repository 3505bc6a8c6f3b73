#pragma once

#include "viewmodels/CChart2DFieldsData.h"

#include <QSharedPointer>
#include <QStringList>

#include <vector>

class CSettings;
class COperationMapping;
class CMeasureBlockMapping;

// The mapping chart: the samples of every block against time, or against the
// block's X, Y or Z position (blocks ordered along it, several at one position
// all kept). Field vectors are first turned into the mapping frame.
class CChart2DMappingData : public CChart2DFieldsData
{
    Q_OBJECT
    Q_PROPERTY(int HorizontalAxisType READ HorizontalAxisType WRITE setHorizontalAxisType NOTIFY
                   HorizontalAxisTypeChanged)
    Q_PROPERTY(QStringList HorizontalAxisNames READ HorizontalAxisNames CONSTANT)

public:
    CChart2DMappingData(CSettings& settings, COperationMapping* operation, QObject* parent = nullptr);

    int HorizontalAxisType() const { return m_HorizontalAxisType; }
    QStringList HorizontalAxisNames() const;
    // 0 time, 1 X, 2 Y, 3 Z position; the chart is drawn again along it.
    void setHorizontalAxisType(int value);

    // Turns the block's field into the mapping frame (once) and plots it.
    void Plot(const QSharedPointer<CMeasureBlockMapping>& block);
    // Turns a block's field vectors into the mapping frame unless that was done.
    static void RotateOnce(CMeasureBlockMapping& block);
    void ClearAll();

signals:
    void HorizontalAxisTypeChanged(int value);

protected:
    void ComputeDeltaX() override;
    void ApplyFilter() override {}
    void UpdateXBoundaries(int count) override;
    void UpdateTimeLegend() override;

private:
    double l_Key(const CMeasureBlockMapping& block) const;
    void l_Rebuild();

    struct Entry
    {
        double key;
        quint64 arrival;
        QSharedPointer<CMeasureBlockMapping> block;
    };
    CSettings& m_Settings;
    COperationMapping* m_pOperation;
    std::vector<Entry> m_Blocks;
    quint64 m_Arrivals = 0;
    quint64 m_Samples = 0;
    int m_HorizontalAxisType = 0;
};
