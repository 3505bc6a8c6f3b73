#include "viewmodels/CChart2DAcAnalysisData.h"

#include "app/LogCategories.h"
#include "compute/FieldStatistics.h"
#include "model/CMeasureBlock.h"
#include "model/CMeasurementParameters.h"
#include "operations/COperationMeasure.h"

#include <algorithm>
#include <cmath>

CChart2DAcAnalysisData::CChart2DAcAnalysisData(COperationMeasure* operation, QObject* parent)
    : CChart2DFieldsData(operation->OperationParameters(), parent), m_pOperation(operation)
{
    setMinDeltaAxisX(0.1);
}

QSharedPointer<CFieldIntensityResult> CChart2DAcAnalysisData::FigurePoint(const CMeasureBlock& block,
                                                                          int figureIndex)
{
    static const char* const names[] = {"B", "B.B'", "Bx", "By", "Bz", "B-dB", "B+dB"};
    std::array<KVL::Instrument::ZRQ5520Types::CFluxList, 7> series;
    for (auto& s : series)
        s.reserve(std::size_t(block.Results.size()));
    for (const QSharedPointer<CFieldIntensityResult>& sample : block.Results)
    {
        series[0].push_back(sample->B());
        series[1].push_back(sample->BBprime());
        series[2].push_back(sample->Bx());
        series[3].push_back(sample->By());
        series[4].push_back(sample->Bz());
        series[5].push_back(sample->B() - sample->dB());
        series[6].push_back(sample->B() + sample->dB());
    }
    std::array<float, 7> figure{};
    for (std::size_t i = 0; i < series.size(); ++i)
    {
        bool computed = false;
        const char* function = "ComputeRMSValue";
        if (figureIndex == 1)
        {
            function = "ComputeP2PValue";
            computed = KVL::ComputeP2PValue(series[i], figure[i]);
        }
        else if (figureIndex == 2)
        {
            function = "ComputeStdDevValue";
            computed = KVL::ComputeStdDevValue(series[i], figure[i]);
        }
        else
        {
            computed = KVL::ComputeRMSValue(series[i], figure[i]);
        }
        if (!computed)
        {
            figure[i] = 0;
            qCWarning(lcUi).noquote() << QStringLiteral("Error with %1: %2")
                                             .arg(QLatin1String(function), QString::fromUtf8(names[i]));
        }
    }
    auto point = QSharedPointer<CFieldIntensityResult>::create();
    point->setB(figure[0]);
    point->setBBprime(figure[1]);
    point->setBx(figure[2]);
    point->setBy(figure[3]);
    point->setBz(figure[4]);
    point->setdB(std::fabs(figure[6] - figure[5]) / 2.0f);
    point->setdBConverted(std::numeric_limits<float>::quiet_NaN());
    if (!block.Results.isEmpty())
    {
        point->Timestamp = block.Results.last()->Timestamp;
        point->TimestampNanosecond = block.Results.last()->TimestampNanosecond;
    }
    return point;
}

void CChart2DAcAnalysisData::l_Append(const CMeasureBlock& block, int figureIndex)
{
    if (block.Results.isEmpty())
        return;
    AppendReceived(FigurePoint(block, figureIndex));
}

void CChart2DAcAnalysisData::l_Finish()
{
    ApplyFilter();
    const CMeasurementParameters* parameters = m_pOperation->MeasurementParameters();
    // The retained results become a number of blocks: one point stands for a block.
    const quint64 limit = std::max<quint64>(1, m_pOperation->MaxMeasurementCount() /
                                                   quint64(std::max(parameters->BlockSize(), 1)));
    if (ReceivedResults().size() > limit)
        DropOldest(std::size_t(ReceivedResults().size() - limit));
    MarkNewData();
    setMeasureResultCount(quint64(ReceivedResults().size()));
    setMeasureResultMinX(0);
    const double maxX = ReceivedResults().empty() ? 1.0 : (Times().back() - TimeOrigin()) + MinDeltaAxisX();
    setMeasureResultMaxX(maxX > 0.5 ? maxX + 0.5 : maxX);
}

void CChart2DAcAnalysisData::Plot(const CMeasureBlock& block, int figureIndex)
{
    if (MeasureResultCount() == 0)
    {
        resetAxisXDelta(false);
        resetAxisYDelta();
    }
    l_Append(block, figureIndex);
    l_Finish();
}

void CChart2DAcAnalysisData::PlotAll(const std::deque<QSharedPointer<CMeasureBlock>>& blocks, int figureIndex)
{
    PlotUntilCurrentStep(blocks, figureIndex, int(blocks.size()) - 1);
}

void CChart2DAcAnalysisData::PlotUntilCurrentStep(const std::deque<QSharedPointer<CMeasureBlock>>& blocks,
                                                  int figureIndex, int index)
{
    const std::size_t count = std::min(blocks.size(), std::size_t(std::max(index + 1, 0)));
    for (std::size_t i = 0; i < count; ++i)
        l_Append(*blocks[i], figureIndex);
    l_Finish();
    resetAxisXDelta(true);
}

void CChart2DAcAnalysisData::ComputeDeltaX()
{
    m_DeltaX = int(m_pOperation->MeasurementParameters()->DisplayRate() * 10);
}

void CChart2DAcAnalysisData::ApplyFilter()
{
    for (std::size_t i = FilteredResults().size(); i < ReceivedResults().size(); ++i)
        AppendFiltered(ReceivedResults()[i]);
}
