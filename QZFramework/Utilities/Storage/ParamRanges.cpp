#include "QZFramework/Utilities/Storage/ParamRanges.h"

#include "QZFramework/Utilities/Storage/ParamListItem.h"

#include <vector>

namespace QZ
{

ParamRanges::~ParamRanges() = default;

std::int32_t ParamRanges::SetRanges(const ParamRange* ranges, std::uint32_t count)
{
    if (ranges == nullptr || count == 0)
    {
        return kParamListIndexError;
    }
    std::vector<Variant> items(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        const Variant fields[2] = {MakeInt32Variant(ranges[i].mFirstParamID),
                                   MakeInt32Variant(static_cast<std::int32_t>(ranges[i].mCount))};
        items[i].SetList(fields, 2);
    }
    SetList(items.data(), count);
    return 0;
}

std::int32_t ParamRanges::GetItem(std::uint32_t index, ParamRange& range) const
{
    range = ParamRange();
    Variant fields[2];
    const std::int32_t result = ReadParamListItem(*this, index, fields, 2);
    if (result == 0)
    {
        range.mFirstParamID = fields[0].ToInt32();
        range.mCount = static_cast<std::uint32_t>(fields[1].ToInt32());
    }
    return result;
}

} // namespace QZ
