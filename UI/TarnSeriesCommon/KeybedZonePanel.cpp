#include "UI/TarnSeriesCommon/KeybedZonePanel.h"

#include "QZFramework/ControlBase/StringTable.h"
#include "UI/TarnSeriesCommon/KeybedZoneLayout.h"
#include "UI/TarnSeriesCommon/KeybedZoneValue.h"
#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"

#include <optional>
#include <vector>

namespace QZ
{
namespace
{

// The texts of a label's own string table in key order; nothing without the label or its table.
std::optional<std::vector<WideString>> NameList(const RCPtr<LControl>& label)
{
    const RCPtr<LStringTable> table = label ? label->GetStringTable() : nullptr;
    if (!table)
    {
        return std::nullopt;
    }
    LStringEntries entries;
    table->GetAllEntries(entries);
    std::vector<WideString> names;
    names.reserve(entries.size());
    for (const LStringEntry& entry : entries)
    {
        names.push_back(entry.text);
    }
    return names;
}

} // namespace

LKeybedZonePanel::LKeybedZonePanel(const RCPtr<LControl>& parent, const WideString& name,
                                   bool mostDerived)
    : LFamilyPanel(parent, name, mostDerived, GetKeybedZoneLayout())
{
}

void LKeybedZonePanel::ShowValue(const Array<signed char>& value)
{
    const std::optional<KeybedZoneSettings> zone = DecodeKeybedZone(value);
    if (!zone)
    {
        return;
    }
    const RCPtr<LControl> selector =
        FindDescendant(FindDeviceViewChild(*this, u"zoneEditPanel"),
                       {u"startEndNoteSelector", u"startNote", u"noteSelector"});
    const auto notes = NameList(FindDescendant(selector, {u"noteNameLabel"}));
    const auto octaves = NameList(FindDescendant(selector, {u"octaveNameLabel"}));
    if (notes && octaves)
    {
        const RCPtr<LControl>& info = GetView();
        WideString format;
        info->GetString(format, u"INFO_TEXT");
        info->SetText(FormatZoneKeys(format, *notes, *octaves, {zone->firstKey, zone->lastKey}),
                      true);
    }
    if (const auto channel =
            FindChildAs<LMIDIChannelViewPanel>(RCPtr<LControl>(this), {u"midiChannel"}))
    {
        channel->ShowChannel(static_cast<std::uint8_t>(zone->channel));
    }
}

} // namespace QZ
