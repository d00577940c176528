#include "QZFramework/Utilities/Storage/ParamDescriptors.h"

#include "QZFramework/Utilities/Storage/ParamListItem.h"

#include <vector>

namespace QZ
{
namespace
{

std::vector<ParamRange> ReadableRanges(const ParamRanges& ranges, std::uint64_t& total)
{
    std::vector<ParamRange> result;
    total = 0;
    const std::uint32_t count = ranges.GetListItemCount();
    for (std::uint32_t i = 0; i < count; ++i)
    {
        ParamRange range;
        if (ranges.GetItem(i, range) == 0)
        {
            result.push_back(range);
            total += range.mCount;
        }
    }
    return result;
}

Variant MakeDescriptorItem(std::int32_t paramID)
{
    const Variant fields[2] = {MakeInt32Variant(paramID), Variant()};
    Variant item;
    item.SetList(fields, 2);
    return item;
}

} // namespace

ParamDescriptors::ParamDescriptors(const ParamRange& range)
{
    ParamRanges ranges;
    (void)ranges.SetRanges(&range, 1);
    *this = ParamDescriptors(ranges);
}

ParamDescriptors::ParamDescriptors(const ParamRanges& ranges)
{
    std::uint64_t total = 0;
    const std::vector<ParamRange> readable = ReadableRanges(ranges, total);
    std::vector<Variant> items;
    if (total <= MaxCount)
    {
        items.reserve(static_cast<std::size_t>(total));
        for (const ParamRange& range : readable)
        {
            for (std::uint32_t k = 0; k < range.mCount; ++k)
            {
                // A range that runs past the largest identifier wraps instead of overflowing.
                const std::uint32_t paramID = static_cast<std::uint32_t>(range.mFirstParamID) + k;
                items.push_back(MakeDescriptorItem(static_cast<std::int32_t>(paramID)));
            }
        }
    }
    SetList(items.data(), static_cast<std::uint32_t>(items.size()));
}

ParamDescriptors::~ParamDescriptors() = default;

std::int32_t ParamDescriptors::GetItem(std::uint32_t index, std::int32_t& paramID,
                                       Variant& subKey) const
{
    subKey.Clear();
    paramID = -1;
    Variant fields[2];
    const std::int32_t result = ReadParamListItem(*this, index, fields, 2);
    if (result == 0)
    {
        paramID = fields[0].ToInt32();
        subKey = fields[1];
    }
    return result;
}

} // namespace QZ
