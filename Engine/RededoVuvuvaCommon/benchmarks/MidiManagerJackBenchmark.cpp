// A full fetch and a full send of a preset through the MIDI manager over JACK: a private server
// with the dummy driver (period 64 at 48 kHz) and the emulated keyboard program in a process of
// its own, each transfer with its firmware test. The protocol's 10 ms pause after every piece sets
// the floor: a fetch sends four pieces, 40 ms; a send nine, 90 ms. The "clients" counter is how
// many JACK clients this process opened during the whole run.
//
// The first transfer of a process is timed apart (First...): each of its runs starts this program
// afresh on the same server and keyboard, lets it find the keyboard's ports as the editor does,
// and times its first transfer. The other benchmarks run after one transfer has been made.
#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "Platform/Midi/JackMidiDriver.h"
#include "Platform/Midi/tests/ChildProcess.h"
#include "Platform/Midi/tests/JackServer.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Notification/NotificationCenterManager.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <thread>
#include <unistd.h>

namespace
{

// The server, the keyboard program and the manager, for the whole run.
struct Rig
{
    Platform::Testing::JackServer server;
    Platform::Testing::ChildProcess keyboard;
    LApplication application;
    QZ::RCPtr<QZ::LMidiManager> manager;

    bool Start()
    {
        std::string error;
        if (!server.Start(error) ||
            !keyboard.Start({TARN61_EMULATOR_PROGRAM, "--api", "jack", "--strict"}))
        {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        return FindKeyboard() && manager->GetPresetFromMidiDevice(0) == 0;
    }

    // Makes the manager and waits until it finds the keyboard's ports.
    bool FindKeyboard()
    {
        Platform::SetDefaultMidiDriver(std::make_shared<Platform::JackMidiDriver>());
        application.CreateRootModuleEngine();
        QZ::LMidiManager::Create(manager);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!manager->ArePortsAvailable() && std::chrono::steady_clock::now() < deadline)
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return manager->ArePortsAvailable();
    }

    void Stop()
    {
        // JACK clients go before the server.
        manager.Reset();
        application.ReleaseRootModuleEngine();
        Platform::SetDefaultMidiDriver(nullptr);
        keyboard.Stop();
        if (!server.Stop())
        {
            std::fprintf(stderr, "MidiManagerJackBenchmark: the JACK server had to be killed\n");
        }
        QZ::LNotificationCenterManager::ReleaseInstance();
    }
};

Rig* sRig = nullptr;

bool Fetch(QZ::LMidiManager& manager)
{
    return manager.GetPresetFromMidiDevice(1) == 0;
}

bool Send(QZ::LMidiManager& manager)
{
    return manager.SendPresetToMidiDevice(2) >= 0;
}

void RunTransfers(benchmark::State& state, const std::function<bool(QZ::LMidiManager&)>& transfer)
{
    for (auto _ : state)
    {
        if (!transfer(*sRig->manager))
        {
            state.SkipWithError("a transfer failed");
            break;
        }
    }
    state.counters["clients"] = Platform::JackMidiDriver::GetClientOpenCount();
}

void FetchPresetOverJack(benchmark::State& state)
{
    RunTransfers(state, Fetch);
}

void SendPresetOverJack(benchmark::State& state)
{
    RunTransfers(state, Send);
}

// In a process started for it: finds the keyboard, makes one transfer and prints its time in
// microseconds; the exit code tells whether it succeeded.
int RunFirstTransfer(const char* kind)
{
    Rig rig;
    const bool found = rig.FindKeyboard();
    const auto start = std::chrono::steady_clock::now();
    const bool done = found && (std::strcmp(kind, "send") == 0 ? Send : Fetch)(*rig.manager);
    const auto took = std::chrono::steady_clock::now() - start;
    std::printf("%lld\n", static_cast<long long>(
                              std::chrono::duration_cast<std::chrono::microseconds>(took).count()));
    rig.Stop();
    return done ? 0 : 1;
}

void RunFirstTransfers(benchmark::State& state, const char* kind)
{
    const std::string output = "/tmp/qz-first-transfer-" + std::to_string(getpid());
    for (auto _ : state)
    {
        Platform::Testing::ChildProcess child;
        long long microseconds = -1;
        if (child.Start({"/proc/self/exe", "--first-transfer", kind}, output) &&
            child.Wait(std::chrono::seconds(30)) == 0)
        {
            std::ifstream(output) >> microseconds;
        }
        if (microseconds < 0)
        {
            state.SkipWithError("a first transfer failed");
            break;
        }
        state.SetIterationTime(static_cast<double>(microseconds) / 1e6);
    }
    std::remove(output.c_str());
}

void FirstFetchOverJack(benchmark::State& state)
{
    RunFirstTransfers(state, "fetch");
}

void FirstSendOverJack(benchmark::State& state)
{
    RunFirstTransfers(state, "send");
}

BENCHMARK(FirstFetchOverJack)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(FirstSendOverJack)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(FetchPresetOverJack)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(SendPresetOverJack)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--first-transfer") == 0)
    {
        return RunFirstTransfer(argv[2]);
    }
    benchmark::Initialize(&argc, argv);
    Rig rig;
    if (!Platform::Testing::JackServer::IsInstalled() || !rig.Start())
    {
        std::fprintf(stderr, "MidiManagerJackBenchmark: no JACK server or keyboard program\n");
        rig.Stop();
        return 1;
    }
    sRig = &rig;
    benchmark::RunSpecifiedBenchmarks();
    rig.Stop();
    benchmark::Shutdown();
    return 0;
}
