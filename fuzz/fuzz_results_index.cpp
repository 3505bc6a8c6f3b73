// Hostile input for the index of a results file opened a stretch at a time: the pass that
// places the blocks, then reading them back, one by one and all together.
#include "files/CResultsFileIndex.h"
#include "fuzz/FuzzSupport.h"
#include "model/CMeasureBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, unsigned long size)
{
    const auto file = fuzzFile(data, size);
    if (!file)
        return 0;
    CResultsFileIndex index;
    QString error;
    if (!index.Build(file->fileName(), fuzzSettings(), {}, nullptr, &error))
        return 0;
    std::vector<QSharedPointer<CMeasureBlock>> blocks;
    for (int b = 0; b < std::min(index.BlockCount(), 64); ++b)
        index.Read(b, 1, &blocks, fuzzSettings(), &error);
    if (index.BlockCount() > 0)
        index.Read(0, index.BlockCount(), &blocks, fuzzSettings(), &error);
    index.BlockAtTime(0);
    return 0;
}
