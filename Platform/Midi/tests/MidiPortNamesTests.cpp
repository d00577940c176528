#include "Platform/Midi/MidiPortNames.h"

#include <gtest/gtest.h>

namespace Platform
{
namespace
{

TEST(MidiPortNames, AlsaNameSplitsIntoClientPortAndAddress)
{
    const MidiPortEntry entry = ParseMidiPortName("Tarn 61:Tarn 61 MIDI 4 24:3", true);
    EXPECT_EQ(entry.device, "Tarn 61");
    EXPECT_EQ(entry.port, "Tarn 61 MIDI 4");
    EXPECT_EQ(entry.deviceKey, "24");
}

TEST(MidiPortNames, JackNameSplitsAtTheFirstColon)
{
    const MidiPortEntry entry = ParseMidiPortName("Tarn 61:MIDIIN4 (Tarn 61)", false);
    EXPECT_EQ(entry.device, "Tarn 61");
    EXPECT_EQ(entry.port, "MIDIIN4 (Tarn 61)");
    EXPECT_EQ(entry.deviceKey, "Tarn 61");
}

TEST(MidiPortNames, FourPortDeviceGetsTheWindowsNames)
{
    std::vector<MidiPortEntry> ports;
    for (int i = 1; i <= 4; ++i)
    {
        ports.push_back(ParseMidiPortName(
            "Tarn 61:Tarn 61 MIDI " + std::to_string(i) + " 24:" + std::to_string(i - 1), true));
    }
    ports.insert(ports.begin() + 1, ParseMidiPortName("Midi Through:Port-0 14:0", true));
    EXPECT_EQ(ComposeMidiPortNames(ports, true),
              (std::vector<std::string>{"Tarn 61", "Midi Through", "MIDIIN2 (Tarn 61)",
                                        "MIDIIN3 (Tarn 61)", "MIDIIN4 (Tarn 61)"}));
    EXPECT_EQ(ComposeMidiPortNames(ports, false)[4], "MIDIOUT4 (Tarn 61)");
}

TEST(MidiPortNames, ClientsOfOneNameAreToldApartByAddress)
{
    const std::vector<MidiPortEntry> ports = {ParseMidiPortName("Synth:out 20:0", true),
                                              ParseMidiPortName("Synth:out 21:0", true)};
    EXPECT_EQ(ComposeMidiPortNames(ports, true), (std::vector<std::string>{"Synth", "Synth"}));
}

TEST(MidiPortNames, PortAlreadyNamedInWindowsFormKeepsItsName)
{
    const std::vector<MidiPortEntry> ports = {
        ParseMidiPortName("Tarn 61-01:MIDIOUT4 (Tarn 61)", false),
        ParseMidiPortName("Tarn 61-01:second", false)};
    EXPECT_EQ(ComposeMidiPortNames(ports, false),
              (std::vector<std::string>{"MIDIOUT4 (Tarn 61)", "Tarn 61-01"}));
}

TEST(MidiPortNames, WindowsFormNeedsNumberAndDeviceInParentheses)
{
    EXPECT_TRUE(HasWindowsPortNameForm("MIDIIN4 (Tarn 61)"));
    EXPECT_TRUE(HasWindowsPortNameForm("MIDIOUT12 (x)"));
    EXPECT_FALSE(HasWindowsPortNameForm("MIDIIN (Tarn 61)"));
    EXPECT_FALSE(HasWindowsPortNameForm("MIDIIN4 Tarn 61"));
    EXPECT_FALSE(HasWindowsPortNameForm("midiin4 (Tarn 61)"));
    EXPECT_EQ(GetDeviceOfPortName("MIDIOUT4 (Tarn 61)"), "Tarn 61");
    EXPECT_EQ(GetDeviceOfPortName("plain"), "plain");
}

} // namespace
} // namespace Platform
