#include "files/CResultsSerializer.h"

CResultsSerializer::CResultsSerializer(QObject* parent) : QObject(parent) {}
