#include "UI/TarnSeriesCommon/KeybedZonePanel.h"

#include "QZFramework/ControlBase/StringTable.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/KeybedZoneValue.h"
#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"
#include "UI/TarnSeriesCommon/NumberText.h"

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
    : LPanel(parent, name, mostDerived), IKeybedZone(1)
{
}

LKeybedZonePanel::~LKeybedZonePanel() = default;

QZRESULT LKeybedZonePanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mInfo = RequireChild<LLabel>(RCPtr<LControl>(this), {u"infoLabel"},
                                 "LKeybedZonePanel::Initialize", "Cannot find child: infoLabel");
    return result;
}

QZRESULT LKeybedZonePanel::ReleaseInternalReferences()
{
    mInfo = nullptr;
    return LPanel::ReleaseInternalReferences();
}

void LKeybedZonePanel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                       std::uint32_t index)
{
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    const RCPtr<LControl> label =
        RequireChild<LControl>(RCPtr<LControl>(this), {u"zoneName"},
                               "LKeybedZonePanel::SetFirstParamID", "Cannot find child: zoneName");
    WideString text;
    label->SetText(FormatNumberText(label->GetString(text, u"LABEL"), index + 1), true);
}

std::int32_t LKeybedZonePanel::SetParamValueLocal(const ParamDescriptor& descriptor,
                                                  const Variant& value, bool)
{
    const std::optional<KeybedZoneSettings> settings = ReadKeybedZoneValue(value);
    if (descriptor.mParamID != mFirstParamID || !settings)
    {
        return E_FAIL;
    }
    const RCPtr<LControl> selector =
        FindDescendant(FindDeviceViewChild(*this, u"zoneEditPanel"),
                       {u"startEndNoteSelector", u"startNote", u"noteSelector"});
    const auto notes = NameList(FindDescendant(selector, {u"noteNameLabel"}));
    const auto octaves = NameList(FindDescendant(selector, {u"octaveNameLabel"}));
    if (mInfo && notes && octaves)
    {
        WideString format;
        mInfo->GetString(format, u"INFO_TEXT");
        mInfo->SetText(
            FormatZoneKeys(format, *notes, *octaves, {settings->firstKey, settings->lastKey}),
            true);
    }
    if (const auto channel =
            FindChildAs<LMIDIChannelViewPanel>(RCPtr<LControl>(this), {u"midiChannel"}))
    {
        channel->ShowChannel(static_cast<std::uint8_t>(settings->channel));
    }
    return 0;
}

} // namespace QZ
