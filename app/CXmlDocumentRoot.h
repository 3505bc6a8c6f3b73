#pragma once

#include <QLatin1String>

class QXmlStreamReader;

// The frame the program's list files share ("<Root ver="1.0"><record>…</record>…</Root>",
// the limits and mapping files): their root check and their records, each reader
// giving its own names. A failure raises the reader's error ("Incorrect file");
// `notValid` tells a document that is no such file (or is empty) from a malformed one.
class CXmlDocumentRoot
{
public:
    // Reads to the first element: true when it is `root` of version 1.0.
    static bool Open(QXmlStreamReader& reader, QLatin1String root, bool* notValid);
    // Reads to the root's next child: true when there is one and it is `record`.
    static bool NextRecord(QXmlStreamReader& reader, QLatin1String record, bool* notValid);
};
