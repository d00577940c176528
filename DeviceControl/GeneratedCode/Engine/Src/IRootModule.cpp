#include "DeviceControl/GeneratedCode/Engine/Inc/IRootModule.h"

#include <utility>

void IRootModule::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                  std::uint32_t index)
{
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    if (QZ::RCPtr<IDevice> device = GetDevice())
    {
        device->SetFirstParamID(this, firstParamID, 0);
    }
}

QZ::RCPtr<LParameterizedModule> IRootModule::GetModule(std::int32_t paramID)
{
    const std::int64_t number = static_cast<std::int64_t>(paramID) - mFirstParamID;
    if (number < 0 || number >= kPresetParamCount)
    {
        return nullptr;
    }
    QZ::RCPtr<IDevice> device = GetDevice();
    return device ? device->GetModule(paramID) : nullptr;
}

void IRootModule::PropagateEventA()
{
    if (QZ::RCPtr<IDevice> device = GetDevice())
    {
        device->PropagateEventA();
    }
}

void IRootModule::PropagateEventB()
{
    if (QZ::RCPtr<IDevice> device = GetDevice())
    {
        device->PropagateEventB();
    }
}

QZ::ConstRCPtr<LParameterizedModule> IRootModule::GetCompositeModule(std::int32_t paramID) const
{
    return const_cast<IRootModule*>(this)->GetCompositeModule(paramID);
}

QZ::RCPtr<LParameterizedModule> IRootModule::GetCompositeModule(std::int32_t)
{
    return nullptr;
}

std::int32_t IRootModule::SendParamValue(const QZ::ParamDescriptor& descriptor,
                                         const QZ::Variant& value)
{
    if (mOffline.load())
    {
        return CommitParamValue(descriptor, value);
    }
    QZ::RCPtr<LParameterizedModule> module;
    if (descriptor.mParamID >= 0)
    {
        module = GetModule(descriptor.mParamID);
    }
    else if (IsCompositeParamID(descriptor.mParamID))
    {
        module = GetCompositeModule(descriptor.mParamID);
    }
    if (module)
    {
        static_cast<void>(module->SetParamValueLocal(descriptor, value, false));
    }
    QZ::RCPtr<LDeviceCommunicationInterface> deviceComm = GetDeviceCommunicationInterface();
    return deviceComm ? deviceComm->SetParamValue(descriptor, value)
                      : LDeviceCommunicationInterface::kNoClient;
}

std::int32_t IRootModule::FetchParamValue(const QZ::ParamDescriptor& descriptor, QZ::Variant& value)
{
    if (mOffline.load())
    {
        value = ReadParamValue(descriptor);
        return 0;
    }
    const QZ::ConstRCPtr<LParameterizedModule> module =
        std::as_const(*this).GetModule(descriptor.mParamID);
    if (!module)
    {
        value.Clear();
        return QZ::E_FAIL;
    }
    value = module->GetParamValueLocal(descriptor);
    return 0;
}

QZ::ConstRCPtr<IDevice> IRootModule::GetDevice() const
{
    return const_cast<IRootModule*>(this)->GetDevice();
}

std::int32_t IRootModule::SendParamValueToDevice(const QZ::ParamDescriptor& descriptor,
                                                 const QZ::Variant& value)
{
    QZ::RCPtr<LDeviceCommunicationInterface> deviceComm = GetDeviceCommunicationInterface();
    return deviceComm ? deviceComm->SetParamValue(descriptor, value)
                      : LDeviceCommunicationInterface::kNoClient;
}
