// One request-and-reply exchange with the keyboard at a time, and the book of the requests that
// are still owed an answer.
//
// The keyboard answers each request once, in the order the requests reached it, but possibly
// late: a request sent again because its answer was slow is answered twice, and the second answer
// can arrive during a later exchange. So every request is written down with the exchange it
// belongs to, and a reply is matched to the oldest written-down request of its kind (the same
// slot, the same setting); the requests written down before that one were never answered and are
// struck off, and so is every request older than the longest wait of an exchange. A reply is
// taken only when its request belongs to the open exchange: late duplicates and replies nobody
// asked for are dropped.
//
// An exchange's end is final. The capture thread claims a reply under the lock, does its work
// (taking a preset over, announcing a setting) with no lock held, and settles the outcome under
// the lock again; the requesting thread closes the exchange under the same lock and waits for a
// claimed delivery to finish. Once End has returned, nothing of the exchange can still change
// anything, and its outcome is the one End returned.
#pragma once

#include "Engine/RededoVuvuvaCommon/MidiPacing.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

namespace QZ
{

// What a reply answers: the Identity Request, the get-preset request of one slot, or the request
// of one global setting.
struct MidiReplyKey
{
    enum class Kind
    {
        Identity,
        PresetDump,
        GlobalParameter,
    };

    Kind kind = Kind::Identity;
    // The slot or the setting's index; 0 for the Identity Request.
    std::int32_t detail = 0;

    bool operator==(const MidiReplyKey&) const = default;
};

class MidiTransaction
{
public:
    using Clock = MidiPacing::Clock;

    // A request not answered within requestLifetime, by the clock of pacing, is taken as lost.
    MidiTransaction(Clock::duration requestLifetime, MidiPacing& pacing);
    MidiTransaction(const MidiTransaction&) = delete;
    MidiTransaction& operator=(const MidiTransaction&) = delete;

    // The requesting thread. Begin opens an exchange waiting for replies of key; NoteRequest
    // writes down a request of it just before it leaves; End closes it, waits for a claimed
    // delivery, and returns the settled outcome, else the remembered one, else unsettled.
    void Begin(const MidiReplyKey& key);
    void NoteRequest();
    [[nodiscard]] std::int32_t End(std::int32_t unsettled);

    // The capture thread. Claim: true when the reply answers a request of the open exchange and
    // no other delivery is under way; the caller must then Release once it is done. Settle ends
    // the exchange with outcome, false when it has ended already. Remember keeps an outcome that
    // holds unless a later reply settles the exchange.
    [[nodiscard]] bool Claim(const MidiReplyKey& key);
    [[nodiscard]] bool IsOpen() const;
    [[nodiscard]] bool Settle(std::int32_t outcome);
    void Remember(std::int32_t outcome);
    void Release();

private:
    struct Request
    {
        MidiReplyKey key;
        std::uint64_t exchange;
        Clock::time_point sent;
    };

    // Under the lock: strikes off the requests too old to be answered still.
    void StrikeOffLost(Clock::time_point now);

    const Clock::duration mRequestLifetime;
    MidiPacing& mPacing;
    mutable std::mutex mMutex;
    std::condition_variable mDelivered;
    std::deque<Request> mOwed;
    MidiReplyKey mKey;
    std::uint64_t mExchange = 0;
    bool mOpen = false;
    bool mDelivering = false;
    std::optional<std::int32_t> mSettled;
    std::optional<std::int32_t> mRemembered;
};

} // namespace QZ
