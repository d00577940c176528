// Helpers that every panel of the device drawing shares: finding children along a path of skin
// names, the device view's edit panels and the main control above a panel, and subscribing or
// ranging a whole array of controls at once. Lookups answer an empty reference when a step finds
// nothing or the control given is empty; the Require forms throw the runtime error
// "Null Pointer" with the caller's detail instead. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class LParameterizedModule;

namespace QZ
{

class LControl;
class LComboBox;
class LNumericUpDown;

// The descendant reached by following direct children along the path, as T.
[[nodiscard]] RCPtr<LControl> FindDescendant(const RCPtr<LControl>& from,
                                             std::initializer_list<const char16_t*> path);
template <class T>
[[nodiscard]] RCPtr<T> FindChildAs(const RCPtr<LControl>& from,
                                   std::initializer_list<const char16_t*> path)
{
    return RCPtr<T>::DynamicCastFrom(FindDescendant(from, path));
}

// As FindChildAs, but a missing or mistyped child throws "Runtime Error : Null Pointer : <detail>
// : <method> : ..." (a skin error the owner cannot work without).
template <class T>
[[nodiscard]] RCPtr<T> RequireChild(const RCPtr<LControl>& from,
                                    std::initializer_list<const char16_t*> path, const char* method,
                                    const char* detail)
{
    RCPtr<T> typed = FindChildAs<T>(from, path);
    if (!typed)
    {
        QZ_THROW_RUNTIME(method, "Null Pointer", detail);
    }
    return typed;
}

// "<prefix><number>", the skin's names of numbered children ("encoderBank3", "fader9").
[[nodiscard]] WideString NumberedName(const char16_t* prefix, std::uint32_t number);

[[nodiscard]] RCPtr<LComboBox> FindComboBoxChild(const RCPtr<LControl>& control);
[[nodiscard]] RCPtr<LNumericUpDown> FindNumericUpDownChild(const RCPtr<LControl>& control);
[[nodiscard]] RCPtr<LNumericUpDown> FindCCSelectorUpDown(const RCPtr<LControl>& control);
[[nodiscard]] RCPtr<LControl> FindMinMaxSelectors(const RCPtr<LControl>& control);
[[nodiscard]] RCPtr<LControl> FindMSBLSBSelectors(const RCPtr<LControl>& control);
[[nodiscard]] RCPtr<LNumericUpDown> FindMinUpDown(const RCPtr<LControl>& page);
[[nodiscard]] RCPtr<LNumericUpDown> FindMaxUpDown(const RCPtr<LControl>& page);
[[nodiscard]] RCPtr<LNumericUpDown> FindLSBUpDown(const RCPtr<LControl>& page);
[[nodiscard]] RCPtr<LNumericUpDown> FindMSBUpDown(const RCPtr<LControl>& page);

// The child of the main window's device view ("viewDevice" under the panel's root control).
[[nodiscard]] RCPtr<LControl> FindDeviceViewChild(LControl& panel, const char16_t* name);
// Shows the edit panel of a control type through the device view; false when the panel's window
// holds no device view.
bool ShowEditPanelOf(LControl& panel, std::int32_t controlType, std::int32_t subtype);
// Hands an edited value to the main control at the top of the panel's window; false when the
// window's root is no main control (nothing is sent then).
bool SendToMainControl(LControl& panel, const ParamDescriptor& descriptor, const Variant& value);
// Gives the engine's current value of the module's first parameter to the module's own
// SetParamValueLocal at once, so that a panel bound to another element holds that element's value
// before any change of its editors can be read; a value posted through the queue could arrive
// after the user's next input. True when the module took it.
bool ShowEngineValue(LParameterizedModule& module);
// Whether the engine holds another value of the parameter by now: the value was posted before a
// later change, whose own post follows it. False without an engine.
[[nodiscard]] bool IsSupersededEngineValue(const ParamDescriptor& descriptor, const Variant& value);

// Sets every control's value range (linear); the items must not be empty.
template <class T>
QZRESULT SetRangeForAllArrayItems(const std::vector<RCPtr<T>>& items, double minimum,
                                  double maximum)
{
    for (const RCPtr<T>& item : items)
    {
        item->SetValueRange(minimum, maximum, 0);
    }
    return S_OK;
}

// Subscribes the handler's method to the identifier of every control of the array, first to last.
// The first refusal (an empty item gives an empty distributor, refused with E_INVALIDARG) throws
// the failed-result exception; the subscriptions made before it stay.
template <class Owner, class T>
void SetNotificationForAllArrayItems(const std::vector<RCPtr<T>>& items,
                                     LNotificationHandler<Owner>& handler,
                                     const char16_t* identifier,
                                     typename LNotificationHandler<Owner>::Method method)
{
    for (const RCPtr<T>& item : items)
    {
        const QZRESULT result = handler.AddHandler(
            method, RCPtr<LNotificationDistributor>(item ? item.Get() : nullptr), identifier, 0);
        if (Failed(result))
        {
            QZ_THROW_FAILED_RESULT(result, "SetNotificationForAllArrayItems");
        }
    }
}

} // namespace QZ
