// The program's message boxes drawn from its own skin ("messageBox": a dialog with the label
// "text" and the button "buttonOK"): titled with the caption, centred over the active window and
// run by the program's own modal loop, so that the windows behind keep painting and an exit
// request still ends the program. Where there is no such skin control or no window yet (start-up
// errors), the desktop's box shows the text instead. User-interface thread only.
#pragma once

#include "Platform/Dialogs/MessageBox.h"

class SkinnedMessageBox : public QZ::Dialogs::IMessageBoxPresenter
{
public:
    std::int32_t Present(const std::string& text, const std::string& caption,
                         std::uint32_t style) override;
};
