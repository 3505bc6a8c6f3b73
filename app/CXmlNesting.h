#pragma once

#include <QString>

class QByteArray;
class QXmlStreamReader;

// How deep the program's XML files may nest. None of them needs more than a few
// levels; a document thousands of levels deep is hostile (a tree of it exhausts the
// stack when it is built or taken down) and is refused whole, with a message.
class CXmlNesting
{
public:
    static constexpr int MaxDepth = 64;

    // True when `document` nests no deeper than `maxDepth` elements; otherwise false
    // with `message` saying so. A malformed document passes: its parser says why.
    static bool Within(const QByteArray& document, int maxDepth = MaxDepth, QString* message = nullptr);
    // Skips the current element like QXmlStreamReader::skipCurrentElement, but raises
    // an error on the reader when the element nests deeper than MaxDepth.
    static void SkipCurrentElement(QXmlStreamReader& reader);
    static QString TooDeepMessage(int maxDepth = MaxDepth);
};
