// Key and bucket functions for HashedList and PurgableObjectCache.
//
// A cache keyed by an object's identity keys it by the full address (std::uintptr_t) or by a
// stable id, never by an address cut down to 32 bits, so two live objects cannot share a key.
#pragma once

#include <cstdint>

namespace QZ
{

// (key shifted right arithmetically by Shift) AND (2^Bits - 1): GetBits<8, 4, int> takes bits 4
// to 11, GetBits<8, 0, long> the low 8 bits.
template <int Bits, int Shift, class T> std::uint32_t GetBits(const T& key)
{
    static_assert(Bits > 0 && Bits < 32, "a bucket number has 1 to 31 bits");
    return static_cast<std::uint32_t>(key >> Shift) & ((std::uint32_t{1} << Bits) - 1u);
}

// The source itself as its key: for sources that are their own keys.
template <class T> T GetSelf(const T& source)
{
    return source;
}

} // namespace QZ
