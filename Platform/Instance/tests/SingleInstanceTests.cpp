#include "Platform/Instance/SingleInstance.h"

#include "Platform/Instance/InstanceListener.h"
#include "Platform/Shell/SpecialFolders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <semaphore>
#include <string>
#include <thread>

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

    // Sends the bytes by hand and ends the stream; what reading the answer gives (0: closed
    // unanswered).
    ssize_t SendByHand(const SingleInstance& instance, const std::string& bytes) const
    {
        const int connection = Connect(instance);
        static_cast<void>(::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL));
        ::shutdown(connection, SHUT_WR);
        char answer = 0;
        const ssize_t read = ::recv(connection, &answer, 1, 0);
        ::close(connection);
        return read;
    }

    // The wake function for the first instance: counts the wakes in mWoken.
    std::function<void()> Wake()
    {
        return [this] { mWoken.release(); };
    }

    // A second start hands the line over while this thread, as the first's user-interface
    // thread, takes the texts once woken (into taken); the second start's result.
    HandOverResult
    HandOverTaken(SingleInstance& first, const std::string& line, std::vector<std::string>& taken,
                  std::chrono::milliseconds timeout = SingleInstance::kHandOverTimeout)
    {
        auto sending =
            std::async(std::launch::async, [&] { return Make().HandOver(line, timeout); });
        taken.clear();
        if (mWoken.try_acquire_for(5s))
        {
            taken = first.TakeCommandLines();
        }
        return sending.get();
    }

    std::filesystem::path mFolder;
    std::counting_semaphore<> mWoken{0};
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
    ASSERT_TRUE(first.Listen(Wake()));
    EXPECT_EQ(Make().Claim(), InstanceRole::Second);

    const std::string line = "/usr/bin/editor \"/home/ü/Presets/Grüße – 夜.Tarn61RededoVuvuva\"";
    std::vector<std::string> taken;
    for (const std::string& sent : {line, std::string("editor -second")})
    {
        EXPECT_EQ(HandOverTaken(first, sent, taken), HandOverResult::Delivered);
        EXPECT_EQ(taken, std::vector<std::string>{sent});
    }
    EXPECT_TRUE(first.TakeCommandLines().empty());
    EXPECT_FALSE(mWoken.try_acquire());
}

TEST_F(SingleInstanceTest, MalformedHandOversAreDroppedUnanswered)
{
    SingleInstance first = Make();
    ASSERT_EQ(first.Claim(), InstanceRole::First);
    ASSERT_TRUE(first.Listen(Wake()));
    const std::string tooLong(SingleInstance::kMaxCommandLineBytes + 2, 'x');
    for (const std::string& bytes : {std::string("no terminating zero"), std::string(), tooLong})
    {
        EXPECT_LE(SendByHand(first, bytes), 0) << bytes.size();
    }
    EXPECT_TRUE(first.TakeCommandLines().empty());
    // The listener goes on serving after them.
    std::vector<std::string> taken;
    EXPECT_EQ(HandOverTaken(first, "after", taken), HandOverResult::Delivered);
    EXPECT_EQ(taken, std::vector<std::string>{"after"});
}

TEST_F(SingleInstanceTest, SilentOrSlowConnectionsHoldUpNoHandOver)
{
    SingleInstance first = Make();
    ASSERT_EQ(first.Claim(), InstanceRole::First);
    ASSERT_TRUE(first.Listen(Wake()));
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
        std::vector<std::string> taken;
        EXPECT_EQ(HandOverTaken(first, "editor -real", taken, 1500ms), HandOverResult::Delivered)
            << held;
        EXPECT_EQ(taken, std::vector<std::string>{"editor -real"});
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
    ASSERT_TRUE(first.Listen(Wake()));
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
        testing::internal::CaptureStderr();
        // Each waits for its answer; its text is queued before the next one is sent.
        std::vector<std::future<HandOverResult>> waiting;
        for (std::size_t i = 0; i < c.kept; ++i)
        {
            waiting.push_back(
                std::async(std::launch::async, [&] { return Make().HandOver(c.line); }));
            ASSERT_TRUE(mWoken.try_acquire_for(5s));
        }
        // Past the cap a text is closed unanswered, so that its start reports no answer.
        for (std::size_t i = c.kept; i < c.sent; ++i)
        {
            EXPECT_EQ(SendByHand(first, c.line + '\0'), 0);
        }
        const std::string errors = testing::internal::GetCapturedStderr();
        const std::vector<std::string> taken = first.TakeCommandLines();
        EXPECT_TRUE(taken == std::vector<std::string>(c.kept, c.line)) << taken.size();
        for (std::future<HandOverResult>& result : waiting)
        {
            EXPECT_EQ(result.get(), HandOverResult::Delivered);
        }
        EXPECT_FALSE(mWoken.try_acquire());
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_NE(errors.find("dropping"), std::string::npos) << errors;
    }
    // Too long for any hand-over: refused before anything is sent.
    EXPECT_EQ(Make().HandOver(large + "x"), HandOverResult::TooLong);
    EXPECT_TRUE(first.TakeCommandLines().empty());
}

// A text is answered, and acted on, only when the user-interface thread takes it (or
// acknowledges it) while its sender still waits and before the connection's deadline.
TEST_F(SingleInstanceTest, AHandOverIsAnsweredOnlyWhenTakenWhileItsSenderWaits)
{
    SingleInstance first = Make();
    ASSERT_EQ(first.Claim(), InstanceRole::First);
    ASSERT_TRUE(first.Listen(Wake()));
    enum class Step
    {
        Take,
        Acknowledge,
        // The user-interface thread does nothing until the sender has given up.
        Nothing,
        TakeAfterTheDeadline,
    };
    const struct
    {
        Step step;
        std::chrono::milliseconds budget;
        HandOverResult result;
        bool taken;
    } cases[] = {
        {Step::Take, SingleInstance::kHandOverTimeout, HandOverResult::Delivered, true},
        {Step::Acknowledge, SingleInstance::kHandOverTimeout, HandOverResult::Delivered, true},
        {Step::Nothing, 300ms, HandOverResult::NoAnswer, false},
        {Step::TakeAfterTheDeadline, InstanceListener::kConnectionDeadline + 1s,
         HandOverResult::NoAnswer, false},
    };
    for (const auto& c : cases)
    {
        const std::string line = "editor -" + std::to_string(static_cast<int>(c.step));
        auto sending =
            std::async(std::launch::async, [&] { return Make().HandOver(line, c.budget); });
        ASSERT_TRUE(mWoken.try_acquire_for(5s));
        const auto woken = std::chrono::steady_clock::now();
        std::vector<std::string> taken;
        if (c.step == Step::Take)
        {
            taken = first.TakeCommandLines();
        }
        else if (c.step == Step::Acknowledge)
        {
            first.AcknowledgeCommandLines();
        }
        else if (c.step == Step::TakeAfterTheDeadline)
        {
            // The deadline counts from the connection, which came before the wake.
            std::this_thread::sleep_until(woken + InstanceListener::kConnectionDeadline);
            taken = first.TakeCommandLines();
        }
        EXPECT_EQ(sending.get(), c.result) << line;
        // What the sender's retries left is not taken either: nobody waits for it.
        for (std::string& later : first.TakeCommandLines())
        {
            taken.push_back(std::move(later));
        }
        EXPECT_EQ(taken, c.taken ? std::vector<std::string>{line} : std::vector<std::string>())
            << line;
        while (mWoken.try_acquire())
        {
        }
    }
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

// A first instance that ends while two starts wait for its answer leaves its lock to one of them;
// the other hands its text to that one, which has the whole wait to answer, however long the
// first kept them waiting.
TEST_F(SingleInstanceTest, AFirstInstanceThatEndsDuringTheWaitLeavesItsLockToOneWaitingStart)
{
    auto first = std::make_unique<SingleInstance>(mFolder.string(), kName);
    ASSERT_EQ(first->Claim(), InstanceRole::First);
    ASSERT_TRUE(first->Listen(Wake()));
    SingleInstance starts[] = {Make(), Make()};
    const std::string lines[] = {"editor -a", "editor -b"};
    std::future<HandOverResult> results[2];
    for (int i = 0; i < 2; ++i)
    {
        results[i] =
            std::async(std::launch::async, [&, i] { return starts[i].HandOver(lines[i]); });
        ASSERT_TRUE(mWoken.try_acquire_for(5s));
    }
    // Ends without answering either, late in their wait.
    std::this_thread::sleep_for(SingleInstance::kHandOverTimeout / 2);
    first.reset();
    int winner = -1;
    for (int tries = 0; winner < 0 && tries < 500; ++tries)
    {
        for (int i = 0; i < 2; ++i)
        {
            winner = results[i].wait_for(10ms) == std::future_status::ready ? i : winner;
        }
    }
    ASSERT_GE(winner, 0) << "neither start took the lock";
    EXPECT_EQ(results[winner].get(), HandOverResult::TookOver);
    EXPECT_EQ(Make().Claim(), InstanceRole::Second);
    ASSERT_TRUE(starts[winner].Listen(Wake()));
    ASSERT_TRUE(mWoken.try_acquire_for(5s));
    // Answered once the first's deadline has passed, as a new editor's start may take that long.
    std::this_thread::sleep_for(SingleInstance::kHandOverTimeout * 3 / 4);
    EXPECT_EQ(starts[winner].TakeCommandLines(), std::vector<std::string>{lines[1 - winner]});
    EXPECT_EQ(results[1 - winner].get(), HandOverResult::Delivered);
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
