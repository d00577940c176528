#include "Engine/RededoVuvuvaCommon/tests/SimulatedLibrary.h"

#include "Platform/DeviceControlClient/SimulationControl.h"
#include "QZFramework/Utilities/Storage/ParamListItem.h"

#include <vector>

namespace EngineTestSupport
{

QZ::Variant MakeBytes(std::initializer_list<std::uint8_t> bytes)
{
    QZ::Variant value;
    value.SetBytes(std::data(bytes), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

QZ::Variant MakeList(std::initializer_list<QZ::Variant> items)
{
    QZ::Variant list;
    list.SetList(std::data(items), static_cast<std::uint32_t>(items.size()));
    return list;
}

QZ::Variant MakeValues(std::initializer_list<std::pair<std::int32_t, QZ::Variant>> values)
{
    std::vector<QZ::Variant> items;
    for (const auto& [paramID, value] : values)
    {
        items.push_back(MakeList({value, QZ::MakeInt32Variant(paramID), QZ::Variant()}));
    }
    QZ::Variant list;
    list.SetList(items.data(), static_cast<std::uint32_t>(items.size()));
    return list;
}

void SetRemoteDevices(const QZ::Variant& devices, std::uint32_t afterSearches)
{
    std::vector<std::uint8_t> record;
    ASSERT_TRUE(Platform::PackRecord(devices, record));
    const OXLI_Record view = Platform::ViewRecord(record);
    ASSERT_EQ(OXLISim_SetRemoteDevices(&view, afterSearches), 0);
}

void PushValues(const QZ::Variant& values)
{
    std::vector<std::uint8_t> record;
    ASSERT_TRUE(Platform::PackRecord(values, record));
    const OXLI_Record view = Platform::ViewRecord(record);
    ASSERT_EQ(OXLISim_PushValues(&view), 0);
}

void WaitUntilDelivered()
{
    ASSERT_EQ(OXLISim_WaitUntilDelivered(10000), 0);
}

SimulatedLibraryTest::SimulatedLibraryTest()
{
    EXPECT_EQ(OXLISim_Reset(), 0);
}

SimulatedEngineTest::SimulatedEngineTest()
{
    EXPECT_EQ(OXLISim_Reset(), 0);
}

} // namespace EngineTestSupport
