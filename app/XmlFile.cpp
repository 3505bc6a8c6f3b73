#include "app/XmlFile.h"

XmlFile::XmlFile(QObject* parent) : QObject(parent) {}
