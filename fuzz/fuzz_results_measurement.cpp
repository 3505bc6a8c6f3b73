// Hostile input for the results-file reader, measurement kind.
#include "files/CXMLResultsSerializer.h"
#include "fuzz/FuzzSupport.h"
#include "model/CDataSetMeasurement.h"

#include <QBuffer>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, unsigned long size)
{
    QByteArray bytes = fuzzBytes(data, size);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    CDataSetMeasurement dataSet(fuzzSettings());
    CXMLResultsSerializer serializer;
    serializer.Deserialize(&buffer, &dataSet);
    // What was read must also write back without harm.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    serializer.Serialize(&dataSet, &out);
    return 0;
}
