// A full fetch and a full send of a preset through the MIDI manager over JACK: a private server
// with the dummy driver (period 64 at 48 kHz) and the emulated keyboard program in a process of
// its own, each transfer with its firmware test. The protocol's 10 ms pause after every piece sets
// the floor: a fetch sends four pieces, 40 ms; a send nine, 90 ms. The "clients" counter is how
// many JACK clients this process opened during the whole run.
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
#include <functional>
#include <thread>

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
        server.Stop();
        QZ::LNotificationCenterManager::ReleaseInstance();
    }
};

Rig* sRig = nullptr;

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
    RunTransfers(state, [](QZ::LMidiManager& m) { return m.GetPresetFromMidiDevice(1) == 0; });
}

void SendPresetOverJack(benchmark::State& state)
{
    RunTransfers(state, [](QZ::LMidiManager& m) { return m.SendPresetToMidiDevice(2) >= 0; });
}

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
