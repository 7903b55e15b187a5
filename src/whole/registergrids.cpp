#include "whole/registergrids.h"

#include <algorithm>

bool TRegisterParts::Empty() const
{
    return !module && std::none_of(tables.begin(), tables.end(), [](bool b) { return b; });
}
