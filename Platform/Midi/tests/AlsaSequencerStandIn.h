// What a test can do to the stand-in alsa-lib beyond what alsa-lib offers: hold a thread between
// the sequencer's answer and what the thread does with it, where a real client can be preempted.
#pragma once

namespace Platform::Testing::AlsaSequencerStandIn
{

// The next thread to have an answer to "is this subscription there" waits with it, until
// ReleaseHeldAnswer.
void HoldNextSubscriptionAnswer();
// Waits up to five seconds for that thread; false when none came.
bool WaitForHeldAnswer();
void ReleaseHeldAnswer();

} // namespace Platform::Testing::AlsaSequencerStandIn
