#include "UI/TarnSeriesCommon/ButtonControlViewPanel.h"

#include "QZFramework/Controls/ComboBox.h"
#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"
#include "UI/TarnSeriesCommon/NumberText.h"

#include <string>
#include <vector>

namespace QZ
{
namespace
{

std::uint8_t Byte(const ButtonAssignmentBlock& values, std::int32_t index)
{
    return static_cast<std::uint8_t>(values.GetAt(index));
}

WideString Text(const LControl& label, const char16_t* key)
{
    WideString text;
    return label.GetString(text, key);
}

WideString Number(const LControl& label, const char16_t* key, std::uint32_t number)
{
    return FormatNumberText(Text(label, key), number);
}

} // namespace

void LButtonControlViewPanel::ShowValues(const ButtonAssignmentBlock& values)
{
    if (values.GetCount() != kButtonBlockSize)
    {
        return;
    }
    if (const auto channel = RCPtr<LMIDIChannelViewPanel>::DynamicCastFrom(
            FindChildByName(WideString(u"midiChannel"))))
    {
        channel->ShowChannel(Byte(values, 0));
    }
    const RCPtr<LControl> label = FindChildByName(WideString(u"infoLabel"));
    if (!label)
    {
        return;
    }
    if (const std::optional<WideString> summary = GetSummary(*label, values))
    {
        label->SetText(*summary, true);
    }
}

std::optional<WideString> LButtonControlViewPanel::GetSummary(const LControl& label,
                                                              const ButtonAssignmentBlock& values)
{
    const std::int32_t type = values.GetAt(2);
    const std::uint32_t parameter = Byte(values, 9) * 128u + Byte(values, 4);
    if (values.GetAt(1) == 0)
    {
        return Number(label, u"CC_LABEL", Byte(values, 2));
    }
    switch (type)
    {
    case 17:
        return Number(label, u"PROGRAM_LABEL", Byte(values, 3));
    case 19:
    case 20:
        return Number(label, u"NOTE_LABEL", Byte(values, 3));
    case 18:
    case 25:
    case 26:
        return Number(label, u"CC_LABEL", Byte(values, 3));
    case 27:
    case 28:
        return Text(label, u"PROGRAM_INC_DEC_LABEL");
    case 29:
        return Text(label, u"PROGRAM_CYCLE_LABEL");
    case 21:
        return GetMMCSummary(label, Byte(values, 4));
    case 4:
    case 5:
        return Number(label, u"RPN_LABEL", parameter);
    case 6:
    case 7:
        return Number(label, u"NRPN_LABEL", parameter);
    case 3:
        return Text(label, u"AFTERTOUCH_LABEL");
    case 16:
        return Text(label, u"PITCHBEND_LABEL");
    default:
        return Text(label, type < 3 ? u"OTHER_LABEL" : u"SYSEX_LABEL");
    }
}

// The names live in the button editor's MMC list; without that editor the label stays as it is.
std::optional<WideString> LButtonControlViewPanel::GetMMCSummary(const LControl& label,
                                                                 std::uint8_t command)
{
    RCPtr<LControl> root;
    GetRootControl(root);
    const RCPtr<LControl> device =
        root ? root->FindChildByName(WideString(u"viewDevice")) : nullptr;
    std::vector<RCPtr<LControl>> selectors;
    if (!device || device->FindDescendantsByName(WideString(u"mmc"), selectors) == 0)
    {
        return std::nullopt;
    }
    const auto list = RCPtr<LComboBox>::DynamicCastFrom(
        selectors.front()->FindChildByName(WideString(u"comboBox")));
    if (!list)
    {
        return std::nullopt;
    }
    constexpr std::uint8_t kMMCReset = 13;
    constexpr std::int32_t kMMCResetIndex = 11;
    const std::int32_t index = command == kMMCReset          ? kMMCResetIndex
                               : command > 0 && command < 12 ? command - 1
                                                             : -1;
    WideString name;
    if (index >= 0)
    {
        list->GetItemText(name, index);
    }
    if (name.IsEmpty())
    {
        return Text(label, u"MMC_OTHER_LABEL");
    }
    std::u16string key(u"MMC_");
    for (const char16_t c : std::u16string_view(name.GetString()))
    {
        if (c != u' ')
        {
            key += c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
        }
    }
    key += u"_LABEL";
    return Text(label, key.c_str());
}

} // namespace QZ
