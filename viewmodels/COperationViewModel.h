#pragma once

#include "model/CUnits.h"
#include "viewmodels/CPageViewModel.h"

// Base of the operation pages: the units the page shows values in and the
// section of the page that is shown (which selects its help topic).
class COperationViewModel : public CPageViewModel
{
    Q_OBJECT
    Q_PROPERTY(CUnits::UnitType DisplayUnits READ DisplayUnits NOTIFY DisplayUnitsChanged)
    Q_PROPERTY(CUnits::UnitType DisplayUncertaintyUnits READ DisplayUncertaintyUnits NOTIFY
                   DisplayUncertaintyUnitsChanged)
    Q_PROPERTY(int SectionIndex READ SectionIndex WRITE setSectionIndex NOTIFY SectionIndexChanged)
    // The unit texts for the page's labels.
    Q_PROPERTY(QString DisplayUnitsText READ DisplayUnitsText NOTIFY DisplayUnitsChanged)
    Q_PROPERTY(QString DisplayUncertaintyUnitsText READ DisplayUncertaintyUnitsText NOTIFY
                   DisplayUncertaintyUnitsChanged)
public:
    explicit COperationViewModel(const QString& name, QObject* parent = nullptr);

    CUnits::UnitType DisplayUnits() const { return m_DisplayUnits; }
    CUnits::UnitType DisplayUncertaintyUnits() const { return m_DisplayUncertaintyUnits; }
    int SectionIndex() const { return m_SectionIndex; }
    QString DisplayUnitsText() const { return CUnitsToQString(m_DisplayUnits); }
    QString DisplayUncertaintyUnitsText() const { return CUnitsToQString(m_DisplayUncertaintyUnits); }
    void setDisplayUnits(CUnits::UnitType value);
    void setDisplayUncertaintyUnits(CUnits::UnitType value);
    void setSectionIndex(int value);

signals:
    void DisplayUnitsChanged(CUnits::UnitType value);
    void DisplayUncertaintyUnitsChanged(CUnits::UnitType value);
    void SectionIndexChanged(int value);
    void DatasetLoaded();

private:
    CUnits::UnitType m_DisplayUnits = CUnits::UnitType::UNKNOWN;
    CUnits::UnitType m_DisplayUncertaintyUnits = CUnits::UnitType::UNKNOWN;
    int m_SectionIndex = 0;
};
