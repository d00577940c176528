// A run of parameter identifiers: mFirstParamID to mFirstParamID + mCount - 1.
#pragma once

#include <cstdint>

namespace QZ
{

struct ParamRange
{
    std::int32_t mFirstParamID = -1;
    std::uint32_t mCount = 0;
};

} // namespace QZ
