// A person's walk through the whole editor, on the real program under the test's X server: a
// click on one control of every family and on the preset name, one changed value in each edit
// panel, the preset saved through the File menu and the desktop's file dialog, the program
// quit and started again, the file loaded with Ctrl+O, and every change found again. What was
// done is checked in the files the program writes, never by reading the screen: the saved preset
// differs from the untouched one in exactly the changed parameters, and the same preset saved
// again after the load is the same file, byte for byte.
#include "App/tests/WalkSupport.h"
#include "App/tests/XWindowProbe.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "QZFramework/Controls/tests/ChooserSteps.h"
#include "UI/DriverCommon/PresetFileReader.h"
#include "UI/DriverCommon/PresetRecord.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{

namespace fs = std::filesystem;
using WalkSupport::ReadFile;
using WalkSupport::WaitFor;

constexpr int kWindowWidth = 1200;
constexpr int kWindowHeight = 750;

struct Point
{
    int x;
    int y;
};

// The editing area, where the device view shows the selected control's edit panel.
constexpr int kEditLeft = 680;
constexpr int kEditTop = 354;
constexpr int kEditWidth = 500;
constexpr int kEditHeight = 254;

// Window points, from the skin: the main control's device view starts below the 22-pixel menu
// bar, and every position below is a skin position inside it plus (0, 22); an arrow is clicked
// at the middle of its 16 x 11 button.
constexpr Point kFileMenu{50, 11};
constexpr Point kSaveItem{60, 107};
constexpr Point kExitItem{60, 165};
constexpr Point kPresetNameBox{220, 54};

// One control of a family: where its tile is, the points clicked in its edit panel to change one
// value (an up arrow, or a channel list and its item), and the preset parameter that value
// belongs to.
struct FamilyStep
{
    const char* family;
    Point tile;
    std::vector<Point> edit;
    ControlType type;
};

const FamilyStep kSteps[] = {
    // encoders/encoderBank1/encoder1; knobEditPanel .../ccAbsolutePage/midiChannel/comboBox, and
    // "Channel 3", the fourth row of its list (rows of 20 below the 22-pixel field).
    {"encoder", {392, 84}, {{840, 451}, {805, 533}}, ControlType::Encoder},
    // faders/faderBank1/fader1; faderEditPanel .../ccAbsolutePage/minMaxSelectors/min.
    {"fader", {386, 215}, {{792, 419}}, ControlType::Fader},
    // wheels/pitchWheel; wheelEditPanel .../otherPage/minMaxSelectors/min (pitch bend's page).
    {"wheel", {50, 227}, {{792, 471}}, ControlType::Wheel},
    // pedals/volumePedal; volumePedalEditPanel .../ccAbsolutePage/minMaxSelectors/min.
    {"volume pedal", {492, 414}, {{792, 471}}, ControlType::VolumePedal},
    // pedals/sustainPedal; sustainEditPage .../ccAbsolutePage/cc: the controller number.
    {"sustain pedal", {607, 414}, {{1148, 419}}, ControlType::SustainPedal},
    // pads/pad1; padEditPanel .../midiPage/.../notePage/note: the note number.
    {"pad", {68, 384}, {{1154, 471}}, ControlType::Pad},
    // buttons/buttonBank1/button1; buttonEditPanel .../midiPage/.../notePage/note.
    {"push button", {386, 319}, {{1154, 471}}, ControlType::PushButton},
    // keybedZones/zone1; zoneEditPanel/msbLSBSelectors/lsb: the bank's low byte.
    {"keybed zone", {163, 637}, {{794, 549}}, ControlType::KeybedZone},
    // xyPad/xAxis; xyPadEditPanel .../midiPage/.../ccAbsolutePage/minMaxSelectors/min.
    {"XY pad axis", {202, 312}, {{915, 471}}, ControlType::TouchPadAxis},
};

class EditorWalk : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mProbe.IsOpen()) << "no X server: run under cmake/RunUnderXvfb.sh";
        mRoot = fs::temp_directory_path() / ("walk-" + std::to_string(::getpid()));
        WalkSupport::MakePrivateHome(mRoot, {"presets"});
    }

    void TearDown() override
    {
        if (mChild > 0)
        {
            ::kill(mChild, SIGKILL);
            ::waitpid(mChild, nullptr, 0);
        }
        fs::remove_all(mRoot);
    }

    fs::path Presets() const { return mRoot / "presets"; }
    fs::path PresetFile(const std::string& name) const
    {
        return Presets() / (name + ".Tarn61RededoVuvuva");
    }

    // Starts the program in the presets folder (where its file dialogs open) and waits for its
    // painted main window.
    void Start()
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addchdir_np(&actions, Presets().c_str());
        posix_spawn_file_actions_addopen(&actions, 2, (mRoot / "errors").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        char* argv[] = {const_cast<char*>(QZ_EDITOR_PROGRAM), nullptr};
        ASSERT_EQ(posix_spawn(&mChild, QZ_EDITOR_PROGRAM, &actions, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        mWindow = mProbe.WaitForPaintedWindow(mChild, 600, 400, 20000);
        ASSERT_NE(mWindow, 0u) << ReadFile(mRoot / "errors");
    }

    // The program's exit code once it has ended by itself.
    int WaitForExit()
    {
        int status = 0;
        const bool ended = WaitFor([&] { return ::waitpid(mChild, &status, WNOHANG) == mChild; });
        mChild = 0;
        return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::vector<std::uint32_t> Capture(int x, int y, int width, int height)
    {
        std::vector<std::uint32_t> all;
        std::vector<std::uint32_t> area;
        if (mProbe.Capture(mWindow, kWindowWidth, kWindowHeight, all))
        {
            for (int row = y; row < y + height; ++row)
            {
                const auto from = all.begin() + row * kWindowWidth + x;
                area.insert(area.end(), from, from + width);
            }
        }
        return area;
    }
    std::vector<std::uint32_t> CaptureEditArea()
    {
        return Capture(kEditLeft, kEditTop, kEditWidth, kEditHeight);
    }

    // Clicks the point and waits until the program has shown the outcome in the area.
    bool ClickAndWaitForChange(Point point, int x, int y, int width, int height)
    {
        const std::vector<std::uint32_t> before = Capture(x, y, width, height);
        mProbe.Click(mWindow, point.x, point.y);
        return WaitFor([&] { return Capture(x, y, width, height) != before; });
    }
    bool ClickInEditArea(Point point)
    {
        return ClickAndWaitForChange(point, kEditLeft, kEditTop, kEditWidth, kEditHeight);
    }

    // Chooses an item of the File menu.
    bool ChooseFromFileMenu(Point item)
    {
        return ClickAndWaitForChange(kFileMenu, 0, 22, 240, 200) &&
               (mProbe.Click(mWindow, item.x, item.y), true);
    }

    // Waits for the program's file dialog, puts the file name in (the dialog opens in the
    // presets folder) and confirms it until the dialog goes away. A first Enter may only close
    // the dialog's completion list, so it is pressed again while the dialog stays.
    void AnswerFileDialog(const std::string& name)
    {
        unsigned long dialog = 0;
        ASSERT_TRUE(
            WaitFor([&] { return (dialog = mProbe.FindOtherWindow(mChild, mWindow)) != 0; }))
            << "no file dialog";
        // Keys reach the dialog once GTK has drawn it.
        std::uint32_t rgb = 0;
        ASSERT_TRUE(WaitFor([&] { return mProbe.ReadPixel(dialog, 5, 5, rgb) && rgb != 0; }))
            << "the file dialog is never drawn";
        // Pasted, not typed: keys typed one by one race the dialog's completion of the name.
        ASSERT_EQ(std::system(ChooserSteps::PutCommand(dialog, name).c_str()), 0)
            << "the file dialog never took " << name;
        bool closed = false;
        for (int attempt = 0; attempt < 3 && !closed; ++attempt)
        {
            mProbe.PressKey("Return");
            closed = WaitFor([&] { return mProbe.FindOtherWindow(mChild, mWindow) == 0; }, 3000);
        }
        ASSERT_TRUE(closed) << "the file dialog stays open";
    }

    void SaveThroughFileMenu(const std::string& name)
    {
        ASSERT_TRUE(ChooseFromFileMenu(kSaveItem)) << "the File menu does not open";
        ASSERT_NO_FATAL_FAILURE(AnswerFileDialog(name));
        ASSERT_TRUE(WaitFor([&] { return fs::exists(PresetFile(name)); })) << name;
    }

    fs::path mRoot;
    XWindowProbe mProbe;
    pid_t mChild = 0;
    unsigned long mWindow = 0;
};

// The preset's values as the project's own reader finds them in a saved file.
std::vector<std::string> ReadPreset(const fs::path& path)
{
    QZ::PresetFileReader reader(0);
    EXPECT_EQ(reader.ReadFile(QZ::WideString(path.u16string().c_str())), QZ::kPresetFileLoaded)
        << path;
    std::vector<std::string> values;
    for (std::uint32_t position = 0; position < kPresetParamCount; ++position)
    {
        const QZ::Variant& value = reader.GetValue(position);
        std::uint32_t size = 0;
        const auto* bytes = static_cast<const char*>(value.GetData(size));
        values.emplace_back(bytes, bytes == nullptr ? 0 : size);
    }
    return values;
}

} // namespace

TEST_F(EditorWalk, EveryFamilysChangeSurvivesSaveRestartAndLoad)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(SaveThroughFileMenu("untouched"));

    std::set<std::int32_t> changed;
    for (const FamilyStep& step : kSteps)
    {
        SCOPED_TRACE(step.family);
        const std::vector<std::uint32_t> before = CaptureEditArea();
        mProbe.Click(mWindow, step.tile.x, step.tile.y);
        ASSERT_TRUE(WaitFor([&] { return CaptureEditArea() != before; }))
            << "the tile shows no edit panel";
        for (const Point& point : step.edit)
        {
            EXPECT_TRUE(ClickInEditArea(point)) << "a click changes nothing shown";
        }
        changed.insert(GetControlTypeLayout(step.type).firstNumber);
    }
    mProbe.Click(mWindow, kPresetNameBox.x, kPresetNameBox.y);
    mProbe.Focus(mWindow);
    mProbe.PressKey("End");
    for (int i = 0; i < 6; ++i)
    {
        mProbe.PressKey("BackSpace");
    }
    mProbe.Type("Walk 1");
    mProbe.PressKey("Return");
    changed.insert(GetControlTypeLayout(ControlType::PresetName).firstNumber);

    ASSERT_NO_FATAL_FAILURE(SaveThroughFileMenu("walk"));
    ASSERT_TRUE(ChooseFromFileMenu(kExitItem));
    EXPECT_EQ(WaitForExit(), 0) << ReadFile(mRoot / "errors");

    const std::vector<std::string> untouched = ReadPreset(PresetFile("untouched"));
    const std::vector<std::string> walked = ReadPreset(PresetFile("walk"));
    ASSERT_EQ(walked.size(), untouched.size());
    for (std::uint32_t number = 0; number < walked.size(); ++number)
    {
        EXPECT_EQ(walked[number] != untouched[number], changed.count(number) == 1)
            << "parameter " << number;
    }
    // Upper case, and the blank in the keyboard's own character code.
    EXPECT_EQ(walked[0], "WALK\"1") << "the preset name";

    ASSERT_NO_FATAL_FAILURE(Start());
    mProbe.Focus(mWindow);
    mProbe.PressKey("o", true);
    ASSERT_NO_FATAL_FAILURE(AnswerFileDialog("walk.Tarn61RededoVuvuva"));
    ASSERT_NO_FATAL_FAILURE(SaveThroughFileMenu("again"));
    mProbe.Close(mWindow);
    EXPECT_EQ(WaitForExit(), 0) << ReadFile(mRoot / "errors");
    EXPECT_EQ(ReadFile(PresetFile("again")), ReadFile(PresetFile("walk")));
}
