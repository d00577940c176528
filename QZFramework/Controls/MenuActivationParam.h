// The payload of a chosen menu command: the menu the item belongs to (the popup's own copy) and
// the item's index in it.
#pragma once

#include "QZFramework/ControlBase/MenuDescriptor.h"
#include "QZFramework/Notification/PayloadAllocator.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstddef>
#include <cstdint>

namespace QZ
{

class LMenuActivationParam : public virtual LRefCountedObject
{
public:
    LMenuActivationParam(const RCPtr<LMenuDescriptor>& menu, std::int32_t index)
        : mMenu(menu), mIndex(index)
    {
    }

    static RCPtr<LMenuActivationParam> Create(const RCPtr<LMenuDescriptor>& menu,
                                              std::int32_t index)
    {
        return RCPtr<LMenuActivationParam>(new LMenuActivationParam(menu, index));
    }

    static void* operator new(std::size_t size)
    {
        return GetPayloadAllocator<LMenuActivationParam>().Allocate(size);
    }
    static void operator delete(void* address) noexcept
    {
        GetPayloadAllocator<LMenuActivationParam>().Free(address);
    }

    [[nodiscard]] const RCPtr<LMenuDescriptor>& GetMenu() const { return mMenu; }
    [[nodiscard]] std::int32_t GetIndex() const { return mIndex; }

private:
    RCPtr<LMenuDescriptor> mMenu;
    std::int32_t mIndex;
};

} // namespace QZ
