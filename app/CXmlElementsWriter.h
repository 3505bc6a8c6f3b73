#pragma once

#include <QString>

#include <utility>
#include <vector>

// Writes a file of one root element holding named text elements, as CXmlElementsReader
// reads it: UTF-8, indented by four. Written beside the target and renamed into place,
// so an interrupted save leaves the previous file intact. False with `error` on failure.
class CXmlElementsWriter
{
public:
    static bool Write(const QString& path, const QString& root,
                      const std::vector<std::pair<QString, QString>>& elements, QString* error);
};
