#include "DeviceControl/GeneratedCode/Engine/Inc/ParameterizedModule.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/CompositeTranslator.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/DeviceParamSender.h"

using QZ::ParamDescriptor;
using QZ::Variant;

LParameterizedModule::LParameterizedModule(std::uint32_t paramCount) : mParamCount(paramCount) {}

LParameterizedModule::~LParameterizedModule() = default;

void LParameterizedModule::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                           std::uint32_t index)
{
    mParent = parent;
    mFirstParamID = firstParamID;
    mIndex = index;
}

QZ::ConstRCPtr<LParameterizedModule> LParameterizedModule::GetModule(std::int32_t paramID) const
{
    return const_cast<LParameterizedModule*>(this)->GetModule(paramID);
}

QZ::RCPtr<LParameterizedModule> LParameterizedModule::GetModule(std::int32_t)
{
    return QZ::RCPtr<LParameterizedModule>(this);
}

std::int32_t LParameterizedModule::SetParamValueLocal(const ParamDescriptor& descriptor,
                                                      const Variant& value, bool)
{
    if (mParamCount == 0)
    {
        QZ_THROW_LOGIC("LParameterizedModule::SetParamValueLocal");
    }
    return mParent == nullptr ? -1 : mParent->SetParamValue(descriptor, value);
}

Variant LParameterizedModule::GetParamValueLocal(const ParamDescriptor& descriptor) const
{
    if (mParamCount == 0)
    {
        QZ_THROW_LOGIC("LParameterizedModule::GetParamValueLocal");
    }
    return mParent == nullptr ? Variant() : mParent->GetParamValue(descriptor);
}

std::int32_t LParameterizedModule::SetParamValue(const ParamDescriptor& descriptor,
                                                 const Variant& value)
{
    return mParent == nullptr ? -1 : mParent->SetParamValue(descriptor, value);
}

Variant LParameterizedModule::GetParamValue(const ParamDescriptor& descriptor) const
{
    return mParent == nullptr ? Variant() : mParent->GetParamValue(descriptor);
}

Variant LParameterizedModule::GetParamValueDefault(std::int32_t) const
{
    return Variant();
}

void LParameterizedModule::PropagateEventA() {}

void LParameterizedModule::PropagateEventB() {}

bool LParameterizedModule::IsActive() const
{
    return true;
}

void LParameterizedModule::RelayToParent(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                         std::uint32_t d)
{
    if (mParent != nullptr)
    {
        mParent->RelayToParentAlt(a, b, c, d);
    }
}

void LParameterizedModule::RelayToParentAlt(std::uint32_t a, std::uint32_t b, std::uint32_t c,
                                            std::uint32_t d)
{
    if (mParent != nullptr)
    {
        mParent->RelayToParentAlt(a, b, c, d);
    }
}

std::int32_t LParameterizedModule::CommitParamValue(const ParamDescriptor& descriptor,
                                                    const Variant& value)
{
    return mParent == nullptr ? QZ::E_FAIL : mParent->CommitParamValue(descriptor, value);
}

Variant LParameterizedModule::ReadParamValue(const ParamDescriptor& descriptor) const
{
    return mParent == nullptr ? Variant() : mParent->ReadParamValue(descriptor);
}

LParameterizedModule* LParameterizedModule::FindRoot()
{
    LParameterizedModule* module = this;
    while (module->mParent != nullptr)
    {
        module = module->mParent;
    }
    return module;
}

std::int64_t LParameterizedModule::GetOffsetFromRoot()
{
    return static_cast<std::int64_t>(mFirstParamID) - FindRoot()->mFirstParamID;
}

bool LParameterizedModule::IsPlacedWithinRunOf(ControlType type)
{
    const ControlTypeLayout& layout = GetControlTypeLayout(type);
    const std::int64_t offset = GetOffsetFromRoot();
    return offset >= layout.firstNumber && offset < layout.firstNumber + std::int64_t{layout.count};
}

bool LParameterizedModule::IsPlacedAtStartOf(ControlType type)
{
    return GetOffsetFromRoot() == GetControlTypeLayout(type).firstNumber;
}

std::optional<std::int32_t>
LParameterizedModule::WriteLeafValue(const ParamDescriptor& descriptor, const Variant& value,
                                     bool fromDevice, const LCompositeTranslator& translator)
{
    const std::int32_t paramID = descriptor.mParamID;
    if (paramID >= 0)
    {
        return paramID == mFirstParamID
                   ? LParameterizedModule::SetParamValueLocal(descriptor, value, fromDevice)
                   : -1;
    }
    if (!IsCompositeParamID(paramID))
    {
        return -1;
    }
    if (!fromDevice)
    {
        if (auto* sender = dynamic_cast<IDeviceParamSender*>(FindRoot()))
        {
            (void)sender->SendParamValueToDevice(descriptor, value);
        }
    }
    ParamDescriptor ownDescriptor;
    Variant ownValue;
    if (translator.Translate(descriptor, value, ownDescriptor, ownValue) < 0)
    {
        return 1;
    }
    if (ownDescriptor.mParamID != mFirstParamID)
    {
        return std::nullopt;
    }
    return LParameterizedModule::SetParamValueLocal(ownDescriptor, ownValue, fromDevice);
}

Variant LParameterizedModule::MakeByteString(const std::uint8_t* bytes, std::size_t count)
{
    Variant value;
    value.SetBytes(bytes, static_cast<std::uint32_t>(count));
    return value;
}
