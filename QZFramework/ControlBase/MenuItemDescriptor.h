// One item of a menu; its own items form its submenu. An empty hot-key text means the key is
// looked up from the command's bindings when a popup shows the item.
#pragma once

#include "QZFramework/ControlBase/MenuDescriptor.h"
#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ
{

class LMenuItemDescriptor : public LMenuDescriptor
{
public:
    LMenuItemDescriptor() = default;
    ~LMenuItemDescriptor() override;

    // A copy of the item with copies of its submenu's items.
    [[nodiscard]] RCPtr<LMenuDescriptor> Clone() const override;
    [[nodiscard]] RCPtr<LMenuItemDescriptor> CloneItem() const;

    [[nodiscard]] const WideString& GetText() const { return mText; }
    void SetText(const WideString& text) { mText = text; }
    [[nodiscard]] const WideString& GetHotKeyText() const { return mHotKeyText; }
    void SetHotKeyText(const WideString& text) { mHotKeyText = text; }
    [[nodiscard]] const WideString& GetStatusText() const { return mStatusText; }
    void SetStatusText(const WideString& text) { mStatusText = text; }
    // The notification identifier the item sends when chosen.
    [[nodiscard]] const WideString& GetCommand() const { return mCommand; }
    void SetCommand(const WideString& command) { mCommand = command; }
    [[nodiscard]] bool IsEnabled() const { return mEnabled; }
    void SetEnabled(bool enabled) { mEnabled = enabled; }
    [[nodiscard]] bool IsChecked() const { return mChecked; }
    void SetChecked(bool checked) { mChecked = checked; }
    [[nodiscard]] bool IsSeparator() const { return mSeparator; }
    void SetSeparator(bool separator) { mSeparator = separator; }
    [[nodiscard]] bool HasSubmenu() const { return HasItems(); }

private:
    WideString mText;
    WideString mHotKeyText;
    WideString mStatusText;
    WideString mCommand;
    bool mEnabled = true;
    bool mChecked = false;
    bool mSeparator = false;
};

} // namespace QZ
