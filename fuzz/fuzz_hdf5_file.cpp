// Hostile input for the reader of the program's HDF5 files: the kind, then the data set a
// stretch of blocks at a time.
#include "files/CHdf5ResultsFile.h"
#include "fuzz/FuzzSupport.h"
#include "model/CDataSetMapping.h"
#include "model/CDataSetMeasurement.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, unsigned long size)
{
    const auto file = fuzzFile(data, size);
    if (!file)
        return 0;
    QString error;
    const QString kind = CHdf5ResultsFile::Kind(file->fileName(), &error);
    CDataSetMeasurement measurement(fuzzSettings());
    CHdf5ResultsFile::Read(file->fileName(), measurement, &error);
    CDataSetMapping mapping(fuzzSettings());
    CHdf5ResultsFile::Read(file->fileName(), mapping, &error);
    return 0;
}
