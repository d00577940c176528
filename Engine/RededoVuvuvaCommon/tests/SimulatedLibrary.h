// What the tests over the simulated device-control library share: value builders and a fixture
// that starts every test with the simulated device in its first state.
#pragma once

#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"
#include "Platform/DeviceControlClient/PackedRecord.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace EngineTestSupport
{

QZ::Variant MakeBytes(std::initializer_list<std::uint8_t> bytes);
QZ::Variant MakeList(std::initializer_list<QZ::Variant> items);
// A ParamValues list of (identifier, value) pairs with empty sub-keys, in the given order.
QZ::Variant MakeValues(std::initializer_list<std::pair<std::int32_t, QZ::Variant>> values);

// The simulated device's remote devices from now on.
void SetRemoteDevices(const QZ::Variant& devices, std::uint32_t afterSearches = 0);
// The simulated device changes these values and pushes them from its own thread.
void PushValues(const QZ::Variant& values);

// Waits until the simulated device has handed every pushed list to the program.
void WaitUntilDelivered();

class SimulatedLibraryTest : public ::testing::Test
{
protected:
    SimulatedLibraryTest();
};

// The engine's harness over the simulated library.
class SimulatedEngineTest : public EngineHarness
{
protected:
    SimulatedEngineTest();
};

} // namespace EngineTestSupport
