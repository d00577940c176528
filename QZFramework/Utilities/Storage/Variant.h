// The system's one typed value, and the packed record it travels in.
//
// A Variant holds a number or a block of bytes, marked by a type tag from 0 to 10. Tags 8 to 10
// own their block; tags 6 and 7 only refer to bytes held elsewhere, whose owner must outlive every
// Variant that refers to them. A block of up to InlineBlockSize bytes (a preset value, say) is
// kept inside the Variant, as numbers are, so that copying, storing and comparing such values
// never touches the heap; longer blocks live on the heap. A packed record is three little-endian
// uint32 words and the payload, with no padding anywhere:
//     L = 12 + n | reserved 0 | tag | n payload bytes, exactly as GetData shows them
// A list (tag 10) holds its items' records back to back, so lists nest. Inline numbers are kept
// as little-endian bytes, so GetData, and with it every record, is the same on any host; Set
// therefore takes the payload bytes of tags 1 to 5 in that order too.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"

#include <atomic>
#include <cstdint>

namespace QZ
{

class Variant
{
public:
    enum : std::uint32_t
    {
        TagEmpty = 0,
        TagUInt8 = 1,
        TagInt32 = 2,
        TagInt64 = 3,
        TagFloat = 4,
        TagDouble = 5,
        TagElementsRef = 6,
        TagDataRef = 7,
        TagBytes = 8,
        TagString = 9,
        TagList = 10,
        TagCount = 11
    };

    // Head of a packed record: length, reserved word, tag.
    static constexpr std::uint32_t RecordHeadSize = 12;
    // The longest owned block kept inside the Variant.
    static constexpr std::uint32_t InlineBlockSize = 24;

    Variant() noexcept;
    // Copies as Assign does; a failed allocation throws Exception<std::bad_alloc>.
    Variant(const Variant& other);
    // Takes the value over and leaves other empty.
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    virtual ~Variant();

    // Frees the own block, then takes other's tag and size: tags below 8 copy the 8 payload bytes
    // (tags 6 and 7 copy the reference, not the data), tags 8 to 10 get a copy of the block.
    // Returns the resulting tag. A failed allocation leaves this empty and throws
    // Exception<std::bad_alloc>.
    std::uint32_t Assign(const Variant& other);

    // Same tag and same value: numbers compare as numbers (a NaN equals nothing, +0 equals -0),
    // tags 6 and 7 by pointer and size, tags 8 to 10 byte by byte.
    bool operator==(const Variant& other) const;

    // Conversions never fail; a tag with no meaningful conversion gives 0 or false. Floating-point
    // values round half away from zero; values beyond the integer range saturate and a NaN gives
    // 0. Tags 6 to 8 read their first 4 or 8 data bytes as a little-endian integer, taking zeros
    // for bytes the data does not have. Tag 9 gives the text length.
    virtual bool ToBool() const;
    virtual std::int32_t ToInt32() const;
    virtual std::int64_t ToInt64() const;
    virtual float ToFloat() const;
    virtual double ToDouble() const;
    // The value bytes and their count (inline bytes for tags 1 to 5, null and 0 when empty). The
    // bytes of an owned value stay valid until this Variant changes, moves or is destroyed.
    virtual const void* GetData(std::uint32_t& size) const;
    // The elements and their count: one inline number for tags 1 to 5, the bytes for tags 6, 8
    // and 9, null and 0 for tags 0, 7 and 10.
    virtual const void* GetElements(std::uint32_t& count) const;
    // The NUL-terminated text of tag 9, else null.
    virtual const char* GetString() const;

    std::uint32_t GetType() const { return mTag; }

    // Frees the own block and zeroes payload, size and tag.
    void Clear();

    // The setters below replace the value. One that needs a block the heap cannot give (or a
    // list or text longer than a 32-bit size) leaves this empty and throws
    // Exception<std::bad_alloc>.

    // Replaces the value by one read from payload bytes (data points to length bytes; it may
    // point into this Variant's own data). Tag 1 takes exactly 1 byte, tags 2 and 4 exactly 4,
    // tags 3 and 5 exactly 8; tags 6 to 8 become an owned tag-8 byte string; tag 9 takes the text
    // up to the first NUL within length, or all length bytes when there is none; tag 10 takes the
    // bytes as the items' records. Any other tag or length leaves this empty. Returns the
    // resulting tag (0 when refused).
    std::uint32_t Set(std::uint32_t tag, const void* data, std::uint32_t length);
    // An owned tag-8 byte string, also of length 0; returns 8.
    std::uint32_t SetBytes(const void* data, std::uint32_t length);
    // An owned tag-9 copy of the NUL-terminated text; returns 9.
    std::uint32_t SetString(const char* text);
    // A tag-10 list of the packed records of items[0..count); count 0 gives an empty list with no
    // block. A tag-6 or tag-7 item with no data becomes an empty (tag-0) record, because no record
    // of a reference can be empty. Returns 10.
    std::uint32_t SetList(const Variant* items, std::uint32_t count);
    // A tag-6 (elements) or tag-7 (opaque) reference to size bytes at data, which stay with their
    // owner. Any other tag, or a null pointer with a non-zero size, leaves this empty. Returns the
    // resulting tag.
    std::uint32_t SetReference(std::uint32_t tag, const void* data, std::uint32_t size);

    // The number of well-framed records of a tag-10 list, counted from the start: the walk stops
    // at a record whose length is below 12 or runs past the end, so a trailing fragment is no
    // item. 0 for anything but a list.
    [[nodiscard]] std::uint32_t GetListItemCount() const;
    // Empties item, then unpacks the list's record at index into it. Returns 0, or -1 when this is
    // not a list, the index is not below GetListItemCount, or the record is refused by
    // UnpackVariant (item then stays empty).
    [[nodiscard]] std::int32_t GetListItem(std::uint32_t index, Variant& item) const;

protected:
    // Array-form heap block; null when the heap has no room.
    virtual unsigned char* AllocateData(std::uint32_t bytes);
    virtual void FreeData(unsigned char* block);

private:
    using InlineBlock = unsigned char[InlineBlockSize];

    [[nodiscard]] bool HasHeapBlock() const { return mTag >= TagBytes && mSize > InlineBlockSize; }
    // Where the value's bytes are: the inline block, the heap block or the referred bytes; null
    // for an empty list and for tags without bytes.
    unsigned char* GetBlock() const;
    unsigned char* GetPointer() const;
    void SetPointer(const void* block);
    unsigned char* AllocateOrThrow(std::uint32_t bytes, const char* method);
    // Room for a new block of size bytes: scratch when it will be kept inline, else a heap block.
    unsigned char* Reserve(std::uint32_t size, InlineBlock& scratch, const char* method);
    // Replaces the value by the block that Reserve gave, filled.
    void Adopt(std::uint32_t tag, unsigned char* block, std::uint32_t size);
    std::uint32_t SetInline(std::uint32_t tag, const void* data);
    std::uint32_t SetText(const char* text, std::uint32_t length, const char* method);
    std::uint64_t ReadLeadingBytes(std::uint32_t count) const;

    // A number's bytes, a pointer to a heap block or to referred bytes, or an inline block.
    alignas(8) unsigned char mPayload[InlineBlockSize];
    std::uint32_t mSize;
    std::uint32_t mTag;
    // Where GetListItem last found a record: its index in the high half, its offset in the low
    // half. Reading items in order then walks each record once instead of from the start each
    // time. Every change of the value passes through Clear, which resets it to record 0 at offset
    // 0; it is atomic so that threads may read one list side by side.
    mutable std::atomic<std::uint64_t> mWalkHint;
};

// Writes value's packed record into buffer and returns its length (12 + data size). Fails with
// E_FAIL, writing nothing, for a null buffer, a bufferLength below the record length, a tag-6 or
// tag-7 value with no data, or a record longer than 0x7FFFFFFF bytes.
[[nodiscard]] QZRESULT PackVariant(const Variant& value, void* buffer, std::uint32_t bufferLength);

// Reads the packed record at record, of which available bytes may be read, into value. Returns
// S_OK, or E_FAIL, leaving value unchanged, when the record is shorter than its head or than
// available allows, has a non-zero reserved word or a tag above 10, a length below 12, a 12-byte
// record of a tag other than 0 and 10, a longer record of tag 0, or a tag-1 to tag-5 payload of
// the wrong length. A tag-6 or tag-7 record reads back as a tag-8 byte string.
[[nodiscard]] QZRESULT UnpackVariant(Variant& value, const void* record, std::uint32_t available);

} // namespace QZ
