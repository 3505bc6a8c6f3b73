#include "model/CAxis.h"

CAxis::CAxis(QObject* parent) : QObject(parent) {}
