#include "QZFramework/Midi/MidiSysExAssembly.h"

#include <gtest/gtest.h>

#include <vector>

namespace QZ
{
namespace
{

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t kBuffer = 256;

Bytes SysEx(std::size_t length)
{
    Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i)
    {
        bytes[i] = static_cast<std::uint8_t>(i % 0x80);
    }
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

Bytes BytesOf(const RCPtr<LMidiCaptureNotificationData>& message)
{
    return Bytes(message->GetData().Begin(), message->GetData().End());
}

// Feeds the message in buffer-sized chunks as the driver hands them back; returns each result.
std::vector<RCPtr<LMidiCaptureNotificationData>> Feed(LMidiSysExAssembly& assembly,
                                                      const Bytes& bytes)
{
    std::vector<RCPtr<LMidiCaptureNotificationData>> results;
    for (std::size_t offset = 0; offset < bytes.size(); offset += kBuffer)
    {
        const auto length =
            static_cast<std::uint32_t>(std::min<std::size_t>(kBuffer, bytes.size() - offset));
        const std::uint8_t* chunk = bytes.data() + offset;
        results.push_back(assembly.Add(chunk, length,
                                       LMidiSysExAssembly::IsChunkComplete(chunk, length, kBuffer),
                                       u"MIDIIN4 (Tarn 61)"));
    }
    return results;
}

TEST(SysExAssembly, ShortFinalBufferCompletesMessage)
{
    LMidiSysExAssembly assembly;
    const Bytes message = SysEx(1350);
    const auto results = Feed(assembly, message);
    ASSERT_EQ(results.size(), 6u);
    for (std::size_t i = 0; i < 5; ++i)
    {
        EXPECT_TRUE(results[i].IsNull());
    }
    ASSERT_FALSE(results[5].IsNull());
    EXPECT_EQ(BytesOf(results[5]), message);
    EXPECT_EQ(results[5]->GetTimestamp(), 0u);
    EXPECT_TRUE(results[5]->GetPortName() == u"MIDIIN4 (Tarn 61)");
    EXPECT_FALSE(assembly.IsPending());
}

TEST(SysExAssembly, FullBufferEndingInF7CompletesMessage)
{
    LMidiSysExAssembly assembly;
    auto results = Feed(assembly, SysEx(256));
    ASSERT_FALSE(results[0].IsNull());
    EXPECT_EQ(results[0]->GetData().GetCount(), 256);
    results = Feed(assembly, SysEx(512));
    EXPECT_TRUE(results[0].IsNull());
    ASSERT_FALSE(results[1].IsNull());
    EXPECT_EQ(BytesOf(results[1]), SysEx(512));
}

TEST(SysExAssembly, ChunkBeginningWithF0StartsAfreshAndDropsTheCutMessage)
{
    LMidiSysExAssembly assembly;
    const Bytes cut = SysEx(600);
    EXPECT_TRUE(assembly.Add(cut.data(), kBuffer, false, u"p").IsNull());
    const Bytes whole = SysEx(10);
    const auto result = assembly.Add(whole.data(), 10, true, u"p");
    ASSERT_FALSE(result.IsNull());
    EXPECT_EQ(BytesOf(result), whole);
}

TEST(SysExAssembly, ChunkThatNeitherBeginsNorContinuesIsDropped)
{
    LMidiSysExAssembly assembly;
    const Bytes tail = {0x01, 0x02, 0xF7};
    EXPECT_TRUE(assembly.Add(tail.data(), 3, true, u"p").IsNull());
    const Bytes middle(kBuffer, 0x05);
    EXPECT_TRUE(assembly.Add(middle.data(), kBuffer, false, u"p").IsNull());
    EXPECT_FALSE(assembly.IsPending());
}

TEST(SysExAssembly, BrokenMessageIsDroppedWithItsTail)
{
    LMidiSysExAssembly assembly;
    const Bytes message = SysEx(600);
    EXPECT_TRUE(assembly.Add(message.data(), kBuffer, false, u"p").IsNull());
    assembly.Drop();
    EXPECT_FALSE(assembly.IsPending());
    EXPECT_TRUE(assembly.Add(message.data() + kBuffer, kBuffer, false, u"p").IsNull());
    EXPECT_TRUE(assembly.Add(message.data() + 2 * kBuffer, 88, true, u"p").IsNull());
}

TEST(SysExAssembly, MessagePast64KiBIsDroppedAndItsTailNeverDelivered)
{
    LMidiSysExAssembly assembly;
    const Bytes message = SysEx(LMidiSysExAssembly::kMaxMessageLength + 100);
    const auto results = Feed(assembly, message);
    for (const auto& result : results)
    {
        EXPECT_TRUE(result.IsNull());
    }
    EXPECT_FALSE(assembly.IsPending());
}

TEST(SysExAssembly, MessageOfExactly64KiBIsDelivered)
{
    LMidiSysExAssembly assembly;
    const auto results = Feed(assembly, SysEx(LMidiSysExAssembly::kMaxMessageLength));
    ASSERT_FALSE(results.back().IsNull());
    EXPECT_EQ(results.back()->GetData().GetCount(), LMidiSysExAssembly::kMaxMessageLength);
}

TEST(SysExAssembly, EmptyChunkChangesNothing)
{
    LMidiSysExAssembly assembly;
    const Bytes message = SysEx(300);
    EXPECT_TRUE(assembly.Add(message.data(), kBuffer, false, u"p").IsNull());
    EXPECT_TRUE(assembly.Add(message.data(), 0, true, u"p").IsNull());
    EXPECT_TRUE(assembly.IsPending());
    const auto result = assembly.Add(message.data() + kBuffer, 44, true, u"p");
    ASSERT_FALSE(result.IsNull());
    EXPECT_EQ(BytesOf(result), message);
}

TEST(SysExAssembly, CompletenessFollowsFillAndLastByte)
{
    const Bytes full(kBuffer, 0x01);
    EXPECT_FALSE(LMidiSysExAssembly::IsChunkComplete(full.data(), kBuffer, kBuffer));
    EXPECT_TRUE(LMidiSysExAssembly::IsChunkComplete(full.data(), kBuffer - 1, kBuffer));
    EXPECT_TRUE(LMidiSysExAssembly::IsChunkComplete(full.data(), 0, kBuffer));
    const Bytes ending = SysEx(kBuffer);
    EXPECT_TRUE(LMidiSysExAssembly::IsChunkComplete(ending.data(), kBuffer, kBuffer));
}

} // namespace
} // namespace QZ
