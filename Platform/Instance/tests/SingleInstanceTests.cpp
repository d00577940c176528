#include "Platform/Instance/SingleInstance.h"

#include <gtest/gtest.h>

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

TEST(SingleInstanceFolder, RuntimeFolderIsAbsoluteAndPrivateWithoutXdg)
{
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string restore = saved != nullptr ? saved : "";
    setenv("XDG_RUNTIME_DIR", "relative", 1);
    const std::string folder = SingleInstance::GetRuntimeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(std::filesystem::status(folder).permissions() & std::filesystem::perms::group_all,
              std::filesystem::perms::none);
    setenv("XDG_RUNTIME_DIR", "/", 1);
    EXPECT_EQ(SingleInstance::GetRuntimeFolder(), "/");
    saved != nullptr ? setenv("XDG_RUNTIME_DIR", restore.c_str(), 1) : unsetenv("XDG_RUNTIME_DIR");
}
