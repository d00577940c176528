// What the MIDI manager's tests over the virtual MIDI bus share: the emulated keyboard on a
// virtual driver that is the process's MIDI driver while the rig lives, a record of every message
// that leaves for the keyboard, and helpers that read and write the engine's preset as the
// 1,338-byte value area the keyboard keeps.
#pragma once

#include "Platform/Midi/VirtualMidiDriver.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "Tools/Tarn61Emulator/Tarn61Emulator.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace EngineTestSupport
{

using Bytes = std::vector<std::uint8_t>;
using ValueArea = Tarn61::Tarn61Emulator::ValueArea;

class KeyboardRig
{
public:
    // Called with each message as it leaves for the keyboard, before the keyboard has it.
    using SendHook = std::function<void(const Bytes& message)>;

    KeyboardRig();
    ~KeyboardRig();
    KeyboardRig(const KeyboardRig&) = delete;
    KeyboardRig& operator=(const KeyboardRig&) = delete;

    // Publishes the keyboard's ports.
    [[nodiscard]] QZ::QZRESULT Start() { return mKeyboard.Start(); }
    [[nodiscard]] Tarn61::Tarn61Emulator& Keyboard() { return mKeyboard; }
    [[nodiscard]] Platform::VirtualMidiDriver& Driver() { return *mDriver; }

    // Every message that left for "MIDIOUT4 (Tarn 61)" so far, one entry per long message.
    [[nodiscard]] std::vector<Bytes> GetSent() const;
    void ClearSent();
    void SetSendHook(SendHook hook);

private:
    std::shared_ptr<Platform::VirtualMidiDriver> mDriver;
    Tarn61::Tarn61Emulator mKeyboard;
    mutable std::mutex mMutex;
    std::vector<Bytes> mSent;
    SendHook mHook;
};

// A value area holding (seed + 5 i) mod 128 at offset i: every byte a data byte.
[[nodiscard]] ValueArea MakePattern(std::uint8_t seed);
// The engine's 131 current values one after another; empty when there is no engine.
[[nodiscard]] Bytes GetEngineBytes();
// Hands the area to the engine, cut by the fixed value sizes.
void SetEngineBytes(const ValueArea& area);
[[nodiscard]] Bytes BytesOf(const ValueArea& area);

} // namespace EngineTestSupport
