// A packed list of parameter values: a tag-10 list whose items are three-item lists
// [value, tag-2 identifier, sub-key] (the value first; this is the form in which values cross
// the device-control library and the engine's notifications).
//
// A list kept with Set stays sorted by identifier, compared as unsigned 32-bit (negative
// identifiers after all others), and within one identifier by sub-key in the Variant ordering
// of VariantOrder.h.
#pragma once

#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/ParamValue.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>

namespace QZ
{

class ParamValues : public Variant
{
public:
    ParamValues() = default;
    // Takes content as it is, packed list or not.
    explicit ParamValues(const Variant& content) : Variant(content) {}
    ~ParamValues() override;

    // Replaces the whole list by one item per value, in array order. Returns 0, or -4 for a null
    // array or a count of 0 (the list then stays as it was).
    [[nodiscard]] std::int32_t SetItems(const ParamValue* values, std::uint32_t count);
    // Reads item index. Returns 0; -4 when this is not a list or index is not below the item
    // count; -7 when the item is not a three-item list. value is empty, paramID -1 and subKey
    // empty unless the result is 0.
    [[nodiscard]] std::int32_t GetItem(std::uint32_t index, Variant& value, std::int32_t& paramID,
                                       Variant& subKey) const;
    // The value of the first item named by descriptor. Returns 0 when found, 1 when no item
    // matches, or the negative result of an item that cannot be read; value is empty unless 0.
    [[nodiscard]] std::int32_t Find(const ParamDescriptor& descriptor, Variant& value) const;
    // Stores value under descriptor, keeping the order. Returns 0 when the list changed, 1 when
    // it already held that value, or the negative result of an item that cannot be read (the
    // list then stays as it was). Content that is not a list is replaced by a new list.
    [[nodiscard]] std::int32_t Set(const ParamDescriptor& descriptor, const Variant& value);
};

} // namespace QZ
