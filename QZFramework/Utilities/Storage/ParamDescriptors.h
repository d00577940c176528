// A packed list of parameter descriptors: a tag-10 list whose items are two-item lists
// [tag-2 identifier, sub-key].
#pragma once

#include "QZFramework/Utilities/Storage/ParamRange.h"
#include "QZFramework/Utilities/Storage/ParamRanges.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>

namespace QZ
{

class ParamDescriptors : public Variant
{
public:
    // The most descriptors a packed list can hold (each item packs to 40 bytes and a record is at
    // most 0x7FFFFFFF bytes long).
    static constexpr std::uint32_t MaxCount = (0x7FFFFFFFu - Variant::RecordHeadSize) / 40u;

    ParamDescriptors() = default;
    // Takes content as it is, packed list or not.
    explicit ParamDescriptors(const Variant& content) : Variant(content) {}
    // The descriptors range.mFirstParamID, +1, ... in ascending order, each with an empty
    // sub-key; a count of 0 gives an empty list.
    explicit ParamDescriptors(const ParamRange& range);
    // The descriptors of every readable range of ranges, in order. When they would be more than
    // MaxCount the result is an empty list, since no packed list could carry them.
    explicit ParamDescriptors(const ParamRanges& ranges);
    ~ParamDescriptors() override;

    // Reads descriptor index. Returns 0; -4 when this is not a list or index is not below the
    // item count; -7 when the item is not a two-item list. paramID is -1 and subKey empty unless
    // the result is 0.
    [[nodiscard]] std::int32_t GetItem(std::uint32_t index, std::int32_t& paramID,
                                       Variant& subKey) const;
};

} // namespace QZ
