// Modal message boxes: a text, a caption, an icon and the OK button, shown by the desktop
// through SDL2 until the program's own skinned dialog can be drawn. SDL shows the box from a
// process of its own, which ends with the program however the program ends.
//
// The text always goes to stderr too, so that a message reaches a terminal or a log; where there
// is no display, stderr is all there is. Tests install a presenter of their own in place of the
// desktop's (SetMessageBoxPresenter) and see each call.
#pragma once

#include <cstdint>
#include <string>

namespace QZ::Dialogs
{

// Style bits (the icon); the button is always OK.
inline constexpr std::uint32_t kIconError = 0x10;
inline constexpr std::uint32_t kIconWarning = 0x30;
inline constexpr std::uint32_t kIconInformation = 0x40;
// What ShowMessageBox returns once the box was closed with OK, and when none could be shown.
inline constexpr std::int32_t kResultOk = 1;
inline constexpr std::int32_t kResultNone = 0;

class IMessageBoxPresenter
{
public:
    virtual ~IMessageBoxPresenter() = default;
    // Shows the box and waits until it is closed; kResultOk, or kResultNone when it could not.
    virtual std::int32_t Present(const std::string& text, const std::string& caption,
                                 std::uint32_t style) = 0;
};

// Writes "caption: text" to stderr, then shows the box (UTF-8 texts) when the session has a
// display.
std::int32_t ShowMessageBox(const std::string& text, const std::string& caption,
                            std::uint32_t style);

// Replaces the desktop's presenter (null restores it); the caller keeps it alive while it is set.
void SetMessageBoxPresenter(IMessageBoxPresenter* presenter);
// The desktop's own presenter, for a presenter that cannot show a box itself.
[[nodiscard]] IMessageBoxPresenter& GetDesktopMessageBoxPresenter();

} // namespace QZ::Dialogs
