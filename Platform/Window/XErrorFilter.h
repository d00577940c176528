// The X connection's errors about windows that are gone. A request about a window that the other
// side destroyed meanwhile (an answer to a window just closed) fails harmlessly, but X's default
// handling of any error ends the program; while the filter is on, such errors (also those about
// drawing into a window that is gone, or handing the keyboard to one no longer on the screen) are
// reported on stderr and the program goes on, and every other error goes to the handler there
// was before.
#pragma once

namespace Platform
{

// On: installs the filter in front of the process's X error handler; off: puts that handler
// back. From before SDL's video starts until after it ends.
void FilterXErrors(bool on);

} // namespace Platform
