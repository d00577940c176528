// A key request travelling through the controls: the key's words, whether it came from the window
// or a panel (source flag 1) or from a control handing it to its children (0), and the
// containers it has already left, in the order it left them.
#pragma once

#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LControl;

class LKeyParam : public virtual LRefCountedObject
{
public:
    LKeyParam(const KeyCode& key, bool fromSource);
    ~LKeyParam() override;

    static RCPtr<LKeyParam> Create(const KeyCode& key, bool fromSource);

    [[nodiscard]] KeyCode GetKeyCode() const { return {mKey, mSideModifiers, mExtra}; }
    [[nodiscard]] std::uint32_t GetKey() const { return mKey; }
    [[nodiscard]] std::uint32_t GetSideModifiers() const { return mSideModifiers; }
    [[nodiscard]] std::uint8_t GetExtra() const { return mExtra; }
    [[nodiscard]] bool IsFromSource() const { return mFromSource; }
    [[nodiscard]] std::vector<RCPtr<LControl>>& GetControls() { return mControls; }
    [[nodiscard]] const std::vector<RCPtr<LControl>>& GetControls() const { return mControls; }

private:
    std::uint32_t mKey;
    std::uint32_t mSideModifiers;
    std::uint8_t mExtra;
    bool mFromSource;
    std::vector<RCPtr<LControl>> mControls;
};

} // namespace QZ
