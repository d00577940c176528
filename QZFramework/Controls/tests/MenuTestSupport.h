// Shared pieces of the menu tests: a skin with a main menu bar, its string tables, the control
// that owns the menus' items and a listener for the commands a window delivers.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/MenuItemState.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/Notification/NotificationClient.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace QZ::ToolkitTest
{

// "<command> <index> <item text>" of a chosen menu command (the item its menu holds at its
// index), or "<command> -" when the notification carries no menu activation.
[[nodiscard]] std::string DescribeCommand(const LNotification& notification);

// Records every command it hears, and answers the menus' item questions: "NID_SAVE" disabled,
// "NID_QUIT" checked, "NID_ABOUT" renamed.
class Owner : public LControl
{
public:
    using LControl::LControl;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT UpdateMenuItemState(const RCPtr<LMenuDescriptor>& menu, std::int32_t index,
                                 const WideString& command, MenuItemState& state) override;

    std::vector<std::string> heard;
};

// Records the commands it hears where it subscribed (a window delivers them at idle).
class WindowListener : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override;
    std::vector<std::string> Take() { return std::exchange(heard, {}); }

    std::vector<std::string> heard;
};

// The rows of every popup of the menu skin.
extern const std::string_view kMenuRows;

// The skin "Menus". Its root "main" (200 x 100) holds the owner (150, 80, 40 x 20; a focusable
// control with a context menu), a status bar (0, 90, 100 x 10; idle text "Ready"), the bar
// "mainMenu" (titles 30 x 10 side by side, popups
// dropping 10 below them) and a checked combo box; "contextMenu" is the popup that controls open
// at the pointer. Rows (10 high): check box 0..10, hot-key label 40..55 of a 60-pixel row, so
// 35 pixels of a row are not text.
[[nodiscard]] std::string MenuSkin();

// The bar's menus: "File" (Open, a separator, Recent with the submenu A and B, Save, Quit) and
// "Help" (About); application hot keys for Open and About; the checked combo box's items.
extern const std::string_view kMenuStrings;

// Makes the menu skin's classes known to the factory.
void RegisterMenuClasses(LControlFactory& factory);

} // namespace QZ::ToolkitTest
