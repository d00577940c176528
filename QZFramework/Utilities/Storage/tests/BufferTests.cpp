#include "QZFramework/Utilities/Storage/BufferT.h"
#include "QZFramework/Utilities/Storage/LBufferT.h"
#include "QZFramework/Utilities/Storage/LIBuffer.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// One resize of a numbered buffer: the size asked, the capacity after it, and how many
// reallocations the buffer has made by then (-1: not counted, as growing from nothing allocates).
struct Resize
{
    std::uint32_t size;
    std::uint32_t capacity;
    int reallocations;
};

// Resizes a buffer of the given initial size step by step. A step that reallocates asks for
// exactly the new capacity; one that does not keeps the block; the bytes that stayed keep their
// content.
template <class Buffer>
void ExpectResizes(std::uint32_t initial, std::initializer_list<Resize> steps)
{
    gAllocator = TestAllocator();
    Buffer buffer(initial, 0, false);
    Number(buffer);
    std::uint32_t kept = initial;
    for (const Resize& step : steps)
    {
        SCOPED_TRACE(::testing::Message() << initial << " -> " << step.size);
        void* block = buffer.GetData();
        const int before = gAllocator.reallocations;
        buffer.Resize(step.size);
        kept = std::min(kept, step.size);
        EXPECT_EQ(buffer.GetSize(), step.size);
        EXPECT_EQ(buffer.GetCapacity(), step.capacity);
        if (step.reallocations >= 0)
        {
            EXPECT_EQ(gAllocator.reallocations, step.reallocations);
        }
        if (gAllocator.reallocations == before && initial != 0)
        {
            EXPECT_EQ(buffer.GetData(), block);
        }
        else if (gAllocator.reallocations != before)
        {
            EXPECT_EQ(gAllocator.lastBytes, step.capacity);
        }
        EXPECT_TRUE(IsNumbered(buffer, kept));
    }
}

TEST_F(BufferSlack, ResizeKeepsTheBlockWithinTheSlackAndOtherwiseReallocatesToTheExactSize)
{
    // Text buffers keep up to 128 bytes of slack when shrinking; growing allocates exactly.
    ExpectResizes<TextBuffer>(200, {{100, 200, 0}, {72, 200, 0}, {71, 71, 1}});
    ExpectResizes<TextBuffer>(200, {{50, 50, 1}});
    ExpectResizes<TextBuffer>(100, {{101, 101, -1}});
    // Plain byte buffers reallocate on every shrink, and not for the same size.
    ExpectResizes<ByteBuffer>(200, {{199, 199, 1}, {199, 199, 1}});
    // Pointer buffers keep less than one item of slack and grow to whole items.
    ExpectResizes<PointerBuffer>(4 * kPointer,
                                 {{4 * kPointer - 3, 4 * kPointer, 0},
                                  {2 * kPointer + 1, 3 * kPointer, 1}});
    ExpectResizes<PointerBuffer>(0, {{1, kPointer, -1}, {kPointer + 1, 2 * kPointer, -1}});
    // Queue buffers grow and shrink in blocks of 256 items.
    ExpectResizes<QueueBuffer>(0, {{kPointer, 256 * kPointer, -1},
                                   {300 * kPointer, 512 * kPointer, -1},
                                   {256 * kPointer, 512 * kPointer, -1},
                                   {255 * kPointer, 256 * kPointer, -1}});
}

TEST_F(BufferSlack, SetLengthTakesAnExactCapacityAndZeroFreesTheBlock)
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

    gAllocator = TestAllocator();
    ByteBuffer bytes(10, 0, false);
    void* block = bytes.GetData();
    bytes.SetLength(10);
    EXPECT_EQ(bytes.GetData(), block);
    EXPECT_EQ(gAllocator.allocations, 1);
    bytes.SetLength(3);
    EXPECT_EQ(bytes.GetCapacity(), 3u);
    EXPECT_EQ(bytes.GetSize(), 3u);
    EXPECT_EQ(gAllocator.allocations, 2);
    EXPECT_EQ(gAllocator.frees, 1);
}

using BufferConstruction = BufferTest;

TEST_F(BufferConstruction, BuffersZeroFillReserveCopyAndFreeTheirBlocks)
{
    {
        const ByteBuffer zeroed(16, 0, true);
        for (std::uint32_t i = 0; i < 16; ++i)
        {
            EXPECT_EQ(ByteAt(zeroed, i), 0) << i;
        }
        // A reserve within the slack stays allocated.
        const TextBuffer reserved(10, 100, false);
        EXPECT_EQ(reserved.GetSize(), 10u);
        EXPECT_EQ(reserved.GetCapacity(), 100u);

        TextBuffer original(20, 0, false);
        Number(original);
        const TextBuffer copy(original);
        EXPECT_NE(copy.GetData(), original.GetData());
        EXPECT_TRUE(IsNumbered(copy, 20));
        EXPECT_EQ(copy.GetSize(), 20u);
    }
    EXPECT_EQ(gAllocator.frees, 4);
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

// Fills of 8- and 16-bit units into a zeroed buffer: a negative count runs to the end (whole
// units only), a range outside the used size is refused and changes nothing, and an empty range
// at the end succeeds, also in an empty buffer.
TEST_F(BufferAccess, FillsWriteWholeUnitsWithinTheUsedSizeOnly)
{
    const struct
    {
        std::uint32_t size;
        int width;
        std::uint32_t offset;
        std::int32_t count;
        QZRESULT result;
        std::string bytes; // after the fill, as hex digits
    } cases[] = {
        {10, 1, 3, -1, S_OK, "000000AAAAAAAAAAAAAA"},
        {10, 1, 8, 3, E_INVALIDARG, "00000000000000000000"},
        {10, 1, 11, 0, E_INVALIDARG, "00000000000000000000"},
        {10, 2, 6, 3, E_INVALIDARG, "00000000000000000000"},
        {10, 1, 8, 2, S_OK, "0000000000000000AAAA"},
        {10, 1, 10, 0, S_OK, "00000000000000000000"},
        {9, 2, 2, 2, S_OK, "0000CDABCDAB000000"},
        {9, 2, 0, -1, S_OK, "CDABCDABCDABCDAB00"},
        {0, 1, 0, 0, S_OK, ""},
        {0, 1, 0, -1, S_OK, ""},
        {0, 2, 0, -1, S_OK, ""},
        {0, 1, 1, 0, E_INVALIDARG, ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.size << " bytes, " << c.width * 8 << " bits at "
                                          << c.offset << " x " << c.count);
        ByteBuffer buffer(c.size, 0, true);
        EXPECT_EQ(c.width == 1 ? buffer.FillUInt8(0xAA, c.offset, c.count)
                               : buffer.FillUInt16(0xABCD, c.offset, c.count),
                  c.result);
        std::string hex;
        for (std::uint32_t i = 0; i < c.size; ++i)
        {
            static const char kDigits[] = "0123456789ABCDEF";
            hex += kDigits[ByteAt(buffer, i) >> 4];
            hex += kDigits[ByteAt(buffer, i) & 15];
        }
        EXPECT_EQ(hex, c.bytes);
    }
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

// A sized copy starts at the offset, keeps what fits and zero-fills the rest.
TEST(SharedBuffer, SizedCopyTakesTheBytesFromTheOffsetAndZeroFillsTheRest)
{
    const struct
    {
        std::string source;
        std::uint32_t size;
        std::uint32_t offset;
        std::string copy;
    } cases[] = {
        {"abc", 6, 0, std::string("abc\0\0\0", 6)}, {"abcde", 2, 0, "ab"},
        {"abcde", 4, 3, std::string("de\0\0", 4)},  {"abcde", 2, 5, std::string("\0\0", 2)},
        {"abcde", 0, 0, ""},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(::testing::Message() << c.source << " " << c.size << " at " << c.offset);
        RCPtr<LIBuffer> original = CreateBuffer(static_cast<std::uint32_t>(c.source.size()));
        std::memcpy(original->GetData(), c.source.data(), c.source.size());
        RCPtr<LIBuffer> copy;
        original->CreateSizedCopy(copy, c.size, c.offset);
        EXPECT_EQ(Contents(copy), c.copy);
        EXPECT_EQ(copy->GetRefCount(), 1);
    }
}

} // namespace
} // namespace QZ
