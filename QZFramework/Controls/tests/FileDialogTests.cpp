#include "QZFramework/Controls/FileDialog.h"

#include "Platform/Dialogs/FileChooser.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>

using namespace QZ;
using namespace QZ::Dialogs;

namespace
{

constexpr const char16_t* kPresetFilter =
    u"Control Panel Settings (*.Tarn61RededoVuvuva)|*.Tarn61RededoVuvuva|All Files (*.*)|*.*";

struct ScriptedAnswer
{
    FileChooserResult result;
    std::vector<std::string> paths;
};

// Answers each request with the next scripted answer and keeps the requests.
class ScriptedChooser : public IFileChooser
{
public:
    ScriptedChooser() { SetFileChooser(this); }
    ~ScriptedChooser() override { SetFileChooser(nullptr); }

    FileChooserResult Run(const FileChooserRequest& request,
                          std::vector<std::string>& paths) override
    {
        requests.push_back(request);
        if (request.pump)
        {
            request.pump();
        }
        auto answer = answers.front();
        answers.pop_front();
        paths = answer.paths;
        return answer.result;
    }

    std::deque<ScriptedAnswer> answers;
    std::vector<FileChooserRequest> requests;
};

std::string DiskName(const WideString& path)
{
    NarrowString name;
    EXPECT_TRUE(WideStringToFileName(path, name));
    return name.GetString();
}

} // namespace

TEST(FileDialog, ChoiceReachesTheCallerByteForByteAndItsFolderIsRemembered)
{
    ScriptedChooser chooser;
    // A Latin-1 folder name: the path must come back to the same bytes.
    chooser.answers = {{FileChooserResult::Chosen, {"/data/caf\xE9/a.Tarn61RededoVuvuva"}},
                       {FileChooserResult::Chosen, {"/b.x"}},
                       {FileChooserResult::Chosen, {"/c/1.x", "/c/2.x"}}};
    int pumped = 0;
    LFileDialog::SetModalLoopPump([&] { ++pumped; });
    LFileDialog dialog(u".");

    ASSERT_EQ(dialog.GetOpenFileName(kPresetFilter, u"*.Tarn61RededoVuvuva", u"Select Vidida File",
                                     false),
              S_OK);
    const auto& open = chooser.requests[0];
    EXPECT_EQ(open.mode, FileChooserMode::Open);
    EXPECT_EQ(open.title, "Select Vidida File");
    EXPECT_EQ(open.folder, ".");
    ASSERT_EQ(open.filters.size(), 2u);
    EXPECT_EQ(open.filters[1].label, "All Files (*.*)");
    EXPECT_EQ(open.defaultExtension, "*.Tarn61RededoVuvuva");
    EXPECT_FALSE(open.multiple);
    EXPECT_EQ(pumped, 1);
    WideString path;
    dialog.GetFileName(path);
    EXPECT_EQ(DiskName(path), "/data/caf\xE9/a.Tarn61RededoVuvuva");

    ASSERT_EQ(dialog.GetSaveFileName(kPresetFilter, u"*.Tarn61RededoVuvuva", u"Save"), S_OK);
    EXPECT_EQ(chooser.requests[1].mode, FileChooserMode::Save);
    EXPECT_EQ(chooser.requests[1].folder, "/data/caf\xE9");

    ASSERT_EQ(dialog.GetOpenFileName(u"", u"", u"Many", true), S_OK);
    EXPECT_EQ(chooser.requests[2].folder, "/");
    EXPECT_TRUE(chooser.requests[2].multiple);
    EXPECT_EQ(dialog.GetFileNames().size(), 2u);
    dialog.GetFileName(path);
    EXPECT_EQ(path, u"/c/1.x");
    LFileDialog::SetModalLoopPump(nullptr);
}

TEST(FileDialog, CancelledOrImpossibleDialogChoosesNothing)
{
    ScriptedChooser chooser;
    chooser.answers = {{FileChooserResult::Chosen, {"/a/old.x"}},
                       {FileChooserResult::Cancelled, {"/a/ignored.x"}},
                       {FileChooserResult::Unavailable, {}}};
    LFileDialog dialog(u"/start");
    ASSERT_EQ(dialog.GetOpenFileName(u"", u"", u"t", false), S_OK);

    WideString path;
    EXPECT_EQ(dialog.GetOpenFileName(u"", u"", u"t", false), E_FAIL);
    dialog.GetFileName(path);
    EXPECT_TRUE(path.IsEmpty());
    EXPECT_TRUE(dialog.GetFileNames().empty());
    EXPECT_EQ(dialog.GetSaveFileName(u"", u"", u"t"), E_FAIL);
    // The folder stays that of the last file chosen.
    EXPECT_EQ(chooser.requests[2].folder, "/a");
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
