#include "UI/RededoVuvuvaCommon/SendPresetToMidiDeviceDlg.h"

#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "UI/TarnSeriesCommon/DeviceMessages.h"

namespace QZ
{

const LPresetTransferDlg::Texts LSendPresetToMidiDeviceDlg::kTexts = {
    kSendPresetSuccessCaption, kSendPresetSuccessText, kSendPresetErrorCaption,
    kSendPresetMidiErrorText, kSendPresetFirmwareText};

LSendPresetToMidiDeviceDlg::LSendPresetToMidiDeviceDlg(const RCPtr<LControl>& parent,
                                                       const WideString& name, bool mostDerived)
    : LPresetTransferDlg(parent, name, mostDerived, u"send",
                         "LSendPresetToMidiDeviceDlg::Initialize", "Cannot find child send", kTexts)
{
}

std::int32_t LSendPresetToMidiDeviceDlg::Transfer(LMidiManager& manager, std::uint8_t slot)
{
    return manager.SendPresetToMidiDevice(slot);
}

} // namespace QZ
