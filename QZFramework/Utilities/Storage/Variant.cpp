#include "QZFramework/Utilities/Storage/Variant.h"

#include <bit>
#include <cstddef>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace QZ
{

namespace
{

static_assert(sizeof(void*) <= 8 && Variant::InlineBlockSize >= 8,
              "a number and a data pointer fit the payload");
static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559,
              "inline floating-point values are IEEE 754");

// The longest payload whose record length still reads as a positive QZRESULT.
constexpr std::uint32_t MaxPackedPayload = 0x7FFFFFFFu - Variant::RecordHeadSize;

std::uint64_t LoadLittleEndian(const unsigned char* bytes, std::uint32_t count)
{
    std::uint64_t value = 0;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    }
    return value;
}

void StoreLittleEndian(unsigned char* bytes, std::uint64_t value, std::uint32_t count)
{
    for (std::uint32_t i = 0; i < count; ++i)
    {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

// One load on a little-endian host: the list walk reads a word per record.
std::uint32_t LoadWord(const unsigned char* bytes)
{
    if constexpr (std::endian::native == std::endian::little)
    {
        std::uint32_t word = 0;
        std::memcpy(&word, bytes, sizeof(word));
        return word;
    }
    return static_cast<std::uint32_t>(LoadLittleEndian(bytes, 4));
}

void WriteRecord(unsigned char* at, std::uint32_t tag, const void* data, std::uint32_t size)
{
    StoreLittleEndian(at, Variant::RecordHeadSize + size, 4);
    StoreLittleEndian(at + 4, 0, 4);
    StoreLittleEndian(at + 8, tag, 4);
    if (size != 0)
    {
        std::memcpy(at + Variant::RecordHeadSize, data, size);
    }
}

// The payload length a tag keeps inline, 0 for the tags that hold no inline value.
std::uint32_t InlineSize(std::uint32_t tag)
{
    switch (tag)
    {
    case Variant::TagUInt8:
        return 1;
    case Variant::TagInt32:
    case Variant::TagFloat:
        return 4;
    case Variant::TagInt64:
    case Variant::TagDouble:
        return 8;
    default:
        return 0;
    }
}

bool IsReference(std::uint32_t tag)
{
    return tag == Variant::TagElementsRef || tag == Variant::TagDataRef;
}

// Truncates toward zero; out-of-range values saturate and a NaN gives 0.
template <class Int, class Real> Int TruncateSaturated(Real value)
{
    constexpr Real lowest = static_cast<Real>(std::numeric_limits<Int>::min());
    if (std::isnan(value))
    {
        return 0;
    }
    if (value <= lowest)
    {
        return std::numeric_limits<Int>::min();
    }
    if (value >= -lowest)
    {
        return std::numeric_limits<Int>::max();
    }
    return static_cast<Int>(value);
}

template <class Int, class Real> Int RoundHalfAwayFromZero(Real value)
{
    const Real half = static_cast<Real>(0.5);
    return TruncateSaturated<Int>(value < 0 ? value - half : value + half);
}

// Length of the well-framed record at `at` of a list payload ending at `end`, or 0 when none
// starts there.
std::uint32_t RecordLength(const unsigned char* at, const unsigned char* end)
{
    const auto remaining = static_cast<std::size_t>(end - at);
    if (remaining < Variant::RecordHeadSize)
    {
        return 0;
    }
    const std::uint32_t length = LoadWord(at);
    // One unsigned comparison refuses both a length below 12 (it wraps) and one past the end.
    return std::size_t{length - Variant::RecordHeadSize} <= remaining - Variant::RecordHeadSize
               ? length
               : 0;
}

// The record at index of a list payload, walking on from record `from`, which starts at `at`;
// null when the walk stops before it. The cursor is a pointer because the walk is one dependent
// load per record.
const unsigned char* FindRecord(const unsigned char* at, const unsigned char* end,
                                std::uint32_t from, std::uint32_t index)
{
    for (std::uint32_t i = from;; ++i)
    {
        const std::uint32_t length = RecordLength(at, end);
        if (length == 0)
        {
            return nullptr;
        }
        if (i == index)
        {
            return at;
        }
        at += length;
    }
}

} // namespace

Variant::Variant() noexcept : mPayload{}, mSize(0), mTag(TagEmpty), mWalkHint(0) {}

Variant::Variant(const Variant& other) : Variant()
{
    Assign(other);
}

Variant::Variant(Variant&& other) noexcept : Variant()
{
    *this = std::move(other);
}

Variant& Variant::operator=(const Variant& other)
{
    Assign(other);
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept
{
    if (this != &other)
    {
        Clear();
        std::memcpy(mPayload, other.mPayload, sizeof(mPayload));
        mSize = other.mSize;
        mTag = other.mTag;
        std::memset(other.mPayload, 0, sizeof(other.mPayload));
        other.mSize = 0;
        other.mTag = TagEmpty;
        other.mWalkHint.store(0, std::memory_order_relaxed);
    }
    return *this;
}

Variant::~Variant()
{
    Clear();
}

std::uint32_t Variant::Assign(const Variant& other)
{
    if (this == &other)
    {
        return mTag;
    }
    Clear();
    if (!other.HasHeapBlock())
    {
        std::memcpy(mPayload, other.mPayload, sizeof(mPayload));
        mSize = other.mSize;
        mTag = other.mTag;
        return mTag;
    }
    unsigned char* block = AllocateOrThrow(other.mSize, "QZ::Variant::Assign");
    std::memcpy(block, other.GetPointer(), other.mSize);
    Adopt(other.mTag, block, other.mSize);
    return mTag;
}

bool Variant::operator==(const Variant& other) const
{
    if (mTag != other.mTag)
    {
        return false;
    }
    switch (mTag)
    {
    case TagEmpty:
        return true;
    case TagUInt8:
    case TagInt32:
    case TagInt64:
        return std::memcmp(mPayload, other.mPayload, InlineSize(mTag)) == 0;
    case TagFloat:
    case TagDouble:
        return ToDouble() == other.ToDouble();
    case TagElementsRef:
    case TagDataRef:
        return GetBlock() == other.GetBlock() && mSize == other.mSize;
    default:
        return mSize == other.mSize &&
               (mSize == 0 || std::memcmp(GetBlock(), other.GetBlock(), mSize) == 0);
    }
}

bool Variant::ToBool() const
{
    switch (mTag)
    {
    case TagUInt8:
    case TagInt32:
    case TagInt64:
        return ToInt64() != 0;
    case TagFloat:
    case TagDouble:
        return ToDouble() != 0.0;
    case TagElementsRef:
    case TagDataRef:
        return GetBlock() != nullptr;
    case TagString:
        return mSize > 1;
    case TagBytes:
    case TagList:
        return mSize != 0;
    default:
        return false;
    }
}

std::int32_t Variant::ToInt32() const
{
    switch (mTag)
    {
    case TagFloat:
    case TagDouble:
        return RoundHalfAwayFromZero<std::int32_t>(ToDouble());
    default:
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(ToInt64()));
    }
}

std::int64_t Variant::ToInt64() const
{
    switch (mTag)
    {
    case TagUInt8:
        return mPayload[0];
    case TagInt32:
        return static_cast<std::int32_t>(LoadWord(mPayload));
    case TagInt64:
        return static_cast<std::int64_t>(LoadLittleEndian(mPayload, 8));
    case TagFloat:
        // Rounded in single precision, so a float just below one half reaches 1.
        return RoundHalfAwayFromZero<std::int64_t>(ToFloat());
    case TagDouble:
        return RoundHalfAwayFromZero<std::int64_t>(ToDouble());
    case TagElementsRef:
    case TagDataRef:
    case TagBytes:
        return static_cast<std::int64_t>(ReadLeadingBytes(8));
    case TagString:
        return static_cast<std::int64_t>(mSize) - 1;
    default:
        return 0;
    }
}

float Variant::ToFloat() const
{
    switch (mTag)
    {
    case TagFloat:
        return std::bit_cast<float>(LoadWord(mPayload));
    case TagDouble:
        return static_cast<float>(ToDouble());
    case TagElementsRef:
    case TagDataRef:
    case TagBytes:
        return static_cast<float>(ToInt32());
    default:
        return static_cast<float>(ToInt64());
    }
}

double Variant::ToDouble() const
{
    switch (mTag)
    {
    case TagFloat:
        return ToFloat();
    case TagDouble:
        return std::bit_cast<double>(LoadLittleEndian(mPayload, 8));
    default:
        return static_cast<double>(ToInt64());
    }
}

const void* Variant::GetData(std::uint32_t& size) const
{
    if (mTag == TagEmpty)
    {
        size = 0;
        return nullptr;
    }
    if (mTag < TagElementsRef)
    {
        size = InlineSize(mTag);
        return mPayload;
    }
    size = mSize;
    return GetBlock();
}

const void* Variant::GetElements(std::uint32_t& count) const
{
    if (mTag == TagDataRef || mTag == TagList)
    {
        count = 0;
        return nullptr;
    }
    const void* data = GetData(count);
    if (mTag < TagElementsRef && mTag != TagEmpty)
    {
        count = 1;
    }
    return data;
}

const char* Variant::GetString() const
{
    return mTag == TagString ? reinterpret_cast<const char*>(GetBlock()) : nullptr;
}

void Variant::Clear()
{
    if (HasHeapBlock())
    {
        FreeData(GetPointer());
    }
    std::memset(mPayload, 0, sizeof(mPayload));
    mSize = 0;
    mTag = TagEmpty;
    mWalkHint.store(0, std::memory_order_relaxed);
}

std::uint32_t Variant::Set(std::uint32_t tag, const void* data, std::uint32_t length)
{
    if (tag >= TagUInt8 && tag <= TagDouble)
    {
        if (length != InlineSize(tag))
        {
            Clear();
            return mTag;
        }
        return SetInline(tag, data);
    }
    switch (tag)
    {
    case TagElementsRef:
    case TagDataRef:
    case TagBytes:
        return SetBytes(data, length);
    case TagString:
    {
        const void* end = length != 0 ? std::memchr(data, '\0', length) : nullptr;
        const auto textLength = end != nullptr
                                    ? static_cast<std::uint32_t>(static_cast<const char*>(end) -
                                                                 static_cast<const char*>(data))
                                    : length;
        return SetText(static_cast<const char*>(data), textLength, "QZ::Variant::Set");
    }
    case TagList:
    {
        if (length == 0)
        {
            return SetList(nullptr, 0);
        }
        InlineBlock scratch;
        unsigned char* block = Reserve(length, scratch, "QZ::Variant::Set");
        std::memcpy(block, data, length);
        Adopt(TagList, block, length);
        return mTag;
    }
    default:
        Clear();
        return mTag;
    }
}

std::uint32_t Variant::SetBytes(const void* data, std::uint32_t length)
{
    InlineBlock scratch;
    unsigned char* block = Reserve(length, scratch, "QZ::Variant::SetBytes");
    if (length != 0)
    {
        std::memcpy(block, data, length);
    }
    Adopt(TagBytes, block, length);
    return mTag;
}

std::uint32_t Variant::SetString(const char* text)
{
    return SetText(text, static_cast<std::uint32_t>(std::strlen(text)), "QZ::Variant::SetString");
}

std::uint32_t Variant::SetList(const Variant* items, std::uint32_t count)
{
    std::uint64_t total = 0;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::uint32_t size = 0;
        items[i].GetData(size);
        total += RecordHeadSize + static_cast<std::uint64_t>(size);
    }
    if (total > std::numeric_limits<std::uint32_t>::max())
    {
        Clear();
        QZ_THROW_BAD_ALLOC("QZ::Variant::SetList", "List too large");
    }
    if (total == 0)
    {
        Clear();
        mTag = TagList;
        return mTag;
    }
    InlineBlock scratch;
    unsigned char* block =
        Reserve(static_cast<std::uint32_t>(total), scratch, "QZ::Variant::SetList");
    std::uint32_t offset = 0;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::uint32_t size = 0;
        const void* data = items[i].GetData(size);
        const std::uint32_t tag =
            IsReference(items[i].mTag) && size == 0 ? TagEmpty : items[i].mTag;
        WriteRecord(block + offset, tag, data, size);
        offset += RecordHeadSize + size;
    }
    Adopt(TagList, block, offset);
    return mTag;
}

std::uint32_t Variant::SetReference(std::uint32_t tag, const void* data, std::uint32_t size)
{
    Clear();
    if (!IsReference(tag) || (data == nullptr && size != 0))
    {
        return mTag;
    }
    SetPointer(data);
    mSize = size;
    mTag = tag;
    return mTag;
}

std::uint32_t Variant::GetListItemCount() const
{
    if (mTag != TagList)
    {
        return 0;
    }
    const unsigned char* at = GetBlock();
    const unsigned char* end = at + mSize;
    std::uint32_t count = 0;
    for (std::uint32_t length = 0; (length = RecordLength(at, end)) != 0; at += length)
    {
        ++count;
    }
    return count;
}

std::int32_t Variant::GetListItem(std::uint32_t index, Variant& item) const
{
    item.Clear();
    if (mTag != TagList)
    {
        return -1;
    }
    const unsigned char* block = GetBlock();
    const unsigned char* end = block + mSize;
    const std::uint64_t hint = mWalkHint.load(std::memory_order_relaxed);
    const auto hintIndex = static_cast<std::uint32_t>(hint >> 32);
    const bool resume = hintIndex <= index;
    const unsigned char* record =
        FindRecord(resume ? block + static_cast<std::uint32_t>(hint) : block, end,
                   resume ? hintIndex : 0, index);
    if (record == nullptr)
    {
        return -1;
    }
    mWalkHint.store(static_cast<std::uint64_t>(index) << 32 |
                        static_cast<std::uint32_t>(record - block),
                    std::memory_order_relaxed);
    return Failed(UnpackVariant(item, record, static_cast<std::uint32_t>(end - record))) ? -1 : 0;
}

unsigned char* Variant::AllocateData(std::uint32_t bytes)
{
    return new (std::nothrow) unsigned char[bytes];
}

void Variant::FreeData(unsigned char* block)
{
    delete[] block;
}

unsigned char* Variant::GetBlock() const
{
    if (mTag < TagBytes || HasHeapBlock())
    {
        return GetPointer();
    }
    // An empty list has no block at all, while an empty byte string has one of length 0.
    return mTag == TagList && mSize == 0 ? nullptr : const_cast<unsigned char*>(mPayload);
}

unsigned char* Variant::GetPointer() const
{
    unsigned char* block = nullptr;
    std::memcpy(&block, mPayload, sizeof(block));
    return block;
}

void Variant::SetPointer(const void* block)
{
    std::memcpy(mPayload, &block, sizeof(block));
}

unsigned char* Variant::AllocateOrThrow(std::uint32_t bytes, const char* method)
{
    unsigned char* block = AllocateData(bytes);
    if (block == nullptr)
    {
        Clear();
        QZ_THROW_BAD_ALLOC(method, "Out of Memory");
    }
    return block;
}

unsigned char* Variant::Reserve(std::uint32_t size, InlineBlock& scratch, const char* method)
{
    return size <= InlineBlockSize ? scratch : AllocateOrThrow(size, method);
}

// Frees the old value only now, so that a new value may be made from the old one's bytes.
void Variant::Adopt(std::uint32_t tag, unsigned char* block, std::uint32_t size)
{
    Clear();
    if (size > InlineBlockSize)
    {
        SetPointer(block);
    }
    else if (size != 0)
    {
        std::memcpy(mPayload, block, size);
    }
    mSize = size;
    mTag = tag;
}

std::uint32_t Variant::SetInline(std::uint32_t tag, const void* data)
{
    unsigned char bytes[sizeof(mPayload)] = {};
    std::memcpy(bytes, data, InlineSize(tag));
    Clear();
    std::memcpy(mPayload, bytes, sizeof(mPayload));
    mTag = tag;
    return mTag;
}

std::uint32_t Variant::SetText(const char* text, std::uint32_t length, const char* method)
{
    if (length == std::numeric_limits<std::uint32_t>::max())
    {
        Clear();
        QZ_THROW_BAD_ALLOC(method, "Text too long");
    }
    InlineBlock scratch;
    unsigned char* block = Reserve(length + 1, scratch, method);
    if (length != 0)
    {
        std::memcpy(block, text, length);
    }
    block[length] = 0;
    Adopt(TagString, block, length + 1);
    return mTag;
}

std::uint64_t Variant::ReadLeadingBytes(std::uint32_t count) const
{
    const unsigned char* block = GetBlock();
    return block == nullptr ? 0 : LoadLittleEndian(block, mSize < count ? mSize : count);
}

QZRESULT PackVariant(const Variant& value, void* buffer, std::uint32_t bufferLength)
{
    std::uint32_t size = 0;
    const void* data = value.GetData(size);
    const std::uint32_t tag = value.GetType();
    if (buffer == nullptr || (IsReference(tag) && size == 0) || size > MaxPackedPayload ||
        bufferLength < Variant::RecordHeadSize + size)
    {
        return E_FAIL;
    }
    WriteRecord(static_cast<unsigned char*>(buffer), tag, data, size);
    return static_cast<QZRESULT>(Variant::RecordHeadSize + size);
}

QZRESULT UnpackVariant(Variant& value, const void* record, std::uint32_t available)
{
    if (record == nullptr || available < Variant::RecordHeadSize)
    {
        return E_FAIL;
    }
    const auto* bytes = static_cast<const unsigned char*>(record);
    const std::uint32_t length = LoadWord(bytes);
    const std::uint32_t tag = LoadWord(bytes + 8);
    if (available < length || LoadWord(bytes + 4) != 0 || tag >= Variant::TagCount ||
        length < Variant::RecordHeadSize)
    {
        return E_FAIL;
    }
    const std::uint32_t size = length - Variant::RecordHeadSize;
    if (size == 0)
    {
        if (tag != Variant::TagEmpty && tag != Variant::TagList)
        {
            return E_FAIL;
        }
        if (tag == Variant::TagList)
        {
            value.SetList(nullptr, 0);
        }
        else
        {
            value.Clear();
        }
        return S_OK;
    }
    if (tag == Variant::TagEmpty || (tag <= Variant::TagDouble && size != InlineSize(tag)))
    {
        return E_FAIL;
    }
    value.Set(tag, bytes + Variant::RecordHeadSize, size);
    return S_OK;
}

} // namespace QZ
