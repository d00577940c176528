#include "Engine/RededoVuvuvaCommon/ParamCache.h"

#include "QZFramework/Utilities/Storage/ParamValues.h"

namespace QZ
{
namespace
{

constexpr QZRESULT kNotImplemented = static_cast<QZRESULT>(0x80004001u);

} // namespace

LParamCache::LParamCache(std::uint32_t count) : mCount(count), mSlots(new Variant[count]) {}

LParamCache::~LParamCache() = default;

std::int32_t LParamCache::SetValue(const ParamDescriptor& descriptor, const Variant& value,
                                   bool notify)
{
    if (!IsInRange(descriptor))
    {
        return -1;
    }
    const auto index = static_cast<std::uint32_t>(descriptor.mParamID);
    return descriptor.mSubKey.GetType() == Variant::TagEmpty
               ? SetWhole(index, value, notify)
               : SetEntry(index, descriptor, value, notify);
}

std::int32_t LParamCache::GetValue(const ParamDescriptor& descriptor, Variant& value) const
{
    value.Clear();
    if (!IsInRange(descriptor))
    {
        return -1;
    }
    const Variant& slot = mSlots[static_cast<std::uint32_t>(descriptor.mParamID)];
    if (descriptor.mSubKey.GetType() == Variant::TagEmpty)
    {
        value = slot;
        return 0;
    }
    return ParamValues(slot).Find(descriptor, value);
}

bool LParamCache::Holds(const ParamDescriptor& descriptor, const Variant& value) const
{
    if (IsInRange(descriptor) && descriptor.mSubKey.GetType() == Variant::TagEmpty)
    {
        return mSlots[static_cast<std::uint32_t>(descriptor.mParamID)] == value;
    }
    Variant current;
    static_cast<void>(GetValue(descriptor, current));
    return current == value;
}

QZRESULT LParamCache::OnValueChanged(std::uint32_t, const Variant&)
{
    return kNotImplemented;
}

bool LParamCache::IsInRange(const ParamDescriptor& descriptor) const
{
    return static_cast<std::uint32_t>(descriptor.mParamID) < mCount;
}

std::int32_t LParamCache::SetWhole(std::uint32_t index, const Variant& value, bool notify)
{
    if (mSlots[index] == value)
    {
        return 1;
    }
    mSlots[index] = value;
    if (notify)
    {
        (void)OnValueChanged(index, mSlots[index]);
    }
    return 0;
}

std::int32_t LParamCache::SetEntry(std::uint32_t index, const ParamDescriptor& descriptor,
                                   const Variant& value, bool notify)
{
    ParamValues list(mSlots[index]);
    const std::int32_t result = list.Set(descriptor, value);
    if (result != 0)
    {
        return result == 1 ? 1 : -1;
    }
    mSlots[index] = list;
    if (notify)
    {
        (void)OnValueChanged(index, mSlots[index]);
    }
    return 0;
}

} // namespace QZ
