// The time from an exit request to the end of the exchange it interrupts: a dialog fetches a
// preset from a silent emulated keyboard on the virtual MIDI bus, and 100 ms into the fetch (the
// manager waiting for a reply that will not come) the wait ends as the event loop's does when the
// program is asked to end. Each iteration times the exchange's return after that moment; the
// program may take half a second from the request to its end.
#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "Platform/Midi/VirtualMidiDriver.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "Tools/Tarn61Emulator/Tarn61Emulator.h"
#include "UI/TarnSeriesCommon/DeviceExchange.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace
{

using Clock = std::chrono::steady_clock;

void ExitDuringFetch(benchmark::State& state)
{
    LApplication application;
    auto driver = std::make_shared<Platform::VirtualMidiDriver>();
    Platform::SetDefaultMidiDriver(driver);
    {
        Tarn61::Tarn61Emulator keyboard(driver);
        Tarn61::Tarn61Emulator::Behaviour silent;
        silent.silent = true;
        keyboard.SetBehaviour(silent);
        application.CreateRootModuleEngine();
        const QZ::RCPtr<QZ::LControl> dialog(
            new QZ::LControl(QZ::RCPtr<QZ::LControl>(), QZ::WideString(u"dialog"), true));
        Clock::time_point requested;
        QZ::LDeviceExchange::SetWait(
            [&requested](const std::function<bool()>&)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                requested = Clock::now();
            });
        if (QZ::Failed(keyboard.Start()))
        {
            state.SkipWithError("the emulated keyboard could not publish its ports");
        }
        for (auto _ : state)
        {
            QZ::RCPtr<QZ::LMidiManager> manager;
            QZ::LMidiManager::Create(manager);
            QZ::LDeviceExchange exchange(*dialog, *manager);
            const std::int32_t result =
                exchange.Run([&] { return manager->GetPresetFromMidiDevice(1); });
            const Clock::time_point ended = Clock::now();
            if (result != QZ::LMidiManager::kCancelled)
            {
                state.SkipWithError("the fetch was not cancelled");
                break;
            }
            state.SetIterationTime(std::chrono::duration<double>(ended - requested).count());
        }
        QZ::LDeviceExchange::SetWait(nullptr);
        application.ReleaseRootModuleEngine();
    }
    Platform::SetDefaultMidiDriver(nullptr);
    QZ::LNotificationCenterManager::ReleaseInstance();
}

BENCHMARK(ExitDuringFetch)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
