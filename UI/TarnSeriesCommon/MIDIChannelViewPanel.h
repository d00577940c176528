// The channel line of a drawn control: its child "label" shows "CH:G", "CH:n" or "CH:Zn" from the
// label's own string table, and "CH:?" for a channel byte that names none of them. User-interface
// thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"

#include <cstdint>

namespace QZ
{

class LLabel;

class LMIDIChannelViewPanel : public LPanel
{
public:
    LMIDIChannelViewPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LMIDIChannelViewPanel() override;

    // E_FAIL when the panel's own initialisation fails; a missing "label" throws the runtime
    // error "Null Pointer".
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;

    // 0 is the global channel, 1 to 16 the MIDI channels, 17 to 20 the keybed zones.
    virtual void ShowChannel(std::uint8_t channel);

private:
    RCPtr<LLabel> mLabel;
};

} // namespace QZ
