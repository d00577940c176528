#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/ArrayBuffer.h"
#include "QZFramework/Utilities/Storage/ArrayBufferM.h"
#include "QZFramework/Utilities/Storage/ConstRCPtrArray.h"
#include "QZFramework/Utilities/Storage/RCPtrArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

// Outside any namespace, so the exception texts name it "class ArrayItem".
class ArrayItem : public virtual QZ::LRefCountedObject
{
public:
    explicit ArrayItem(int id, int* destroyed = nullptr) : mId(id), mDestroyed(destroyed) {}
    ~ArrayItem() override
    {
        if (mDestroyed != nullptr)
        {
            ++*mDestroyed;
        }
    }
    int GetId() const { return mId; }
    void SetId(int id) { mId = id; }

private:
    int mId;
    int* mDestroyed;
};

namespace QZ
{
namespace
{

using Items = RCPtrArray<ArrayItem, 1, 0>;
using ConstItems = ConstRCPtrArray<ArrayItem, 1, 0>;
constexpr std::uint32_t kPointer = sizeof(void*);

std::vector<int> Ids(const IArray<ConstRCPtr<ArrayItem>>& items)
{
    std::vector<int> ids;
    for (const ConstRCPtr<ArrayItem>& item : items)
    {
        ids.push_back(item ? item->GetId() : -1);
    }
    return ids;
}

template <class T>
std::vector<T> Values(const IArray<T>& items)
{
    return std::vector<T>(items.begin(), items.end());
}

// The out-of-range text: the given kind and method, then a path and "Line n".
template <class Call>
void ExpectOutOfRange(Call call, const std::string& method)
{
    try
    {
        call();
        ADD_FAILURE() << "no exception for " << method;
    }
    catch (const Exception<std::out_of_range>& e)
    {
        const std::string text = e.What();
        const std::string head = "Out of Range : " + method + " : ";
        EXPECT_EQ(text.rfind(head, 0), 0u) << text;
        EXPECT_TRUE(
            std::regex_search(text.substr(head.size()), std::regex("^[^ ]+ : Line [0-9]+$")))
            << text;
    }
}

class PointerArrayTest : public ::testing::Test
{
protected:
    RCPtr<ArrayItem> Make(int id) { return RCPtr<ArrayItem>(new ArrayItem(id, &mDestroyed)); }
    Items MakeItems(std::initializer_list<int> ids)
    {
        Items items;
        for (int id : ids)
        {
            items.Add(Make(id));
        }
        return items;
    }

    int mDestroyed = 0;
};

using PointerArrayCounting = PointerArrayTest;

TEST_F(PointerArrayCounting, SetCountAddsNullItemsAndReleasesTheItemsItDrops)
{
    EXPECT_EQ(Ids(ConstItems(4, 8)), (std::vector<int>{-1, -1, -1, -1}));
    Items items;
    EXPECT_EQ(items.SetCount(3), S_OK);
    EXPECT_EQ(Ids(items), (std::vector<int>{-1, -1, -1}));
    EXPECT_EQ(items.SetCount(1), S_OK);
    EXPECT_EQ(items.GetCount(), 1);
    EXPECT_EQ(items.SetCount(-1), E_INVALIDARG);
    EXPECT_EQ(items.GetCount(), 1);

    RCPtr<ArrayItem> kept = Make(1);
    items = MakeItems({0});
    items.Add(kept);
    items.Add(Make(2));
    EXPECT_EQ(kept->GetRefCount(), 2);
    items.SetCount(1);
    EXPECT_EQ(mDestroyed, 1);
    EXPECT_EQ(kept->GetRefCount(), 1);
    EXPECT_EQ(Ids(items), (std::vector<int>{0}));
}

TEST_F(PointerArrayCounting, RemoveItemReleasesTheItemOrHandsItToTheOutPointer)
{
    RCPtr<ArrayItem> middle = Make(1);
    Items items = MakeItems({0});
    items.Add(middle);
    items.Add(Make(2));
    items.RemoveItem(1);
    EXPECT_EQ(Ids(items), (std::vector<int>{0, 2}));
    EXPECT_EQ(middle->GetRefCount(), 1);

    RCPtr<ArrayItem> removed;
    items.RemoveItem(0, &removed);
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->GetId(), 0);
    EXPECT_EQ(removed->GetRefCount(), 1);
    EXPECT_EQ(mDestroyed, 0);

    ConstRCPtr<ArrayItem> constRemoved;
    static_cast<ConstItems&>(items).RemoveItem(0, &constRemoved);
    EXPECT_EQ(constRemoved->GetRefCount(), 1);
    EXPECT_EQ(items.GetCount(), 0);

    // Removing the only item empties the array.
    items = MakeItems({7});
    items.RemoveItem(0);
    EXPECT_EQ(items.GetCount(), 0);
    EXPECT_EQ(mDestroyed, 1);
}

TEST_F(PointerArrayCounting, RemoveItemAtOrPastTheCountThrowsOutOfRangeAndChangesNothing)
{
    RCPtr<ArrayItem> only = Make(0);
    Items items;
    items.Add(only);

    ExpectOutOfRange([&] { items.RemoveItem(1); },
                     "QZ::RCPtrArray<class ArrayItem,1,0>::RemoveItem");
    ExpectOutOfRange([&] { items.RemoveItem(-1); },
                     "QZ::RCPtrArray<class ArrayItem,1,0>::RemoveItem");
    EXPECT_EQ(items.GetCount(), 1);
    EXPECT_EQ(only->GetRefCount(), 2);
}

TEST_F(PointerArrayCounting, OutOfRangeTextsNameTheArrayFormAndItsArguments)
{
    ConstItems constItems;
    ExpectOutOfRange([&] { constItems.RemoveItem(0); },
                     "QZ::ConstRCPtrArray<class ArrayItem,1,0>::RemoveItem");

    Items items;
    ExpectOutOfRange([&] { static_cast<ConstItems&>(items).RemoveItem(0); },
                     "QZ::ConstRCPtrArray<class ArrayItem,1,0>::RemoveItem");

    RCPtrArray<ArrayItem, 16, 16> pool;
    ExpectOutOfRange([&] { pool.RemoveItem(0); },
                     "QZ::RCPtrArray<class ArrayItem,16,16>::RemoveItem");
    ExpectOutOfRange([&] { pool.GetAt(0); }, "QZ::RCPtrArray<class ArrayItem,16,16>::GetAt");
    ExpectOutOfRange([&] { constItems.GetAt(0); },
                     "QZ::ConstRCPtrArray<class ArrayItem,1,0>::GetAt");
}

TEST_F(PointerArrayCounting, RemoveItemsTakesOutARangeOrNothing)
{
    Items items = MakeItems({0, 1, 2, 3});
    EXPECT_EQ(items.RemoveItems(1, 2), 2);
    EXPECT_EQ(Ids(items), (std::vector<int>{0, 3}));
    EXPECT_EQ(mDestroyed, 2);

    ExpectOutOfRange([&] { items.RemoveItems(1, 2); },
                     "QZ::RCPtrArray<class ArrayItem,1,0>::RemoveItem");
    EXPECT_EQ(Ids(items), (std::vector<int>{0, 3}));
    EXPECT_EQ(items.RemoveItems(2, 0), 2);
}

TEST_F(PointerArrayCounting, InsertAtMovesLaterItemsUpAndTakesAReference)
{
    Items items = MakeItems({0, 2});
    RCPtr<ArrayItem> inserted = Make(1);
    EXPECT_EQ(items.InsertAt(1, inserted), 1);
    EXPECT_EQ(Ids(items), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(inserted->GetRefCount(), 2);

    EXPECT_EQ(items.InsertAt(4, inserted), E_INVALIDARG);
    EXPECT_EQ(items.InsertAt(-1, inserted), E_INVALIDARG);
    EXPECT_EQ(items.GetCount(), 3);
    EXPECT_EQ(inserted->GetRefCount(), 2);

    EXPECT_EQ(items.InsertAt(3, inserted), 3);
    EXPECT_EQ(Ids(items), (std::vector<int>{0, 1, 2, 1}));
}

TEST_F(PointerArrayCounting, InsertingAnItemOfTheSameArrayIsSafeWhenTheStorageMoves)
{
    Items items = MakeItems({0, 1, 2});
    for (int i = 0; i < 20; ++i)
    {
        items.InsertAt(0, *items.GetItemPtr(items.GetCount() - 1));
    }
    EXPECT_EQ(items.GetCount(), 23);
    EXPECT_EQ(items.GetAt(0)->GetId(), 2);
    EXPECT_EQ(items.GetAt(22)->GetRefCount(), 21);
}

TEST_F(PointerArrayCounting, InsertItemsOpensNullItems)
{
    Items items = MakeItems({0, 1});
    EXPECT_EQ(items.InsertItems(1, 2), S_OK);
    EXPECT_EQ(Ids(items), (std::vector<int>{0, -1, -1, 1}));
    EXPECT_EQ(items.InsertItems(5, 1), E_INVALIDARG);
    EXPECT_EQ(items.InsertItems(0, -1), E_INVALIDARG);
}

TEST_F(PointerArrayCounting, AppendArrayTakesAReferenceToEveryItem)
{
    Items first = MakeItems({0, 1});
    Items second = MakeItems({2});
    EXPECT_EQ(second.AppendArray(first), 3);
    EXPECT_EQ(Ids(second), (std::vector<int>{2, 0, 1}));
    EXPECT_EQ(first.GetAt(0)->GetRefCount(), 2);

    EXPECT_EQ(first.AppendArray(first), 4);
    EXPECT_EQ(Ids(first), (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(first.GetAt(1)->GetRefCount(), 3);

    ConstItems constItems;
    EXPECT_EQ(constItems.AppendArray(first), 4);
    EXPECT_EQ(first.GetAt(1)->GetRefCount(), 5);
}

TEST_F(PointerArrayCounting, AssignArrayReplacesTheItemsAndIgnoresItself)
{
    Items target = MakeItems({0, 1});
    Items source = MakeItems({5});
    EXPECT_EQ(target.AssignArray(source), 1);
    EXPECT_EQ(Ids(target), (std::vector<int>{5}));
    EXPECT_EQ(mDestroyed, 2);

    EXPECT_EQ(target.AssignArray(target), 1);
    EXPECT_EQ(Ids(target), (std::vector<int>{5}));
    EXPECT_EQ(source.GetAt(0)->GetRefCount(), 2);
}

TEST_F(PointerArrayCounting, SwapExchangesItemsWithoutCountingAndRefusesBadIndexes)
{
    Items items = MakeItems({0, 1, 2});
    EXPECT_EQ(items.Swap(0, 2), S_OK);
    EXPECT_EQ(Ids(items), (std::vector<int>{2, 1, 0}));
    EXPECT_EQ(items.GetAt(0)->GetRefCount(), 1);
    EXPECT_EQ(items.Swap(0, 3), E_INVALIDARG);
    EXPECT_EQ(items.Swap(-1, 0), E_INVALIDARG);
    EXPECT_EQ(Ids(items), (std::vector<int>{2, 1, 0}));
}

TEST_F(PointerArrayCounting, RemoveAllAndDestructionReleaseEveryItem)
{
    Items items = MakeItems({0, 1, 2});
    EXPECT_EQ(items.RemoveAll(), S_OK);
    EXPECT_EQ(items.GetCount(), 0);
    EXPECT_EQ(mDestroyed, 3);

    RCPtr<ArrayItem> kept = Make(9);
    {
        Items destroyed = MakeItems({0, 1});
        destroyed.Add(kept);
    }
    EXPECT_EQ(mDestroyed, 5);
    EXPECT_EQ(kept->GetRefCount(), 1);
}

TEST_F(PointerArrayCounting, CopiesShareTheObjectsButNotTheItems)
{
    Items original = MakeItems({0, 1});
    Items copy(original);
    EXPECT_EQ(original.GetAt(0)->GetRefCount(), 2);
    copy.RemoveItem(0);
    EXPECT_EQ(Ids(original), (std::vector<int>{0, 1}));

    Items assigned;
    assigned = original;
    EXPECT_EQ(original.GetAt(1)->GetRefCount(), 3);
}

TEST_F(PointerArrayCounting, StaticItemIsNull)
{
    Items items;
    RCPtr<ArrayItem> item = Make(0);
    items.GetStaticItem(item);
    EXPECT_TRUE(item.IsNull());
    EXPECT_EQ(mDestroyed, 1);
}

using PointerArrayAccess = PointerArrayTest;

TEST_F(PointerArrayAccess, ItemsAreReachableThroughEitherFace)
{
    Items items = MakeItems({3, 4});
    for (RCPtr<ArrayItem>& item : items)
    {
        item->SetId(item->GetId() * 10);
    }
    const ConstItems& constFace = items;
    EXPECT_EQ(Ids(constFace), (std::vector<int>{30, 40}));

    const IArray<RCPtr<ArrayItem>>& face = items;
    EXPECT_EQ(face.GetAtIterator(face.Begin() + 1)->GetId(), 40);
    EXPECT_EQ(face.GetItemPtr(0)->Get(), items.GetAt(0).Get());
}

// Positions are null for an empty array; Advance stays between the first item and the end.
TEST_F(PointerArrayAccess, PositionsSpanTheItemsAndAdvanceStaysWithinThem)
{
    Items items;
    EXPECT_EQ(items.GetFirstPosition(), nullptr);
    EXPECT_EQ(items.GetEndPosition(), nullptr);
    EXPECT_EQ(items.Begin(), items.End());

    items = MakeItems({0, 1, 2});
    EXPECT_EQ(items.GetFirstPosition(), items.GetData());
    EXPECT_EQ(items.GetEndPosition(), items.GetData() + 3);
    EXPECT_EQ(items.Advance(items.Begin(), 2), items.Begin() + 2);
    EXPECT_EQ(items.Advance(items.Begin() + 1, -5), items.Begin());
    EXPECT_EQ(items.Advance(items.Begin(), 10), items.End());
    const ConstItems& constFace = items;
    EXPECT_EQ(constFace.Advance(constFace.Begin(), 10), constFace.End());
}

using PointerArrayStorage = PointerArrayTest;

// Sets the counts in turn; after each the array holds room for the given number of items.
template <class Array>
void ExpectCapacities(Array& array,
                      std::initializer_list<std::pair<std::int32_t, std::uint32_t>> steps)
{
    for (const auto& [count, items] : steps)
    {
        array.SetCount(count);
        EXPECT_EQ(array.GetCapacity(), items * kPointer) << count;
    }
}

// Each item takes one pointer; the template numbers count items: the initial block and the
// growth step.
TEST_F(PointerArrayStorage, CapacityGrowsAndShrinksInBlocksOfItems)
{
    Items items;
    ExpectCapacities(items, {{3, 3}, {2, 2}});
    RCPtrArray<ArrayItem, 16, 16> pool;
    ExpectCapacities(pool, {{1, 16}, {17, 32}, {16, 32}, {15, 16}});
    RCPtrArray<ArrayItem, 256, 256> queue(256);
    EXPECT_EQ(queue.GetCapacity(), 256 * kPointer);
}

TEST_F(PointerArrayStorage, ItemsSurviveTheStorageMovingAsItGrows)
{
    Items items;
    for (int i = 0; i < 100; ++i)
    {
        items.Add(Make(i));
    }
    for (int i = 0; i < 100; ++i)
    {
        ASSERT_EQ(items.GetAt(i)->GetId(), i);
        ASSERT_EQ(items.GetAt(i)->GetRefCount(), 1);
    }
    items.RemoveItems(0, 100);
    EXPECT_EQ(mDestroyed, 100);
}

TEST(ValueBufferArray, CapacityGrowsInBlocksAndNewItemsAreZeroEvenInAReusedBlock)
{
    ArrayBuffer<int, 4, 4> values;
    values.Add(1);
    values.Add(2);
    values.Add(3);
    values.SetCount(1);
    EXPECT_EQ(values.GetCapacity(), 4 * sizeof(int));
    values.SetCount(3);
    EXPECT_EQ(Values(values), (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(values.InsertItems(1, 1), S_OK);
    EXPECT_EQ(Values(values), (std::vector<int>{1, 0, 0, 0}));

    ArrayBuffer<unsigned int, 4, 1600, 1, 8> blocks;
    blocks.Add(1u);
    EXPECT_EQ(blocks.GetCapacity(), 4 * sizeof(unsigned int));
    blocks.SetCount(5);
    EXPECT_EQ(blocks.GetCapacity(), 8 * sizeof(unsigned int));
}

TEST(ValueBufferArray, InsertRemoveAndSwapKeepTheOrder)
{
    ArrayBuffer<int, 1, 0> values;
    for (int v : {10, 30, 40})
    {
        values.Add(v);
    }
    EXPECT_EQ(values.InsertAt(1, 20), 1);
    EXPECT_EQ(Values(values), (std::vector<int>{10, 20, 30, 40}));
    int removed = 0;
    values.RemoveItem(0, &removed);
    EXPECT_EQ(removed, 10);
    EXPECT_EQ(values.Swap(0, 2), S_OK);
    EXPECT_EQ(Values(values), (std::vector<int>{40, 30, 20}));
    EXPECT_EQ(values.RemoveItems(0, 2), 1);
    EXPECT_EQ(values.GetAt(0), 20);

    ExpectOutOfRange([&] { values.RemoveItem(1); }, "QZ::ArrayBuffer<int,1,0,1,8>::RemoveItem");
    ExpectOutOfRange([&] { values.GetAt(1); }, "QZ::ArrayBuffer<int,1,0,1,8>::GetAt");
}

TEST(ValueBufferArray, CopiesAreIndependent)
{
    ArrayBuffer<double, 2, 0> values;
    values.Add(1.5);
    ArrayBuffer<double, 2, 0> copy(values);
    copy.GetAt(0) = 2.5;
    EXPECT_EQ(values.GetAt(0), 1.5);
    values = copy;
    EXPECT_EQ(values.GetAt(0), 2.5);
}

TEST(ValueBufferArray, MidiByteStoreReadsBackWhatWasAppended)
{
    ArrayBufferM<signed char, 4, 1, 0, 1, 8> bytes;
    const std::vector<signed char> message{static_cast<signed char>(0xF0), 0x7E, 0x7F, 0x06,
                                           0x02, static_cast<signed char>(0xF7)};
    for (signed char byte : message)
    {
        bytes.Add(byte);
    }
    EXPECT_EQ(bytes.GetCount(), 6);
    EXPECT_EQ(Values(bytes), message);
    EXPECT_EQ(bytes.GetCapacity(), 6u);
}

// Up to four bytes stay inside the store, with no allocation; every operation on either side of
// that border gives what the same operations give a plain vector.
TEST(ValueBufferArray, MidiByteStoreBehavesTheSameInsideAndPastItsInlineRoom)
{
    using Store = ArrayBufferM<signed char, 4, 1, 0, 1, 8>;
    using Step = std::function<void(Store&, std::vector<signed char>&)>;
    const auto add = [](signed char b)
    {
        return Step([b](Store& s, std::vector<signed char>& v) { s.Add(b), v.push_back(b); });
    };
    const auto count = [](std::int32_t n)
    {
        return Step(
            [n](Store& s, std::vector<signed char>& v)
            {
                EXPECT_EQ(s.SetCount(n), QZ::S_OK);
                v.resize(static_cast<std::size_t>(n));
            });
    };
    const Step insertFront = [](Store& s, std::vector<signed char>& v)
    { s.InsertAt(0, 9), v.insert(v.begin(), 9); };
    const Step removeFront = [](Store& s, std::vector<signed char>& v)
    {
        signed char removed = 0;
        s.RemoveItem(0, &removed);
        EXPECT_EQ(removed, v.front());
        v.erase(v.begin());
    };
    const struct
    {
        const char* name;
        std::vector<Step> steps;
        std::uint32_t capacity;
    } cases[] = {
        {"three bytes", {add(1), add(2), add(3)}, 0},
        {"four bytes", {add(1), add(2), add(3), add(4)}, 0},
        {"five bytes", {add(1), add(2), add(3), add(4), add(5)}, 5},
        {"grown to four, shrunk, grown", {count(4), count(1), add(7), count(3)}, 0},
        {"grown past four", {add(1), count(6), add(2)}, 7},
        {"emptied and refilled", {add(1), count(0), add(2)}, 0},
        {"insert and remove inline", {add(1), add(2), insertFront, removeFront}, 0},
        {"removed after spilling", {count(5), insertFront, removeFront, removeFront}, 4},
        {"shrunk after spilling", {count(6), count(2), add(3)}, 3},
    };
    for (const auto& c : cases)
    {
        Store store;
        std::vector<signed char> model;
        for (const Step& step : c.steps)
        {
            step(store, model);
        }
        EXPECT_EQ(Values(store), model) << c.name;
        EXPECT_EQ(store.GetCount(), static_cast<std::int32_t>(model.size())) << c.name;
        EXPECT_EQ(store.GetCapacity(), c.capacity) << c.name;
        const Store copy(store);
        Store assigned;
        assigned.Add(5);
        assigned = store;
        EXPECT_EQ(Values(copy), model) << c.name;
        EXPECT_EQ(Values(assigned), model) << c.name;
        if (!model.empty())
        {
            EXPECT_EQ(store.GetAt(static_cast<std::int32_t>(model.size()) - 1), model.back());
        }
        ExpectOutOfRange([&] { store.GetAt(static_cast<std::int32_t>(model.size())); },
                         "QZ::ArrayBuffer<signed char,1,0,1,8>::GetAt");
        ExpectOutOfRange([&] { store.GetAt(-1); }, "QZ::ArrayBuffer<signed char,1,0,1,8>::GetAt");
    }
}

TEST(ValueArray, EmptyArrayHasNoData)
{
    Array<int> values;
    EXPECT_EQ(values.GetData(), nullptr);
    EXPECT_EQ(values.begin(), values.end());
    values.Add(1);
    values.RemoveItem(0);
    EXPECT_EQ(values.GetData(), nullptr);
}

TEST(ValueArray, OperationsFollowTheArrayInterface)
{
    Array<std::string> names;
    names.Add("b");
    EXPECT_EQ(names.InsertAt(0, "a"), 0);
    EXPECT_EQ(names.Add("c"), 2);
    EXPECT_EQ(Values(names), (std::vector<std::string>{"a", "b", "c"}));

    std::string removed;
    names.RemoveItem(1, &removed);
    EXPECT_EQ(removed, "b");
    EXPECT_EQ(names.Swap(0, 1), S_OK);
    EXPECT_EQ(names.Swap(0, 2), E_INVALIDARG);
    EXPECT_EQ(Values(names), (std::vector<std::string>{"c", "a"}));

    EXPECT_EQ(names.SetCount(3), S_OK);
    EXPECT_EQ(names.GetAt(2), "");
    EXPECT_EQ(names.InsertItems(3, 1), S_OK);
    EXPECT_EQ(names.InsertItems(5, 1), E_INVALIDARG);
    EXPECT_EQ(names.RemoveAll(), S_OK);
    EXPECT_EQ(names.GetCount(), 0);
}

TEST(ValueArray, BadIndexesThrowOutOfRange)
{
    Array<signed char> bytes(2);
    ExpectOutOfRange([&] { bytes.RemoveItem(2); }, "QZ::Array<signed char>::RemoveItem");
    ExpectOutOfRange([&] { bytes.RemoveItems(1, 2); }, "QZ::Array<signed char>::RemoveItem");
    ExpectOutOfRange([&] { bytes.GetAt(-1); }, "QZ::Array<signed char>::GetAt");
    EXPECT_EQ(bytes.GetCount(), 2);
}

TEST(ValueArray, AppendAndAssignWorkAcrossImplementationsAndOnThemselves)
{
    ArrayBuffer<int, 4, 4> source;
    source.Add(1);
    source.Add(2);

    Array<int> values;
    values.Add(0);
    EXPECT_EQ(values.AppendArray(source), 3);
    EXPECT_EQ(values.AppendArray(values), 6);
    EXPECT_EQ(Values(values), (std::vector<int>{0, 1, 2, 0, 1, 2}));
    EXPECT_EQ(values.AssignArray(values), 6);
    EXPECT_EQ(values.AssignArray(source), 2);
    EXPECT_EQ(Values(values), (std::vector<int>{1, 2}));

    EXPECT_EQ(source.AppendArray(source), 4);
    EXPECT_EQ(Values(source), (std::vector<int>{1, 2, 1, 2}));
}

} // namespace
} // namespace QZ
