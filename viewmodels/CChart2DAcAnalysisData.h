#pragma once

#include "viewmodels/CChart2DFieldsData.h"

#include <QSharedPointer>
#include <deque>

class COperationMeasure;
class CMeasureBlock;

// The AC analysis chart: one point per block, the figure of merit (RMS,
// peak-to-peak or standard deviation) of each quantity of the block.
class CChart2DAcAnalysisData : public CChart2DFieldsData
{
    Q_OBJECT

public:
    explicit CChart2DAcAnalysisData(COperationMeasure* operation, QObject* parent = nullptr);

    // The point of one block: B, B.B', Bx, By, Bz by their figure, dB as half the
    // difference of the figures of B + dB and B - dB, at the time of the last sample.
    static QSharedPointer<CFieldIntensityResult> FigurePoint(const CMeasureBlock& block, int figureIndex);

    void Plot(const CMeasureBlock& block, int figureIndex);
    void PlotAll(const std::deque<QSharedPointer<CMeasureBlock>>& blocks, int figureIndex);
    // The blocks up to and with `index`.
    void PlotUntilCurrentStep(const std::deque<QSharedPointer<CMeasureBlock>>& blocks, int figureIndex,
                              int index);

protected:
    void ComputeDeltaX() override;
    void ApplyFilter() override;

private:
    void l_Append(const CMeasureBlock& block, int figureIndex);
    void l_Finish();

    COperationMeasure* m_pOperation;
    int m_DeltaX = 0;
};
