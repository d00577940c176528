// The names under which the MIDI layer shows the system's ports: the names Windows gives a USB
// device's ports, so that the program's lookup of "MIDIIN4 (Tarn 61)" finds the keyboard's fourth
// port on Linux as it would on Windows.
//
// A device's first port in one direction is named after the device; its port n >= 2 is
// "MIDIIN<n> (<device>)" among the inputs and "MIDIOUT<n> (<device>)" among the outputs. A port
// whose own name already has that form keeps it, which is how a peer publishes a port under a
// chosen name.
#pragma once

#include <string>
#include <vector>

namespace Platform
{

struct MidiPortEntry
{
    // The device (the sequencer client) the port belongs to, and what tells devices apart.
    std::string device;
    std::string deviceKey;
    std::string port;
};

// Splits a port name as a backend lists it: "client:port" for JACK, "client:port 24:0" for the ALSA
// sequencer (alsaAddress set), where the trailing client and port numbers tell clients apart.
MidiPortEntry ParseMidiPortName(const std::string& name, bool alsaAddress);

// True for "MIDIIN<n> (<device>)" and "MIDIOUT<n> (<device>)".
bool HasWindowsPortNameForm(const std::string& name);

// The device part of a name of that form ("Tarn 61" for "MIDIOUT4 (Tarn 61)"), else the name.
std::string GetDeviceOfPortName(const std::string& name);

// The shown names of the ports of one direction, in the order given.
std::vector<std::string> ComposeMidiPortNames(const std::vector<MidiPortEntry>& ports, bool inputs);

} // namespace Platform
