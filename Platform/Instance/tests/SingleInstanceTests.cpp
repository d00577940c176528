#include "Platform/Instance/SingleInstance.h"

#include "Platform/Instance/InstanceListener.h"
#include "Platform/Shell/SpecialFolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace QZ;
using namespace std::chrono_literals;

namespace
{

constexpr const char* kName = "Korvane_Tarn 61 Vidida EditorPrevent";

class SingleInstanceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        // Short: the socket path must fit a socket address.
        static int serial = 0;
        mFolder = std::filesystem::temp_directory_path() /
                  ("in-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::create_directories(mFolder);
    }
    void TearDown() override { std::filesystem::remove_all(mFolder); }

    SingleInstance Make() const { return SingleInstance(mFolder.string(), kName); }

    // A connected raw client, for speaking the hand-over by hand.
    int Connect(const SingleInstance& instance) const
    {
        const int connection = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, instance.GetSocketPath().c_str());
        EXPECT_EQ(::connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        return connection;
    }

    std::filesystem::path mFolder;
};

} // namespace

TEST_F(SingleInstanceTest, OnlyOneClaimHoldsTheLockUntilItsHolderGoesAway)
{
    auto first = std::make_unique<SingleInstance>(mFolder.string(), kName);
    EXPECT_EQ(first->Claim(), InstanceRole::First);
    EXPECT_EQ(Make().Claim(), InstanceRole::Second);
    first.reset();
    EXPECT_EQ(Make().Claim(), InstanceRole::First);
    // A folder where no lock can be made lets the program run on its own.
    EXPECT_EQ(SingleInstance((mFolder / "missing").string(), kName).Claim(), InstanceRole::First);
}

TEST_F(SingleInstanceTest, CommandLineReachesTheFirstInstanceOnce)
{
    SingleInstance first = Make();
    ASSERT_EQ(first.Claim(), InstanceRole::First);
    // A socket file left by a dead instance is replaced.
    std::ofstream(first.GetSocketPath()) << "stale";
    std::atomic<int> wakes{0};
    ASSERT_TRUE(first.Listen([&] { ++wakes; }));

    const std::string line = "/usr/bin/editor \"/home/ü/Presets/Grüße – 夜.Tarn61RededoVuvuva\"";
    SingleInstance second = Make();
    ASSERT_EQ(second.Claim(), InstanceRole::Second);
    EXPECT_EQ(second.HandOver(line), HandOverResult::Delivered);
    EXPECT_EQ(second.HandOver("editor -second"), HandOverResult::Delivered);
    EXPECT_EQ(first.TakeCommandLines(), (std::vector<std::string>{line, "editor -second"}));
    EXPECT_TRUE(first.TakeCommandLines().empty());
    EXPECT_EQ(wakes.load(), 2);
}

TEST_F(SingleInstanceTest, MalformedHandOversAreDroppedUnanswered)
{
    SingleInstance first = Make();
    ASSERT_EQ(first.Claim(), InstanceRole::First);
    ASSERT_TRUE(first.Listen(nullptr));
    const std::string tooLong(SingleInstance::kMaxCommandLineBytes + 2, 'x');
    for (const std::string& bytes : {std::string("no terminating zero"), std::string(), tooLong})
    {
        const int connection = Connect(first);
        static_cast<void>(::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL));
        ::shutdown(connection, SHUT_WR);
        char answer = 0;
        EXPECT_LE(::recv(connection, &answer, 1, 0), 0) << bytes.size();
        ::close(connection);
    }
    EXPECT_TRUE(first.TakeCommandLines().empty());
    // The listener goes on serving after them.
    EXPECT_EQ(Make().HandOver("after"), HandOverResult::Delivered);
    EXPECT_EQ(first.TakeCommandLines(), std::vector<std::string>{"after"});
}

TEST_F(SingleInstanceTest, SilentOrSlowConnectionsHoldUpNoHandOver)
{
    SingleInstance first = Make();
    ASSERT_EQ(first.Claim(), InstanceRole::First);
    ASSERT_TRUE(first.Listen(nullptr));
    for (const std::size_t held : {std::size_t{8}, InstanceListener::kMaxOpenConnections + 8})
    {
        std::vector<int> connections;
        for (std::size_t i = 0; i < held; ++i)
        {
            connections.push_back(Connect(first));
            // Every other one trickles a first byte and then says nothing more.
            if (i % 2 == 1)
            {
                static_cast<void>(::send(connections.back(), "e", 1, MSG_NOSIGNAL));
            }
        }
        EXPECT_EQ(Make().HandOver("editor -real", 1500ms), HandOverResult::Delivered) << held;
        EXPECT_EQ(first.TakeCommandLines(), std::vector<std::string>{"editor -real"});
        for (const int connection : connections)
        {
            ::close(connection);
        }
    }
}

TEST_F(SingleInstanceTest, WaitingCommandLinesAreCappedInCountAndSize)
{
    SingleInstance first = Make();
    ASSERT_EQ(first.Claim(), InstanceRole::First);
    std::atomic<int> wakes{0};
    ASSERT_TRUE(first.Listen([&] { ++wakes; }));
    const std::string large(SingleInstance::kMaxCommandLineBytes, 'l');
    const struct
    {
        std::string line;
        std::size_t sent;
        std::size_t kept;
    } cases[] = {
        {"editor -small", InstanceListener::kMaxQueuedCommandLines + 5,
         InstanceListener::kMaxQueuedCommandLines},
        {large, InstanceListener::kMaxQueuedBytes / large.size() + 2,
         InstanceListener::kMaxQueuedBytes / large.size()},
    };
    for (const auto& c : cases)
    {
        wakes = 0;
        testing::internal::CaptureStderr();
        // Every one is answered, so that no second start reports a running instance as hung.
        for (std::size_t i = 0; i < c.sent; ++i)
        {
            EXPECT_EQ(Make().HandOver(c.line), HandOverResult::Delivered);
        }
        const std::string errors = testing::internal::GetCapturedStderr();
        EXPECT_EQ(first.TakeCommandLines(), std::vector<std::string>(c.kept, c.line));
        EXPECT_EQ(static_cast<std::size_t>(wakes.load()), c.kept);
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_NE(errors.find("dropping"), std::string::npos) << errors;
    }
    // Too long for any hand-over: refused before anything is sent.
    EXPECT_EQ(Make().HandOver(large + "x"), HandOverResult::TooLong);
    EXPECT_TRUE(first.TakeCommandLines().empty());
}

TEST_F(SingleInstanceTest, HandOverGivesUpWhenTheFirstDoesNotAnswer)
{
    SingleInstance first = Make();
    ASSERT_EQ(first.Claim(), InstanceRole::First);
    SingleInstance second = Make();
    // Nobody listens yet.
    EXPECT_EQ(second.HandOver("editor", 200ms), HandOverResult::NoAnswer);

    // A first instance that accepts connections but never answers (hung).
    const int hung = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, first.GetSocketPath().c_str());
    ASSERT_EQ(::bind(hung, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(hung, 8), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(second.HandOver("editor", 300ms), HandOverResult::NoAnswer);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    ::close(hung);
}

TEST_F(SingleInstanceTest, AKilledFirstInstanceDoesNotBlockTheNextStart)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        SingleInstance holder = Make();
        const char role = holder.Claim() == InstanceRole::First ? 'F' : 'S';
        static_cast<void>(::write(ready[1], &role, 1));
        ::pause();
        ::_exit(0);
    }
    char role = 0;
    ASSERT_EQ(::read(ready[0], &role, 1), 1);
    EXPECT_EQ(role, 'F');
    EXPECT_EQ(Make().Claim(), InstanceRole::Second);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(Make().Claim(), InstanceRole::First);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(SingleInstanceFolder, RuntimeFolderIsThisUsersPrivateFolderOrTheFallback)
{
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = saved != nullptr ? saved : "";
    const std::filesystem::path shared =
        std::filesystem::temp_directory_path() / ("rt-" + std::to_string(::getpid()));
    std::filesystem::create_directories(shared / "private");
    std::filesystem::permissions(shared, std::filesystem::perms::all);
    std::filesystem::permissions(shared / "private", std::filesystem::perms::owner_all);
    std::filesystem::create_directories(shared / "open");
    std::filesystem::permissions(shared / "open", std::filesystem::perms::owner_all |
                                                      std::filesystem::perms::group_read |
                                                      std::filesystem::perms::group_exec);
    std::filesystem::create_symlink(shared / "private", shared / "link");
    // Another user's private folder with a fake lock in it, made as that user would.
    const bool asNobody =
        ::getuid() == 0 &&
        std::system(("setpriv --reuid=nobody --regid=nogroup --clear-groups sh -c "
                     "'umask 0; mkdir -m 0700 " +
                     (shared / "theirs").string() + " && touch " +
                     (shared / "theirs" / "x.lock").string() + "'")
                        .c_str()) == 0;
    const std::string fallback = Shell::GetFallbackFolder();
    const struct
    {
        std::string variable;
        std::string folder;
    } cases[] = {
        {(shared / "private").string(), (shared / "private").string()},
        {"relative", fallback},
        {shared.string(), fallback},
        {(shared / "open").string(), fallback},
        {(shared / "link").string(), fallback},
        {"/", fallback},
        {asNobody ? (shared / "theirs").string() : "/", fallback},
    };
    for (const auto& c : cases)
    {
        setenv("XDG_RUNTIME_DIR", c.variable.c_str(), 1);
        EXPECT_EQ(SingleInstance::GetRuntimeFolder(), c.folder) << c.variable;
    }
    EXPECT_EQ(std::filesystem::status(fallback).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    saved != nullptr ? setenv("XDG_RUNTIME_DIR", restore.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
    std::filesystem::remove_all(shared);
}
