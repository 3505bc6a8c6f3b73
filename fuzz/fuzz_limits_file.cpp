// Hostile input for the limits-file reader.
#include "files/LimitsXmlFile.h"
#include "fuzz/FuzzSupport.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, unsigned long size)
{
    QByteArray bytes = fuzzBytes(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    LimitsXmlFile file(nullptr);
    file.SetUnit(CUnits::UnitType::TESLA);
    file.ParseDevice(&buffer);
    // Converting what was read to another unit must hold too.
    file.SetUnit(CUnits::UnitType::MICRO_TESLA);
    if (file.FrequencyMinimum() > 0 || file.FrequencyMaximum() < 0)
        __builtin_trap();
    return 0;
}
