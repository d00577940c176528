// Stand-ins for the editor's own control classes ("RededoVuvuva.*") until they are built: every
// such class that a loaded skin names is registered to build a plain panel, so the main window
// and the dialogs open from the shipped skin with their framework controls, looks and layout.
// The editor's registrations replace this whole file.
#pragma once

namespace QZ
{

class LControlFactory;

void RegisterStandInControls(LControlFactory& factory);

} // namespace QZ
