#include "operations/COperationParameters.h"

COperationParameters::COperationParameters(QObject* parent) : QObject(parent) {}
