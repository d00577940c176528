// tarn61-emulator: publishes the emulated Tarn 61 on the machine's MIDI service until it is
// interrupted, so that the editor can be tried without a keyboard.
//
//   tarn61-emulator [--api alsa|jack] [--firmware 1027] [--silent] [--delay-ms N]
//                   [--length-change N] [--piece-size N] [--piece-gap-ms N] [--strict]
//
// Its log (strict mode) goes to the standard output, one line each.
#include "Tools/Tarn61Emulator/Tarn61Emulator.h"

#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

int Usage()
{
    std::fprintf(stderr, "usage: tarn61-emulator [--api alsa|jack] [--firmware DDDD] [--silent]\n"
                         "       [--delay-ms N] [--length-change N] [--piece-size N]"
                         " [--piece-gap-ms N] [--strict]\n");
    return 2;
}

// The options that take a whole number, and the numbers each accepts.
struct NumberOption
{
    const char* name;
    long long lowest;
    long long highest;
};

constexpr NumberOption kNumberOptions[] = {
    {"--delay-ms", 0, 600000},
    {"--length-change", -65536, 65536},
    {"--piece-size", 0, 65536},
    {"--piece-gap-ms", 0, 60000},
};

// Reads the value of option into number when option takes a number; false, with the reason
// printed, for a value that is not a whole number within the option's range.
bool ReadNumberOption(const std::string& option, const std::string& value, long long& number)
{
    for (const NumberOption& numeric : kNumberOptions)
    {
        if (option != numeric.name)
        {
            continue;
        }
        const char* end = value.data() + value.size();
        const auto [stop, error] = std::from_chars(value.data(), end, number);
        if (value.empty() || error != std::errc() || stop != end || number < numeric.lowest ||
            number > numeric.highest)
        {
            std::fprintf(stderr,
                         "tarn61-emulator: %s takes a whole number from %lld to %lld, not \"%s\"\n",
                         numeric.name, numeric.lowest, numeric.highest, value.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::string api;
    std::string firmware = "1027";
    Tarn61::Tarn61Emulator::Behaviour behaviour;
    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        if (option == "--silent")
        {
            behaviour.silent = true;
            continue;
        }
        if (option == "--strict")
        {
            behaviour.strict = true;
            continue;
        }
        if (i + 1 >= argc)
        {
            return Usage();
        }
        const std::string value = argv[++i];
        long long number = 0;
        if (!ReadNumberOption(option, value, number))
        {
            return 2;
        }
        if (option == "--api")
        {
            api = value;
        }
        else if (option == "--firmware" && value.size() == 4)
        {
            firmware = value;
        }
        else if (option == "--delay-ms")
        {
            behaviour.replyDelay = std::chrono::milliseconds(number);
        }
        else if (option == "--length-change")
        {
            behaviour.replyLengthChange = static_cast<int>(number);
        }
        else if (option == "--piece-size")
        {
            behaviour.replyPieceSize = static_cast<std::size_t>(number);
        }
        else if (option == "--piece-gap-ms")
        {
            behaviour.replyPieceGap = std::chrono::milliseconds(number);
        }
        else
        {
            return Usage();
        }
    }

    std::shared_ptr<Platform::MidiDriver> driver =
        api.empty() ? Platform::GetDefaultMidiDriver() : Platform::CreateMidiDriver(api);
    if (!driver || driver->GetName() == "virtual")
    {
        std::fprintf(stderr, "tarn61-emulator: no MIDI service named \"%s\"\n", api.c_str());
        return 2;
    }

    // Signals are taken synchronously, so the ports are withdrawn in order before exit.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    Tarn61::Tarn61Emulator emulator(driver);
    emulator.SetFirmwareVersion(
        {static_cast<std::uint8_t>(firmware[0]), static_cast<std::uint8_t>(firmware[1]),
         static_cast<std::uint8_t>(firmware[2]), static_cast<std::uint8_t>(firmware[3])});
    emulator.SetBehaviour(behaviour);
    emulator.SetLogSink(
        [](const std::string& line)
        {
            std::fputs((line + "\n").c_str(), stdout);
            std::fflush(stdout);
        });
    if (QZ::Failed(emulator.Start()))
    {
        std::fprintf(stderr, "tarn61-emulator: the %s MIDI service cannot publish ports\n",
                     driver->GetName().c_str());
        return 1;
    }
    std::printf("tarn61-emulator: \"%s\" and \"%s\" published on %s\n",
                Tarn61::Tarn61Emulator::kOutputPortName, Tarn61::Tarn61Emulator::kInputPortName,
                driver->GetName().c_str());
    std::fflush(stdout);
    int received = 0;
    sigwait(&signals, &received);
    emulator.Stop();
    return 0;
}
