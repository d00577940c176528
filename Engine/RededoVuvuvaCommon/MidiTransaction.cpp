#include "Engine/RededoVuvuvaCommon/MidiTransaction.h"

#include <algorithm>

namespace QZ
{

MidiTransaction::MidiTransaction(Clock::duration requestLifetime, MidiPacing& pacing)
    : mRequestLifetime(requestLifetime), mPacing(pacing)
{
}

void MidiTransaction::Begin(const MidiReplyKey& key)
{
    std::lock_guard<std::mutex> lock(mMutex);
    ++mExchange;
    mKey = key;
    mOpen = true;
    mSettled.reset();
    mRemembered.reset();
}

void MidiTransaction::NoteRequest()
{
    const Clock::time_point now = mPacing.Now();
    std::lock_guard<std::mutex> lock(mMutex);
    StrikeOffLost(now);
    mOwed.push_back(Request{mKey, mExchange, now});
}

std::int32_t MidiTransaction::End(std::int32_t unsettled)
{
    std::unique_lock<std::mutex> lock(mMutex);
    mOpen = false;
    mDelivered.wait(lock, [this] { return !mDelivering; });
    return mSettled.value_or(mRemembered.value_or(unsettled));
}

bool MidiTransaction::Claim(const MidiReplyKey& key)
{
    const Clock::time_point now = mPacing.Now();
    std::lock_guard<std::mutex> lock(mMutex);
    StrikeOffLost(now);
    const auto answered = std::find_if(mOwed.begin(), mOwed.end(),
                                       [&](const Request& request) { return request.key == key; });
    if (answered == mOwed.end())
    {
        return false;
    }
    const bool current = answered->exchange == mExchange;
    // Answers come in the order of the requests: those before this one will not come any more.
    mOwed.erase(mOwed.begin(), answered + 1);
    if (!current || !mOpen || mDelivering)
    {
        return false;
    }
    mDelivering = true;
    return true;
}

bool MidiTransaction::IsOpen() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mOpen;
}

bool MidiTransaction::Settle(std::int32_t outcome)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (!mOpen)
    {
        return false;
    }
    mOpen = false;
    mSettled = outcome;
    return true;
}

void MidiTransaction::Remember(std::int32_t outcome)
{
    std::lock_guard<std::mutex> lock(mMutex);
    if (mOpen)
    {
        mRemembered = outcome;
    }
}

void MidiTransaction::Release()
{
    {
        std::lock_guard<std::mutex> lock(mMutex);
        mDelivering = false;
    }
    mDelivered.notify_all();
}

void MidiTransaction::StrikeOffLost(Clock::time_point now)
{
    while (!mOwed.empty() && now - mOwed.front().sent > mRequestLifetime)
    {
        mOwed.pop_front();
    }
}

} // namespace QZ
