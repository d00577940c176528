#include "QZFramework/Utilities/Storage/BufferT.h"
#include "QZFramework/Utilities/Storage/LBufferT.h"
#include "QZFramework/Utilities/Storage/LIBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace QZ
{
namespace
{

// Counts what the buffers ask of it and fails on request.
class TestAllocator : public IAllocator
{
public:
    void* Allocate(std::size_t bytes) override
    {
        ++allocations;
        lastBytes = bytes;
        return failAllocate ? nullptr : std::malloc(bytes);
    }
    void* AllocateZeroed(std::size_t count, std::size_t elementSize) override
    {
        ++allocations;
        lastBytes = count * elementSize;
        return failAllocate ? nullptr : std::calloc(count, elementSize);
    }
    void* Reallocate(void* block, std::size_t bytes) override
    {
        ++reallocations;
        lastBytes = bytes;
        return failReallocate ? nullptr : std::realloc(block, bytes);
    }
    void Free(void* block) override
    {
        ++frees;
        std::free(block);
    }

    int allocations = 0;
    int reallocations = 0;
    int frees = 0;
    std::size_t lastBytes = 0;
    bool failAllocate = false;
    bool failReallocate = false;
};

TestAllocator gAllocator;
IAllocator& GetTestAllocator() { return gAllocator; }

constexpr std::uint32_t kPointer = sizeof(void*);

using TextBuffer = BufferT<1, 128, 8, char*, GetTestAllocator>;
using ByteBuffer = BufferT<1, 0, 8, char*, GetTestAllocator>;
using PointerBuffer = BufferT<kPointer, 0, 8, void**, GetTestAllocator>;
using QueueBuffer = BufferT<256 * kPointer, 256 * kPointer, 8, void**, GetTestAllocator>;

class BufferTest : public ::testing::Test
{
protected:
    void SetUp() override { gAllocator = TestAllocator(); }
};

// Writes 0, 1, 2, ... into the used bytes.
template <class Buffer>
void Number(Buffer& buffer)
{
    auto* bytes = static_cast<std::uint8_t*>(buffer.GetData());
    for (std::uint32_t i = 0; i < buffer.GetSize(); ++i)
    {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
}

template <class Buffer>
bool IsNumbered(const Buffer& buffer, std::uint32_t count)
{
    const auto* bytes = static_cast<const std::uint8_t*>(buffer.GetData());
    for (std::uint32_t i = 0; i < count; ++i)
    {
        if (bytes[i] != static_cast<std::uint8_t>(i))
        {
            return false;
        }
    }
    return true;
}

std::uint8_t ByteAt(const IBuffer& buffer, std::uint32_t offset)
{
    return *static_cast<const std::uint8_t*>(buffer.GetDataAt(offset));
}

std::string Contents(const RCPtr<LIBuffer>& buffer)
{
    return std::string(static_cast<const char*>(buffer->GetData()), buffer->GetSize());
}

using BufferSlack = BufferTest;

TEST_F(BufferSlack, TextBufferShrinkWithin128BytesKeepsTheBlock)
{
    TextBuffer buffer(200, 0, false);
    Number(buffer);
    void* block = buffer.GetData();

    buffer.Resize(100);
    EXPECT_EQ(buffer.GetSize(), 100u);
    EXPECT_EQ(buffer.GetCapacity(), 200u);
    EXPECT_EQ(buffer.GetData(), block);
    buffer.Resize(72);
    EXPECT_EQ(buffer.GetCapacity(), 200u);
    EXPECT_EQ(gAllocator.reallocations, 0);
    EXPECT_TRUE(IsNumbered(buffer, 72));
}

TEST_F(BufferSlack, TextBufferShrinkBeyond128BytesReallocatesToTheExactSize)
{
    TextBuffer buffer(200, 0, false);
    Number(buffer);

    buffer.Resize(71);
    EXPECT_EQ(gAllocator.reallocations, 1);
    EXPECT_EQ(buffer.GetCapacity(), 71u);

    TextBuffer other(200, 0, false);
    Number(other);
    other.Resize(50);
    EXPECT_EQ(other.GetCapacity(), 50u);
    EXPECT_EQ(gAllocator.lastBytes, 50u);
    EXPECT_TRUE(IsNumbered(other, 50));
}

TEST_F(BufferSlack, PlainByteBufferReallocatesOnEveryShrink)
{
    ByteBuffer buffer(200, 0, false);
    buffer.Resize(199);
    EXPECT_EQ(gAllocator.reallocations, 1);
    EXPECT_EQ(buffer.GetCapacity(), 199u);
    buffer.Resize(199);
    EXPECT_EQ(gAllocator.reallocations, 1);
}

TEST_F(BufferSlack, PointerBufferKeepsLessThanOneItemOfSlack)
{
    PointerBuffer buffer(4 * kPointer, 0, false);
    void* block = buffer.GetData();

    buffer.Resize(4 * kPointer - 3);
    EXPECT_EQ(buffer.GetCapacity(), 4 * kPointer);
    EXPECT_EQ(buffer.GetData(), block);

    buffer.Resize(2 * kPointer + 1);
    EXPECT_EQ(gAllocator.reallocations, 1);
    EXPECT_EQ(buffer.GetCapacity(), 3 * kPointer);
    EXPECT_EQ(buffer.GetSize(), 2 * kPointer + 1);
}

TEST_F(BufferSlack, PointerBufferGrowsToWholeItems)
{
    PointerBuffer buffer;
    buffer.Resize(1);
    EXPECT_EQ(buffer.GetCapacity(), kPointer);
    buffer.Resize(kPointer + 1);
    EXPECT_EQ(buffer.GetCapacity(), 2 * kPointer);
}

TEST_F(BufferSlack, QueueBufferGrowsAndShrinksInBlocksOf256Items)
{
    QueueBuffer buffer;
    buffer.Resize(kPointer);
    EXPECT_EQ(buffer.GetCapacity(), 256 * kPointer);
    buffer.Resize(300 * kPointer);
    EXPECT_EQ(buffer.GetCapacity(), 512 * kPointer);
    buffer.Resize(256 * kPointer);
    EXPECT_EQ(buffer.GetCapacity(), 512 * kPointer);
    buffer.Resize(255 * kPointer);
    EXPECT_EQ(buffer.GetCapacity(), 256 * kPointer);
}

TEST_F(BufferSlack, GrowingAllocatesExactlyAndKeepsTheContent)
{
    TextBuffer buffer(100, 0, false);
    Number(buffer);
    buffer.Resize(101);
    EXPECT_EQ(buffer.GetCapacity(), 101u);
    EXPECT_EQ(buffer.GetSize(), 101u);
    EXPECT_TRUE(IsNumbered(buffer, 100));
}

TEST_F(BufferSlack, SetLengthZeroFreesAndALaterResizeAllocatesAfresh)
{
    TextBuffer buffer(64, 0, false);
    EXPECT_EQ(buffer.SetLength(0), 0u);
    EXPECT_EQ(gAllocator.frees, 1);
    EXPECT_EQ(buffer.GetCapacity(), 0u);
    EXPECT_EQ(buffer.GetData(), nullptr);

    buffer.Resize(10);
    EXPECT_EQ(gAllocator.allocations, 2);
    EXPECT_EQ(gAllocator.lastBytes, 10u);
    EXPECT_EQ(buffer.GetCapacity(), 10u);
}

TEST_F(BufferSlack, SetLengthTakesAnExactCapacity)
{
    ByteBuffer buffer(10, 0, false);
    void* block = buffer.GetData();
    buffer.SetLength(10);
    EXPECT_EQ(buffer.GetData(), block);
    EXPECT_EQ(gAllocator.allocations, 1);

    buffer.SetLength(3);
    EXPECT_EQ(buffer.GetCapacity(), 3u);
    EXPECT_EQ(buffer.GetSize(), 3u);
    EXPECT_EQ(gAllocator.allocations, 2);
    EXPECT_EQ(gAllocator.frees, 1);
}

TEST_F(BufferSlack, DestructionFreesTheBlock)
{
    {
        TextBuffer buffer(10, 0, false);
    }
    EXPECT_EQ(gAllocator.frees, 1);
}

using BufferConstruction = BufferTest;

TEST_F(BufferConstruction, ZeroFillClearsTheUsedBytes)
{
    ByteBuffer buffer(16, 0, true);
    for (std::uint32_t i = 0; i < 16; ++i)
    {
        EXPECT_EQ(ByteAt(buffer, i), 0);
    }
}

TEST_F(BufferConstruction, ReserveWithinTheSlackStaysAllocated)
{
    TextBuffer buffer(10, 100, false);
    EXPECT_EQ(buffer.GetSize(), 10u);
    EXPECT_EQ(buffer.GetCapacity(), 100u);
}

TEST_F(BufferConstruction, CopyHasItsOwnBlockWithTheSameBytes)
{
    TextBuffer original(20, 0, false);
    Number(original);
    TextBuffer copy(original);
    EXPECT_NE(copy.GetData(), original.GetData());
    EXPECT_TRUE(IsNumbered(copy, 20));
    EXPECT_EQ(copy.GetSize(), 20u);
}

using BufferAccess = BufferTest;

TEST_F(BufferAccess, GetDataAtReachesTheLastByteAndNoFurther)
{
    ByteBuffer buffer(10, 0, false);
    EXPECT_EQ(buffer.GetDataAt(9), static_cast<char*>(buffer.GetData()) + 9);
    EXPECT_EQ(buffer.GetDataAt(10), nullptr);
    EXPECT_EQ(buffer.GetDataAt(0xFFFFFFFFu), nullptr);

    ByteBuffer empty;
    EXPECT_EQ(empty.GetDataAt(0), nullptr);
}

TEST_F(BufferAccess, FillWithNegativeCountRunsToTheEnd)
{
    ByteBuffer buffer(10, 0, true);
    EXPECT_EQ(buffer.FillUInt8(0xAA, 3, -1), S_OK);
    for (std::uint32_t i = 0; i < 10; ++i)
    {
        EXPECT_EQ(ByteAt(buffer, i), i < 3 ? 0x00 : 0xAA) << i;
    }
}

TEST_F(BufferAccess, FillOutsideTheUsedSizeIsRefusedAndChangesNothing)
{
    ByteBuffer buffer(10, 0, true);
    EXPECT_EQ(buffer.FillUInt8(0xFF, 8, 3), E_INVALIDARG);
    EXPECT_EQ(buffer.FillUInt8(0xFF, 11, 0), E_INVALIDARG);
    EXPECT_EQ(buffer.FillUInt16(0xFFFF, 6, 3), E_INVALIDARG);
    for (std::uint32_t i = 0; i < 10; ++i)
    {
        EXPECT_EQ(ByteAt(buffer, i), 0) << i;
    }
    EXPECT_EQ(buffer.FillUInt8(0xFF, 8, 2), S_OK);
    EXPECT_EQ(buffer.FillUInt8(0xFF, 10, 0), S_OK);
    EXPECT_EQ(ByteAt(buffer, 9), 0xFF);
}

TEST_F(BufferAccess, EmptyFillsOfAnEmptyBufferSucceed)
{
    ByteBuffer buffer;
    EXPECT_EQ(buffer.FillUInt8(0x11, 0, 0), S_OK);
    EXPECT_EQ(buffer.FillUInt8(0x11, 0, -1), S_OK);
    EXPECT_EQ(buffer.FillUInt16(0x1111, 0, -1), S_OK);
    EXPECT_EQ(buffer.FillUInt8(0x11, 1, 0), E_INVALIDARG);
}

TEST_F(BufferAccess, FillUInt16WritesWholeUnits)
{
    ByteBuffer buffer(9, 0, true);
    EXPECT_EQ(buffer.FillUInt16(0xABCD, 2, 2), S_OK);
    std::uint16_t unit = 0;
    std::memcpy(&unit, buffer.GetDataAt(2), 2);
    EXPECT_EQ(unit, 0xABCD);
    std::memcpy(&unit, buffer.GetDataAt(4), 2);
    EXPECT_EQ(unit, 0xABCD);
    EXPECT_EQ(ByteAt(buffer, 1), 0);
    EXPECT_EQ(ByteAt(buffer, 6), 0);

    // A negative count fills the whole units up to the end; the odd last byte stays.
    EXPECT_EQ(buffer.FillUInt16(0x1234, 0, -1), S_OK);
    std::memcpy(&unit, buffer.GetDataAt(6), 2);
    EXPECT_EQ(unit, 0x1234);
    EXPECT_EQ(ByteAt(buffer, 8), 0);
}

using BufferAllocationFailure = BufferTest;

TEST_F(BufferAllocationFailure, FailedAllocationThrowsBadAlloc)
{
    gAllocator.failAllocate = true;
    try
    {
        TextBuffer buffer(10, 0, false);
        FAIL() << "no exception";
    }
    catch (const Exception<std::bad_alloc>& e)
    {
        EXPECT_EQ(std::string(e.What()).rfind("Bad Allocation : QZ::BufferT::SetLength : ", 0), 0u)
            << e.What();
    }
    EXPECT_THROW((ByteBuffer(1, 0, false)), std::bad_alloc);
}

TEST_F(BufferAllocationFailure, FailedGrowthLeavesTheBufferAsItWas)
{
    TextBuffer buffer(30, 0, false);
    Number(buffer);
    void* block = buffer.GetData();
    gAllocator.failReallocate = true;

    EXPECT_THROW(buffer.Resize(40), Exception<std::bad_alloc>);
    EXPECT_EQ(buffer.GetSize(), 30u);
    EXPECT_EQ(buffer.GetCapacity(), 30u);
    EXPECT_EQ(buffer.GetData(), block);
    EXPECT_TRUE(IsNumbered(buffer, 30));
}

TEST_F(BufferAllocationFailure, FailedSetLengthKeepsTheOldBlock)
{
    ByteBuffer buffer(8, 0, false);
    Number(buffer);
    gAllocator.failAllocate = true;
    EXPECT_THROW(buffer.SetLength(16), Exception<std::bad_alloc>);
    EXPECT_EQ(buffer.GetSize(), 8u);
    EXPECT_TRUE(IsNumbered(buffer, 8));
}

TEST_F(BufferAllocationFailure, FailedConstructionFreesTheReservedBlock)
{
    gAllocator.failReallocate = true;
    EXPECT_THROW(TextBuffer(10, 1000, false), Exception<std::bad_alloc>);
    EXPECT_EQ(gAllocator.allocations, 1);
    EXPECT_EQ(gAllocator.frees, 1);
}

TEST(SharedBuffer, CreateBufferGivesOneReferenceAndTheAskedBytes)
{
    RCPtr<LIBuffer> buffer = CreateBuffer(12, 0, true);
    EXPECT_EQ(buffer->GetRefCount(), 1);
    EXPECT_EQ(buffer->GetSize(), 12u);
    EXPECT_EQ(Contents(buffer), std::string(12, '\0'));
    EXPECT_EQ(LByteBuffer::Create(5)->GetSize(), 5u);
}

TEST(SharedBuffer, CreateCopyIsAnIndependentBufferWithTheSameBytes)
{
    RCPtr<LIBuffer> original = CreateBuffer(4);
    std::memcpy(original->GetData(), "abcd", 4);
    RCPtr<LIBuffer> copy = RCPtr<LIBuffer>::DynamicCastFrom(original->CreateCopy());
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.Get(), original.Get());
    EXPECT_EQ(Contents(copy), "abcd");
    static_cast<char*>(copy->GetData())[0] = 'x';
    EXPECT_EQ(Contents(original), "abcd");
}

TEST(SharedBuffer, UnshareOfASharedBufferCopiesIt)
{
    RCPtr<LIBuffer> first = CreateBuffer(3);
    std::memcpy(first->GetData(), "xyz", 3);
    RCPtr<LIBuffer> second = first;
    second.Unshare();
    EXPECT_NE(first.Get(), second.Get());
    EXPECT_EQ(first->GetRefCount(), 1);
    EXPECT_EQ(Contents(second), "xyz");
}

TEST(SharedBuffer, SizedCopyToALargerSizeZeroFillsTheRest)
{
    RCPtr<LIBuffer> original = CreateBuffer(3);
    std::memcpy(original->GetData(), "abc", 3);
    RCPtr<LIBuffer> copy;
    original->CreateSizedCopy(copy, 6, 0);
    EXPECT_EQ(Contents(copy), std::string("abc\0\0\0", 6));
    EXPECT_EQ(copy->GetRefCount(), 1);
}

TEST(SharedBuffer, SizedCopyToASmallerSizeKeepsTheFirstBytes)
{
    RCPtr<LIBuffer> original = CreateBuffer(5);
    std::memcpy(original->GetData(), "abcde", 5);
    RCPtr<LIBuffer> copy;
    original->CreateSizedCopy(copy, 2, 0);
    EXPECT_EQ(Contents(copy), "ab");
}

TEST(SharedBuffer, SizedCopyStartsAtTheOffset)
{
    RCPtr<LIBuffer> original = CreateBuffer(5);
    std::memcpy(original->GetData(), "abcde", 5);
    RCPtr<LIBuffer> copy;
    original->CreateSizedCopy(copy, 4, 3);
    EXPECT_EQ(Contents(copy), std::string("de\0\0", 4));

    original->CreateSizedCopy(copy, 2, 5);
    EXPECT_EQ(Contents(copy), std::string("\0\0", 2));
    original->CreateSizedCopy(copy, 0, 0);
    EXPECT_EQ(copy->GetSize(), 0u);
}

} // namespace
} // namespace QZ
