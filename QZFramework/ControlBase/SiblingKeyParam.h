// The payload of "NID_SIBLING_KEY": a key handed on between sibling controls, the control that
// passed it, and a position that a receiver writes (-1 until one does; 0 when it used the key).
#pragma once

#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstdint>

namespace QZ
{

class LControl;

class LSiblingKeyParam : public virtual LRefCountedObject
{
public:
    LSiblingKeyParam(const KeyCode& key, const RCPtr<LControl>& passingControl);
    ~LSiblingKeyParam() override;

    static RCPtr<LSiblingKeyParam> Create(const KeyCode& key,
                                          const RCPtr<LControl>& passingControl);

    [[nodiscard]] const KeyCode& GetKey() const { return mKey; }
    [[nodiscard]] const RCPtr<LControl>& GetPassingControl() const { return mPassingControl; }
    [[nodiscard]] std::int32_t GetPosition() const { return mPosition; }
    void SetPosition(std::int32_t position) { mPosition = position; }

private:
    KeyCode mKey;
    RCPtr<LControl> mPassingControl;
    std::int32_t mPosition = -1;
};

} // namespace QZ
