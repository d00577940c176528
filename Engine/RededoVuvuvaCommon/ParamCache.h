// The current value of every preset parameter, one slot per parameter number.
//
// The root module keeps the preset here: slot i holds the value of parameter number i (the
// identifier minus the root's first identifier). A slot normally holds a whole value; a
// descriptor with a sub-key addresses one entry of a composite parameter, whose slot then holds
// a ParamValues list. The cache has no lock: its users serialise access (the root module holds
// its device lock while it uses it).
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>
#include <memory>

namespace QZ
{

class LParamCache : public virtual LRefCountedObject
{
public:
    // count empty slots; the engine makes 131.
    explicit LParamCache(std::uint32_t count);
    LParamCache(const LParamCache&) = delete;
    LParamCache& operator=(const LParamCache&) = delete;
    ~LParamCache() override;

    // Stores value in slot descriptor.mParamID (the parameter number). Returns -1 when the number,
    // taken as unsigned, is not below the count, or when a composite update cannot read the
    // slot's list; 1 when the slot already held that value (OnValueChanged is not called); 0 when
    // the slot changed, after OnValueChanged(number, new slot content) when notify is set.
    virtual std::int32_t SetValue(const ParamDescriptor& descriptor, const Variant& value,
                                  bool notify);
    // Empties value, then copies the slot into it (a whole parameter) or finds the sub-key's entry
    // in the slot's list. Returns 0; -1 for a number not below the count; for a sub-key, 1 when
    // the list has no such entry or the negative result of an unreadable entry.
    virtual std::int32_t GetValue(const ParamDescriptor& descriptor, Variant& value) const;
    // True when GetValue would give a value equal to value; a whole parameter is compared where
    // it is kept, without a copy.
    [[nodiscard]] bool Holds(const ParamDescriptor& descriptor, const Variant& value) const;

    [[nodiscard]] std::uint32_t GetCount() const { return mCount; }

protected:
    // Called for every notified change; this class does nothing and answers 0x80004001 (not
    // implemented).
    virtual QZRESULT OnValueChanged(std::uint32_t index, const Variant& value);

private:
    bool IsInRange(const ParamDescriptor& descriptor) const;
    std::int32_t SetWhole(std::uint32_t index, const Variant& value, bool notify);
    std::int32_t SetEntry(std::uint32_t index, const ParamDescriptor& descriptor,
                          const Variant& value, bool notify);

    std::uint32_t mCount;
    std::unique_ptr<Variant[]> mSlots;
};

} // namespace QZ
