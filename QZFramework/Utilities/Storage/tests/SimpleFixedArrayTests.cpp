#include "QZFramework/Utilities/Storage/SimpleFixedArray.h"

#include <gtest/gtest.h>

#include <string>

namespace QZ
{
namespace
{

using Fixed8 = SimpleFixedArray<signed char, 8>;

std::string Bytes(const Fixed8& array)
{
    return std::string(reinterpret_cast<const char*>(array.GetData()),
                       static_cast<std::size_t>(array.GetCount()));
}

// A count above the capacity is taken as the capacity; growing again shows default items.
TEST(SimpleFixedArray, SetCountStaysWithinTheCapacityAndGrowsWithDefaultItems)
{
    Fixed8 array{5, 6, 7};
    EXPECT_EQ(array.SetCount(1), S_OK);
    EXPECT_EQ(array.SetCount(3), S_OK);
    EXPECT_EQ(Bytes(array), std::string("\5\0\0", 3));
    EXPECT_EQ(array.SetCount(20), S_OK);
    EXPECT_EQ(array.GetCount(), 8);
    EXPECT_EQ(array.GetMaxCount(), 8);
    EXPECT_EQ(array.SetCount(-1), E_INVALIDARG);
    EXPECT_EQ(array.GetCount(), 8);
}

TEST(SimpleFixedArray, InsertionPastCapacityIsRefusedAndChangesNothing)
{
    Fixed8 array{1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(array.InsertAt(0, 0), 0);
    EXPECT_EQ(array.GetCount(), 8);
    EXPECT_EQ(array.Add(9), E_INVALIDARG);
    EXPECT_EQ(Bytes(array), std::string("\0\1\2\3\4\5\6\7", 8));
}

TEST(SimpleFixedArray, RemovingMovesLaterItemsDownAndBadIndexThrows)
{
    Fixed8 array{1, 2, 3};
    signed char removed = 0;
    array.RemoveItem(1, &removed);
    EXPECT_EQ(removed, 2);
    EXPECT_EQ(Bytes(array), std::string("\1\3", 2));
    try
    {
        array.RemoveItem(2);
        FAIL() << "no exception";
    }
    catch (const std::out_of_range& error)
    {
        EXPECT_EQ(
            std::string(error.what())
                .rfind("Out of Range : QZ::SimpleFixedArray<signed char,8>::RemoveItem : ", 0),
            0u);
    }
}

} // namespace
} // namespace QZ
