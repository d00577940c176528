// One entry of a PurgableObjectCache: a key, the object cached for it and its use record. A key
// that holds a reference keeps that object alive while it stays in the entry.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"

#include <cstdint>

namespace QZ
{

template <class T, class Key> struct PurgableCacheEntry
{
    Key key{};
    // Null when the entry is empty.
    RCPtr<T> object;
    // The cache's use counter at the last lookup of this entry.
    std::uint32_t lastUse = 0;
    // Lookups of this entry, saturating at 0xFFFFFFFF.
    std::uint32_t useCount = 0;

    bool IsEmpty() const { return object.IsNull(); }

    // Forgets the use record and releases the object; the key stays.
    void Reset()
    {
        lastUse = 0;
        useCount = 0;
        object = nullptr;
    }
};

} // namespace QZ
