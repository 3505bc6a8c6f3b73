#include "model/CTimestampableResult.h"
