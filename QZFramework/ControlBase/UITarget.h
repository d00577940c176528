// The input interface through which a root window reaches a control: pointer, key, wheel,
// resize and focus events. Every operation answers 0 when the control took the event and 1 when
// it did not, so the caller may offer it elsewhere.
#pragma once

#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/Notification/MouseButtonParam.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/PointWithModifiersParam.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstdint>

namespace QZ
{

class UITarget : public virtual LRefCountedObject
{
public:
    virtual QZRESULT OnMouseEnter() = 0;
    virtual QZRESULT NotifyMouseMove(const RCPtr<LPointWithModifiersParam>& move) = 0;
    virtual QZRESULT NotifyMouseDown(const RCPtr<LMouseButtonParam>& press) = 0;
    virtual QZRESULT NotifyMouseUp(const RCPtr<LMouseButtonParam>& release) = 0;
    virtual QZRESULT OnMouseLeave() = 0;
    // button 1 left, 2 middle, 4 right; the point in the control's coordinates.
    virtual QZRESULT OnMouseButtonDown(std::uint32_t button, std::int32_t x, std::int32_t y) = 0;
    virtual QZRESULT ReleaseCapture() = 0;
    virtual QZRESULT NotifyKey(const RCPtr<LKeyParam>& key) = 0;
    // One wheel step: directions 0 (towards the user) and 1 vertically, 2 (left) and 3
    // horizontally.
    virtual QZRESULT NotifyMouseWheelVertical(const RCPtr<LMouseWheelParam>& wheel) = 0;
    virtual QZRESULT NotifyMouseWheelHorizontal(const RCPtr<LMouseWheelParam>& wheel) = 0;
    virtual QZRESULT OnResize() = 0;
    [[nodiscard]] virtual bool CanReleaseFocus() = 0;
    virtual QZRESULT KillFocus() = 0;
};

} // namespace QZ
