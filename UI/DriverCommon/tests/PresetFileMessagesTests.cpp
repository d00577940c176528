#include "UI/DriverCommon/PresetFileMessages.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "UI/DriverCommon/AppServices.h"
#include "UI/DriverCommon/tests/RecordingAppServices.h"

#include <gtest/gtest.h>

#include <string>

namespace QZ
{
namespace
{

using PresetTest::RecordingAppServices;

struct Report
{
    void (*show)();
    const char16_t* key;
};

const Report kReports[] = {
    {&ShowPresetFileOlderMessage, u"SETTINGS_FILE_LOAD_OLDER_MESSAGE"},
    {&ShowPresetFileNewerMessage, u"SETTINGS_FILE_LOAD_NEWER_MESSAGE"},
    {&ShowPresetFileCorruptMessage, u"SETTINGS_FILE_LOAD_CORRUPT_MESSAGE"},
    {&ShowPresetFileWrongDeviceMessage, u"SETTINGS_FILE_LOAD_WRONG_DEVICE_MESSAGE"},
    {&ShowPresetFileTranslationFailureMessage, u"SETTINGS_FILE_TRANSLATION_FAILURE_MESSAGE"},
};

std::u16string AppString(const char16_t* key)
{
    WideString text;
    return GetAppString(text, key).GetString();
}

// Missing keys show empty texts.
TEST(PresetFileLoadMessages, EachShowsItsTextUnderTheLoadCaptionAsErrorBox)
{
    RecordingAppServices services;
    ShowPresetFileCorruptMessage();
    ASSERT_EQ(services.mBoxes.size(), 1u);
    EXPECT_EQ(services.mBoxes[0].text, u"");
    EXPECT_EQ(services.mBoxes[0].caption, u"");
    services.mStrings[u"SETTINGS_FILE_LOAD_CAPTION"] = u"Caption";
    for (const Report& report : kReports)
    {
        services.mStrings[report.key] = std::u16string(u"text of ") + report.key;
    }
    for (const Report& report : kReports)
    {
        services.mBoxes.clear();
        report.show();
        ASSERT_EQ(services.mBoxes.size(), 1u);
        EXPECT_EQ(services.mBoxes[0].text, std::u16string(u"text of ") + report.key);
        EXPECT_EQ(services.mBoxes[0].caption, u"Caption");
        EXPECT_EQ(services.mBoxes[0].style, 0x10u);
    }
}

TEST(AppStrings, EnglishTextsServeUntilApplicationInstallsItsTable)
{
    ASSERT_EQ(GetAppServices(), nullptr);
    EXPECT_EQ(AppString(u"SETTINGS_FILE_LOAD_CAPTION"), u"Vidida File Load");
    EXPECT_EQ(AppString(u"SETTINGS_FILE_LOAD_NEWER_MESSAGE"),
              u"Vidida file is not compatible with this version of the editor");
    for (const char16_t* key :
         {u"SETTINGS_FILE_LOAD_OLDER_MESSAGE", u"SETTINGS_FILE_LOAD_CORRUPT_MESSAGE",
          u"SETTINGS_FILE_LOAD_WRONG_DEVICE_MESSAGE", u"SETTINGS_FILE_TRANSLATION_FAILURE_MESSAGE"})
    {
        EXPECT_EQ(AppString(key),
                  u"Vidida file is not compatible with this version of the preset editor");
    }
    EXPECT_EQ(AppString(u"NO_SUCH_KEY"), u"");
    EXPECT_EQ(AppString(nullptr), u"");
    WideString text(u"old"); // the lookup replaces what the string held
    EXPECT_EQ(&GetAppString(text, u"NO_SUCH_KEY"), &text);
    EXPECT_TRUE(text.IsEmpty());
    {
        RecordingAppServices services;
        EXPECT_EQ(AppString(u"SETTINGS_FILE_LOAD_CAPTION"), u"");
    }
    EXPECT_EQ(AppString(u"SETTINGS_FILE_LOAD_CAPTION"), u"Vidida File Load");
}

TEST(AppStrings, TheLoadedApplicationTableServesBeforeTheEnglishTexts)
{
    constexpr std::string_view kTables = R"(<Korvane_StringTable_Definitions>
        <StringTable ID="|RededoVuvuva"><String ID="SETTINGS_FILE_LOAD_CAPTION">
          <Text LCID="0x0009">Preset File Load</Text><Text LCID="0x0007">Vidida-Datei laden</Text>
        </String></StringTable></Korvane_StringTable_Definitions>)";
    {
        LApplicationBase application;
        RCPtr<LControlFactory> factory(
            new LControlFactory(WideString(u"Editor"), WideString(u"RededoVuvuva")));
        application.SetControlFactory(factory);
        EXPECT_EQ(AppString(u"SETTINGS_FILE_LOAD_CAPTION"), u"Vidida File Load"); // not loaded
        ASSERT_EQ(factory->LoadStringTablesFrom(
                      {reinterpret_cast<const std::uint8_t*>(kTables.data()), kTables.size()},
                      "tables", 0x0407),
                  S_OK);
        EXPECT_EQ(AppString(u"SETTINGS_FILE_LOAD_CAPTION"), u"Vidida-Datei laden");
        EXPECT_EQ(AppString(u"SETTINGS_FILE_LOAD_NEWER_MESSAGE"),
                  u"Vidida file is not compatible with this version of the editor");
        RecordingAppServices services;
        EXPECT_EQ(AppString(u"SETTINGS_FILE_LOAD_CAPTION"), u""); // installed services answer
    }
    EXPECT_EQ(AppString(u"SETTINGS_FILE_LOAD_CAPTION"), u"Vidida File Load");
}

TEST(AppMessageBox, WithoutApplicationShowsNothing)
{
    ASSERT_EQ(GetAppServices(), nullptr);
    EXPECT_EQ(ShowMessageBox(WideString(u"text"), WideString(u"caption"), 0x10), 0u);
    RecordingAppServices services;
    EXPECT_EQ(ShowMessageBox(WideString(u"text"), WideString(u"caption"), 0x30), 1u);
    ASSERT_EQ(services.mBoxes.size(), 1u);
    EXPECT_EQ(services.mBoxes[0].style, 0x30u);
}

} // namespace
} // namespace QZ
