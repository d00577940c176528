// The window manager's close request as a desktop without one cannot send it; kept apart because
// Xlib's macros clash with the toolkit's names.
#pragma once

namespace QZ::ToolkitTest
{

// Sends WM_DELETE_WINDOW, as a click on its close box would, to the top-level window of the X
// server of DISPLAY whose area on the screen is the rectangle; false when none is found.
bool RequestWindowClose(int x, int y, int width, int height);

} // namespace QZ::ToolkitTest
