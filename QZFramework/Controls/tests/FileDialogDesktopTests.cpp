// The desktop's own chooser, driven the way a person uses it: a thread answers each dialog with
// xdotool (Ctrl+L, a path, Return) while the dialog runs on the main thread.
#include "QZFramework/Controls/FileDialog.h"
#include "QZFramework/Controls/tests/ChooserSteps.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>

using namespace QZ;
namespace fs = std::filesystem;

namespace
{

constexpr const char16_t* kFilter = u"Presets (*.x)|*.x|All Files (*.*)|*.*";

// The person's steps, in bash, beside put (ChooserSteps). count T: how many windows are titled
// T, asked again when a window going away meanwhile made xdotool fail (-1 when it kept failing);
// focus T: wait for the window titled T and give it the keyboard; press K T N: press K until N
// windows are titled T (GTK's completion list may take the first key, as it would a person's);
// choose P T: put P and press Return until the dialog titled T is gone, putting P again when a
// busy machine let the chooser miss it. Each key is given 6 s to take effect: a sanitised GTK on
// a loaded machine has been seen to need more than 2. When a step fails, the dialogs left open
// are closed so that the test goes on.
constexpr const char* kPersonSteps = R"sh(
count() { for a in 1 2 3 4 5; do out=$(xdotool search --onlyvisible --name "^$1\$" 2>&1)
          case "$out" in *"X Error"*) sleep 0.05;; *) printf "%s\n" "$out" | grep -c "^[0-9]"
          return 0;; esac; done; echo -1; }
focus() { w=$(timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n1) &&
          xdotool windowfocus --sync "$w" || { echo "no window titled $1" >&2; return 1; }; }
choose() { for a in 1 2 3; do put "$1" || return 1
           for r in 1 2; do xdotool key Return
             for t in $(seq 60); do [ "$(count "$2")" = 0 ] && return 0; sleep 0.1; done; done
           done; echo "$1 was not chosen in $2" >&2; return 1; }
press() { for a in 1 2 3; do xdotool key "$1"
          for t in $(seq 60); do [ "$(count "$2")" = "$3" ] && return 0; sleep 0.1; done; done
          echo "$1 did not leave $3 windows titled $2" >&2; return 1; }
# Closes every dialog left open, the last shown first.
closeAll() { for i in 1 2 3 4 5; do w=$(xdotool search --onlyvisible --name . | tail -n1)
             [ -n "$w" ] && xdotool windowfocus --sync "$w"; xdotool key Escape; sleep 0.5; done; }
)sh";

// Runs the steps on a thread of its own while the dialog runs here; the destructor waits.
class Person
{
public:
    explicit Person(const std::string& steps)
        : mThread(
              [this, steps]
              {
                  const auto script = "bash -c '" + (ChooserSteps::kPut + (kPersonSteps + steps)) +
                                      " || { closeAll; exit 1; }'";
                  mSucceeded = std::system(script.c_str()) == 0;
              })
    {
    }
    ~Person()
    {
        mThread.join();
        EXPECT_TRUE(mSucceeded) << "the person could not take every step";
    }

private:
    std::atomic<bool> mSucceeded{false};
    std::thread mThread;
};

class FileDialogDesktop : public testing::Test
{
protected:
    void SetUp() override
    {
        mFolder = fs::path(std::getenv("HOME")) / "files";
        fs::create_directories(mFolder / "caf\xE9");
        std::ofstream(mFolder / "song.x") << "preset";
        std::ofstream(mFolder / "caf\xE9" / "tune.x") << "preset";
        LFileDialog::SetModalLoopPump([this] { return ++mPumped > 0; });
    }
    void TearDown() override
    {
        LFileDialog::SetModalLoopPump(nullptr);
        fs::remove_all(mFolder);
    }

    // Whether a window titled so is on screen. An answered chooser is gone by the time the call
    // returns: nothing runs the toolkit's loop afterwards to take it away.
    static bool Shown(const std::string& title)
    {
        const std::string search =
            "xdotool search --onlyvisible --name '^" + title + "$' >/dev/null 2>&1";
        return std::system(search.c_str()) == 0;
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
    {
        // Typed from the home folder: the chooser completes each folder of a typed path as it
        // comes, and listing a crowded one (such as /tmp) takes a loaded machine longer than a
        // person waits.
        Person person("focus Open && choose ~/files/song.x Open");
        ASSERT_EQ(dialog.GetOpenFileName(kFilter, u"*.x", u"Open", false), S_OK);
        EXPECT_FALSE(Shown("Open"));
    }
    EXPECT_EQ(ChosenName(dialog), song);
    // The program's own loop ran while the dialog was open.
    EXPECT_GT(mPumped.load(), 0);
    {
        Person person("focus Again && press Escape Again 0");
        EXPECT_EQ(dialog.GetOpenFileName(kFilter, u"*.x", u"Again", false), E_FAIL);
        EXPECT_FALSE(Shown("Again"));
    }
    EXPECT_EQ(ChosenName(dialog), "");

    // A failure of the program's own loop closes the dialog and reaches the caller.
    LFileDialog::SetModalLoopPump([]() -> bool { throw std::runtime_error("loop failed"); });
    EXPECT_THROW(dialog.GetOpenFileName(kFilter, u"*.x", u"Thrown", false), std::runtime_error);
    EXPECT_FALSE(Shown("Thrown"));
    // A program asked to end cancels the dialog through its loop's answer.
    LFileDialog::SetModalLoopPump([] { return false; });
    EXPECT_EQ(dialog.GetOpenFileName(kFilter, u"*.x", u"Ending", false), E_FAIL);
    EXPECT_FALSE(Shown("Ending"));
    LFileDialog::SetModalLoopPump(nullptr);

    // A name typed in a folder whose name is not UTF-8 comes back with the folder's bytes.
    const std::string folder = mFolder.string() + "/caf\xE9";
    LFileDialog latin1(FileNameToWideString(folder.c_str()));
    {
        Person person("focus Latin1 && choose tune.x Latin1");
        ASSERT_EQ(latin1.GetOpenFileName(kFilter, u"*.x", u"Latin1", false), S_OK);
        EXPECT_FALSE(Shown("Latin1"));
    }
    EXPECT_EQ(ChosenName(latin1), folder + "/tune.x");
}

TEST_F(FileDialogDesktop, SavingOverAFileAsksFirstAndANewNameGetsTheExtension)
{
    LFileDialog dialog(FileNameToWideString(mFolder.c_str()));
    {
        // The question comes in a second window titled as the chooser. Declined, the chooser
        // stays open with the name still in it; the second time the file is replaced.
        Person person("focus Save && put song.x && press Return Save 2 && press Escape Save 1 && "
                      "focus Save && press Return Save 2 && press Return Save 0");
        ASSERT_EQ(dialog.GetSaveFileName(kFilter, u"*.x", u"Save"), S_OK);
        EXPECT_FALSE(Shown("Save"));
    }
    EXPECT_EQ(ChosenName(dialog), (mFolder / "song.x").string());
    {
        Person person("focus New && choose fresh New");
        ASSERT_EQ(dialog.GetSaveFileName(kFilter, u"*.x", u"New"), S_OK);
        EXPECT_FALSE(Shown("New"));
    }
    EXPECT_EQ(ChosenName(dialog), (mFolder / "fresh.x").string());
}
