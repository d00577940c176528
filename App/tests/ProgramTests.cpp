// The editor program as whole processes: a normal start with its main window, the hand-over from
// a second start, a start after a killed first instance, and a start that fails.
#include "App/tests/XWindowProbe.h"
#include "Platform/Graphics2D/PngCodec.h"
#include "Platform/Instance/SingleInstance.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace QZ;

namespace
{

constexpr const char* kInstanceName = "Korvane_Tarn 61 Vidida EditorPrevent";
constexpr int kWindowWidth = 1200;
constexpr int kWindowHeight = 750;

// A rectangle of the window's pixels.
struct Area
{
    int x;
    int y;
    int width;
    int height;
};
// Where the device view shows the edit panel of the selected control, and a tile of each family.
constexpr Area kEditPanelArea{680, 354, 500, 254};
constexpr Area kFirstEncoderTile{340, 36, 100, 90};
constexpr Area kFirstPushButtonTile{340, 296, 93, 46};
// The note number of the push button edit panel's note page.
constexpr Area kButtonNoteBox{1006, 467, 140, 22};

// A person's steps with the pointer and keyboard, in bash (xdotool). focus T: wait for the
// window titled T and give it the keyboard; put P: type P into the dialog's location field;
// gone T: wait until no window is titled T.
constexpr const char* kPersonSteps = R"sh(
focus() { w=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n1) &&
          xdotool windowfocus --sync "$w" && sleep 0.5 || { echo "no window $1" >&2; return 1; }; }
put() { xdotool key ctrl+l && sleep 0.3 && xdotool type --delay 30 "$1" && sleep 0.5; }
gone() { for t in $(seq 100); do
           [ -z "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ] && return 0
           sleep 0.1; done; echo "$1 stays open" >&2; return 1; }
click() { xdotool mousemove "$1" "$2" click "${3:-1}" && sleep 0.7; }
)sh";

// Runs the steps on the display; whether every one succeeded.
bool TakeSteps(const std::string& display, const std::string& steps)
{
    const std::string script = std::string(kPersonSteps) + steps;
    const pid_t child = ::fork();
    if (child == 0)
    {
        setenv("DISPLAY", display.c_str(), 1);
        ::execlp("bash", "bash", "-c", script.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// Pixels (0xRRGGBB) whose red, green or blue differ by more than a rendering's small changes.
std::size_t CountDifferent(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b,
                           int width, const Area& area)
{
    std::size_t different = 0;
    for (int y = area.y; y < area.y + area.height; ++y)
    {
        for (int x = area.x; x < area.x + area.width; ++x)
        {
            const std::size_t at = static_cast<std::size_t>(y * width + x);
            for (int shift = 0; shift < 24; shift += 8)
            {
                const int one = static_cast<int>((a[at] >> shift) & 0xFF);
                const int other = static_cast<int>((b[at] >> shift) & 0xFF);
                if (std::abs(one - other) > 40)
                {
                    ++different;
                    break;
                }
            }
        }
    }
    return different;
}

struct ProcessResult
{
    int exitCode = -1;
    std::string out;
    std::string errors;
};

// The test server's display, as the process found it (the tests hide it from most starts).
const std::string& DisplayName()
{
    static const std::string display =
        std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
    return display;
}

class ProgramTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mRoot = std::filesystem::temp_directory_path() / ("prog-" + std::to_string(::getpid()));
        for (const char* folder : {"home", "runtime"})
        {
            std::filesystem::create_directories(mRoot / folder);
        }
        std::filesystem::permissions(mRoot / "runtime", std::filesystem::perms::owner_all);
        setenv("HOME", (mRoot / "home").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", Runtime().c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
        unsetenv("XDG_DATA_HOME");
        // Only runs that must reach the window system see the display: a failing start would
        // otherwise wait in its error box.
        mDisplay = DisplayName();
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    void TearDown() override { std::filesystem::remove_all(mRoot); }

    std::string Runtime() const { return (mRoot / "runtime").string(); }

    // Starts the program with the display and waits for its painted main window.
    pid_t Launch()
    {
        setenv("DISPLAY", mDisplay.c_str(), 1);
        const pid_t child = Spawn(QZ_EDITOR_PROGRAM, {});
        unsetenv("DISPLAY");
        mWindow = child > 0 ? mProbe.WaitForPaintedWindow(child, 600, 400, 20000) : 0;
        return child;
    }

    // Closes the main window as the desktop's close button does; the program's result.
    ProcessResult CloseAndWait(pid_t child)
    {
        mProbe.Close(mWindow);
        return Wait(child);
    }

    // The main window's pixels once its painting has settled.
    std::vector<std::uint32_t> Capture()
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        std::vector<std::uint32_t> pixels;
        EXPECT_TRUE(mProbe.Capture(mWindow, kWindowWidth, kWindowHeight, pixels));
        return pixels;
    }

    ProcessResult Start(const char* program, std::vector<std::string> arguments = {}) const
    {
        return Wait(Spawn(program, std::move(arguments)));
    }

    pid_t Spawn(const char* program, std::vector<std::string> arguments) const
    {
        const std::string out = (mRoot / "out").string();
        const std::string errors = (mRoot / "errors").string();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0600);
        arguments.insert(arguments.begin(), program);
        std::vector<char*> argv;
        for (std::string& argument : arguments)
        {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_t child = 0;
        if (posix_spawn(&child, program, &actions, nullptr, argv.data(), environ) != 0)
        {
            child = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        return child;
    }

    ProcessResult Wait(pid_t child) const
    {
        ProcessResult result;
        if (child > 0)
        {
            int status = 0;
            ::waitpid(child, &status, 0);
            result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        result.out = ReadFile((mRoot / "out").string());
        result.errors = ReadFile((mRoot / "errors").string());
        return result;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ostringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }

    std::filesystem::path mRoot;
    std::string mDisplay;
    XWindowProbe mProbe{DisplayName().c_str()};
    unsigned long mWindow = 0;
};

} // namespace

// The main window: titled with the maker's name, the skin's fixed size whatever the desktop asks,
// back where the user left it on the next start, and closing it ends the program with 0.
TEST_F(ProgramTest, TheMainWindowKeepsItsSizeRemembersItsPlaceAndClosingEndsWithZero)
{
    ASSERT_TRUE(mProbe.IsOpen());
    const pid_t first = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(first).errors;
    EXPECT_EQ(mProbe.GetTitle(mWindow), "Korvane");
    XWindowProbe::Geometry geometry;
    ASSERT_TRUE(mProbe.GetGeometry(mWindow, geometry));
    EXPECT_EQ(geometry.width, 1200);
    EXPECT_EQ(geometry.height, 750);

    mProbe.MoveResize(mWindow, 40, 30, 1500, 900);
    for (int i = 0; i < 200 && mProbe.GetGeometry(mWindow, geometry) && geometry.width != 1200; ++i)
    {
        usleep(10000);
    }
    EXPECT_EQ(geometry.width, 1200);
    EXPECT_EQ(geometry.height, 750);
    const ProcessResult closed = CloseAndWait(first);
    EXPECT_EQ(closed.exitCode, 0) << closed.errors;

    const pid_t second = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(second).errors;
    ASSERT_TRUE(mProbe.GetGeometry(mWindow, geometry));
    EXPECT_EQ(geometry.x, 40);
    EXPECT_EQ(geometry.y, 30);
    EXPECT_EQ(CloseAndWait(second).exitCode, 0);
}

TEST_F(ProgramTest, WithoutADisplayTheStartEndsNamingWhatIsMissing)
{
    const ProcessResult result = Start(QZ_EDITOR_PROGRAM);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find("DISPLAY"), std::string::npos) << result.errors;
    EXPECT_NE(result.errors.find("WAYLAND_DISPLAY"), std::string::npos) << result.errors;
}

TEST_F(ProgramTest, ASecondStartHandsItsCommandLineOverAndEndsWithZero)
{
    SingleInstance first(Runtime(), kInstanceName);
    ASSERT_EQ(first.Claim(), InstanceRole::First);
    ASSERT_TRUE(first.Listen(nullptr));
    const ProcessResult result =
        Start(QZ_EDITOR_PROGRAM, {"/home/ü/Grüße 夜.Tarn61RededoVuvuva", "-x"});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(first.TakeCommandLines(),
              std::vector<std::string>{std::string(QZ_EDITOR_PROGRAM) +
                                       " \"/home/ü/Grüße 夜.Tarn61RededoVuvuva\" -x"});
}

TEST_F(ProgramTest, AKilledFirstInstanceDoesNotBlockTheNextStart)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0)
    {
        SingleInstance first(Runtime(), kInstanceName);
        static_cast<void>(first.Claim());
        static_cast<void>(first.Listen(nullptr));
        static_cast<void>(::write(ready[1], "r", 1));
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    const pid_t child = Launch();
    EXPECT_NE(mWindow, 0u);
    EXPECT_EQ(CloseAndWait(child).exitCode, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST_F(ProgramTest, AMissingSkinResourceEndsTheStartWithTheErrorTextAndNonZero)
{
    const ProcessResult result = Start(QZ_MISSING_SKIN_PROGRAM);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_NE(result.errors.find(
                  "Error: The application encountered problems during startup and will now close."),
              std::string::npos)
        << result.errors;
    EXPECT_NE(result.errors.find("Failed Result : QZRESULT = 80070716"), std::string::npos)
        << result.errors;
}

// The editor opens on the drawing of the keyboard as the reference picture shows it (set
// QZ_WRITE_REFERENCE to a path to write a new picture there).
TEST_F(ProgramTest, TheEditorShowsTheKeyboardsSurfaceAsTheReferencePicture)
{
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    const std::vector<std::uint32_t> shown = Capture();
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(kWindowWidth * kWindowHeight));
    if (const char* target = std::getenv("QZ_WRITE_REFERENCE"))
    {
        std::vector<std::uint32_t> argb(shown);
        for (std::uint32_t& pixel : argb)
        {
            pixel |= 0xFF000000u;
        }
        std::vector<std::uint8_t> png;
        ASSERT_EQ(
            Graphics2D::EncodePng(argb.data(), kWindowWidth, kWindowHeight, kWindowWidth, png),
            Graphics2D::Status::Ok);
        std::ofstream(target, std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()),
                   static_cast<std::streamsize>(png.size()));
    }
    const std::string bytes = ReadFile(QZ_EDITOR_REFERENCE_IMAGE);
    Graphics2D::DecodedPng reference;
    ASSERT_EQ(Graphics2D::DecodePng(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                    bytes.size(), reference),
              Graphics2D::Status::Ok);
    ASSERT_EQ(reference.width, kWindowWidth);
    ASSERT_EQ(reference.height, kWindowHeight);
    std::vector<std::uint32_t> expected(reference.pixels.get(),
                                        reference.pixels.get() + shown.size());
    for (std::uint32_t& pixel : expected)
    {
        pixel &= 0xFFFFFFu;
    }
    // Text may be smoothed a little differently from one font library to the next.
    EXPECT_LT(CountDifferent(shown, expected, kWindowWidth, {0, 0, kWindowWidth, kWindowHeight}),
              static_cast<std::size_t>(kWindowWidth * kWindowHeight / 100));
    EXPECT_EQ(CloseAndWait(child).exitCode, 0);
}

// Clicking a control's tile shows its family's edit panel in the editing area, which is empty
// at the start.
TEST_F(ProgramTest, ClickingATileShowsItsEditPanel)
{
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    const std::vector<std::uint32_t> start = Capture();
    const auto clickAndCapture = [this](const Area& tile)
    {
        mProbe.Click(mWindow, tile.x + tile.width / 2, tile.y + tile.height / 2);
        return Capture();
    };
    const std::size_t shownPanel =
        static_cast<std::size_t>(kEditPanelArea.width * kEditPanelArea.height / 20);
    const std::vector<std::uint32_t> afterEncoder = clickAndCapture(kFirstEncoderTile);
    EXPECT_GT(CountDifferent(start, afterEncoder, kWindowWidth, kEditPanelArea), shownPanel);
    const std::vector<std::uint32_t> afterButton = clickAndCapture(kFirstPushButtonTile);
    EXPECT_GT(CountDifferent(afterEncoder, afterButton, kWindowWidth, kEditPanelArea), shownPanel);
    EXPECT_EQ(CloseAndWait(child).exitCode, 0);
}

// A preset saved through the File menu and the desktop's save dialog loads back with Ctrl+O,
// undoing an edit made since; Ctrl+S reaches the same save command.
TEST_F(ProgramTest, APresetSavedFromTheMenuLoadsBackWithTheHotKey)
{
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    const std::string window = std::to_string(mWindow);
    const std::string saved = (mRoot / "mine").string();
    const auto noteBox = [this]
    {
        const std::vector<std::uint32_t> shown = Capture();
        std::vector<std::uint32_t> box;
        for (int y = kButtonNoteBox.y; y < kButtonNoteBox.y + kButtonNoteBox.height; ++y)
        {
            const auto row = shown.begin() + y * kWindowWidth + kButtonNoteBox.x;
            box.insert(box.end(), row, row + kButtonNoteBox.width);
        }
        return box;
    };
    const std::string focusEditor = "xdotool windowfocus --sync " + window + " && sleep 0.3";

    ASSERT_TRUE(TakeSteps(mDisplay, "click 386 300"));
    const std::vector<std::uint32_t> before = noteBox();
    // File, then "Save Vidida" (the fifth row of its menu).
    ASSERT_TRUE(
        TakeSteps(mDisplay, "click 40 10 && click 60 120 && focus 'Select Save Location' && put '" +
                                saved + "' && xdotool key Return && gone 'Select Save Location'"));
    ASSERT_TRUE(std::filesystem::exists(saved + ".Tarn61RededoVuvuva"));

    ASSERT_TRUE(TakeSteps(
        mDisplay, focusEditor + " && click 1076 478 3 && xdotool key End BackSpace " +
                      "BackSpace BackSpace && xdotool type 20 && xdotool key Tab && sleep 0.7"));
    const std::vector<std::uint32_t> edited = noteBox();
    EXPECT_NE(edited, before);

    ASSERT_TRUE(TakeSteps(mDisplay,
                          focusEditor + " && xdotool key ctrl+o && focus 'Select Vidida File' && " +
                              "put '" + saved + ".Tarn61RededoVuvuva' && xdotool key Return && " +
                              "gone 'Select Vidida File' && sleep 1"));
    EXPECT_EQ(noteBox(), before);

    EXPECT_TRUE(TakeSteps(
        mDisplay, focusEditor + " && xdotool key ctrl+s && focus 'Select Save Location' && " +
                      "xdotool key Escape && gone 'Select Save Location'"));
    const ProcessResult closed = CloseAndWait(child);
    EXPECT_EQ(closed.exitCode, 0) << closed.errors;
}
