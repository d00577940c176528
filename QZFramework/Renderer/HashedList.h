// A hash index of 2^Bits buckets that maps a key to one stored item. The key of an item is
// GetKey(item); its bucket is HashBits(key). Each bucket keeps its pairs in the order they were
// added and is searched from the last pair back; keys compare with ==.
//
// Not synchronised: a list belongs to one thread.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/Pair.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

namespace QZ
{

template <class T, class Key, Key (*GetKey)(const T&), int Bits,
          std::uint32_t (*HashBits)(const Key&)>
class HashedList
{
public:
    // The run-time name of the key type, the same text for every key of one list.
    static StringT<char16_t, char> KeyToString(const Key&)
    {
        std::string name = ClassNameOf(typeid(Key));
        if constexpr (!std::is_class_v<Key>)
        {
            name.erase(0, name.find(' ') + 1);
        }
        return StringT<char16_t, char>(name.c_str());
    }

    using Pair = LPair<Key, T, &HashedList::KeyToString>;

    HashedList() : mBuckets(std::size_t{1} << Bits) {}

    std::int32_t GetCount() const { return mCount; }

    void Clear()
    {
        for (Bucket& bucket : mBuckets)
        {
            bucket.RemoveAll();
        }
        mCount = 0;
    }

    // Stores the item under its key: true when a new pair was added, false when the key was
    // present and only its item was replaced.
    bool Add(const T& item)
    {
        const Key key = GetKey(item);
        Bucket& bucket = BucketOf(key);
        const std::int32_t found = Search(bucket, key);
        if (found != kAbsent)
        {
            bucket.GetAt(found) = new Pair(key, item);
            return false;
        }
        bucket.Add(RCPtr<Pair>(new Pair(key, item)));
        ++mCount;
        return true;
    }

    // The address of the item stored for the key, or fallback when the key is absent. The
    // address stays valid until the key is added again, removed or the list is cleared.
    T* Find(const Key& key, T* fallback)
    {
        Bucket& bucket = BucketOf(key);
        const std::int32_t found = Search(bucket, key);
        return found != kAbsent ? &bucket.GetAt(found)->GetSecond() : fallback;
    }

    // Removes the key's pair; false when absent.
    bool Remove(const Key& key)
    {
        Bucket& bucket = BucketOf(key);
        const std::int32_t found = Search(bucket, key);
        if (found == kAbsent)
        {
            return false;
        }
        bucket.RemoveItem(found);
        --mCount;
        return true;
    }

private:
    using Bucket = RCPtrArray<Pair, 1, 0>;
    static constexpr std::int32_t kAbsent = -1;

    Bucket& BucketOf(const Key& key)
    {
        // Masked again so that a bucket function with more bits cannot index past the buckets.
        return mBuckets[HashBits(key) & ((std::uint32_t{1} << Bits) - 1u)];
    }

    static std::int32_t Search(const Bucket& bucket, const Key& key)
    {
        for (std::int32_t i = bucket.GetCount() - 1; i >= 0; --i)
        {
            if (bucket.GetAt(i)->GetFirst() == key)
            {
                return i;
            }
        }
        return kAbsent;
    }

    std::int32_t mCount = 0;
    std::vector<Bucket> mBuckets;
};

} // namespace QZ
