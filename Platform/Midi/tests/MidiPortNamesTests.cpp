#include "Platform/Midi/MidiPortNames.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(MidiPortNames, EdgesOfTheTwoForms)
{
    struct Case
    {
        std::string name;
        std::string device; // empty: not of the Windows form
    };
    const Case windows[] = {
        {"MIDIIN4 ()", ""},     {"MIDIIN4 ())", ")"}, {"MIDIIN4 ((a) b)", "(a) b"},
        {"MIDIIN4  (a)", ""},   {"MIDIIN4 (a) ", ""}, {"MIDIIN4 (a\nb)", ""},
        {"MIDIINOUT4 (a)", ""}, {"XMIDIIN4 (a)", ""}, {"MIDIOUT007 (a)", "a"},
    };
    for (const Case& c : windows)
    {
        EXPECT_EQ(HasWindowsPortNameForm(c.name), !c.device.empty()) << c.name;
        EXPECT_EQ(GetDeviceOfPortName(c.name), c.device.empty() ? c.name : c.device) << c.name;
    }

    struct Address
    {
        std::string name;
        std::string device;
        std::string key;
    };
    const Address alsa[] = {
        {" 1:2", "", "1"},       {"a:b  20:0", "a", "20"}, {"a:b 20:", "a", "a"},
        {"a:b :0", "a", "a"},    {"a:b\n 20:0", "a", "a"}, {"a:b 1:2 20:0", "a", "20"},
        {"a:b x20:0", "a", "a"}, {"20:0", "20", "20"},
    };
    for (const Address& c : alsa)
    {
        const MidiPortEntry entry = ParseMidiPortName(c.name, true);
        EXPECT_EQ(entry.device, c.device) << c.name;
        EXPECT_EQ(entry.deviceKey, c.key) << c.name;
    }
}

// Names reach the parsers from the MIDI services and from settings files, at any length.
TEST(MidiPortNames, MillionCharacterNamesAreParsed)
{
    const std::string letters(1000000, 'a');
    const std::string digits(1000000, '7');

    const MidiPortEntry alsa = ParseMidiPortName("x:" + letters + " 24:3", true);
    EXPECT_EQ(alsa.port, letters);
    EXPECT_EQ(alsa.deviceKey, "24");
    EXPECT_EQ(ParseMidiPortName(digits + ":" + digits, true).deviceKey, digits);
    const MidiPortEntry jack = ParseMidiPortName(letters + ":" + letters, false);
    EXPECT_EQ(jack.device, letters);
    EXPECT_EQ(jack.port, letters);

    EXPECT_EQ(GetDeviceOfPortName("MIDIIN4 (" + letters + ")"), letters);
    EXPECT_TRUE(HasWindowsPortNameForm("MIDIOUT" + digits + " (a)"));
    EXPECT_FALSE(HasWindowsPortNameForm("MIDIOUT" + digits));
    EXPECT_FALSE(HasWindowsPortNameForm("MIDIIN4 (" + letters));
}

} // namespace
} // namespace Platform
