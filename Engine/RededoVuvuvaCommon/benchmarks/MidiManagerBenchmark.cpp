// A full fetch and a full send of a preset through the MIDI manager, against the emulated keyboard
// on the virtual MIDI bus, each with its firmware test. The protocol's own 10 ms pause after every
// piece sets the floor: a fetch sends four pieces (preamble, Identity Request, preamble,
// get-preset), 40 ms; a send nine (preamble, Identity Request, preamble and the six pieces of the
// send-preset message), 90 ms; both together 130 ms.
#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "Platform/Midi/VirtualMidiDriver.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "Tools/Tarn61Emulator/Tarn61Emulator.h"

#include <benchmark/benchmark.h>

#include <functional>

namespace
{

// The application with its engine, the keyboard on the virtual bus and the manager.
void RunTransfers(benchmark::State& state,
                  const std::function<bool(QZ::LMidiManager& manager)>& transfer)
{
    LApplication application;
    auto driver = std::make_shared<Platform::VirtualMidiDriver>();
    Platform::SetDefaultMidiDriver(driver);
    {
        Tarn61::Tarn61Emulator keyboard(driver);
        application.CreateRootModuleEngine();
        QZ::RCPtr<QZ::LMidiManager> manager;
        QZ::LMidiManager::Create(manager);
        if (QZ::Failed(keyboard.Start()))
        {
            state.SkipWithError("the emulated keyboard could not publish its ports");
        }
        else
        {
            for (auto _ : state)
            {
                if (!transfer(*manager))
                {
                    state.SkipWithError("a transfer failed");
                    break;
                }
            }
        }
        manager.Reset();
        application.ReleaseRootModuleEngine();
    }
    Platform::SetDefaultMidiDriver(nullptr);
    QZ::LNotificationCenterManager::ReleaseInstance();
}

void FetchPreset(benchmark::State& state)
{
    RunTransfers(state,
                 [](QZ::LMidiManager& manager) { return manager.GetPresetFromMidiDevice(1) == 0; });
}

void SendPreset(benchmark::State& state)
{
    RunTransfers(state,
                 [](QZ::LMidiManager& manager) { return manager.SendPresetToMidiDevice(2) >= 0; });
}

void FetchAndSendPreset(benchmark::State& state)
{
    RunTransfers(state,
                 [](QZ::LMidiManager& manager) {
                     return manager.GetPresetFromMidiDevice(1) == 0 &&
                            manager.SendPresetToMidiDevice(2) >= 0;
                 });
}

BENCHMARK(FetchPreset)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(SendPreset)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(FetchAndSendPreset)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
