#include "QZFramework/System/DebugStreams.h"

#include "QZFramework/System/UdpDebugSender.h"
#include "QZFramework/System/tests/DebugTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

#include <fcntl.h>

namespace QZ
{
namespace
{

class DebugStreamsToStderr : public testing::Test
{
protected:
    // A refused port switches UDP off, whatever an earlier test set.
    void SetUp() override
    {
        EXPECT_EQ(DebugStreams::SetUdpTarget(nullptr, DebugStreams::NoUdpPort), E_INVALIDARG);
    }
};

TEST_F(DebugStreamsToStderr, FlushHandsOnTheHeldText)
{
    const StderrCapture capture;
    DebugStreams::Narrow() << "abc";
    EXPECT_EQ(capture.GetText(), "");
    DebugStreams::Narrow() << std::flush;
    EXPECT_EQ(capture.GetText(), "abc");
    DebugStreams::Narrow() << std::flush;
    EXPECT_EQ(capture.GetText(), "abc");
}

// Text after an embedded NUL is dropped; wide text arrives as UTF-8, with unpaired surrogates as
// replacement characters; an ending thread hands on its pending text.
TEST_F(DebugStreamsToStderr, TextArrivesAsUtf8UpToAnyNul)
{
    static const char16_t broken[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    const struct
    {
        void (*write)();
        std::string text;
    } cases[] = {
        {[] { DebugStreams::Narrow().write("ab\0cd", 5) << std::flush; }, "ab"},
        {[] { DebugStreams::Wide() << L"Grüße € " << 42 << L' ' << WideString(u"𝄞") << std::endl; },
         "Grüße € 42 𝄞\n"},
        {[] { DebugStreams::Wide() << WideString(broken) << std::flush; },
         "a\xEF\xBF\xBD" "b\xEF\xBF\xBD"},
        {[] { std::thread([] { DebugStreams::Narrow() << "unflushed tail"; }).join(); },
         "unflushed tail"},
    };
    for (const auto& c : cases)
    {
        const StderrCapture capture;
        c.write();
        EXPECT_EQ(capture.GetText(), c.text);
    }
}

TEST_F(DebugStreamsToStderr, ConsoleWithoutTerminalWritesToStderr)
{
    const int terminal = ::open("/dev/tty", O_WRONLY | O_NOCTTY);
    if (terminal >= 0)
    {
        ::close(terminal);
        GTEST_SKIP() << "the process has a terminal, which would keep the console text";
    }
    DebugStreams::OpenConsole();
    const StderrCapture capture;
    DebugStreams::Narrow() << "console" << std::endl;
    EXPECT_EQ(capture.GetText(), "console\n");
}

TEST(UdpDebugSender, FirstSendAnnouncesTheAddressThenSendsTheText)
{
    const UdpReceiver receiver("127.0.0.1");
    UdpDebugSender sender;
    sender.Send("127.0.0.1", receiver.GetPort(), "hello");
    EXPECT_EQ(receiver.Receive(), "*** APPLICATION Launched on ");
    EXPECT_EQ(receiver.Receive(), "127.0.0.1");
    EXPECT_EQ(receiver.Receive(), "***\n");
    EXPECT_EQ(receiver.Receive(), "hello");
    EXPECT_EQ(sender.GetAddressText(), "127.0.0.1");
}

TEST(UdpDebugSender, FirstSendFixesTheTarget)
{
    const UdpReceiver receiver("127.0.0.1");
    UdpDebugSender sender;
    sender.Send("127.0.0.1", receiver.GetPort(), nullptr);
    for (int i = 0; i < 3; ++i)
    {
        ASSERT_TRUE(receiver.Receive());
    }
    sender.Send("192.0.2.1", receiver.GetPort() == 9 ? 10 : 9, "");
    sender.Send("192.0.2.1", receiver.GetPort() == 9 ? 10 : 9, "still here");
    EXPECT_EQ(receiver.Receive(), "still here");
}

TEST(UdpDebugSender, PortOutsideTheRangeSetsNothingUp)
{
    UdpDebugSender sender;
    sender.Send("127.0.0.1", 0, "x");
    sender.Send("127.0.0.1", 65536, "x");
    sender.Send("127.0.0.1", -1, "x");
    EXPECT_EQ(sender.GetAddressText(), "");
}

// Without a host, or with one that does not resolve, the sender announces this computer's
// address and sends there.
TEST(UdpDebugSender, WithoutAUsableHostThisComputersAddressIsUsed)
{
    for (const char* host : {static_cast<const char*>(nullptr), "no-such-host.invalid"})
    {
        SCOPED_TRACE(host != nullptr ? host : "no host");
        const UdpReceiver receiver;
        UdpDebugSender sender;
        sender.Send(host, receiver.GetPort(), "from here");
        EXPECT_EQ(receiver.Receive(), "*** APPLICATION Launched on ");
        const std::optional<std::string> address = receiver.Receive();
        ASSERT_TRUE(address);
        EXPECT_EQ(*address, sender.GetAddressText());
        EXPECT_EQ(receiver.Receive(), "***\n");
        EXPECT_EQ(receiver.Receive(), "from here");
    }
}

// The process has one UDP target, fixed by its first datagram, so this is one test.
TEST(DebugStreamsOverUdp, FlushesArriveAsDatagramsOfAtMost1023Characters)
{
    const UdpReceiver receiver("127.0.0.1");
    ASSERT_EQ(DebugStreams::SetUdpTarget("127.0.0.1", receiver.GetPort()), S_OK);

    DebugStreams::Narrow() << std::flush;
    DebugStreams::Narrow() << std::string(2500, 'x') << std::flush;
    EXPECT_EQ(receiver.Receive(), "*** APPLICATION Launched on ");
    EXPECT_EQ(receiver.Receive(), "127.0.0.1");
    EXPECT_EQ(receiver.Receive(), "***\n");
    EXPECT_EQ(receiver.Receive(), std::string(1023, 'x'));
    EXPECT_EQ(receiver.Receive(), std::string(1023, 'x'));
    EXPECT_EQ(receiver.Receive(), std::string(454, 'x'));

    DebugStreams::Wide() << std::wstring(1030, L'é') << std::endl;
    std::string accents;
    for (int i = 0; i < 1023; ++i)
    {
        accents += "é";
    }
    EXPECT_EQ(receiver.Receive(), accents);
    EXPECT_EQ(receiver.Receive(), "ééééééé\n");

    std::thread([] { DebugStreams::Narrow() << "other thread" << std::endl; }).join();
    EXPECT_EQ(receiver.Receive(), "other thread\n");

    EXPECT_EQ(DebugStreams::SetUdpTarget(nullptr, 65536), E_INVALIDARG);
    const StderrCapture capture;
    DebugStreams::Narrow() << "back on stderr" << std::flush;
    EXPECT_EQ(capture.GetText(), "back on stderr");
    EXPECT_EQ(receiver.Receive(200), std::nullopt);
}

} // namespace
} // namespace QZ
