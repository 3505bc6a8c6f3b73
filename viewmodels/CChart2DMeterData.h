#pragma once

#include "viewmodels/CChart2DFieldsData.h"

#include <QStringList>

class CSettings;
class COperationMeasure;
class CMeasureBlock;

// The meter's time-series chart: every sample of each block, optionally averaged
// (moving or exponential), the newest ones up to the operation's retained limit.
class CChart2DMeterData : public CChart2DFieldsData
{
    Q_OBJECT
    Q_PROPERTY(uint AveragingCount READ AveragingCount NOTIFY AveragingCountChanged)
    Q_PROPERTY(AveragingModes AveragingMode READ AveragingMode NOTIFY AveragingModeChanged)
    Q_PROPERTY(int AveragingModeIndex READ AveragingModeIndex NOTIFY AveragingModeIndexChanged)
    Q_PROPERTY(QStringList AveragingModeNames READ AveragingModeNames NOTIFY AveragingModeNamesChanged)
public:
    enum AveragingModes
    {
        Off = 0,
        Exponential = 1,
        Moving = 2
    };
    Q_ENUM(AveragingModes)

    CChart2DMeterData(CSettings& settings, COperationMeasure* operation, QObject* parent = nullptr);

    uint AveragingCount() const { return m_AveragingCount; }
    AveragingModes AveragingMode() const { return m_AveragingMode; }
    int AveragingModeIndex() const { return m_AveragingModeIndex; }
    QStringList AveragingModeNames() const { return m_AveragingModeNames; }
    void setAveragingCount(uint value);
    void setAveragingMode(AveragingModes value);

    void Plot(const CMeasureBlock& block);
    // Moves the window to end at the block's last sample (a step through a recording the
    // chart already holds), as wide as a live window.
    void XmaxUntilCurrentStep(const CMeasureBlock& block);

    Q_INVOKABLE void onAveragingModeIndexChange(int index);
    Q_INVOKABLE void onAveragingCountIndexChange(uint count);
    Q_INVOKABLE void saveAveragingParameter();

signals:
    void AveragingCountChanged(uint value);
    void AveragingModeChanged(AveragingModes value);
    void AveragingModeIndexChanged(int value);
    void AveragingModeNamesChanged(QStringList value);

protected:
    void ComputeDeltaX() override;
    void ApplyFilter() override;
    void ResetFilter() override;

private:
    void l_InternalPlot(const CMeasureBlock& block);

    CSettings& m_Settings;
    COperationMeasure* m_pOperation;
    uint m_AveragingCount = 1;
    AveragingModes m_AveragingMode = Off;
    int m_AveragingModeIndex = 0;
    QStringList m_AveragingModeNames;
    // The filter's state: results in the window and the running sums of B, Bx, By,
    // Bz, B.B' and dB.
    int m_WindowCount = 0;
    std::array<float, 6> m_Sums{};
    // Finite values in each running sum: a NaN or infinite sample is skipped, never summed
    // (one would otherwise poison the average for the rest of the session).
    std::array<int, 6> m_Counts{};
    int m_DeltaX = 0;

private:
    // Outputs: set by the model itself as its state changes, read-only to QML.
    void setAveragingModeIndex(int value);
};
