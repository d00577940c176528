// A peer on the virtual MIDI bus sends arbitrary bytes, in arbitrary pieces, to a capture port of
// the MIDI service: through the driver's input parser (status bytes, running status, real-time
// bytes, System Exclusive written into the port's buffers) into the port's message assembly.
//
// The bus delivers inline, so each piece has gone the whole way, parser, service and receiver,
// before its send returns: an input costs no thread hand-over and no waiting.
//
// Every whole System Exclusive message of the input comes out exactly once and in order, and no
// other long message does; every short message is a status byte with its data bytes, and every
// real-time byte comes out on its own. A closing message ends each input, so that the parser and
// the assembly start the next one as new.
//
// Input: records of one length byte L, then min(L + 1, rest) bytes sent as one piece.
#include "Platform/Midi/VirtualMidiDriver.h"
#include "Platform/Midi/fuzz/WireFeed.h"
#include "QZFramework/Midi/MidiComm.h"
#include "QZFramework/Midi/MidiSysExAssembly.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <cstdio>

using Platform::Fuzzing::Bytes;

namespace
{

constexpr const char* kPeerName = "Fuzz Peer";
const Bytes kClosingMessage = {0xF0, 0x7D, 0x46, 0x75, 0xF7};

class Receiver : public QZ::LNotificationClient
{
public:
    void ReceiveNotification(const QZ::RCPtr<QZ::LNotificationDistributor>&,
                             const QZ::RCPtr<QZ::LNotification>& notification) override
    {
        const auto data = QZ::RCPtr<QZ::LMidiCaptureNotificationData>::DynamicCastFrom(
            notification->GetPayload());
        if (data.IsNull())
        {
            return;
        }
        Bytes bytes(data->GetData().Begin(), data->GetData().End());
        (bytes.empty() || bytes[0] == 0xF0 ? mLong : mShort).push_back(std::move(bytes));
    }

    // What came in since the last call.
    void Take(std::vector<Bytes>& longMessages, std::vector<Bytes>& shortMessages)
    {
        longMessages.swap(mLong);
        shortMessages.swap(mShort);
        mLong.clear();
        mShort.clear();
    }

private:
    std::vector<Bytes> mLong;
    std::vector<Bytes> mShort;
};

void IgnoreDone(Platform::MidiOutput*, Platform::MidiOutputMessage, void*, std::uintptr_t,
                std::uintptr_t)
{
}

std::shared_ptr<Platform::VirtualMidiDriver> MakeInlineBus()
{
    auto driver = std::make_shared<Platform::VirtualMidiDriver>();
    driver->SetInlineDelivery(true);
    return driver;
}

// The bus, the peer's output, a service with the port open and a receiver of what it captures;
// made once and kept for the whole run.
struct Rig
{
    Rig()
    {
        if (QZ::Failed(driver->PublishOutput(kPeerName, &IgnoreDone, nullptr, peer)) ||
            receiver->Subscribe(QZ::RCPtr<QZ::LNotificationDistributor>(comm),
                                QZ::NID_MIDI_DATA_CAPTURED, 0) == nullptr ||
            QZ::Failed(comm->GetCapturePort(QZ::WideString(kPeerName), port)))
        {
            std::abort();
        }
    }

    std::shared_ptr<Platform::VirtualMidiDriver> driver = MakeInlineBus();
    std::unique_ptr<Platform::MidiOutput> peer;
    QZ::RCPtr<QZ::LMidiComm> comm{new QZ::LMidiComm(driver)};
    QZ::RCPtr<Receiver> receiver{new Receiver()};
    QZ::RCPtr<QZ::LRefCountedObject> port;
};

// The service passes on every short message whole: its status byte and the data bytes its kind takes.
bool IsWellFormedShortMessage(const Bytes& message)
{
    if (message.empty() || message[0] < 0x80 || message[0] == 0xF0 || message[0] == 0xF7 ||
        message.size() != Platform::GetShortMessageLength(message[0]))
    {
        return false;
    }
    return std::all_of(message.begin() + 1, message.end(), [](std::uint8_t b) { return b < 0x80; });
}

std::size_t CountRealTimeBytes(const std::vector<Bytes>& pieces)
{
    std::size_t count = 0;
    for (const Bytes& piece : pieces)
    {
        count +=
            std::count_if(piece.begin(), piece.end(), [](std::uint8_t b) { return b >= 0xF8; });
    }
    return count;
}

void Fail(const char* what)
{
    std::fprintf(stderr, "MidiInputFuzzer: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Rig* const rig = new Rig();
    std::vector<Bytes> pieces = Platform::Fuzzing::CutIntoPieces(data, size);
    pieces.push_back(kClosingMessage);
    for (const Bytes& piece : pieces)
    {
        Platform::Fuzzing::SendPiece(*rig->peer, piece);
    }
    const std::vector<Bytes> expected = Platform::Fuzzing::GetWholeSysEx(
        pieces, static_cast<std::size_t>(QZ::LMidiSysExAssembly::kMaxMessageLength));
    std::vector<Bytes> longMessages;
    std::vector<Bytes> shortMessages;
    rig->receiver->Take(longMessages, shortMessages);
    if (longMessages.size() < expected.size())
    {
        Fail("a whole System Exclusive message was lost");
    }
    if (longMessages != expected)
    {
        Fail("the long messages differ from the whole System Exclusive messages sent");
    }
    if (!std::all_of(shortMessages.begin(), shortMessages.end(), IsWellFormedShortMessage) ||
        static_cast<std::size_t>(std::count_if(shortMessages.begin(), shortMessages.end(),
                                               [](const Bytes& m) { return m[0] >= 0xF8; })) !=
            CountRealTimeBytes(pieces))
    {
        Fail("a short or real-time message is malformed or missing");
    }
    return 0;
}
