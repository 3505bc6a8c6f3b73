#include "model/CAlarm.h"

CAlarm::CAlarm(QObject* parent) : QObject(parent) {}
