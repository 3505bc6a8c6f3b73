#include "model/COperationParameters.h"

COperationParameters::COperationParameters(QObject* parent) : QObject(parent) {}
