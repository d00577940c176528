#include "QZFramework/Utilities/Storage/ParamValues.h"

#include "QZFramework/Utilities/Storage/ParamListItem.h"
#include "QZFramework/Utilities/Storage/VariantOrder.h"

#include <vector>

namespace QZ
{
namespace
{

// True when an entry named `item` belongs after one named `descriptor`.
bool SortsAfter(const ParamDescriptor& item, const ParamDescriptor& descriptor)
{
    const auto itemID = static_cast<std::uint32_t>(item.mParamID);
    const auto descriptorID = static_cast<std::uint32_t>(descriptor.mParamID);
    if (itemID != descriptorID)
    {
        return itemID > descriptorID;
    }
    return !IsVariantLess(item.mSubKey, descriptor.mSubKey);
}

} // namespace

ParamValues::~ParamValues() = default;

std::int32_t ParamValues::SetItems(const ParamValue* values, std::uint32_t count)
{
    if (values == nullptr || count == 0)
    {
        return kParamListIndexError;
    }
    std::vector<Variant> items(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const Variant fields[3] = {values[i].mValue,
                                   MakeInt32Variant(values[i].mDescriptor.mParamID),
                                   values[i].mDescriptor.mSubKey};
        items[i].SetList(fields, 3);
    }
    SetList(items.data(), count);
    return 0;
}

std::int32_t ParamValues::GetItem(std::uint32_t index, Variant& value, std::int32_t& paramID,
                                  Variant& subKey) const
{
    value.Clear();
    paramID = -1;
    subKey.Clear();
    Variant fields[3];
    const std::int32_t result = ReadParamListItem(*this, index, fields, 3);
    if (result == 0)
    {
        value = fields[0];
        paramID = fields[1].ToInt32();
        subKey = fields[2];
    }
    return result;
}

std::int32_t ParamValues::Find(const ParamDescriptor& descriptor, Variant& value) const
{
    const std::uint32_t count = GetType() == TagList ? GetListItemCount() : 0;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        ParamValue item;
        const std::int32_t result =
            GetItem(i, item.mValue, item.mDescriptor.mParamID, item.mDescriptor.mSubKey);
        if (result < 0)
        {
            value.Clear();
            return result;
        }
        if (item.mDescriptor == descriptor)
        {
            value = item.mValue;
            return 0;
        }
    }
    value.Clear();
    return 1;
}

std::int32_t ParamValues::Set(const ParamDescriptor& descriptor, const Variant& value)
{
    const std::uint32_t count = GetType() == TagList ? GetListItemCount() : 0;
    std::vector<ParamValue> items(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        ParamValue& item = items[i];
        const std::int32_t result =
            GetItem(i, item.mValue, item.mDescriptor.mParamID, item.mDescriptor.mSubKey);
        if (result < 0)
        {
            return result;
        }
    }
    for (ParamValue& item : items)
    {
        if (item.mDescriptor == descriptor)
        {
            if (item.mValue == value)
            {
                return 1;
            }
            item.mValue = value;
            (void)SetItems(items.data(), count);
            return 0;
        }
    }
    auto position = items.begin();
    while (position != items.end() && !SortsAfter(position->mDescriptor, descriptor))
    {
        ++position;
    }
    items.insert(position, ParamValue(descriptor, value));
    (void)SetItems(items.data(), count + 1);
    return 0;
}

} // namespace QZ
