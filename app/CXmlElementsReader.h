#pragma once

#include <QString>

#include <functional>

// Reads a file of one root element holding named text elements ("<ROOT><Name>text
// </Name>…</ROOT>"), as the settings files are: each element that `knows` names is
// given to `apply` with its text, in file order; others (nested ones too) are skipped. A wrong root or
// a malformed document stops the reading, keeping what was applied before; either
// way one report line is logged (CXmlReadReport). A missing file is not read.
class CXmlElementsReader
{
public:
    static void Read(const QString& path, const QString& root,
                     const std::function<bool(const QString& name)>& knows,
                     const std::function<void(const QString& name, const QString& text)>& apply);
};
