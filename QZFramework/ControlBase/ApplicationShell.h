// What the controls need of the application shell beyond the application object's base: its
// global hot keys, asked after a window's own, and the modal run of a dialog. The application
// object offers them by implementing this interface.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"

#include <cstdint>

namespace QZ
{

class LControl;
class LGlobalHotKeyManager;

class IApplicationShell
{
public:
    virtual ~IApplicationShell() = default;

    // The application's hot keys ("GHK"); null when it has none.
    [[nodiscard]] virtual RCPtr<LGlobalHotKeyManager> GetGlobalHotKeyManager() const = 0;
    // Runs the control's window in a modal loop of its own (flags 1: the window has a close box,
    // which cancels) and answers the result handed to LRootWindow::EndModal.
    virtual std::int32_t RunModal(const RCPtr<LControl>& control, std::uint32_t flags) = 0;
};

// The living application object's shell services; null when there is no application object or
// it does not offer them.
[[nodiscard]] IApplicationShell* GetApplicationShell();

} // namespace QZ
