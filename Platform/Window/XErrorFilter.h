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
// back. Only while SDL's X11 driver is in use, from before SDL opens its X connections until it
// has closed them: closing a connection reads the errors still pending on it (a wake-up SDL sent
// to a window destroyed meanwhile) under the handler SDL found when it opened it.
void FilterXErrors(bool on);

} // namespace Platform
