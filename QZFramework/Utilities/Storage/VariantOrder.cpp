#include "QZFramework/Utilities/Storage/VariantOrder.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

namespace QZ
{
namespace
{

bool IsNumberTag(std::uint32_t tag)
{
    return tag >= Variant::TagUInt8 && tag <= Variant::TagDouble;
}

std::basic_string_view<unsigned char> BytesOf(const Variant& value)
{
    std::uint32_t size = 0;
    const void* data = value.GetData(size);
    return {static_cast<const unsigned char*>(data), data == nullptr ? 0u : size};
}

// The bytes a value compares by against another tag: a number's 8 inline payload bytes (its
// value bytes, zero-filled to 8), anything else's data bytes.
std::basic_string<unsigned char> ComparableBytesOf(const Variant& value)
{
    std::basic_string<unsigned char> bytes(BytesOf(value));
    if (IsNumberTag(value.GetType()))
    {
        bytes.resize(8, 0);
    }
    return bytes;
}

// Shorter is less; of equal lengths the first differing byte decides, compared as CharT.
template <class CharT>
bool IsShorterOrLess(std::basic_string_view<unsigned char> a,
                     std::basic_string_view<unsigned char> b)
{
    if (a.size() != b.size())
    {
        return a.size() < b.size();
    }
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        if (a[i] != b[i])
        {
            return static_cast<CharT>(a[i]) < static_cast<CharT>(b[i]);
        }
    }
    return false;
}

bool IsLessAcrossTags(const Variant& a, const Variant& b)
{
    if (a.GetType() == Variant::TagEmpty || b.GetType() == Variant::TagEmpty)
    {
        return a.GetType() < b.GetType();
    }
    if (IsNumberTag(a.GetType()) && IsNumberTag(b.GetType()))
    {
        return a.ToDouble() < b.ToDouble();
    }
    return IsShorterOrLess<unsigned char>(ComparableBytesOf(a), ComparableBytesOf(b));
}

bool IsReferenceLess(const Variant& a, const Variant& b)
{
    std::uint32_t sizeA = 0;
    std::uint32_t sizeB = 0;
    const void* dataA = a.GetData(sizeA);
    const void* dataB = b.GetData(sizeB);
    return sizeA < sizeB || std::less<const void*>()(dataA, dataB);
}

bool IsListLess(const Variant& a, const Variant& b)
{
    const std::uint32_t countA = a.GetListItemCount();
    const std::uint32_t countB = b.GetListItemCount();
    const std::uint32_t common = std::min(countA, countB);
    for (std::uint32_t i = 0; i < common; ++i)
    {
        Variant itemA;
        Variant itemB;
        (void)a.GetListItem(i, itemA);
        (void)b.GetListItem(i, itemB);
        if (!(itemA == itemB))
        {
            return IsVariantLess(itemA, itemB);
        }
    }
    return countA < countB;
}

bool IsLessWithinTag(const Variant& a, const Variant& b)
{
    switch (a.GetType())
    {
    case Variant::TagUInt8:
    case Variant::TagInt32:
        return a.ToInt32() < b.ToInt32();
    case Variant::TagInt64:
        return a.ToInt64() < b.ToInt64();
    case Variant::TagFloat:
        return a.ToFloat() < b.ToFloat();
    case Variant::TagDouble:
        return a.ToDouble() < b.ToDouble();
    case Variant::TagElementsRef:
    case Variant::TagDataRef:
        return IsReferenceLess(a, b);
    case Variant::TagBytes:
        return IsShorterOrLess<unsigned char>(BytesOf(a), BytesOf(b));
    case Variant::TagString:
        return IsShorterOrLess<signed char>(BytesOf(a), BytesOf(b));
    case Variant::TagList:
        return IsListLess(a, b);
    default:
        return false;
    }
}

} // namespace

bool IsVariantLess(const Variant& a, const Variant& b)
{
    return a.GetType() == b.GetType() ? IsLessWithinTag(a, b) : IsLessAcrossTags(a, b);
}

} // namespace QZ
