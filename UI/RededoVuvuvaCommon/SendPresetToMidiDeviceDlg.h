// LSendPresetToMidiDeviceDlg: sends the editor's current preset (the engine's 131 values) into a
// keyboard slot ("SEND"); see LPresetTransferDlg.
#pragma once

#include "UI/RededoVuvuvaCommon/PresetTransferDlg.h"

namespace QZ
{

class LSendPresetToMidiDeviceDlg : public LPresetTransferDlg
{
public:
    static const Texts kTexts;

    LSendPresetToMidiDeviceDlg(const RCPtr<LControl>& parent, const WideString& name,
                               bool mostDerived);

protected:
    std::int32_t Transfer(LMidiManager& manager, std::uint8_t slot) override;
};

} // namespace QZ
