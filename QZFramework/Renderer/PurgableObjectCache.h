// A bounded cache of objects that are expensive to build (pre-scaled bitmaps, paths, display
// lists, textures, glyph atlases), so that a window redrawn again and again builds each of them
// once.
//
// A fixed array of entries is indexed by key through a HashedList. Lookup hands back the entry's
// object slot; the caller builds the object when the slot is empty and stores it there. Entries
// are claimed from index 0 upward; once all are taken, a new key reuses the first empty entry, or
// else the least recently used one, and among equally old ones the least used. Ages are counted
// in lookups: every Lookup advances the cache's use counter, which wraps modulo 2^32. An entry
// emptied by Purge, Discard or an invalidating Lookup keeps its key (and is found again by it)
// until the entry is claimed for another key.
//
// Not synchronised: a cache belongs to one renderer and is used on its thread.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Renderer/HashedList.h"
#include "QZFramework/Renderer/PurgableCacheEntry.h"

#include <cstdint>
#include <memory>

namespace QZ
{

template <class T, class Source, class Key, Key (*GetKey)(const Source&), int Bits,
          std::uint32_t (*HashBits)(const Key&)>
class PurgableObjectCache
{
public:
    using Entry = PurgableCacheEntry<T, Key>;

    // Throws an invalid-argument error for a capacity below 1.
    explicit PurgableObjectCache(std::int32_t capacity) : mCapacity(capacity)
    {
        if (capacity < 1)
        {
            QZ_THROW_INVALID_ARGUMENT("QZ::PurgableObjectCache::PurgableObjectCache",
                                      "capacity below 1");
        }
        mEntries = std::make_unique<Entry[]>(static_cast<std::size_t>(capacity));
    }

    PurgableObjectCache(const PurgableObjectCache&) = delete;
    PurgableObjectCache& operator=(const PurgableObjectCache&) = delete;

    // The key under which a source's object is cached.
    static Key GetSourceKey(const Source& source) { return GetKey(source); }

    // The object slot of the key's entry, claiming an entry when the key has none. With
    // invalidate, an existing entry is emptied first so that the caller rebuilds the object.
    // The reference stays valid for the life of the cache.
    RCPtr<T>& Lookup(const Key& key, bool invalidate = false)
    {
        Entry* entry = FindEntry(key);
        if (entry != nullptr)
        {
            if (invalidate)
            {
                entry->Reset();
            }
        }
        else
        {
            entry = Claim(key);
        }
        if (entry->useCount != 0xFFFFFFFFu)
        {
            ++entry->useCount;
        }
        entry->lastUse = ++mUseCounter;
        return entry->object;
    }

    // Empties every entry last used before the stamp (compared as a signed 32-bit difference, so
    // that the counter may wrap); keys stay indexed. Returns how many objects it released.
    std::int32_t Purge(std::uint32_t stamp)
    {
        std::int32_t released = 0;
        for (std::int32_t i = 0; i < mCapacity; ++i)
        {
            Entry& entry = mEntries[static_cast<std::size_t>(i)];
            if (static_cast<std::int32_t>(entry.lastUse - stamp) < 0)
            {
                released += entry.IsEmpty() ? 0 : 1;
                entry.Reset();
            }
        }
        return released;
    }

    // Empties the key's entry, keeping its key indexed: 0, or 1 when the key has no entry.
    std::int32_t Discard(const Key& key)
    {
        Entry* entry = FindEntry(key);
        if (entry == nullptr)
        {
            return 1;
        }
        entry->Reset();
        return 0;
    }

    std::int32_t GetCapacity() const { return mCapacity; }
    std::uint32_t GetUseCounter() const { return mUseCounter; }
    // Where the owner records the use counter when it purges.
    std::uint32_t GetPurgeStamp() const { return mPurgeStamp; }
    void SetPurgeStamp(std::uint32_t stamp) { mPurgeStamp = stamp; }
    // Entry by index, 0 to capacity - 1.
    const Entry& GetEntry(std::int32_t index) const
    {
        return mEntries[CheckedIndex(index, "QZ::PurgableObjectCache::GetEntry")];
    }

protected:
    // For subclasses that adjust entries and the counter directly (the tests age entries so).
    Entry& GetMutableEntry(std::int32_t index)
    {
        return mEntries[CheckedIndex(index, "QZ::PurgableObjectCache::GetMutableEntry")];
    }
    void SetUseCounter(std::uint32_t counter) { mUseCounter = counter; }

private:
    static Key GetEntryID(Entry* const& entry) { return entry->key; }

    using Index = HashedList<Entry*, Key, &PurgableObjectCache::GetEntryID, Bits, HashBits>;

    std::size_t CheckedIndex(std::int32_t index, const char* method) const
    {
        if (index < 0 || index >= mCapacity)
        {
            QZ_THROW_OUT_OF_RANGE(method);
        }
        return static_cast<std::size_t>(index);
    }

    Entry* FindEntry(const Key& key)
    {
        Entry** found = mIndex.Find(key, nullptr);
        return found != nullptr ? *found : nullptr;
    }

    // A never-used entry while there are some, else the first empty entry, else the oldest (the
    // least used among equally old ones); its old key leaves the index and the new one enters.
    Entry* Claim(const Key& key)
    {
        Entry* entry = nullptr;
        if (mIndex.GetCount() < mCapacity)
        {
            entry = &mEntries[static_cast<std::size_t>(mIndex.GetCount())];
        }
        else
        {
            entry = &mEntries[ChooseVictim()];
            mIndex.Remove(entry->key);
        }
        entry->Reset();
        entry->key = key;
        mIndex.Add(entry);
        return entry;
    }

    std::size_t ChooseVictim() const
    {
        std::size_t chosen = 0;
        std::uint32_t chosenAge = 0;
        std::uint32_t chosenUses = 0xFFFFFFFFu;
        for (std::size_t i = 0; i < static_cast<std::size_t>(mCapacity); ++i)
        {
            const Entry& entry = mEntries[i];
            if (entry.IsEmpty())
            {
                return i;
            }
            const std::uint32_t age = mUseCounter - entry.lastUse;
            if (age > chosenAge || (age == chosenAge && entry.useCount < chosenUses))
            {
                chosen = i;
                chosenAge = age;
                chosenUses = entry.useCount;
            }
        }
        return chosen;
    }

    std::int32_t mCapacity;
    std::uint32_t mUseCounter = 0;
    std::uint32_t mPurgeStamp = 0;
    std::unique_ptr<Entry[]> mEntries;
    Index mIndex;
};

} // namespace QZ
