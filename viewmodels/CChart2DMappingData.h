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
// all kept). Along a position it draws the line of the map through the newest
// block (the blocks sharing its other two coordinates): a grid's other rows would
// be joined across, zigzagging. Field vectors are first turned into the mapping frame.
class CChart2DMappingData : public CChart2DFieldsData
{
    Q_OBJECT
    Q_PROPERTY(int HorizontalAxisType READ HorizontalAxisType WRITE setHorizontalAxisType NOTIFY
                   HorizontalAxisTypeChanged)
    Q_PROPERTY(QStringList HorizontalAxisNames READ HorizontalAxisNames CONSTANT)
    // Averaging within each block (never across blocks): 0 Off, 1 Exponential, 2 Moving.
    Q_PROPERTY(uint AveragingCount READ AveragingCount NOTIFY AveragingChanged)
    Q_PROPERTY(int AveragingModeIndex READ AveragingModeIndex NOTIFY AveragingChanged)
    Q_PROPERTY(QStringList AveragingModeNames READ AveragingModeNames CONSTANT)

public:
    CChart2DMappingData(CSettings& settings, COperationMapping* operation, QObject* parent = nullptr);

    int HorizontalAxisType() const { return m_HorizontalAxisType; }
    QStringList HorizontalAxisNames() const;
    QString XAxisTitle() const override;
    bool XAxisIsTime() const override;
    // 0 time, 1 X, 2 Y, 3 Z position; the chart is drawn again along it.
    void setHorizontalAxisType(int value);

    // Turns the block's field into the mapping frame (once) and plots it.
    void Plot(const QSharedPointer<CMeasureBlockMapping>& block);
    // Many blocks at once (a reload): the chart is built once.
    void PlotAll(const std::vector<QSharedPointer<CMeasureBlockMapping>>& blocks);
    // Turns a block's field vectors into the mapping frame unless that was done.
    static void RotateOnce(CMeasureBlockMapping& block);
    void ClearAll();

    uint AveragingCount() const { return m_AveragingCount; }
    int AveragingModeIndex() const { return m_AveragingModeIndex; }
    QStringList AveragingModeNames() const;
    Q_INVOKABLE void onAveragingModeIndexChange(int index);
    Q_INVOKABLE void onAveragingCountIndexChange(uint count);
    Q_INVOKABLE void saveAveragingParameter();
    // One quantity of a block averaged as the mode says, with N = count.
    static std::vector<float> Filtered(const std::vector<float>& values, int modeIndex, uint count);

signals:
    void HorizontalAxisTypeChanged(int value);
    void AveragingChanged();

protected:
    void ComputeDeltaX() override;
    void ApplyFilter() override {}
    void UpdateXBoundaries(int count) override;
    void UpdateTimeLegend() override;

private:
    double l_Key(const CMeasureBlockMapping& block) const;
    // Whether the block lies on the line drawn: its other two coordinates are the row's.
    bool l_InRow(const CMeasureBlockMapping& block) const;
    // The line drawn goes through this block: true when that changed the line.
    bool l_SetRow(const CMeasureBlockMapping& block);
    // Whether the map has blocks off the line drawn (the title then names the line).
    bool l_SeveralRows() const;
    // The block's samples averaged, or the samples themselves with averaging off.
    std::vector<QSharedPointer<CFieldIntensityResult>> l_Filter(const CMeasureBlockMapping& block) const;
    void l_Rebuild();
    void l_UpdateBounds();
    // Once per map: a position axis along which every point lies at one place (the Z of a
    // plane) gives way to the first one along which the points spread.
    void l_ChooseSpreadingAxis();

    struct Entry
    {
        double key;
        quint64 arrival;
        QSharedPointer<CMeasureBlockMapping> block;
        std::vector<QSharedPointer<CFieldIntensityResult>> filtered;
    };
    // Adds the block in its place; the entry added when it went after every other one
    // of the line drawn, else null.
    const Entry* l_Insert(const QSharedPointer<CMeasureBlockMapping>& block);
    void l_Append(const Entry& entry);
    CSettings& m_Settings;
    bool m_AxisChosen = false;
    // The position of the block the drawn line goes through.
    double m_Row[3] = {0, 0, 0};
    COperationMapping* m_pOperation;
    std::vector<Entry> m_Blocks;
    quint64 m_Arrivals = 0;
    quint64 m_Samples = 0;
    int m_HorizontalAxisType = 0;
    uint m_AveragingCount = 1;
    int m_AveragingModeIndex = 0;
};
