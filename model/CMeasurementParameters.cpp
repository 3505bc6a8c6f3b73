#include "model/CMeasurementParameters.h"

#include "model/CNumberText.h"
#include "model/TesvanaSetter.h"

#include <QStringList>

#include <cmath>
#include <limits>

CMeasurementParameters::CMeasurementParameters(QObject* parent) : QObject(parent)
{
    connect(this, &CMeasurementParameters::AcquisitionRateChanged, this,
            &CMeasurementParameters::OnAcquisitionRateChanged, Qt::DirectConnection);
    connect(this, &CMeasurementParameters::DisplayRateChanged, this,
            &CMeasurementParameters::OnDisplayRateChanged, Qt::DirectConnection);
    connect(this, &CMeasurementParameters::FrequencyMaxChanged, this,
            &CMeasurementParameters::OnFrequencyMaxChanged, Qt::DirectConnection);
    connect(this, &CMeasurementParameters::FrequencyMinChanged, this,
            &CMeasurementParameters::OnFrequencyMinChanged, Qt::DirectConnection);
    connect(this, &CMeasurementParameters::BlockSizeChanged, this,
            &CMeasurementParameters::OnBlockSizeChanged, Qt::DirectConnection);
    connect(this, &CMeasurementParameters::NumberOfBinsChanged, this,
            &CMeasurementParameters::OnNumberOfBinsChanged, Qt::DirectConnection);
    connect(this, &CMeasurementParameters::ImmediateAcquisitionRateChanged, this,
            &CMeasurementParameters::OnImmediateAcquisitionRateChanged, Qt::DirectConnection);
    connect(this, &CMeasurementParameters::TriggerModeChanged, this,
            &CMeasurementParameters::OnTriggerModeChanged, Qt::DirectConnection);
}

double CMeasurementParameters::DeltaFrequency() const
{
    return m_BlockSize == 0 ? 0.0 : m_AcquisitionRate / m_BlockSize;
}

QString CMeasurementParameters::ToString(const QString& separator) const
{
    const QStringList tokens = {
        QStringLiteral("Units=") + CUnitsToQString(m_Units),
        QStringLiteral("Range=") + CNumberText::G6(m_Range),
        QStringLiteral("AutoRange=") + (m_AutoRange ? QStringLiteral("1") : QStringLiteral("0")),
        QStringLiteral("TriggerMode=") + CTriggerToQString(m_TriggerMode),
        QStringLiteral("AcqRate=") + CNumberText::G6(m_AcquisitionRate),
        QStringLiteral("DispRate=") + CNumberText::G6(m_DisplayRate),
        QStringLiteral("Avg=") + QString::number(m_Averaging),
        QStringLiteral("FreqMin=") + CNumberText::G6(m_FrequencyMin),
        QStringLiteral("FreqMax=") + CNumberText::G6(m_FrequencyMax),
        QStringLiteral("Bins=") + CNumberText::G6(m_NumberOfBins),
        QStringLiteral("BlockSize=") + QString::number(m_BlockSize),
    };
    return tokens.join(separator);
}

template <typename Rules> void CMeasurementParameters::l_RunHandler(bool& inProgress, Rules rules)
{
    const bool remembered = m_ApplyConfiguration;
    if (remembered)
        setApplyConfiguration(false);
    inProgress = true;
    rules();
    setApplyConfiguration(remembered);
    inProgress = false;
}

int CMeasurementParameters::l_TruncateToInt(double value)
{
    // Truncation toward zero; a quotient beyond the int range (a huge rate read
    // from a file, say) is clamped instead of being undefined.
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

bool CMeasurementParameters::l_ImmediateOrExternal() const
{
    return m_TriggerMode == CTrigger::TriggerMode::IMMEDIATE ||
           m_TriggerMode == CTrigger::TriggerMode::EXTERNAL;
}

void CMeasurementParameters::OnAcquisitionRateChanged()
{
    l_RunHandler(m_InAcquisitionRate, [this] {
        if (!m_InFrequencyMax)
            setFrequencyMax(m_AcquisitionRate * 0.5);
        if (!m_InBlockSize && !l_ImmediateOrExternal() && m_AcquisitionRate >= m_DisplayRate &&
            m_DisplayRate > 0)
            setBlockSize(l_TruncateToInt(m_AcquisitionRate / m_DisplayRate));
        if (!m_InDisplayRate && l_ImmediateOrExternal() && m_BlockSize >= 1)
            setDisplayRate(m_AcquisitionRate / m_BlockSize);
    });
}

void CMeasurementParameters::OnDisplayRateChanged()
{
    l_RunHandler(m_InDisplayRate, [this] {
        if (!m_InBlockSize && !m_InAcquisitionRate && m_AcquisitionRate >= m_DisplayRate && m_DisplayRate > 0)
            setBlockSize(l_TruncateToInt(m_AcquisitionRate / m_DisplayRate));
        if (!m_InNumberOfBins && m_FrequencyMax >= m_DisplayRate && m_DisplayRate > 0)
            setNumberOfBins(m_FrequencyMax / m_DisplayRate);
    });
}

void CMeasurementParameters::OnFrequencyMaxChanged()
{
    l_RunHandler(m_InFrequencyMax, [this] {
        if (!m_InAcquisitionRate)
            setAcquisitionRate(m_FrequencyMax + m_FrequencyMax);
        if (!m_InNumberOfBins && m_FrequencyMax >= m_DisplayRate && m_DisplayRate > 0)
            setNumberOfBins(m_FrequencyMax / m_DisplayRate);
    });
}

void CMeasurementParameters::OnFrequencyMinChanged()
{
    l_RunHandler(m_InFrequencyMin, [this] {
        if (!m_InNumberOfBins && m_FrequencyMax >= m_DisplayRate && m_DisplayRate > 0)
            setNumberOfBins(m_FrequencyMax / m_DisplayRate);
    });
}

void CMeasurementParameters::OnBlockSizeChanged()
{
    l_RunHandler(m_InBlockSize, [this] {
        if (m_InDisplayRate)
            return;
        if (!m_InAcquisitionRate && m_TriggerMode == CTrigger::TriggerMode::CONTINUOUS)
            setAcquisitionRate(m_DisplayRate * m_BlockSize);
        else if (m_TriggerMode != CTrigger::TriggerMode::CONTINUOUS && m_BlockSize >= 1)
            setDisplayRate(m_AcquisitionRate / m_BlockSize);
    });
}

void CMeasurementParameters::OnNumberOfBinsChanged()
{
    l_RunHandler(m_InNumberOfBins, [this] {
        if (!m_InDisplayRate && m_FrequencyMax >= m_NumberOfBins && m_NumberOfBins > 0)
            setDisplayRate(m_FrequencyMax / m_NumberOfBins);
    });
}

void CMeasurementParameters::OnImmediateAcquisitionRateChanged()
{
    if (m_TriggerMode != CTrigger::TriggerMode::IMMEDIATE)
        return;
    l_RunHandler(m_InImmediateAcquisitionRate, [this] {
        if (!m_InFrequencyMax)
            setFrequencyMax(m_ImmediateAcquisitionRate * 0.5);
    });
}

void CMeasurementParameters::OnTriggerModeChanged()
{
    OnImmediateAcquisitionRateChanged();
}

TESVANA_SETTER(CMeasurementParameters, int, Averaging)
TESVANA_SETTER(CMeasurementParameters, double, AcquisitionRate)
TESVANA_SETTER(CMeasurementParameters, double, ImmediateAcquisitionRate)
TESVANA_SETTER(CMeasurementParameters, int, BlockSize)
TESVANA_SETTER(CMeasurementParameters, double, DisplayRate)
TESVANA_SETTER(CMeasurementParameters, double, FrequencyMin)
TESVANA_SETTER(CMeasurementParameters, double, FrequencyMax)
TESVANA_SETTER(CMeasurementParameters, double, NumberOfBins)
TESVANA_SETTER(CMeasurementParameters, CUnits::UnitType, Units)
TESVANA_SETTER(CMeasurementParameters, CUnits::UnitType, DisplayUnits)
TESVANA_SETTER(CMeasurementParameters, const QList<CUnits::UnitType>&, UncertaintyUnitList)
TESVANA_SETTER(CMeasurementParameters, CUnits::UnitType, UncertaintyUnits)
TESVANA_SETTER(CMeasurementParameters, bool, EnableAdcUnit)
TESVANA_SETTER(CMeasurementParameters, bool, AutoRange)
TESVANA_SETTER(CMeasurementParameters, float, Range)
TESVANA_SETTER(CMeasurementParameters, CTrigger::TriggerMode, TriggerMode)
TESVANA_SETTER(CMeasurementParameters, CTriggerPlugin*, TriggerPlugin)
TESVANA_SETTER(CMeasurementParameters, bool, ApplyConfiguration)
