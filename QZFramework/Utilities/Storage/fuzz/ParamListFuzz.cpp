// Feeds arbitrary packed records to the parameter list types: every item read stays inside the
// record, a list packs back to the same value, Set keeps a list readable and sorted, and range
// lists convert to the descriptors they promise.
#include "QZFramework/Utilities/Storage/ParamDescriptors.h"
#include "QZFramework/Utilities/Storage/ParamRanges.h"
#include "QZFramework/Utilities/Storage/ParamValues.h"
#include "QZFramework/Utilities/Storage/VariantOrder.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{

using namespace QZ;

void Require(bool condition)
{
    if (!condition)
    {
        __builtin_trap();
    }
}

std::vector<unsigned char> Pack(const Variant& value)
{
    std::uint32_t size = 0;
    (void)value.GetData(size);
    std::vector<unsigned char> record(size + Variant::RecordHeadSize);
    const QZRESULT length =
        PackVariant(value, record.data(), static_cast<std::uint32_t>(record.size()));
    Require(length == static_cast<QZRESULT>(record.size()));
    return record;
}

// Compared as records, since a NaN inside would make the values themselves unequal.
void CheckRoundTrip(const Variant& value)
{
    const std::vector<unsigned char> record = Pack(value);
    Variant copy;
    Require(UnpackVariant(copy, record.data(), static_cast<std::uint32_t>(record.size())) == S_OK);
    Require(Pack(copy) == record);
}

// A NaN equals nothing, not even itself, so neither Find nor Set can match it.
bool IsSelfEqual(const Variant& value)
{
    return value == value;
}

std::vector<ParamValue> ReadAll(const ParamValues& values, bool& readable)
{
    std::vector<ParamValue> items(values.GetListItemCount());
    readable = true;
    for (std::uint32_t i = 0; i < items.size(); ++i)
    {
        ParamValue& item = items[i];
        readable = readable && values.GetItem(i, item.mValue, item.mDescriptor.mParamID,
                                              item.mDescriptor.mSubKey) == 0;
    }
    return items;
}

void CheckValues(const Variant& list)
{
    const ParamValues values(list);
    bool readable = false;
    const std::vector<ParamValue> items = ReadAll(values, readable);
    if (!readable)
    {
        return;
    }
    ParamValues sorted;
    for (const ParamValue& item : items)
    {
        Variant found;
        const bool matchable = IsSelfEqual(item.mDescriptor.mSubKey);
        Require(values.Find(item.mDescriptor, found) == (matchable ? 0 : 1));
        Require(sorted.Set(item.mDescriptor, item.mValue) >= 0);
        Require(sorted.Find(item.mDescriptor, found) == (matchable ? 0 : 1));
        Require(!matchable || !IsSelfEqual(item.mValue) || found == item.mValue);
    }
    // Identifiers stay in unsigned order whatever the sub-keys are.
    const std::vector<ParamValue> result = ReadAll(sorted, readable);
    Require(readable);
    for (std::size_t i = 1; i < result.size(); ++i)
    {
        Require(static_cast<std::uint32_t>(result[i - 1].mDescriptor.mParamID) <=
                static_cast<std::uint32_t>(result[i].mDescriptor.mParamID));
    }
    CheckRoundTrip(sorted);
}

void CheckDescriptorsAndRanges(const Variant& list)
{
    const ParamDescriptors descriptors(list);
    const ParamRanges ranges(list);
    std::uint64_t total = 0;
    for (std::uint32_t i = 0; i < list.GetListItemCount(); ++i)
    {
        std::int32_t paramID = 0;
        Variant subKey;
        (void)descriptors.GetItem(i, paramID, subKey);
        ParamRange range;
        if (ranges.GetItem(i, range) == 0)
        {
            total += range.mCount;
        }
    }
    // Larger conversions are bounded by ParamDescriptors::MaxCount, but would only measure the
    // allocator here.
    if (total <= 4096)
    {
        const ParamDescriptors converted(ranges);
        Require(converted.GetListItemCount() == total);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Variant list;
    if (UnpackVariant(list, data, static_cast<std::uint32_t>(size)) != S_OK)
    {
        return 0;
    }
    CheckRoundTrip(list);
    CheckValues(list);
    CheckDescriptorsAndRanges(list);
    return 0;
}
