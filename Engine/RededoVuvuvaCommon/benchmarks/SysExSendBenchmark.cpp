// One send-preset message (1,350 bytes, six pieces) through the virtual MIDI bus to the emulated
// keyboard. The protocol's six 10 ms pauses make up at least 60 ms of it; the rest is the cost of
// framing, cutting and carrying the pieces.
#include "Engine/RededoVuvuvaCommon/SysExMessages.h"
#include "Engine/RededoVuvuvaCommon/SysExSender.h"
#include "Platform/Midi/VirtualMidiDriver.h"
#include "QZFramework/Midi/MidiComm.h"
#include "Tools/Tarn61Emulator/Tarn61Emulator.h"

#include <benchmark/benchmark.h>

namespace
{

void SendPresetMessage(benchmark::State& state)
{
    auto driver = std::make_shared<Platform::VirtualMidiDriver>();
    Tarn61::Tarn61Emulator emulator(driver);
    if (QZ::Failed(emulator.Start()))
    {
        state.SkipWithError("the emulated keyboard could not publish its ports");
        return;
    }
    QZ::RCPtr<QZ::LMidiCommInterface> comm(new QZ::LMidiComm(driver));
    QZ::RCPtr<QZ::LRefCountedObject> render;
    if (QZ::Failed(comm->GetRenderPort(u"MIDIOUT4 (Tarn 61)", render)))
    {
        state.SkipWithError("no output port");
        return;
    }
    for (auto _ : state)
    {
        QZ::SysExMessage message;
        (void)QZ::BuildSendPresetMessage(1, message);
        benchmark::DoNotOptimize(QZ::SendSysExMessage(comm, message, render, true));
    }
}

BENCHMARK(SendPresetMessage)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
