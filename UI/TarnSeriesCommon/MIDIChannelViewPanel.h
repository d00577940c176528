// The channel line of a drawn control: its child "label" shows "CH:G", "CH:n" or "CH:Zn" from the
// label's own string table. User-interface thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"

#include <cstdint>

namespace QZ
{

class LMIDIChannelViewPanel : public LPanel
{
public:
    using LPanel::LPanel;

    // 0 is the global channel, 1 to 16 the MIDI channels, 17 and above the keybed zones.
    virtual void ShowChannel(std::uint8_t channel);
};

} // namespace QZ
