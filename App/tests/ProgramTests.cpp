// The editor program as whole processes: a normal start with its main window, the hand-over from
// a second start, a start after a killed first instance, and a start that fails.
#include "App/tests/WalkSupport.h"
#include "App/tests/XWindowProbe.h"
#include "QZFramework/Controls/tests/ChooserSteps.h"
#include "Platform/Graphics2D/PngCodec.h"
#include "Platform/Instance/InstanceListener.h"
#include "Platform/Instance/SingleInstance.h"
#include "Platform/Instance/tests/FreeFirstInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace QZ;

namespace
{

constexpr const char* kInstanceName = "Korvane_Tarn 61 Vidida EditorPrevent";
constexpr int kWindowWidth = 1200;
constexpr int kWindowHeight = 750;
// The longest any started program may take to end (a minute).
constexpr int kLongestRunMs = 60'000;

// Whether the process has a library of that file name loaded.
bool HasLoaded(pid_t pid, const std::string& library)
{
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::string line;
    while (std::getline(maps, line))
    {
        if (line.find("/" + library) != std::string::npos)
        {
            return true;
        }
    }
    return false;
}

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
constexpr Area kFirstPadTile{22, 355, 84, 56};
constexpr Area kFirstZoneTile{20, 618, 280, 36};
// The Help menu's title on the bar, its rows, and the About box's title.
constexpr int kHelpTitleX = 120;
constexpr int kUserGuideRowY = 31;
constexpr int kAboutRowY = 53;
constexpr const char* kAboutTitle = "About Korvane Tarn 61 Vidida Editor";

// A person's steps with the keyboard, in bash (xdotool), beside put (ChooserSteps); each waits on
// what it needs, never on time alone. focus T: wait for the window titled T and give it the
// keyboard; answer T K: press K in the window titled T until it closes (the chooser ignores a
// Return that comes before it has taken in the name); choose T P: put P in the chooser titled T
// and answer Return, putting P anew should the chooser not take it in; gone T: wait until no
// window is titled T.
constexpr const char* kPersonSteps = R"sh(
focus() { w=$(timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n1) &&
          [ -n "$w" ] && xdotool windowfocus --sync "$w" || { echo "no window $1" >&2; return 1; }; }
shown() { [ -n "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)" ]; }
gone() { for t in $(seq 200); do shown "$1" || return 0; sleep 0.05; done
         echo "$1 stays open" >&2; return 1; }
answer() { for t in $(seq 20); do
             w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
             [ -z "$w" ] && return 0
             timeout 5 xdotool windowfocus --sync "$w" && xdotool key "$2"
             for u in $(seq 20); do shown "$1" || return 0; sleep 0.05; done; done
           echo "$1 stays open" >&2; return 1; }
choose() { focus "$1" || return 1
           for t in $(seq 3); do put "$2" && answer "$1" Return 2>/dev/null && return 0
             shown "$1" || return 0; focus "$1" || return 1; done
           echo "$1 stays open" >&2; return 1; }
)sh";

// Runs the steps on the display; whether every one succeeded.
bool TakeSteps(const std::string& display, const std::string& steps)
{
    const std::string script = std::string(ChooserSteps::kPut) + kPersonSteps + steps;
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

// The window titled exactly so, waiting up to 20 seconds for it to show (or only to exist, when
// not visible); 0 when none did.
unsigned long WaitForWindowTitled(const std::string& display, const std::string& title,
                                  bool visible = true)
{
    const std::string command = "DISPLAY=" + display + " timeout 20 xdotool search --sync " +
                                (visible ? "--onlyvisible " : "") + "--name '^" + title +
                                "$' 2>/dev/null | head -n1";
    FILE* found = ::popen(command.c_str(), "r");
    if (found == nullptr)
    {
        return 0;
    }
    char line[64] = {};
    const bool read = std::fgets(line, sizeof line, found) != nullptr;
    ::pclose(found);
    return read ? std::strtoul(line, nullptr, 10) : 0;
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

// Writes the pixels (0xRRGGBB) as an opaque PNG.
void WritePng(const std::string& file, const std::vector<std::uint32_t>& rgb, int width, int height)
{
    std::vector<std::uint32_t> argb(rgb);
    for (std::uint32_t& pixel : argb)
    {
        pixel |= 0xFF000000u;
    }
    std::vector<std::uint8_t> png;
    ASSERT_EQ(Graphics2D::EncodePng(argb.data(), width, height, width, png),
              Graphics2D::Status::Ok);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
}

// The pixels (0xRRGGBB) of a PNG of that size; empty when it is missing, broken or of another
// size.
std::vector<std::uint32_t> ReadPng(const std::string& file, int width, int height)
{
    std::ostringstream bytes;
    bytes << std::ifstream(file, std::ios::binary).rdbuf();
    const std::string data = bytes.str();
    Graphics2D::DecodedPng decoded;
    if (Graphics2D::DecodePng(reinterpret_cast<const std::uint8_t*>(data.data()), data.size(),
                              decoded) != Graphics2D::Status::Ok ||
        decoded.width != width || decoded.height != height)
    {
        return {};
    }
    std::vector<std::uint32_t> rgb(decoded.pixels.get(),
                                   decoded.pixels.get() + static_cast<std::size_t>(width * height));
    for (std::uint32_t& pixel : rgb)
    {
        pixel &= 0xFFFFFFu;
    }
    return rgb;
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

// How often the process's main thread has given up the processor to wait, as the kernel counts
// it; -1 when it cannot be read.
long MainThreadSleeps(pid_t process)
{
    std::ifstream status("/proc/" + std::to_string(process) + "/task/" + std::to_string(process) +
                         "/status");
    const std::string key = "voluntary_ctxt_switches:";
    for (std::string line; std::getline(status, line);)
    {
        if (line.rfind(key, 0) == 0)
        {
            return std::stol(line.substr(key.size()));
        }
    }
    return -1;
}

// The children of the process, forked by any of its threads.
std::vector<pid_t> ChildrenOf(pid_t process)
{
    std::vector<pid_t> children;
    std::error_code error;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(process) + "/task", error))
    {
        std::ifstream list(task.path() / "children");
        for (pid_t child = 0; list >> child;)
        {
            children.push_back(child);
        }
    }
    return children;
}

// Whether the process has ended (a zombie that nobody waits for has ended too).
bool HasEnded(pid_t process)
{
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string text;
    std::getline(stat, text);
    const std::size_t name = text.rfind(')');
    return name == std::string::npos || text.compare(name, 3, ") Z") == 0;
}

// How many top-level windows of the display have that title.
int CountWindowsTitled(const std::string& display, const std::string& title)
{
    const std::string command = "DISPLAY=" + display + " xwininfo -root -children";
    FILE* listed = ::popen(command.c_str(), "r");
    int count = 0;
    char line[512];
    while (listed != nullptr && std::fgets(line, sizeof line, listed) != nullptr)
    {
        count += std::strstr(line, ("\"" + title + "\":").c_str()) != nullptr;
    }
    if (listed != nullptr)
    {
        ::pclose(listed);
    }
    return count;
}

class ProgramTest : public testing::Test
{
protected:
    void SetUp() override
    {
        mRoot = std::filesystem::temp_directory_path() / ("prog-" + std::to_string(::getpid()));
        WalkSupport::MakePrivateHome(mRoot);
        // Only runs that must reach the window system see the display: a failing start would
        // otherwise wait in its error box.
        mDisplay = DisplayName();
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }
    void TearDown() override
    {
        // A test that stops half-way leaves what it started running; ended here, so that the
        // next test has the display to itself. Only children not yet waited for are still ours.
        for (const pid_t child : mSpawned)
        {
            if (::waitpid(child, nullptr, WNOHANG) == 0)
            {
                ::kill(child, SIGKILL);
                ::waitpid(child, nullptr, 0);
            }
        }
        std::filesystem::remove_all(mRoot);
    }

    std::string Runtime() const { return (mRoot / "runtime").string(); }

    // Starts the editor with the display and waits for its painted main window; another program
    // given starts it in its own process (a shell that execs it).
    pid_t Launch(const char* program = QZ_EDITOR_PROGRAM, std::vector<std::string> arguments = {})
    {
        setenv("DISPLAY", mDisplay.c_str(), 1);
        const pid_t child = Spawn(program, std::move(arguments));
        unsetenv("DISPLAY");
        mWindow = child > 0 ? mProbe.WaitForPaintedWindow(child, 600, 400, 20000) : 0;
        return child;
    }

    // Launch with the program's user-interface thread stopped for good once the main window
    // shows, as a hung program's would be.
    pid_t LaunchHeld()
    {
        setenv("QZ_TEST_HOLD_USER_INTERFACE", "1", 1);
        const pid_t child = Launch();
        unsetenv("QZ_TEST_HOLD_USER_INTERFACE");
        return child;
    }

    // Launch with SIGHUP and SIGINT ignored, as nohup and a script's background job start it.
    pid_t LaunchIgnoringHangUpAndInterrupt()
    {
        return Launch("/bin/sh", {"-c", "trap '' HUP INT; exec \"$0\"", QZ_EDITOR_PROGRAM});
    }

    // Ends the program outright; its result.
    ProcessResult Kill(pid_t child, const std::string& logs = "")
    {
        ::kill(child, SIGKILL);
        return Wait(child, logs);
    }

    // Closes the main window as the desktop's close button does; the program's result.
    ProcessResult CloseAndWait(pid_t child)
    {
        mProbe.Close(mWindow);
        return Wait(child);
    }

    // Closes the main window; the program must end with 0.
    void ExpectClosesWithZero(pid_t child)
    {
        const ProcessResult closed = CloseAndWait(child);
        EXPECT_EQ(closed.exitCode, 0) << closed.errors;
    }

    // Presses Ctrl+S in the main window; the save dialog's window, 0 when none shows.
    unsigned long OpenSaveDialog()
    {
        const std::string keys =
            "xdotool windowfocus --sync " + std::to_string(mWindow) + " key ctrl+s";
        return TakeSteps(mDisplay, keys) ? WaitForWindowTitled(mDisplay, "Select Save Location")
                                         : 0;
    }

    // Closes a dialog as its close box does and waits until it is gone.
    void CloseDialog(unsigned long dialog, const std::string& title)
    {
        mProbe.Close(dialog);
        EXPECT_TRUE(TakeSteps(mDisplay, "gone '" + title + "'"));
    }

    // Whether the area of the window comes to differ from before within the polling time.
    bool WaitForChange(const std::vector<std::uint32_t>& before, const Area& area)
    {
        return !WaitForPixels([&](const std::vector<std::uint32_t>& shown)
                              { return CountDifferent(before, shown, kWindowWidth, area) > 0; })
                    .empty();
    }

    // Polls the main window's pixels until they satisfy the condition or ten seconds pass; the
    // last pixels seen, empty when the condition never held.
    std::vector<std::uint32_t>
    WaitForPixels(const std::function<bool(const std::vector<std::uint32_t>&)>& holds)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::vector<std::uint32_t> pixels;
        while (std::chrono::steady_clock::now() < deadline)
        {
            if (mProbe.Capture(mWindow, kWindowWidth, kWindowHeight, pixels) && holds(pixels))
            {
                return pixels;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return {};
    }

    // The main window's pixels once they have not changed for a third of a second (a slow start
    // may still be filling in values between two frames).
    std::vector<std::uint32_t> Settled()
    {
        std::vector<std::uint32_t> last;
        auto changed = std::chrono::steady_clock::now();
        return WaitForPixels(
            [&](const std::vector<std::uint32_t>& shown)
            {
                const auto now = std::chrono::steady_clock::now();
                if (std::exchange(last, shown) != shown)
                {
                    changed = now;
                }
                return now - changed >= std::chrono::milliseconds(330);
            });
    }

    ProcessResult Start(const char* program, std::vector<std::string> arguments = {})
    {
        return Wait(Spawn(program, std::move(arguments)));
    }

    // The output goes to files whose names begin with logs, apart from other programs'. The end
    // signals take their default, as from a terminal, whatever the test runner ignores.
    pid_t Spawn(const char* program, std::vector<std::string> arguments,
                const std::string& logs = "")
    {
        const std::string out = (mRoot / (logs + "out")).string();
        const std::string errors = (mRoot / (logs + "errors")).string();
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
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        {
            sigaddset(&defaults, signal);
        }
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
        pid_t child = 0;
        if (posix_spawn(&child, program, &actions, &attributes, argv.data(), environ) != 0)
        {
            child = -1;
        }
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        if (child > 0)
        {
            mSpawned.push_back(child);
        }
        return child;
    }

    ProcessResult Wait(pid_t child, const std::string& logs = "") const
    {
        ProcessResult result;
        bool killed = false;
        if (child > 0)
        {
            int status = 0;
            pid_t ended = 0;
            // A program that never ends fails the test rather than hanging it.
            if (!WalkSupport::WaitFor([&]
                                      { return (ended = ::waitpid(child, &status, WNOHANG)) != 0; },
                                      kLongestRunMs))
            {
                killed = ::kill(child, SIGKILL) == 0;
                ended = ::waitpid(child, &status, 0);
            }
            // A child that could not be waited for has no exit code to report.
            result.exitCode = ended == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        result.out = ReadFile((mRoot / (logs + "out")).string());
        result.errors = (killed ? "still running after a minute, so killed\n" : "") +
                        ReadFile((mRoot / (logs + "errors")).string());
        return result;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ostringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }

    // Starts openbox on the test's display, with the configuration given (its defaults when
    // empty), and waits until it manages windows; its process.
    pid_t StartWindowManager(const std::string& configuration = "")
    {
        setenv("DISPLAY", mDisplay.c_str(), 1);
        const std::string log = (mRoot / "wm.log").string();
        const std::string file = (mRoot / "openbox.xml").string();
        std::ofstream(file) << configuration;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        std::vector<std::string> arguments = {"openbox", "--sm-disable"};
        if (!configuration.empty())
        {
            arguments.insert(arguments.end(), {"--config-file", file});
        }
        std::vector<char*> argv;
        for (std::string& argument : arguments)
        {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        pid_t child = 0;
        if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        {
            child = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        unsetenv("DISPLAY");
        if (child > 0)
        {
            mSpawned.push_back(child);
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (child > 0 && !mProbe.HasWindowManager() &&
               std::chrono::steady_clock::now() < deadline)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return child;
    }

    // Opens the menu title at x of the bar and chooses its row at y, once the menu shows.
    void ChooseFromMenu(int titleX, int rowY)
    {
        const std::vector<std::uint32_t> before = Settled();
        mProbe.Click(mWindow, titleX, 10);
        ASSERT_TRUE(WaitForChange(before, {titleX - 20, rowY - 10, 100, 20}));
        mProbe.Click(mWindow, titleX + 20, rowY);
    }

    std::filesystem::path mRoot;
    std::string mDisplay;
    XWindowProbe mProbe{DisplayName().c_str()};
    unsigned long mWindow = 0;
    // Every process the test started, so none outlives it.
    std::vector<pid_t> mSpawned;
};

} // namespace

// The main window: titled with the product name, the skin's fixed size whatever the desktop asks,
// back where the user left it on the next start, and closing it ends the program with 0.
TEST_F(ProgramTest, TheMainWindowKeepsItsSizeRemembersItsPlaceAndClosingEndsWithZero)
{
    ASSERT_TRUE(mProbe.IsOpen());
    const pid_t first = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(first).errors;
    EXPECT_EQ(mProbe.GetTitle(mWindow), "Tarn 61 Vidida Editor");
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
    ExpectClosesWithZero(first);

    const pid_t second = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(second).errors;
    ASSERT_TRUE(mProbe.GetGeometry(mWindow, geometry));
    EXPECT_EQ(geometry.x, 40);
    EXPECT_EQ(geometry.y, 30);
    ExpectClosesWithZero(second);
}

// With nothing to do the editor sleeps: the user-interface thread wakes at most ten times in five
// idle seconds (a thread that polls at a tick wakes 150 times).
TEST_F(ProgramTest, AnIdleEditorWakesAtMostTenTimesInFiveSeconds)
{
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    // The pointer rests off the window, so that no tooltip is pending.
    ASSERT_TRUE(TakeSteps(mDisplay, "xdotool mousemove 1279 1023"));
    ASSERT_FALSE(Settled().empty());
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const long before = MainThreadSleeps(child);
    std::this_thread::sleep_for(std::chrono::seconds(5));
    const long after = MainThreadSleeps(child);
    ASSERT_GE(before, 0);
    EXPECT_LE(after - before, 10);
    ExpectClosesWithZero(child);
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
    FreeFirstInstance first(Runtime(), kInstanceName);
    ASSERT_TRUE(first.Start());
    const ProcessResult result =
        Start(QZ_EDITOR_PROGRAM, {"/home/ü/Grüße 夜.Tarn61RededoVuvuva", "-x"});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(first.TakeTaken(),
              std::vector<std::string>{std::string(QZ_EDITOR_PROGRAM) +
                                       " \"/home/ü/Grüße 夜.Tarn61RededoVuvuva\" -x"});
}

// A second start waits for the running editor's user-interface thread to take its command line:
// with that thread hung, the start says that the editor does not answer and ends with 1 once its
// time is up, and the hung editor is left running.
TEST_F(ProgramTest, ASecondStartToAHungEditorSaysItDoesNotAnswer)
{
    const pid_t first = LaunchHeld();
    ASSERT_NE(mWindow, 0u) << Kill(first).errors;
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult second = Wait(Spawn(QZ_EDITOR_PROGRAM, {"-second"}, "second-"), "second-");
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    EXPECT_EQ(second.exitCode, 1) << second.errors;
    EXPECT_NE(second.errors.find("is already running but does not answer"), std::string::npos)
        << second.errors;
    // The margin is the start's own work before the hand-over (the skins are read first).
    EXPECT_LT(took, SingleInstance::kHandOverTimeout + std::chrono::milliseconds(1500))
        << took.count() << " ms";
    EXPECT_EQ(::waitpid(first, nullptr, WNOHANG), 0);
    Kill(first);
}

// SIGTERM and SIGINT end the editor within two seconds: the orderly way, with 0, when it is free;
// outright with 128 plus the signal's number once the orderly end has had its time when its
// user-interface thread hangs. Signals ignored when it started leave it running.
TEST_F(ProgramTest, EndSignalsEndTheEditorWithinTwoSecondsEvenWhenItHangs)
{
    // Still running two seconds after the signals, and closing with 0.
    constexpr int kRunsOn = -1;
    const struct
    {
        bool held;
        bool ignoring;
        std::vector<int> signals;
        int status;
    } cases[] = {
        {true, false, {SIGTERM}, 143},
        {true, false, {SIGINT}, 130},
        {false, false, {SIGTERM}, 0},
        {false, true, {SIGHUP, SIGINT}, kRunsOn},
    };
    for (const auto& c : cases)
    {
        const pid_t child =
            c.held ? LaunchHeld() : (c.ignoring ? LaunchIgnoringHangUpAndInterrupt() : Launch());
        ASSERT_NE(mWindow, 0u) << Kill(child).errors;
        for (const int signal : c.signals)
        {
            ::kill(child, signal);
        }
        const auto signalled = std::chrono::steady_clock::now();
        int status = 0;
        pid_t ended = 0;
        while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 &&
               std::chrono::steady_clock::now() - signalled < std::chrono::seconds(2))
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (c.status == kRunsOn)
        {
            EXPECT_EQ(ended, 0) << "ignored signals ended the editor: " << status << " "
                                << ReadFile((mRoot / "errors").string());
            if (ended == 0)
            {
                ExpectClosesWithZero(child);
            }
            continue;
        }
        const std::string errors =
            ended == child ? ReadFile((mRoot / "errors").string()) : Kill(child).errors;
        ASSERT_EQ(ended, child) << "signal " << c.signals[0]
                                << " left the editor running: " << errors;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.status)
            << c.signals[0] << ": " << status << " " << errors;
        EXPECT_EQ(errors.find("no orderly end") != std::string::npos, c.held) << errors;
    }
}

// A second start ended by a signal while it says that the running editor does not answer takes
// its box with it, whichever of its processes the signal reaches (the box has a process of its
// own): within two seconds no process of it is left and no box is on the screen.
TEST_F(ProgramTest, ASecondStartEndedByASignalTakesItsBoxWithIt)
{
    const pid_t first = LaunchHeld();
    ASSERT_NE(mWindow, 0u) << Kill(first).errors;
    const std::string caption = "Tarn 61 Vidida Editor";
    const int windows = CountWindowsTitled(mDisplay, caption);
    const struct
    {
        bool toStart;
        bool toBox;
        int status;
    } cases[] = {
        // The start's user-interface thread waits for the box, so the start is ended outright.
        {true, false, 143},
        // A box that is ended is one that could not be shown.
        {false, true, 1},
        {true, true, 1},
    };
    for (const auto& c : cases)
    {
        setenv("DISPLAY", mDisplay.c_str(), 1);
        const pid_t second = Spawn(QZ_EDITOR_PROGRAM, {"-second"}, "second-");
        unsetenv("DISPLAY");
        std::vector<pid_t> box;
        ASSERT_TRUE(WalkSupport::WaitFor(
            [&]
            {
                box = ChildrenOf(second);
                return !box.empty() && CountWindowsTitled(mDisplay, caption) > windows;
            },
            20000))
            << Kill(second, "second-").errors;
        if (c.toStart)
        {
            ::kill(second, SIGTERM);
        }
        for (const pid_t process : c.toBox ? box : std::vector<pid_t>())
        {
            ::kill(process, SIGTERM);
        }
        int status = 0;
        bool ended = false;
        const bool gone = WalkSupport::WaitFor(
            [&]
            {
                ended = ended || ::waitpid(second, &status, WNOHANG) == second;
                return ended && std::all_of(box.begin(), box.end(), HasEnded) &&
                       CountWindowsTitled(mDisplay, caption) == windows;
            },
            2000);
        const std::string signalled = std::string(c.toStart ? "the start " : "") +
                                      (c.toBox ? "the box " : "") + "signalled: ";
        EXPECT_TRUE(gone) << signalled << "the start or its box is left";
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.status)
            << signalled << status << " "
            << (ended ? ReadFile((mRoot / "second-errors").string())
                      : Kill(second, "second-").errors);
        for (const pid_t process : gone ? std::vector<pid_t>() : box)
        {
            ::kill(process, SIGKILL);
        }
    }
    Kill(first);
}

// A first instance killed while a second start waits for its answer leaves its place to that
// start, which becomes the editor.
TEST_F(ProgramTest, AFirstInstanceKilledDuringAHandOverLeavesTheSecondStartTheEditor)
{
    const pid_t first = LaunchHeld();
    ASSERT_NE(mWindow, 0u) << Kill(first).errors;
    setenv("DISPLAY", mDisplay.c_str(), 1);
    const pid_t second = Spawn(QZ_EDITOR_PROGRAM, {"-second"}, "second-");
    unsetenv("DISPLAY");
    // The first has accepted the second's connection: both ends carry the socket's path.
    const std::string socketPath = Runtime() + "/" + kInstanceName + ".socket";
    ASSERT_TRUE(WalkSupport::WaitFor(
        [&]
        {
            std::ifstream sockets("/proc/net/unix");
            for (std::string line; std::getline(sockets, line);)
            {
                if (line.ends_with(" " + socketPath) && line.find(" 03 ") != std::string::npos)
                {
                    return true;
                }
            }
            return false;
        },
        20000))
        << Kill(second, "second-").errors;
    Kill(first);
    mWindow = mProbe.WaitForPaintedWindow(second, 600, 400, 20000);
    ASSERT_NE(mWindow, 0u) << Kill(second, "second-").errors;
    mProbe.Close(mWindow);
    const ProcessResult closed = Wait(second, "second-");
    EXPECT_EQ(closed.exitCode, 0) << closed.errors;
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
    ExpectClosesWithZero(child);
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
    if (const char* target = std::getenv("QZ_WRITE_REFERENCE"))
    {
        WritePng(target, Settled(), kWindowWidth, kWindowHeight);
    }
    const std::vector<std::uint32_t> expected =
        ReadPng(QZ_EDITOR_REFERENCE_IMAGE, kWindowWidth, kWindowHeight);
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kWindowWidth * kWindowHeight));
    // A loaded machine paints the first frame in steps, so the picture is awaited. Text may be
    // smoothed a little differently from one font library to the next.
    std::size_t different = expected.size();
    EXPECT_FALSE(WaitForPixels(
                     [&](const std::vector<std::uint32_t>& shown)
                     {
                         different = CountDifferent(shown, expected, kWindowWidth,
                                                    {0, 0, kWindowWidth, kWindowHeight});
                         return different < expected.size() / 100;
                     })
                     .empty())
        << different << " pixels differ";
    ExpectClosesWithZero(child);
}

// The pixels of an area of the window, row by row.
std::vector<std::uint32_t> Cut(const std::vector<std::uint32_t>& shown, const Area& area)
{
    std::vector<std::uint32_t> cut;
    for (int y = area.y; y < area.y + area.height && !shown.empty(); ++y)
    {
        const auto row = shown.begin() + y * kWindowWidth + area.x;
        cut.insert(cut.end(), row, row + area.width);
    }
    return cut;
}

// A preset saved through the File menu and the desktop's save dialog loads back with Ctrl+O,
// undoing an edit made since; Ctrl+S reaches the same save command.
TEST_F(ProgramTest, APresetSavedFromTheMenuLoadsBackWithTheHotKey)
{
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    // Typed from the home folder: the chooser completes each folder of a typed path as it comes,
    // and listing a crowded one (such as /tmp) takes a loaded machine longer than a person waits.
    const std::string saved = "~/mine";
    const std::string focusEditor = "xdotool windowfocus --sync " + std::to_string(mWindow);
    const std::vector<std::uint32_t> start = Settled();
    const auto noteBoxIs = [](const std::vector<std::uint32_t>& box)
    {
        return [box](const std::vector<std::uint32_t>& shown)
        { return Cut(shown, kButtonNoteBox) == box; };
    };

    // The first push button's edit panel shows its note number.
    mProbe.Click(mWindow, 386, 318);
    ASSERT_TRUE(WaitForChange(start, kButtonNoteBox));
    const std::vector<std::uint32_t> before = Cut(Settled(), kButtonNoteBox);

    // File, then "Save Vidida" (the fourth item of its menu, below a separator) once the menu
    // shows.
    const std::vector<std::uint32_t> panel = Settled();
    mProbe.Click(mWindow, 40, 10);
    ASSERT_TRUE(WaitForChange(panel, {20, 110, 100, 20}));
    mProbe.Click(mWindow, 60, 107);
    ASSERT_TRUE(TakeSteps(mDisplay, "choose 'Select Save Location' '" + saved + "'"));
    const std::string file = saved + ".Tarn61RededoVuvuva";
    ASSERT_FALSE(WaitForPixels(
                     [&](const std::vector<std::uint32_t>&) {
                         return std::filesystem::exists(mRoot / "home" / "mine.Tarn61RededoVuvuva");
                     })
                     .empty());

    // A new note number, typed into the box and left with Tab.
    ASSERT_TRUE(
        TakeSteps(mDisplay, focusEditor + " && xdotool mousemove 1076 478 click 3 key End " +
                                "BackSpace BackSpace BackSpace type 20 && xdotool key Tab"));
    ASSERT_FALSE(WaitForPixels([&](const std::vector<std::uint32_t>& shown)
                               { return !shown.empty() && Cut(shown, kButtonNoteBox) != before; })
                     .empty());

    ASSERT_TRUE(TakeSteps(mDisplay, focusEditor + " && xdotool key ctrl+o && " +
                                        "choose 'Select Vidida File' '" + file + "'"));
    EXPECT_FALSE(WaitForPixels(noteBoxIs(before)).empty());

    // Ctrl+S opens the save dialog; its close box cancels it.
    const unsigned long dialog = OpenSaveDialog();
    ASSERT_NE(dialog, 0u);
    CloseDialog(dialog, "Select Save Location");
    ExpectClosesWithZero(child);
}

// While the desktop's file dialog is open the window keeps painting: an area the dialog covered
// is painted again once it moves away, and again once it closes.
// The desktop's toolkit loads with the first file dialog, not with every start.
TEST_F(ProgramTest, TheWindowStaysPaintedWhileTheFileDialogIsOpen)
{
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    EXPECT_FALSE(HasLoaded(child, "libgtk-3.so.0"));
    const std::vector<std::uint32_t> start = Settled();
    XWindowProbe::Geometry main;
    ASSERT_TRUE(mProbe.GetGeometry(mWindow, main));
    const Area whole{0, 0, kWindowWidth, kWindowHeight};
    const auto looksLike = [&](const std::vector<std::uint32_t>& expected, bool same)
    {
        return [&expected, same, whole](const std::vector<std::uint32_t>& shown)
        {
            const std::size_t different = CountDifferent(expected, shown, kWindowWidth, whole);
            return same ? different < static_cast<std::size_t>(kWindowWidth * kWindowHeight / 100)
                        : different > static_cast<std::size_t>(kWindowWidth * kWindowHeight / 20);
        };
    };

    const unsigned long dialog = OpenSaveDialog();
    ASSERT_NE(dialog, 0u);
    EXPECT_TRUE(HasLoaded(child, "libgtk-3.so.0"));
    mProbe.MoveResize(dialog, main.x + 100, main.y + 100, 700, 500);
    ASSERT_FALSE(WaitForPixels(looksLike(start, false)).empty()) << "the dialog never covered it";
    mProbe.MoveResize(dialog, main.x + 100, main.y + main.height + 20, 700, 500);
    EXPECT_FALSE(WaitForPixels(looksLike(start, true)).empty()) << "not painted under the dialog";

    mProbe.MoveResize(dialog, main.x + 100, main.y + 100, 700, 500);
    ASSERT_FALSE(WaitForPixels(looksLike(start, false)).empty());
    CloseDialog(dialog, "Select Save Location");
    EXPECT_FALSE(WaitForPixels(looksLike(start, true)).empty()) << "not painted after the dialog";
    ExpectClosesWithZero(child);
}

// Without a window manager the keyboard follows the program's topmost window: the chooser when it
// shows, its overwrite question, the chooser again after the question, and the main window once
// they are gone, so that plain keys work them. A chooser or question that another program
// destroys counts as Cancel: nothing is saved, and the next hot key opens a new chooser.
TEST_F(ProgramTest, WithoutAWindowManagerTheKeyboardFollowsTheChooserAndADestroyedOneCancels)
{
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    const std::filesystem::path kept = mRoot / "home" / "kept.Tarn61RededoVuvuva";
    std::ofstream(kept) << "kept";
    // has W: wait until the window W has the keyboard; keyboard: until the main window has it;
    // opens K T: K, pressed wherever the keyboard is, opens the window titled T, whose id goes to
    // w (pressed again when the program missed it); closes K T: K closes the window titled T;
    // ask: save over the kept file in the chooser w until its question shows with the keyboard,
    // its id in q.
    const std::string steps = "m=" + std::to_string(mWindow) + R"sh(
O='Select Vidida File'; S='Select Save Location'
has() { for t in $(seq 100); do [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
        sleep 0.05; done; echo "the keyboard is on $(xdotool getwindowfocus), not $1" >&2; return 1; }
keyboard() { has "$m"; }
opens() { keyboard || return 1
          for a in 1 2 3; do xdotool key "$1"
            w=$(timeout 3 xdotool search --sync --onlyvisible --name "^$2\$" 2>/dev/null | head -n1)
            [ -n "$w" ] && return 0; done; echo "$1 opens no $2" >&2; return 1; }
closes() { for a in 1 2 3; do xdotool key "$1"
             for t in $(seq 60); do shown "$2" || return 0; sleep 0.05; done; done
           echo "$1 leaves $2 open" >&2; return 1; }
ask() { put '~/kept' || return 1
        for a in 1 2 3; do xdotool key Return
          for t in $(seq 60); do q=$(xdotool search --onlyvisible --name "^$S\$" 2>/dev/null |
                                     grep -vx "$w" | head -n1)
            [ -n "$q" ] && { has "$q"; return; }; sleep 0.05; done; done
        echo "no question" >&2; return 1; }
)sh";
    const struct
    {
        const char* way;
        const char* steps;
    } ways[] = {
        {"chooser destroyed", "opens ctrl+o \"$O\" && xdotool windowclose $w && gone \"$O\""},
        {"question destroyed", "opens ctrl+s \"$S\" && ask && xdotool windowclose $q && "
                               "has $w && closes Escape \"$S\""},
        {"chooser destroyed under its question",
         "opens ctrl+s \"$S\" && ask && xdotool windowclose $w && gone \"$S\""},
        {"Escape", "opens ctrl+o \"$O\" && closes Escape \"$O\" && keyboard"},
    };
    for (const auto& way : ways)
    {
        SCOPED_TRACE(way.way);
        ASSERT_TRUE(TakeSteps(mDisplay, steps + way.steps))
            << ReadFile((mRoot / "errors").string());
    }
    EXPECT_EQ(ReadFile(kept.string()), "kept");
    ExpectClosesWithZero(child);
}

// The program's icon reaches the desktop at every size it is drawn in, on the main window and on
// a dialog, read back as a window manager reads it, as do their kinds (a dialog is framed as
// one); the desktop's file chooser shows the icon too.
TEST_F(ProgramTest, TheMainWindowAndADialogCarryTheProgramsIconAtEverySizeAndTheirKinds)
{
    const pid_t manager = StartWindowManager();
    ASSERT_GT(manager, 0);
    ASSERT_TRUE(mProbe.HasWindowManager()) << ReadFile((mRoot / "wm.log").string());
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    const std::vector<std::pair<int, int>> sizes = {{16, 16}, {24, 24},   {32, 32},  {48, 48},
                                                    {64, 64}, {128, 128}, {256, 256}};
    EXPECT_EQ(mProbe.GetIconSizes(mWindow), sizes);
    EXPECT_EQ(mProbe.GetWindowType(mWindow), "_NET_WM_WINDOW_TYPE_NORMAL");

    ChooseFromMenu(kHelpTitleX, kAboutRowY);
    const unsigned long about = WaitForWindowTitled(mDisplay, kAboutTitle);
    ASSERT_NE(about, 0u);
    EXPECT_EQ(mProbe.GetIconSizes(about), sizes);
    EXPECT_EQ(mProbe.GetWindowType(about), "_NET_WM_WINDOW_TYPE_DIALOG");
    CloseDialog(about, kAboutTitle);

    // The desktop's file chooser takes it too.
    const unsigned long chooser = OpenSaveDialog();
    ASSERT_NE(chooser, 0u);
    const std::vector<std::pair<int, int>> chooserSizes = mProbe.GetIconSizes(chooser);
    EXPECT_NE(std::find(chooserSizes.begin(), chooserSizes.end(), std::pair<int, int>(48, 48)),
              chooserSizes.end());
    CloseDialog(chooser, "Select Save Location");
    ExpectClosesWithZero(child);
    ::kill(manager, SIGTERM);
    ::waitpid(manager, nullptr, 0);
}

namespace
{

// A figure of the guide's source: its picture, the width the source gives it and its caption.
struct GuideFigure
{
    std::string picture;
    double widthCm = 0.0;
    std::string caption;
};

// A picture the PDF holds: its page (from 1), its width in pixels and its pixels per inch.
struct PdfPicture
{
    int page = 0;
    int width = 0;
    int ppi = 0;
};

// The text with every run of white space made one blank, so that line breaks do not matter.
std::string Collapse(const std::string& text)
{
    std::istringstream words(text);
    std::string collapsed;
    for (std::string word; words >> word;)
    {
        collapsed += (collapsed.empty() ? "" : " ") + word;
    }
    return collapsed;
}

// The figures of the source in order: ".. figure:: <picture>", its indented ":width: <n>cm"
// option, and after a blank line the indented caption.
std::vector<GuideFigure> ReadGuideFigures(const std::vector<std::string>& lines)
{
    const std::string directive = ".. figure:: ";
    std::vector<GuideFigure> figures;
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        if (lines[i].rfind(directive, 0) != 0)
        {
            continue;
        }
        GuideFigure figure;
        figure.picture = lines[i].substr(directive.size());
        std::size_t k = i + 1;
        for (; k < lines.size() && lines[k].rfind("   :", 0) == 0; ++k)
        {
            std::smatch width;
            if (std::regex_match(lines[k], width, std::regex(R"(\s*:width:\s*([0-9.]+)cm)")))
            {
                figure.widthCm = std::stod(width[1]);
            }
        }
        for (++k; k < lines.size() && lines[k].rfind("   ", 0) == 0; ++k)
        {
            figure.caption += lines[k] + " ";
        }
        figure.caption = Collapse(figure.caption);
        figures.push_back(figure);
    }
    return figures;
}

// The pictures of "pdfimages -list" output (their soft masks left out), in page order.
std::vector<PdfPicture> ReadPdfPictures(const std::string& list)
{
    std::vector<PdfPicture> pictures;
    std::istringstream rows(list);
    for (std::string row; std::getline(rows, row);)
    {
        // page num type width height color comp bpc enc interp object ID x-ppi y-ppi size ratio
        std::istringstream fields(row);
        const std::vector<std::string> column{std::istream_iterator<std::string>(fields), {}};
        if (column.size() > 12 && column[2] == "image")
        {
            pictures.push_back({std::stoi(column[0]), std::stoi(column[3]), std::stoi(column[12])});
        }
    }
    return pictures;
}

// Each picture is drawn at the width its figure gives it, on the page that holds its caption; the
// pictures come in the figures' order, and the PDF's text has a form feed between pages.
void ExpectPicturesBesideTheirCaptions(const std::vector<GuideFigure>& figures,
                                       const std::vector<PdfPicture>& pictures,
                                       const std::string& text)
{
    std::vector<std::string> pages;
    std::istringstream pageTexts(text);
    for (std::string page; std::getline(pageTexts, page, '\f');)
    {
        pages.push_back(Collapse(page));
    }
    ASSERT_EQ(pictures.size(), figures.size());
    for (std::size_t k = 0; k < figures.size(); ++k)
    {
        const GuideFigure& figure = figures[k];
        const PdfPicture& picture = pictures[k];
        ASSERT_TRUE(picture.page >= 1 && static_cast<std::size_t>(picture.page) <= pages.size())
            << figure.picture;
        EXPECT_TRUE(pages[static_cast<std::size_t>(picture.page - 1)].find(figure.caption) !=
                    std::string::npos)
            << figure.caption << " is not on page " << picture.page;
        ASSERT_GT(figure.widthCm, 0.0) << figure.picture << " has no :width: in cm";
        EXPECT_NEAR(picture.ppi, picture.width / (figure.widthCm / 2.54), 1.0)
            << figure.picture << " is not drawn at the width the source gives it";
    }
}

} // namespace

// Help's user-guide command hands the desktop the guide built beside the program; the guide holds
// every chapter of its source, and each picture stands at the width the source gives it on the
// page of its caption (a picture that no longer fits its page would be shrunk, or parted from
// its caption).
TEST_F(ProgramTest, HelpOpensTheUserGuideBuiltBesideTheProgram)
{
    // A stand-in for the desktop's opener writes down the path it was given.
    const std::filesystem::path bin = mRoot / "bin";
    const std::filesystem::path opened = mRoot / "opened";
    std::filesystem::create_directories(bin);
    std::ofstream(bin / "xdg-open")
        << "#!/bin/sh\nprintf '%s' \"$1\" > '" << opened.string() << "'\n";
    std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
    const pid_t child = Launch();
    setenv("PATH", path.c_str(), 1);
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;

    ChooseFromMenu(kHelpTitleX, kUserGuideRowY);
    ASSERT_FALSE(WaitForPixels([&](const std::vector<std::uint32_t>&)
                               { return !ReadFile(opened.string()).empty(); })
                     .empty());
    const std::filesystem::path guide = ReadFile(opened.string());
    EXPECT_EQ(guide, std::filesystem::path(QZ_EDITOR_PROGRAM).parent_path() /
                         "Tarn 61 Vidida Editor User Guide.pdf");
    ASSERT_TRUE(std::filesystem::exists(guide));
    const ProcessResult text = Start("/usr/bin/pdftotext", {guide.string(), "-"});
    ASSERT_EQ(text.exitCode, 0) << text.errors;

    // The chapters are the source's titles underlined with "=" (the guide's own title also has
    // a line above it).
    std::istringstream source(ReadFile(QZ_GUIDE_SOURCE));
    std::vector<std::string> lines;
    for (std::string line; std::getline(source, line);)
    {
        lines.push_back(line);
    }
    const auto isRule = [](const std::string& line)
    { return !line.empty() && line.find_first_not_of('=') == std::string::npos; };
    std::size_t chapters = 0;
    for (std::size_t i = 1; i + 1 < lines.size(); ++i)
    {
        if (isRule(lines[i + 1]) && !isRule(lines[i - 1]) && !lines[i].empty())
        {
            ++chapters;
            EXPECT_NE(text.out.find(lines[i]), std::string::npos) << lines[i];
        }
    }
    EXPECT_GE(chapters, 10u);

    const ProcessResult list = Start("/usr/bin/pdfimages", {"-list", guide.string()});
    ASSERT_EQ(list.exitCode, 0) << list.errors;
    ExpectPicturesBesideTheirCaptions(ReadGuideFigures(lines), ReadPdfPictures(list.out), text.out);
    ExpectClosesWithZero(child);
}

namespace
{

// The paths a text gives: a literal between backticks that is a path as a whole (it may hold
// blanks), and a word of a command line, each beginning with "build/" or "~/".
std::vector<std::string> PathsGiven(const std::string& text)
{
    std::vector<std::string> paths;
    for (const char* pattern :
         {R"(`+((?:build|~)/[^`]*)`+)", R"((?:^|[\s(])((?:build|~)/[^\s()`]*))"})
    {
        const std::regex path(pattern);
        for (auto found = std::sregex_iterator(text.begin(), text.end(), path);
             found != std::sregex_iterator(); ++found)
        {
            paths.push_back((*found)[1]);
        }
    }
    return paths;
}

} // namespace

// The paths the guide and the README give for the editor, its guide and the emulated keyboard are
// where the run command's build puts them (the test's own build tree has the same layout), and
// the run command builds their targets; the files the guide names in the home folder are there
// once the editor has run.
TEST_F(ProgramTest, TheDocumentsGiveThePathsTheRunCommandMakes)
{
    const std::string runCommand = ReadFile(QZ_RUN_COMMAND);
    std::smatch folder;
    ASSERT_TRUE(std::regex_search(runCommand, folder, std::regex(R"(build=\$root/(\S+))")));
    std::smatch targetList;
    ASSERT_TRUE(std::regex_search(runCommand, targetList, std::regex(R"(--target ([^\n]+))")));
    std::istringstream targetWords(targetList[1].str());
    const std::vector<std::string> targets{std::istream_iterator<std::string>(targetWords), {}};

    struct Shipped
    {
        const char* target;
        std::filesystem::path file;
    };
    const std::filesystem::path editor(QZ_EDITOR_PROGRAM);
    const Shipped shipped[] = {
        {"TarnEditor", editor},
        {"TarnEditor", editor.parent_path() / "Tarn 61 Vidida Editor User Guide.pdf"},
        {"tarn61-emulator", TARN61_EMULATOR_PROGRAM},
    };
    const std::string guide = ReadFile(QZ_GUIDE_SOURCE);
    std::vector<std::string> given = PathsGiven(guide);
    const std::vector<std::string> readme = PathsGiven(ReadFile(QZ_README));
    given.insert(given.end(), readme.begin(), readme.end());
    for (const Shipped& file : shipped)
    {
        EXPECT_TRUE(std::filesystem::exists(file.file)) << file.file;
        EXPECT_TRUE(std::find(targets.begin(), targets.end(), file.target) != targets.end())
            << "the run command does not build " << file.target;
        const std::string where =
            folder[1].str() + "/" +
            std::filesystem::relative(file.file, QZ_BUILD_ROOT).generic_string();
        std::size_t named = 0;
        for (const std::string& path : given)
        {
            if (std::filesystem::path(path).filename() == file.file.filename())
            {
                ++named;
                EXPECT_EQ(path, where);
            }
        }
        EXPECT_GT(named, 0u) << file.file.filename() << " is named nowhere";
    }

    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    ExpectClosesWithZero(child);
    for (const std::string& path : PathsGiven(guide))
    {
        if (path.rfind("~/", 0) == 0)
        {
            EXPECT_TRUE(std::filesystem::exists(mRoot / "home" / path.substr(2))) << path;
        }
    }
}

// Clicking a control's tile shows its family's edit panel in the editing area (empty at the start,
// as the reference picture shows), as the guide's pictures show it, within what font smoothing
// changes. QZ_WRITE_GUIDE_PICTURES=1 takes the pictures afresh into the source tree.
TEST_F(ProgramTest, TheGuidesPicturesShowTheEditPanelsAsTheyAre)
{
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    struct Picture
    {
        const char* name;
        Area tile;
    };
    const Picture pictures[] = {{"EncoderPanel", kFirstEncoderTile},
                                {"ButtonPanel", kFirstPushButtonTile},
                                {"PadPanel", kFirstPadTile},
                                {"ZonePanel", kFirstZoneTile}};
    for (const Picture& picture : pictures)
    {
        const std::vector<std::uint32_t> before = Settled();
        mProbe.Click(mWindow, picture.tile.x + picture.tile.width / 2,
                     picture.tile.y + picture.tile.height / 2);
        ASSERT_TRUE(WaitForChange(before, kEditPanelArea)) << picture.name;
        const std::vector<std::uint32_t> shown = Cut(Settled(), kEditPanelArea);
        const std::string file = std::string(QZ_GUIDE_PICTURES) + "/" + picture.name + ".png";
        if (std::getenv("QZ_WRITE_GUIDE_PICTURES") != nullptr)
        {
            WritePng(file, shown, kEditPanelArea.width, kEditPanelArea.height);
        }
        const std::vector<std::uint32_t> expected =
            ReadPng(file, kEditPanelArea.width, kEditPanelArea.height);
        ASSERT_EQ(expected.size(), shown.size()) << file;
        EXPECT_LT(CountDifferent(shown, expected, kEditPanelArea.width,
                                 {0, 0, kEditPanelArea.width, kEditPanelArea.height}),
                  static_cast<std::size_t>(kEditPanelArea.width * kEditPanelArea.height / 100))
            << picture.name
            << ": run the test with QZ_WRITE_GUIDE_PICTURES=1 after a change "
               "of the panels' looks";
    }
    ExpectClosesWithZero(child);
}

namespace
{

// A connection to the running instance's hand-over socket that says nothing.
int ConnectSilently(const std::string& socketPath)
{
    const int connection = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof(address.sun_path) - 1);
    EXPECT_EQ(::connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    return connection;
}

// The process's resident size in KiB (VmRSS).
long ResidentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.starts_with("VmRSS:"))
        {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

} // namespace

// Connections that stay silent, and a flood of hand-overs while the desktop's file dialog holds
// the user-interface thread, neither stop a second start nor grow the running program without
// bound; the program still closes normally afterwards. While the dialog is open the loop answers
// second starts, their texts waiting for it to close; past what may wait, texts are dropped
// unanswered.
TEST_F(ProgramTest, IdleConnectionsAndAFloodOfHandOversLeaveTheRunningInstanceServing)
{
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    const std::string socketPath = Runtime() + "/" + kInstanceName + ".socket";
    std::vector<int> idle;
    for (int i = 0; i < 8; ++i)
    {
        idle.push_back(ConnectSilently(socketPath));
    }
    const ProcessResult second = Wait(Spawn(QZ_EDITOR_PROGRAM, {"-second"}));
    EXPECT_EQ(second.exitCode, 0) << second.errors;
    for (const int connection : idle)
    {
        ::close(connection);
    }

    ASSERT_NE(OpenSaveDialog(), 0u);
    const ProcessResult duringDialog = Wait(Spawn(QZ_EDITOR_PROGRAM, {"-during-the-dialog"}));
    EXPECT_EQ(duringDialog.exitCode, 0) << duringDialog.errors;
    const long before = ResidentKiB(child);
    const std::string line(SingleInstance::kMaxCommandLineBytes - 1, 'f');
    SingleInstance sender(Runtime(), kInstanceName);
    std::size_t delivered = 0;
    for (int i = 0; i < 1000; ++i)
    {
        delivered +=
            sender.HandOver(line, std::chrono::milliseconds(20)) == HandOverResult::Delivered;
    }
    const long after = ResidentKiB(child);
    EXPECT_LE(delivered, InstanceListener::kMaxQueuedBytes / line.size());
    std::printf("resident size: %ld MiB before, %ld MiB after 1000 hand-overs of 1 MiB\n",
                before / 1024, after / 1024);
    // Unbounded, the queue alone would hold a gigabyte; the sanitizer keeps freed memory too.
    EXPECT_LT(after - before, 512L * 1024);
    EXPECT_TRUE(TakeSteps(mDisplay, "answer 'Select Save Location' Escape"));
    const ProcessResult closed = CloseAndWait(child);
    EXPECT_EQ(closed.exitCode, 0) << closed.errors;
    EXPECT_NE(closed.errors.find("dropping further ones"), std::string::npos) << closed.errors;
}

// Starting the editor again shows the running one: under a window manager its minimised main
// window comes back with its open dialog, which is in front and active.
TEST_F(ProgramTest, ASecondStartRestoresAndRaisesTheRunningWindowAndItsDialog)
{
    if (std::system("command -v openbox >/dev/null") != 0)
    {
        GTEST_SKIP() << "openbox is not installed";
    }
    setenv("DISPLAY", mDisplay.c_str(), 1);
    const pid_t manager = Spawn("/usr/bin/openbox", {});
    const pid_t child = Spawn(QZ_EDITOR_PROGRAM, {});
    unsetenv("DISPLAY");
    ASSERT_GT(manager, 0);
    // The window manager frames the window, so it is found by its title rather than among the
    // top-level windows.
    mWindow = WaitForWindowTitled(mDisplay, "Tarn 61 Vidida Editor");
    if (mWindow == 0)
    {
        ::kill(child, SIGKILL);
        ::kill(manager, SIGKILL);
        FAIL() << Wait(child).errors;
    }
    const std::string window = std::to_string(mWindow);
    const std::string about = kAboutTitle;
    // Help, then its About item, until the About box shows.
    ASSERT_TRUE(TakeSteps(mDisplay, "for t in $(seq 10); do xdotool mousemove --window " + window +
                                        " 90 11 click 1 sleep 0.3 mousemove --window " + window +
                                        " 140 55 click 1 sleep 0.3; shown '" + about +
                                        "' && exit 0; done; exit 1"));
    const std::string dialog = std::to_string(WaitForWindowTitled(mDisplay, about));
    const std::string viewable = "viewable() { for w in " + window + " " + dialog +
                                 "; do xwininfo -id $w | grep -q 'Map State: IsViewable' || "
                                 "return 1; done; }\n";
    ASSERT_TRUE(TakeSteps(mDisplay, viewable + "xdotool windowminimize --sync " + window +
                                        "\nfor t in $(seq 100); do viewable || exit 0; sleep "
                                        "0.05; done; exit 1"));
    const ProcessResult second = Wait(Spawn(QZ_EDITOR_PROGRAM, {"-second"}));
    EXPECT_EQ(second.exitCode, 0) << second.errors;
    const std::string dialogHex = [&]
    {
        char text[32];
        std::snprintf(text, sizeof text, "0x%lx", std::stoul(dialog));
        return std::string(text);
    }();
    EXPECT_TRUE(TakeSteps(mDisplay, viewable +
                                        "for t in $(seq 200); do viewable && [ \"$(xdotool "
                                        "getactivewindow)\" = " +
                                        dialog +
                                        " ] && xprop -root _NET_CLIENT_LIST_STACKING | grep -q '" +
                                        dialogHex + "$' && exit 0; sleep 0.05; done; exit 1"));
    CloseDialog(std::stoul(dialog), about);
    ExpectClosesWithZero(child);
    ::kill(manager, SIGTERM);
    ::waitpid(manager, nullptr, 0);
}

// Without a window manager the keyboard follows the program's front window: the About box while
// it is open, and the main window again once it closes, so that its hot keys work.
TEST_F(ProgramTest, WithoutAWindowManagerTheKeyboardComesBackToTheMainWindow)
{
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    ChooseFromMenu(kHelpTitleX, kAboutRowY);
    ASSERT_NE(WaitForWindowTitled(mDisplay, kAboutTitle), 0u);
    // Pressed wherever the keyboard is, as a person's keys are.
    ASSERT_TRUE(TakeSteps(mDisplay, std::string("xdotool key Escape && gone '") + kAboutTitle +
                                        "' && xdotool key ctrl+o"));
    const unsigned long chooser = WaitForWindowTitled(mDisplay, "Select Vidida File");
    EXPECT_NE(chooser, 0u) << "Ctrl+O after the About box opens nothing";
    if (chooser != 0)
    {
        CloseDialog(chooser, "Select Vidida File");
    }
    ExpectClosesWithZero(child);
}

// A window the window manager starts minimised, by a rule of its own, stays minimised: the editor
// does not ask for it again.
TEST_F(ProgramTest, AMainWindowTheManagerStartsMinimisedStaysSo)
{
    ASSERT_GT(StartWindowManager(R"(<openbox_config xmlns="http://openbox.org/3.4/rc">
  <applications><application class="*" type="normal"><iconic>yes</iconic></application>
  </applications></openbox_config>)"),
              0);
    setenv("DISPLAY", mDisplay.c_str(), 1);
    const pid_t child = Spawn(QZ_EDITOR_PROGRAM, {});
    unsetenv("DISPLAY");
    constexpr long kIconic = 3;
    mWindow = WaitForWindowTitled(mDisplay, "Tarn 61 Vidida Editor", false);
    ASSERT_NE(mWindow, 0u) << Kill(child).errors;
    ASSERT_TRUE(
        WalkSupport::WaitFor([&] { return mProbe.GetManagedState(mWindow) == kIconic; }, 20000))
        << "the manager never took the window in minimised";
    std::this_thread::sleep_for(std::chrono::seconds(4));
    EXPECT_EQ(mProbe.GetManagedState(mWindow), kIconic) << "the editor took the window out of it";
    ExpectClosesWithZero(child);
}

// Started again from another desktop, the running editor asks the window manager for its window
// once and leaves it where the manager keeps it: its user-interface thread never stops answering
// for more than a tenth of a second, and then rests (at most ten wake-ups in five seconds).
TEST_F(ProgramTest, ASecondStartFromAnotherDesktopLeavesTheRunningEditorAtRest)
{
    ASSERT_GT(StartWindowManager(R"(<openbox_config xmlns="http://openbox.org/3.4/rc">
  <desktops><number>2</number></desktops></openbox_config>)"),
              0);
    const pid_t child = Launch();
    ASSERT_NE(mWindow, 0u) << Wait(child).errors;
    ASSERT_TRUE(TakeSteps(mDisplay, "xdotool mousemove 1279 1023 set_desktop 1"));
    ASSERT_TRUE(WalkSupport::WaitFor([&] { return mProbe.FindWindow(child) == 0; }))
        << "the window stays on the desktop shown";
    const pid_t second = Spawn(QZ_EDITOR_PROGRAM, {"-second"}, "second-");
    int slowest = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < until)
    {
        const int took = mProbe.Ping(mWindow, 5000);
        slowest = took < 0 ? 5000 : std::max(slowest, took);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const ProcessResult handedOver = Wait(second, "second-");
    EXPECT_EQ(handedOver.exitCode, 0) << handedOver.errors;
    EXPECT_LE(slowest, 100) << "the user-interface thread stalled";
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long before = MainThreadSleeps(child);
    std::this_thread::sleep_for(std::chrono::seconds(5));
    const long after = MainThreadSleeps(child);
    ASSERT_GE(before, 0);
    EXPECT_LE(after - before, 10);
    std::printf("slowest answer %d ms, %ld wake-ups in 5 s\n", slowest, after - before);
    ExpectClosesWithZero(child);
}
