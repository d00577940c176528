// LGetPresetFromMidiDeviceDlg: fetches the preset of a keyboard slot into the editor's engine
// ("GET"); see LPresetTransferDlg. The MIDI manager hands the fetched values to the engine, which
// posts them to the editor as any other change.
#pragma once

#include "UI/RededoVuvuvaCommon/PresetTransferDlg.h"

namespace QZ
{

class LGetPresetFromMidiDeviceDlg : public LPresetTransferDlg
{
public:
    static const Texts kTexts;

    LGetPresetFromMidiDeviceDlg(const RCPtr<LControl>& parent, const WideString& name,
                                bool mostDerived);

protected:
    std::int32_t Transfer(LMidiManager& manager, std::uint8_t slot) override;
};

} // namespace QZ
