#pragma once

#include <vector>

// One flux value: single precision, as the probe delivers it.
using tFlux = float;

namespace KVL
{
namespace Instrument
{
namespace ZRQ5520Types
{
// An ordered run of one quantity of a block (every Bx, say), handed to the
// field computations and returned by them.
using CFluxList = std::vector<tFlux>;
} // namespace ZRQ5520Types
} // namespace Instrument
} // namespace KVL
