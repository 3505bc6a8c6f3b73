#include "model/CFieldIntensityResult.h"

float CFieldIntensityResult::Quantity(int index) const
{
    switch (index)
    {
    case 0:
        return B();
    case 1:
        return BBprime();
    case 2:
        return Bx();
    case 3:
        return By();
    default:
        return Bz();
    }
}
