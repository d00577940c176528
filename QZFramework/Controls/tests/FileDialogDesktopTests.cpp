// The desktop's own chooser, driven the way a person uses it: the test thread answers each
// dialog with xdotool (Ctrl+L, a path, Return) while the dialog runs on the main thread.
#include "QZFramework/Controls/FileDialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

using namespace QZ;
namespace fs = std::filesystem;

namespace
{

constexpr const char16_t* kFilter = u"Presets (*.x)|*.x|All Files (*.*)|*.*";

// The command's standard output without its last line break.
std::string Shell(const std::string& command)
{
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r"))
    {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        {
            output += buffer;
        }
        ::pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n')
    {
        output.pop_back();
    }
    return output;
}

int CountWindows(const std::string& title)
{
    return std::atoi(
        Shell("xdotool search --onlyvisible --name '^" + title + "$' 2>/dev/null | wc -l").c_str());
}

bool WaitForWindows(const std::string& title, int count, int timeoutMs)
{
    for (int waited = 0; waited < timeoutMs; waited += 100)
    {
        if (CountWindows(title) == count)
        {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

void Keys(const std::string& keys)
{
    Shell("xdotool key --delay 50 " + keys);
}

// Gives the keyboard to the dialog with that title once it shows (up to 30 s).
void FocusDialog(const std::string& title)
{
    const auto window =
        Shell("timeout 30 xdotool search --sync --onlyvisible --name '^" + title + "$' | head -n1");
    ASSERT_FALSE(window.empty()) << "no dialog titled " << title;
    Shell("xdotool windowfocus --sync " + window);
}

// Presses the key until that many windows have the title. GTK's completion list may take the
// first Return or Escape, as it would a person's.
void PressUntil(const std::string& key, const std::string& title, int count)
{
    for (int attempt = 0; attempt < 3; ++attempt)
    {
        Keys(key);
        if (WaitForWindows(title, count, 3000))
        {
            return;
        }
    }
    ADD_FAILURE() << key << " did not leave " << count << " windows titled " << title;
}

void TypePath(const std::string& path)
{
    Keys("ctrl+l");
    Shell("xdotool type --delay 30 '" + path + "'");
}

// Runs the person's part on a thread of its own while the dialog runs here. A part that failed
// closes what it left open, so the dialog returns and the test ends.
class Person
{
public:
    explicit Person(std::function<void()> part)
        : mThread(
              [part]
              {
                  part();
                  for (int i = 0; i < 5 && testing::Test::HasFailure(); ++i)
                  {
                      Keys("Escape");
                      std::this_thread::sleep_for(std::chrono::milliseconds(500));
                  }
              })
    {
    }
    ~Person() { mThread.join(); }

private:
    std::thread mThread;
};

class FileDialogDesktop : public testing::Test
{
protected:
    void SetUp() override
    {
        mFolder = fs::path(::getenv("HOME")) / "files";
        fs::create_directories(mFolder);
        std::ofstream(mFolder / "song.x") << "preset";
        LFileDialog::SetModalLoopPump([this] { ++mPumped; });
    }
    void TearDown() override
    {
        LFileDialog::SetModalLoopPump(nullptr);
        fs::remove_all(mFolder);
    }

    // Opens a dialog with that title and answers it with the typed path.
    static QZRESULT OpenTyped(LFileDialog& dialog, const char16_t* title, const std::string& typed)
    {
        const std::string name = WideString(title).ToNarrowString().GetString();
        Person person(
            [&]
            {
                FocusDialog(name);
                TypePath(typed);
                PressUntil("Return", name, 0);
            });
        return dialog.GetOpenFileName(kFilter, u"*.x", title, false);
    }

    // The chosen path as the disk names it; empty when nothing was chosen.
    static std::string ChosenName(const LFileDialog& dialog)
    {
        WideString path;
        dialog.GetFileName(path);
        NarrowString name;
        EXPECT_TRUE(WideStringToFileName(path, name));
        return name.GetString();
    }

    fs::path mFolder;
    std::atomic<int> mPumped{0};
};

} // namespace

TEST_F(FileDialogDesktop, TypedPathIsChosenAndEscapeCancels)
{
    LFileDialog dialog(u".");
    const auto song = (mFolder / "song.x").string();
    ASSERT_EQ(OpenTyped(dialog, u"Open Preset", song), S_OK);
    EXPECT_EQ(ChosenName(dialog), song);
    // The program's own loop ran while the dialog was open.
    EXPECT_GT(mPumped.load(), 0);

    {
        Person person(
            [&]
            {
                FocusDialog("Open Again");
                PressUntil("Escape", "Open Again", 0);
            });
        EXPECT_EQ(dialog.GetOpenFileName(kFilter, u"*.x", u"Open Again", false), E_FAIL);
    }
    EXPECT_EQ(ChosenName(dialog), "");
}

TEST_F(FileDialogDesktop, NameInALatin1FolderComesBackUnchanged)
{
    // The dialog opens in the folder it is given; a name typed there is relative to it.
    const std::string folder = mFolder.string() + "/caf\xE9";
    fs::create_directories(folder);
    std::ofstream(folder + "/tune.x") << "preset";
    LFileDialog dialog(FileNameToWideString(folder.c_str()));
    ASSERT_EQ(OpenTyped(dialog, u"Open Latin-1", "tune.x"), S_OK);
    EXPECT_EQ(ChosenName(dialog), folder + "/tune.x");
}

TEST_F(FileDialogDesktop, SavingOverAFileAsksFirst)
{
    LFileDialog dialog(FileNameToWideString(mFolder.c_str()));
    {
        Person person(
            [&]
            {
                FocusDialog("Save Preset");
                // "song" gets the default extension and so names the existing "song.x"; the
                // question comes in a second window titled as the chooser.
                TypePath("song");
                PressUntil("Return", "Save Preset", 2);
                // Declined: the chooser stays open, with the name still in it.
                PressUntil("Escape", "Save Preset", 1);
                FocusDialog("Save Preset");
                PressUntil("Return", "Save Preset", 2);
                PressUntil("Return", "Save Preset", 0);
            });
        ASSERT_EQ(dialog.GetSaveFileName(kFilter, u"*.x", u"Save Preset"), S_OK);
    }
    EXPECT_EQ(ChosenName(dialog), (mFolder / "song.x").string());
}
