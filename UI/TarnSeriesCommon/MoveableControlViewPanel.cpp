#include "UI/TarnSeriesCommon/MoveableControlViewPanel.h"

#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"
#include "UI/TarnSeriesCommon/NumberText.h"

#include <cstdint>

namespace QZ
{
namespace
{

constexpr std::int32_t kValueSize = 6;

// Each byte of a parameter number is 7 bits on the wire.
std::uint32_t SevenBits(signed char byte)
{
    return static_cast<std::uint32_t>(byte) & 0x7Fu;
}

WideString GetSummary(const LControl& label, const Array<signed char>& values)
{
    WideString text;
    const std::int32_t type = values.GetAt(2);
    const std::uint32_t parameter = SevenBits(values.GetAt(5)) * 128u + SevenBits(values.GetAt(4));
    if (values.GetAt(1) == 0)
    {
        return FormatNumberText(label.GetString(text, u"CC_LABEL"), SevenBits(values.GetAt(2)));
    }
    switch (type)
    {
    case 4:
    case 5:
        return FormatNumberText(label.GetString(text, u"RPN_LABEL"), parameter);
    case 6:
    case 7:
        return FormatNumberText(label.GetString(text, u"NRPN_LABEL"), parameter);
    case 3:
        return label.GetString(text, u"AFTERTOUCH_LABEL");
    case 16:
        return label.GetString(text, u"PITCHBEND_LABEL");
    default:
        return label.GetString(text, type < 3 ? u"OTHER_LABEL" : u"SYSEX_LABEL");
    }
}

} // namespace

void LMoveableControlViewPanel::SetParamValues(const Array<signed char>& values)
{
    if (values.GetCount() != kValueSize)
    {
        return;
    }
    if (const auto channel = RCPtr<LMIDIChannelViewPanel>::DynamicCastFrom(
            FindChildByName(WideString(u"midiChannel"))))
    {
        channel->ShowChannel(static_cast<std::uint8_t>(values.GetAt(0)));
    }
    if (const RCPtr<LControl> label = FindChildByName(WideString(u"infoLabel")))
    {
        label->SetText(GetSummary(*label, values), true);
    }
}

} // namespace QZ
