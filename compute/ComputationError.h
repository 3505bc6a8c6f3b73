#pragma once

#include "app/LogCategories.h"
#include "compute/CException.h"
#include "model/CFluxList.h"

#include <cstdio>

namespace KVL
{
using FluxException = CException<Instrument::ZRQ5520Types::CFluxList>;

// Runs `body`, which throws FluxException on bad input; the text goes to the
// standard error stream and to the log, and the computation reports failure.
template <typename Body> bool RunComputation(Body body)
{
    try
    {
        return body();
    }
    catch (const FluxException& error)
    {
        std::fputs(error.what(), stderr);
        qCWarning(lcCompute).noquote() << error.what();
        return false;
    }
}
} // namespace KVL
