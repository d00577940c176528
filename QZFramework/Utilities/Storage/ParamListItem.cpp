#include "QZFramework/Utilities/Storage/ParamListItem.h"

namespace QZ
{

Variant MakeInt32Variant(std::int32_t value)
{
    const auto bits = static_cast<std::uint32_t>(value);
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
        static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
    Variant result;
    result.Set(Variant::TagInt32, bytes, sizeof bytes);
    return result;
}

std::int32_t ReadParamListItem(const Variant& list, std::uint32_t index, Variant* fields,
                               std::uint32_t fieldCount)
{
    if (list.GetType() != Variant::TagList || index >= list.GetListItemCount())
    {
        return kParamListIndexError;
    }
    Variant item;
    if (list.GetListItem(index, item) != 0 || item.GetType() != Variant::TagList ||
        item.GetListItemCount() != fieldCount)
    {
        return kParamListItemError;
    }
    for (std::uint32_t i = 0; i < fieldCount; ++i)
    {
        if (item.GetListItem(i, fields[i]) != 0)
        {
            return kParamListItemError;
        }
    }
    return 0;
}

} // namespace QZ
