// The colour page of the button and pad edit panels: four colour lists "color1" to "color4" (each
// a labelled selector with its "comboBox"), captioned by their own numbers. User-interface thread
// only.
#pragma once

#include "QZFramework/ControlBase/Control.h"

#include <array>

namespace QZ
{

class LComboBox;

using ColourLists = std::array<RCPtr<LComboBox>, 4>;

// The lists of "color1" to "color4" on the page; a missing one throws the runtime error
// "Null Pointer : Couldn't find child color<n>" in the name of `method`.
[[nodiscard]] ColourLists RequireColourLists(const RCPtr<LControl>& page, const char* method);

// Every "colorNameLabel" under the panel: below "color<n>" (n from 1 to 4) it shows its entry
// "NUMBERED_COLOR_LABEL" with n, below "asciiColor" its entry "ASCII_COLOR_LABEL". The number
// comes from the selector's name, so the skin may order the selectors as it likes.
void CaptionColourLists(const LControl& panel);

} // namespace QZ
