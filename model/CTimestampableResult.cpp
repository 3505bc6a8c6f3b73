#include "model/CTimestampableResult.h"

CTimestampableResult::CTimestampableResult(QObject* parent) : QObject(parent) {}
