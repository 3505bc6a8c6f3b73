// Hostile input for the mapping-file reader.
#include "fuzz/FuzzSupport.h"
#include "operations/MappingXmlFile.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, unsigned long size)
{
    QByteArray bytes = fuzzBytes(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    MappingXmlFile file;
    file.ParseDevice(&buffer);
    // Every point has its orientation, and the box always holds 0.
    if (file.Positions()->size() != file.Orientations()->size() || file.PositionXMin() > 0 ||
        file.PositionXMax() < 0)
        __builtin_trap();
    return 0;
}
