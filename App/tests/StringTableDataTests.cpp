// The string tables the program ships, loaded from its embedded resources the way the program
// loads them: the texts the code looks up, the lists it reads by position and the printf
// conversions it fills in.
#include "Platform/Resources/Resources.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/StringTableReader.h"
#include "UI/DriverCommon/AppServices.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace QZ
{
namespace
{

constexpr std::uint32_t kEnglish = 0x0009;
constexpr const char16_t* kAppTable = u"|RededoVuvuva";
constexpr std::u16string_view kOwner = u"RededoVuvuva.";

std::string Narrow(std::u16string_view text)
{
    return WideString(std::u16string(text).c_str()).ToNarrowString().GetString();
}

std::u16string Wide(const WideString& text)
{
    return text.GetString();
}

// Table IDs below are written without the application's "RededoVuvuva." prefix, except those
// beginning with "|" or naming the framework table.
std::u16string TableID(std::u16string_view id)
{
    return id.starts_with(u"|") || id == u"Framework" || id.starts_with(u"RededoVuvuva|")
               ? std::u16string(id)
               : std::u16string(kOwner) + std::u16string(id);
}

// Every table of both resources, read on their own so that they can be walked.
LStringTableMap ReadAllTables(std::uint32_t locale)
{
    LStringTableMap tables;
    for (const char* name : {"FRAMEWORK_STRINGS", "APP_STRINGS"})
    {
        std::span<const std::uint8_t> bytes;
        EXPECT_TRUE(Resources::FindResource("QZXML", name, bytes)) << name;
        LStringTableReader reader(name, locale);
        EXPECT_EQ(reader.Read(bytes, tables), S_OK) << reader.GetError();
        EXPECT_TRUE(reader.GetWarnings().empty()) << name << ": " << reader.GetWarnings().front();
    }
    return tables;
}

class ShippedStringTables : public testing::Test
{
protected:
    void SetUp() override
    {
        mFactory->SetBaseFolder(WideString(u"::"));
        ASSERT_EQ(mFactory->LoadStringTables(WideString(u"::APP_STRINGS"),
                                             WideString(u"::FRAMEWORK_STRINGS"), kEnglish),
                  S_OK)
            << mFactory->GetLastError();
    }

    // The key's text; "<no table>" or "<no key>" when either is missing.
    std::u16string Text(std::u16string_view table, const char16_t* key) const
    {
        const RCPtr<LStringTable> found =
            mFactory->FindStringTable(WideString(TableID(table).c_str()));
        WideString text;
        return !found ? u"<no table>" : found->Lookup(key, text) ? text.GetString() : u"<no key>";
    }

    RCPtr<LControlFactory> mFactory{
        new LControlFactory(WideString(u"Tarn 61 Vidida Editor"), WideString(u"RededoVuvuva"))};
};

struct Sample
{
    const char16_t* table;
    const char16_t* key;
    const char16_t* text;
};

// One or more texts of each kind, with the blanks, line breaks and characters that are easy to
// lose; "" marks keys that must be present with an empty text, null those whose wording is ours
// and must not be empty.
const Sample kSamples[] = {
    {u"Framework", u"STARTUP_ERROR",
     u"The application encountered problems during startup and will now close."},
    {u"Framework", u"STARTUP_ERROR_CAPTION", u"Error"},
    {u"Framework", u"EXCEPTION_ID",
     u"The application has encountered Error ID %d.  Please contact Korvane Technical Support."},
    {u"Framework", u"HOURS_SINGULAR", u"Hour"},
    {u"Framework", u"SECONDS_PLURAL", u"Seconds"},
    {u"Framework", u"REMAINING", u"Remaining"},
    {kAppTable, u"MINUTES_PLURAL", u"Minutes"},
    {kAppTable, u"APP_VERSION", u"Version"},
    {kAppTable, u"GHK.NID_EDIT_DELETE_REQ", u"VKEY_DELETE"},
    {kAppTable, u"GHK.NID_MENU_FILE_SEND_PRESET_TO_DEVICE", u"SHIFT+CTRL+VKEY_S"},
    {kAppTable, u"CONTROL_PANEL_SETTINGS_FILTER_SEGMENT_2", u"|All Files (*.*)|*.*"},
    {kAppTable, u"SETTINGS_FILE_LOAD_CORRUPT_MESSAGE",
     u"Vidida file is not compatible with this version of the preset editor"},
    {u"MainControl|mainMenu", u"CONTEXT_MENU0.02.-", u"-"},
    {u"MainControl|mainMenu", u"CONTEXT_MENU0.03.NID_MENU_FILE_LOAD_PRESET_FROM_FILE",
     u"Load Vidida | Load Vidida from disk."},
    {u"MainControl.PushButtonType.ViewPanel|infoLabel", u"PITCHBEND_LABEL", u"PITCH\nBEND"},
    {u"MainControl.KeybedZones.Zone|infoLabel", u"INFO_TEXT", u"First: %s %s | Last %s %s"},
    {u"MainPage.KnobEditPanel|knobName", u"LABEL", u"ENCODER %d"},
    {u"Control.Global.LabeledxyPadSensitivity|label", u"LABEL", u"XY PAD CURVE"},
    {u"Control.LabeledModifierKeySelector|comboBox", u"ITEM.20", u"Shift  + Cmd (Mac)"},
    {u"Control.LabeledKeySelector|comboBox", u"ITEM.62", u"\\"},
    {u"Control.LabeledKeySelector|comboBox", u"ITEM.64", u"`"},
    {u"Control.LabeledNoteScaleSelector|controlNameLabel", u"LABEL", u"SCALE"},
    {u"RededoVuvuva|dialogAbout", u"LABEL", u"About Korvane Tarn 61 Vidida Editor"},
    {u"DialogAbout|labelCopyright", u"LABEL", u""},
    {u"TabControl.PageHolder.WheelsPage.Wheel|wheelName", u"LABEL", u""},
    {kAppTable, u"USER_GUIDE_FILE_NAME", nullptr},
    {kAppTable, u"LABEL_SEND_PRESET_FAILED_FW_COMPATIBILITY_ERROR_MSGBOX_TEXT", nullptr},
    {u"RededoVuvuva|mainControl", u"HARDWARE_CONFIG_ERROR_MESSAGE", nullptr},
    {u"RededoVuvuva|mainControl", u"HARDWARE_CONFIG_ERROR_TITLE", nullptr},
};

TEST_F(ShippedStringTables, HoldTheTextsOfEveryKind)
{
    for (const Sample& sample : kSamples)
    {
        const std::u16string text = Text(sample.table, sample.key);
        if (sample.text != nullptr)
        {
            EXPECT_EQ(text, sample.text) << Narrow(sample.table) << " " << Narrow(sample.key);
        }
        else
        {
            EXPECT_FALSE(text.empty() || text.starts_with(u"<no ")) << Narrow(sample.key);
        }
    }
    // A top-level control finds its own table by the application's ID.
    RCPtr<LStringTable> mainControl;
    ASSERT_TRUE(mFactory->GetStringTableFor(mainControl, nullptr, WideString(u"mainControl")));
    EXPECT_EQ(Wide(mainControl->GetID()), u"RededoVuvuva|mainControl");
}

TEST_F(ShippedStringTables, ALocaleWithItsOwnTextTakesItAndEnglishServesTheRest)
{
    ASSERT_EQ(mFactory->LoadStringTables(WideString(u"::APP_STRINGS"),
                                         WideString(u"::FRAMEWORK_STRINGS"), 0x0025),
              S_OK);
    EXPECT_EQ(Text(u"Control.LabeledNoteScaleSelector|controlNameLabel", u"LABEL"), u"SCALE LOCK");
    EXPECT_EQ(Text(u"Control.LabeledNoteModeTypeSelector|controlNameLabel", u"LABEL"), u"TYPE");
    EXPECT_EQ(Text(u"Framework", u"STARTUP_ERROR_CAPTION"), u"Error");
}

struct ItemList
{
    const char16_t* table;
    int count;
    const char16_t* first;
    const char16_t* last;
};

// The choice lists: the code turns a value into a position in them, so none may lose an item.
const ItemList kItemLists[] = {
    {u"Control.LabeledKeyZoneMidiChannelSelector|comboBox", 17, u"Global", u"Channel 16"},
    {u"Control.ZoneNoteSelector|noteNameLabel", 12, u"C", u"B"},
    {u"Control.ZoneNoteSelector|octaveNameLabel", 11, u"(1)", u"(11)"},
    {u"Control.NoteSelector|noteNameLabel", 12, u"C", u"B"},
    {u"Control.NoteSelector|octaveNameLabel", 11, u"(-1)", u"(9)"},
    {u"Control.CCSelector|label", 128, u"Bank Select", u"Poly Mode On"},
    {u"Control.LabeledNoteModeTypeSelector|comboBox", 7, u"Range", u"8 Notes"},
    {u"Control.LabeledNoteScaleSelector|comboBox", 11, u"Off", u"Chromatic"},
    {u"Control.LabeledPadColorSelector|comboBox", 14, u"Off", u"White"},
    {u"Control.LabeledMidiChannelSelector|comboBox", 21, u"Global", u"Zone 4"},
    {u"Control.LabeledRelativeTypeSelector|comboBox", 4, u"Up (Type 1)", u"Down (Type 2)"},
    {u"Control.LabeledNrpnRpnSelector|comboBox", 4, u"RPN Coarse", u"NRPN Fine"},
    {u"Control.LabeledOtherSelector|comboBox", 16, u"Pitch Bend Sensitivity(RPN)",
     u"Chorus Type (Sysex)"},
    {u"Control.LabeledButtonColorSelector|comboBox", 8, u"Off", u"White"},
    {u"Control.LabeledMMCSelector|comboBox", 13, u"Stop", u"Other"},
    {u"Control.LabeledKeySelector|comboBox", 87, u"Off", u"Num 0"},
    {u"Control.LabeledModifierKeySelector|comboBox", 29, u"None", u"Ctrl + Cmd + Option (Mac)"},
    {u"Control.LabeledINCDecTypeSelector|comboBox", 2, u"Increment", u"Decrement"},
    {u"Control.LabeledCycleTypeSelector|comboBox", 3, u"2 Values", u"4 Values"},
    {u"Control.Global.LabeledGlobalChannel|comboBox", 16, u"Channel 1", u"Channel 16"},
    {u"Control.Global.LabeledMackieHUIToggle|comboBox", 2, u"Mackie Control", u"HUI"},
    {u"Control.Global.LabeledKeySensitivity|comboBox", 7, u"C1", u"F3"},
    {u"Control.Global.LabeledPadSensitivity|comboBox", 10, u"C1", u"S4"},
    {u"Control.Global.LabeledControlCurve|comboBox", 4, u"Off", u"C3"},
    {u"Control.Global.LabeledxyPadSensitivity|comboBox", 10, u"F1", u"S8"},
    {u"Control.PresetSlotCombobox|comboBox", 13, u"RAM", u"Vidida 12"},
};

// "ITEM.nn" keys feed the combo boxes; the number labels read "TEXT.nnn" or "ITEM.nn" entries by
// position in key order. Either way a list table must hold its numbered keys from 0 without gap
// and nothing else, or every later position shifts.
TEST(ShippedStringTableLists, ListTablesHoldOnlyTheirNumberedKeysInOrder)
{
    const LStringTableMap tables = ReadAllTables(kEnglish);
    int listTables = 0;
    for (const auto& [id, table] : tables)
    {
        LStringEntries entries;
        table->GetAllEntries(entries);
        const std::u16string_view firstKey = entries.empty() ? u"" : entries[0].key.GetString();
        const bool isList = firstKey.starts_with(u"ITEM.") || firstKey.starts_with(u"TEXT.");
        for (const LStringEntry& entry : entries)
        {
            const std::u16string_view key = entry.key.GetString();
            EXPECT_FALSE(!isList && (key.starts_with(u"ITEM.") || key.starts_with(u"TEXT.")))
                << Narrow(id) << " mixes " << Narrow(key) << " with named keys";
        }
        if (!isList)
        {
            continue;
        }
        ++listTables;
        const bool items = firstKey.starts_with(u"ITEM.");
        for (std::size_t i = 0; i < entries.size(); ++i)
        {
            const WideString expected =
                WideString::FromFormat(items ? u"ITEM.%02d" : u"TEXT.%03d", static_cast<int>(i));
            EXPECT_EQ(Wide(entries[i].key), Wide(expected)) << Narrow(id) << " position " << i;
        }
    }
    EXPECT_EQ(listTables, static_cast<int>(std::size(kItemLists)));

    for (const ItemList& list : kItemLists)
    {
        const auto found = tables.find(TableID(list.table));
        ASSERT_NE(found, tables.end()) << Narrow(list.table);
        LStringEntries entries;
        found->second->GetAllEntries(entries);
        ASSERT_EQ(static_cast<int>(entries.size()), list.count) << Narrow(list.table);
        EXPECT_EQ(Wide(entries.front().text), list.first) << Narrow(list.table);
        EXPECT_EQ(Wide(entries.back().text), list.last) << Narrow(list.table);
    }
}

// The printf conversions of a text in order, one letter each; "%%" is a plain percent sign, and
// any other use of "%" comes back as "?".
std::string Conversions(std::u16string_view text)
{
    std::string found;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] != u'%')
        {
            continue;
        }
        const char16_t next = ++i < text.size() ? text[i] : u'\0';
        if (next != u'%')
        {
            found += next == u'd' || next == u'u' || next == u's' ? static_cast<char>(next) : '?';
        }
    }
    return found;
}

struct Conversion
{
    const char16_t* table;
    std::vector<const char16_t*> keys;
    const char* conversions;
};

// The conversions the code fills in, by table and key; every other text is shown as it stands
// and must hold none.
const Conversion kConversions[] = {
    {u"Framework", {u"EXCEPTION_ID"}, "d"},
    {u"Framework",
     {u"GL_ERROR_MESSAGE_GET_PROC_ADDRESS", u"GL_ERROR_MESSAGE_MAKE_CONTEXT_CURRENT"},
     "ds"},
    {u"MainControl.PushButtonType.ViewPanel|infoLabel",
     {u"CC_LABEL", u"PROGRAM_LABEL", u"NOTE_LABEL", u"RPN_LABEL", u"NRPN_LABEL"},
     "u"},
    {u"MainControl.MoveableType.ViewPanel|infoLabel",
     {u"CC_LABEL", u"RPN_LABEL", u"NRPN_LABEL"},
     "u"},
    {u"MainControl.MIDIChannelView|label", {u"CHANNEL_LABEL", u"ZONE_LABEL"}, "d"},
    {u"MainControl.KeybedZones.Zone|infoLabel", {u"INFO_TEXT"}, "ssss"},
    {u"Control.LabeledNoteSelector|controlNameLabel", {u"MULTI_NOTE_LABEL"}, "d"},
    {u"Control.LabeledPadColorSelector|colorNameLabel", {u"NUMBERED_COLOR_LABEL"}, "d"},
    {u"Control.LabeledButtonColorSelector|colorNameLabel", {u"NUMBERED_COLOR_LABEL"}, "d"},
    {u"MainControl.ButtonView.Button|buttonNumberLabel", {u"LABEL"}, "d"},
    {u"MainControl.EncoderView.Encoder|encoderNameLabel", {u"LABEL"}, "d"},
    {u"MainControl.FaderView.Fader|faderNumberLabel", {u"LABEL"}, "d"},
    {u"MainControl.PadView.Pad|padNumberLabel", {u"LABEL"}, "d"},
    {u"MainControl.KeybedZones.Zone|zoneName", {u"LABEL"}, "d"},
    {u"MainPage.KnobEditPanel|knobName", {u"LABEL"}, "d"},
    {u"MainPage.KnobEditPanel|bankName", {u"LABEL"}, "d"},
    {u"MainPage.FaderEditPanel|faderName", {u"LABEL"}, "d"},
    {u"MainPage.FaderEditPanel|bankName", {u"LABEL"}, "d"},
    {u"MainPage.ButtonEditPanel|buttonName", {u"LABEL"}, "d"},
    {u"MainPage.ButtonEditPanel|bankName", {u"LABEL"}, "d"},
    {u"MainPage.ZoneEditPanel|zoneName", {u"LABEL"}, "d"},
    {u"MainPage.PadEditPanel|padName", {u"LABEL"}, "d"},
};

TEST(ShippedStringTableFormats, TextsHoldOnlyTheConversionsTheCodeFillsIn)
{
    std::map<std::u16string, std::string> allowed;
    for (const Conversion& conversion : kConversions)
    {
        for (const char16_t* key : conversion.keys)
        {
            allowed[TableID(conversion.table) + u"/" + key] = conversion.conversions;
        }
    }
    std::size_t formats = 0;
    for (const auto& [id, table] : ReadAllTables(kEnglish))
    {
        LStringEntries entries;
        table->GetAllEntries(entries);
        for (const LStringEntry& entry : entries)
        {
            const auto found = allowed.find(id + u"/" + entry.key.GetString());
            formats += found != allowed.end();
            EXPECT_EQ(Conversions(entry.text.GetString()),
                      found != allowed.end() ? found->second : "")
                << Narrow(id) << " " << Narrow(entry.key.GetString());
        }
    }
    EXPECT_EQ(formats, allowed.size()) << "a formatted key is missing from the tables";
    EXPECT_EQ(Conversions(u"100%% %d %5d %"), "d??");
}

// Misspellings users met in the shipped texts; keys are not shown and keep their old spelling.
TEST(ShippedStringTableWords, NoTextCarriesAKnownMisspelling)
{
    std::size_t texts = 0;
    for (const auto& [id, table] : ReadAllTables(kEnglish))
    {
        LStringEntries entries;
        table->GetAllEntries(entries);
        for (const LStringEntry& entry : entries)
        {
            ++texts;
            const std::u16string_view text = entry.text.GetString();
            for (const std::u16string_view wrong :
                 {u"ucess", u"ucees", u"etreiv", u"Retreiv", u"vesion"})
            {
                EXPECT_EQ(text.find(wrong), std::u16string_view::npos)
                    << Narrow(id) << " " << Narrow(entry.key.GetString()) << ": " << Narrow(text);
            }
        }
    }
    EXPECT_GT(texts, 500u);
}

TEST_F(ShippedStringTables, ApplicationStringsComeFromTheLoadedTable)
{
    ASSERT_EQ(GetAppServices(), nullptr);
    LApplicationBase application;
    application.SetControlFactory(mFactory);
    for (const char16_t* key :
         {u"SETTINGS_FILE_LOAD_CAPTION", u"SETTINGS_FILE_LOAD_OLDER_MESSAGE",
          u"SETTINGS_FILE_LOAD_NEWER_MESSAGE", u"SETTINGS_FILE_LOAD_CORRUPT_MESSAGE",
          u"SETTINGS_FILE_LOAD_WRONG_DEVICE_MESSAGE", u"SETTINGS_FILE_TRANSLATION_FAILURE_MESSAGE",
          u"APP_VERSION", u"USER_GUIDE_FILE_NAME", u"LABEL_GET_PRESET_FAILED_MSGBOX_CAPTION"})
    {
        WideString text;
        GetAppString(text, key);
        EXPECT_FALSE(text.IsEmpty()) << Narrow(key);
        EXPECT_EQ(Wide(text), Text(kAppTable, key)) << Narrow(key);
    }
}

} // namespace
} // namespace QZ
