#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"

#include "QZFramework/Controls/Label.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/NumberText.h"

namespace QZ
{

LMIDIChannelViewPanel::LMIDIChannelViewPanel(const RCPtr<LControl>& parent, const WideString& name,
                                             bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LMIDIChannelViewPanel::~LMIDIChannelViewPanel() = default;

QZRESULT LMIDIChannelViewPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return E_FAIL;
    }
    mLabel =
        RequireChild<LLabel>(RCPtr<LControl>(this), {u"label"}, "LMIDIChannelViewPanel::Initialize",
                             "Can not find Label Control: label");
    return result;
}

QZRESULT LMIDIChannelViewPanel::ReleaseInternalReferences()
{
    mLabel = nullptr;
    return LPanel::ReleaseInternalReferences();
}

void LMIDIChannelViewPanel::ShowChannel(std::uint8_t channel)
{
    if (!mLabel)
    {
        return;
    }
    constexpr std::uint8_t kFirstZone = 17;
    constexpr std::uint8_t kLastZone = 20;
    WideString text;
    if (channel == 0)
    {
        mLabel->GetString(text, u"GLOBAL_LABEL");
    }
    else if (channel < kFirstZone)
    {
        text = FormatNumberText(mLabel->GetString(text, u"CHANNEL_LABEL"), channel);
    }
    else if (channel <= kLastZone)
    {
        text = FormatNumberText(mLabel->GetString(text, u"ZONE_LABEL"), channel - kFirstZone + 1u);
    }
    else
    {
        mLabel->GetString(text, u"UNKNOWN_LABEL");
    }
    mLabel->SetText(text, true);
}

} // namespace QZ
