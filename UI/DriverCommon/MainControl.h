// The control at the top of the main window ("mainControl") and the root of the editor's own
// device tree. Its device is the device view ("viewDevice"), whose group panels are the modules,
// so the parameter identifiers handed down here reach every panel, the engine's posted states
// reach the panel that owns them, and every edit a panel makes leaves for the engine here.
//
// Edits arrive through IRootModule::SendParamValue (ControlUtilities' SendToMainControl): an echo
// of the state being applied is dropped, anything else goes to the engine. When the engine
// refuses an edit, the refusal is logged and the engine's own value is applied again, so the
// panel never keeps showing a value the engine does not hold.
//
// Identifier -2 with an empty value asks for the remote devices; when that query fails (always
// so without a device-control library) a message says once that the editor works offline, and
// it goes on running. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IRootModule.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <cstdint>

namespace QZ
{

class LMainControl : public LControl, public IRootModule
{
public:
    LMainControl(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LMainControl() override;

    // Finds "viewDevice" (a missing one throws "Null Pointer : LMainControl couldn't find
    // viewDevice"), keeps "viewStatus" and "panelDeviceSelector" when present, subscribes to the
    // engine's states and binds the tree from the engine's first identifier; device scanning is
    // switched on in every case but a throw.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    // Switches device scanning on and keeps the proposed rectangle.
    QZRESULT OnWindowRectRequest(RectT<double>& rect) override;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // The edit of a panel: dropped when it repeats the state being applied, else handed to the
    // engine. The engine's result; 0 for a dropped echo.
    std::int32_t SendParamValue(const ParamDescriptor& descriptor, const Variant& value) override;
    void ReportParamChange(const ParamDescriptor&, const Variant&) override {}
    // The editor's tree talks to no device itself: always null.
    RCPtr<LDeviceCommunicationInterface> GetDeviceCommunicationInterface() override;
    [[nodiscard]] RCPtr<IDevice> GetDevice() override;
    using IRootModule::GetDevice;

    // Handler of "NID_PARAM_MODULE_STATE_CHANGE": one state or a list of states, in list order;
    // an item that cannot be read is logged and skipped. 1.
    QZRESULT OnParamModuleStateChange(const RCPtr<LNotificationDistributor>& sender,
                                      const RCPtr<LNotification>& notification);
    // Gives one state to the module that owns its identifier. 0.
    std::int32_t ApplyParamState(const ParamDescriptor& descriptor, const Variant& value);

private:
    void EnableDeviceScanning();
    void CheckRemoteDevices();

    RCPtr<LNotificationHandler<LMainControl>> mHandler;
    ParamDescriptor mAppliedState;
    RCPtr<LControl> mDeviceView;
    IDevice* mDevice = nullptr;
    RCPtr<LControl> mStatusPanel;
    RCPtr<LControl> mDeviceSelectorPanel;
    bool mOfflineMessageShown = false;
};

} // namespace QZ
