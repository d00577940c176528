// A stand-in for the part of alsa-lib's sequencer interface that the ALSA backend calls, linked
// into a test in place of alsa-lib's own sequencer functions (alsa-lib's MIDI event coder stays
// the real one). It is a sequencer inside the test's process: clients and ports with names and
// capabilities, subscriptions, events delivered from a port to its subscribers, and the system
// client's announcement port, which tells its subscribers of ports and clients coming and going
// and of subscriptions ending, in the order the kernel's sequencer sends them (a port's
// subscriptions end before the port does, a client's ports before the client).
//
// What a test steers it by are the functions below; the rest is alsa-lib's own interface.
#pragma once

namespace Platform::Testing::AlsaSequencerStandIn
{

// While set, every event handed to the sequencer's output fails as a full output pool does.
void SetOutputPoolFull(bool full);

// How many clients are open, the system client left out.
int GetClientCount();

} // namespace Platform::Testing::AlsaSequencerStandIn
