#pragma once

#include <QString>

class QFileDevice;

// The debug line every XML file reader writes once it has closed its file:
// the parse error when the document was bad, otherwise the file's own error.
class CXmlReadReport
{
public:
    static void Log(const QString& path, bool parseFailed, const QString& parseError,
                    const QFileDevice& file);
};
