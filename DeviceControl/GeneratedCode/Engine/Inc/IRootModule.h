// IRootModule: the top of a device-model tree, which the model's LRootModule and the editor's
// main control both implement. It owns the device module and answers for identifiers F to F + 130
// through it (F: the root's first identifier); it knows the device-communication interface
// through which changes reach the device.
//
// mOffline is true while the model works without a device: changes are then kept and reported
// but not sent, and reads come from the values kept.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/DeviceParamSender.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IDevice.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ParameterizedModule.h"
#include "Engine/RededoVuvuvaCommon/DeviceCommunicationInterface.h"

#include <atomic>
#include <cstdint>

class IRootModule : public LParameterizedModule, public IDeviceParamSender
{
public:
    using LParameterizedModule::GetModule;

    // Stores the three values, then places the device with (this, firstParamID, 0).
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // The device's answer for identifiers F to F + 130, else null.
    [[nodiscard]] QZ::RCPtr<LParameterizedModule> GetModule(std::int32_t paramID) override;
    // To the device.
    void PropagateEventA() override;
    void PropagateEventB() override;

    // Reports one changed value to whoever follows the model.
    virtual void ReportParamChange(const QZ::ParamDescriptor& descriptor,
                                   const QZ::Variant& value) = 0;
    [[nodiscard]] virtual QZ::RCPtr<LDeviceCommunicationInterface>
    GetDeviceCommunicationInterface() = 0;
    // The module of a composite identifier (-256 to -129); this keyboard has none.
    [[nodiscard]] virtual QZ::ConstRCPtr<LParameterizedModule>
    GetCompositeModule(std::int32_t paramID) const;
    [[nodiscard]] virtual QZ::RCPtr<LParameterizedModule> GetCompositeModule(std::int32_t paramID);
    // A change from the user. Offline: CommitParamValue's result (kept and reported, not sent).
    // Online: written through the module that owns the identifier (if any), then sent to the
    // device; the send's result (-1 without an interface).
    virtual std::int32_t SendParamValue(const QZ::ParamDescriptor& descriptor,
                                        const QZ::Variant& value);
    // A preset parameter's current value (identifiers from 0). Offline: the value kept, 0.
    // Online: the owning module's value and 0, or an empty value and E_FAIL when no module owns
    // the identifier.
    virtual std::int32_t FetchParamValue(const QZ::ParamDescriptor& descriptor, QZ::Variant& value);
    [[nodiscard]] virtual QZ::ConstRCPtr<IDevice> GetDevice() const;
    [[nodiscard]] virtual QZ::RCPtr<IDevice> GetDevice() = 0;

    // Sends a leaf's composite write to the device through the interface; -1 without one.
    std::int32_t SendParamValueToDevice(const QZ::ParamDescriptor& descriptor,
                                        const QZ::Variant& value) override;

    [[nodiscard]] bool IsOffline() const { return mOffline.load(); }

protected:
    explicit IRootModule(bool offline) : mOffline(offline) {}

    // Written by the engine's polling thread when it connects, read by every caller.
    std::atomic<bool> mOffline;
};
