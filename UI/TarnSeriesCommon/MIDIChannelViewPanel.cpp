#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"

#include "UI/TarnSeriesCommon/NumberText.h"

namespace QZ
{

void LMIDIChannelViewPanel::ShowChannel(std::uint8_t channel)
{
    const RCPtr<LControl> label = FindChildByName(WideString(u"label"));
    if (!label)
    {
        return;
    }
    constexpr std::uint8_t kFirstZone = 17;
    WideString text;
    if (channel == 0)
    {
        label->GetString(text, u"GLOBAL_LABEL");
    }
    else if (channel < kFirstZone)
    {
        text = FormatNumberText(label->GetString(text, u"CHANNEL_LABEL"), channel);
    }
    else
    {
        text = FormatNumberText(label->GetString(text, u"ZONE_LABEL"), channel - kFirstZone + 1u);
    }
    label->SetText(text, true);
}

} // namespace QZ
