// A packed list of identifier ranges: a tag-10 list whose items are two-item lists
// [tag-2 first identifier, tag-2 count].
#pragma once

#include "QZFramework/Utilities/Storage/ParamRange.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>

namespace QZ
{

class ParamRanges : public Variant
{
public:
    ParamRanges() = default;
    // Takes content as it is, packed list or not.
    explicit ParamRanges(const Variant& content) : Variant(content) {}
    ~ParamRanges() override;

    // Replaces the list by one item per range, in array order. Returns 0, or -4 for a null array
    // or a count of 0 (the list then stays as it was).
    [[nodiscard]] std::int32_t SetRanges(const ParamRange* ranges, std::uint32_t count);
    // Reads range index. Returns 0; -4 when this is not a list or index is not below the item
    // count; -7 when the item is not a two-item list. range is {-1, 0} unless the result is 0.
    [[nodiscard]] std::int32_t GetItem(std::uint32_t index, ParamRange& range) const;
};

} // namespace QZ
