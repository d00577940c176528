// The recycling pool of one notification payload class. Every pool has a lock, so a payload may
// be made on a worker thread and released on the user-interface thread. Pools are never
// destroyed: payloads may still be released while static objects are torn down.
#pragma once

#include "QZFramework/Utilities/Storage/ReuseAllocator.h"

namespace QZ
{

template <class T> ReuseAllocator<T, 4>& GetPayloadAllocator()
{
    static auto* allocator = new ReuseAllocator<T, 4>(true);
    return *allocator;
}

} // namespace QZ
