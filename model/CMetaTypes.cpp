#include "model/CMetaTypes.h"

#include "model/CAlarm.h"
#include "model/CAxis.h"
#include "model/CDataSetMapping.h"
#include "model/CDataSetMeasurement.h"
#include "model/CMeasureBlock.h"
#include "model/CMeasureBlockMapping.h"
#include "model/COrientation.h"
#include "model/CPosition.h"
#include "model/CTrigger.h"
#include "model/CUnits.h"

void CMetaTypes::Register()
{
    qRegisterMetaType<CUnits::UnitType>("CUnits::UnitType");
    qRegisterMetaType<CTrigger::TriggerMode>("CTrigger::TriggerMode");
    qRegisterMetaType<CAxis::AxisType>("CAxis::AxisType");
    qRegisterMetaType<CAlarm::AlarmState>("CAlarm::AlarmState");
    qRegisterMetaType<QList<CUnits::UnitType>>("QList<CUnits::UnitType>");
    qRegisterMetaType<QList<CTrigger::TriggerMode>>("QList<CTrigger::TriggerMode>");
    qRegisterMetaType<QList<CAxis::AxisType>>("QList<CAxis::AxisType>");
    qRegisterMetaType<QList<CAlarm::AlarmState>>("QList<CAlarm::AlarmState>");
    qRegisterMetaType<CPosition>("CPosition");
    qRegisterMetaType<COrientation>("COrientation");
    qRegisterMetaType<QList<CPosition>>("QList<CPosition>");
    qRegisterMetaType<QList<COrientation>>("QList<COrientation>");
    qRegisterMetaType<QSharedPointer<CMeasureBlock>>("QSharedPointer<CMeasureBlock>");
    qRegisterMetaType<QSharedPointer<CMeasureBlockMapping>>("QSharedPointer<CMeasureBlockMapping>");
    qRegisterMetaType<QList<float>>("QList<float>");
    qRegisterMetaType<const MeasureBlockQueue*>("const MeasureBlockQueue*");
    qRegisterMetaType<const MeasureBlockMappingQueue*>("const MeasureBlockMappingQueue*");
}
