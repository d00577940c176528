#include "UI/RededoVuvuvaCommon/GetPresetFromMidiDeviceDlg.h"

#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "UI/TarnSeriesCommon/DeviceMessages.h"

namespace QZ
{

const LPresetTransferDlg::Texts LGetPresetFromMidiDeviceDlg::kTexts = {
    kGetPresetSuccessCaption, kGetPresetSuccessText, kGetPresetErrorCaption,
    kGetPresetMidiErrorText, kGetPresetFirmwareText};

LGetPresetFromMidiDeviceDlg::LGetPresetFromMidiDeviceDlg(const RCPtr<LControl>& parent,
                                                         const WideString& name, bool mostDerived)
    : LPresetTransferDlg(parent, name, mostDerived, u"getButton",
                         "LGetPresetFromMidiDeviceDlg::Initialize", "Cannot find child getButton",
                         kTexts)
{
}

std::int32_t LGetPresetFromMidiDeviceDlg::Transfer(LMidiManager& manager, std::uint8_t slot)
{
    return manager.GetPresetFromMidiDevice(slot);
}

} // namespace QZ
