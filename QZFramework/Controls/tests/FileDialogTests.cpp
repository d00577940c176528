#include "QZFramework/Controls/FileDialog.h"

#include "Platform/Dialogs/FileChooser.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace QZ;
using namespace QZ::Dialogs;

namespace
{

constexpr const char16_t* kPresetFilter =
    u"Control Panel Settings (*.Tarn61RededoVuvuva)|*.Tarn61RededoVuvuva|All Files (*.*)|*.*";

// Answers every request with the answer set last and keeps the request.
class ScriptedChooser : public IFileChooser
{
public:
    ScriptedChooser() { SetFileChooser(this); }
    ~ScriptedChooser() override { SetFileChooser(nullptr); }

    FileChooserResult Run(const FileChooserRequest& asked,
                          std::vector<std::string>& chosen) override
    {
        request = asked;
        chosen = paths;
        return result;
    }

    FileChooserResult result = FileChooserResult::Chosen;
    std::vector<std::string> paths;
    FileChooserRequest request;
};

} // namespace

TEST(FileDialog, RequestCarriesTheCallersTextsAndThePump)
{
    ScriptedChooser chooser;
    chooser.paths = {"/a.x", "/b.x"};
    int pumped = 0;
    LFileDialog::SetModalLoopPump([&] { return ++pumped > 0; });
    LFileDialog dialog(u".");
    ASSERT_EQ(
        dialog.GetOpenFileName(kPresetFilter, u"*.Tarn61RededoVuvuva", u"Select Vidida File", true),
        S_OK);
    LFileDialog::SetModalLoopPump(nullptr);

    const auto& request = chooser.request;
    EXPECT_EQ(request.mode, FileChooserMode::Open);
    EXPECT_EQ(request.title, "Select Vidida File");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].patterns, std::vector<std::string>{"*.Tarn61RededoVuvuva"});
    EXPECT_EQ(request.defaultExtension, "*.Tarn61RededoVuvuva");
    EXPECT_TRUE(request.multiple);
    request.pump();
    EXPECT_EQ(pumped, 1);
    EXPECT_EQ(dialog.GetFileNames().size(), 2u);

    ASSERT_EQ(dialog.GetSaveFileName(kPresetFilter, u"", u"Save"), S_OK);
    EXPECT_EQ(chooser.request.mode, FileChooserMode::Save);
    EXPECT_FALSE(chooser.request.pump);
}

TEST(FileDialog, EachDialogStartsInTheFolderOfTheLastChoice)
{
    struct Step
    {
        FileChooserResult result;
        std::vector<std::string> paths;
        const char* folderShown;
        QZRESULT expected;
        const char* chosen;
    };
    constexpr auto kChosen = FileChooserResult::Chosen;
    // A Latin-1 folder name must come back to the same bytes.
    const Step steps[] = {
        {kChosen, {"/data/caf\xE9/a.x"}, ".", S_OK, "/data/caf\xE9/a.x"},
        {kChosen, {"/b.x"}, "/data/caf\xE9", S_OK, "/b.x"},
        // Nothing chosen (also a chooser that answers with no path): no path, the folder stays.
        {FileChooserResult::Cancelled, {"/c/ignored.x"}, "/", E_FAIL, ""},
        {FileChooserResult::Unavailable, {}, "/", E_FAIL, ""},
        {kChosen, {"/d/1.x", "/d/2.x"}, "/", S_OK, "/d/1.x"},
        {kChosen, {"relative.x"}, "/d", S_OK, "relative.x"},
        {kChosen, {}, "/d", E_FAIL, ""},
        {kChosen, {"/e/f.x"}, "/d", S_OK, "/e/f.x"},
    };
    ScriptedChooser chooser;
    LFileDialog dialog(u".");
    for (const auto& step : steps)
    {
        chooser.result = step.result;
        chooser.paths = step.paths;
        EXPECT_EQ(dialog.GetOpenFileName(u"", u"", u"t", step.paths.size() > 1), step.expected);
        EXPECT_EQ(chooser.request.folder, step.folderShown);
        WideString path;
        dialog.GetFileName(path);
        NarrowString name;
        ASSERT_TRUE(WideStringToFileName(path, name));
        EXPECT_EQ(std::string(name.GetString()), step.chosen);
    }
}

TEST(FileDialog, WithoutADisplayTheDesktopDialogFailsCleanly)
{
    unsetenv("WAYLAND_DISPLAY");
    for (const char* display : {"", ":4097"})
    {
        setenv("DISPLAY", display, 1);
        LFileDialog dialog(u".");
        testing::internal::CaptureStderr();
        EXPECT_EQ(dialog.GetOpenFileName(kPresetFilter, u"", u"Open", false), E_FAIL);
        EXPECT_EQ(dialog.GetSaveFileName(kPresetFilter, u"", u"Save"), E_FAIL);
        const auto log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("LFileDialog::GetSaveFileName: no file dialog can be shown"),
                  std::string::npos)
            << log;
    }
    unsetenv("DISPLAY");
}
