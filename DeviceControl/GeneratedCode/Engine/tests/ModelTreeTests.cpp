#include "DeviceControl/GeneratedCode/Engine/tests/ModelTestSupport.h"

#include <typeinfo>

namespace
{

// The documented default of parameter number n, written out from the value layouts.
Bytes ExpectedDefault(std::int32_t n)
{
    const auto k = [n](std::int32_t first) { return static_cast<std::uint8_t>(n - first); };
    if (n == 0)
    {
        return {'P', 'R', 'E', 'S', 'E', 'T'};
    }
    if (n <= 4)
    {
        return {0x00, k(1), 0x00, 0x00, 0x00, 0x00, 0x3C, 0x05, 0x0C};
    }
    if (n == 5)
    {
        return {0x00, 0x01, 0x10, 0x00, 0x7F};
    }
    if (n == 6)
    {
        return {0x00, 0x00, 0x00, 0x00, 0x7F};
    }
    if (n == 7)
    {
        return {0x00, 0x00, 0x07, 0x00, 0x00, 0x7F};
    }
    if (n == 8)
    {
        return {0x00, 0x00, 0x40, 0x00, 0x00, 0x7F};
    }
    if (n <= 24)
    {
        return {0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13, static_cast<std::uint8_t>(36 + k(9)),
                0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    }
    if (n <= 60)
    {
        return {0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13, k(25), 0x00,
                0x00, 0x00, 0x00, 0x00, 0x7F, 0x00, 0x00, 0x00};
    }
    if (n <= 96)
    {
        return {0x00, 0x00, k(61), 0x00, 0x00, 0x7F};
    }
    if (n <= 128)
    {
        return {0x00, 0x00, static_cast<std::uint8_t>(40 + k(97)), 0x00, 0x00, 0x7F};
    }
    if (n == 129)
    {
        return {0x00, 0x00, 0x70, 0x00, 0x00, 0x7F, 0x08, 0x3C,
                0x48, 0x3E, 0x40, 0x41, 0x43, 0x45, 0x47};
    }
    return {0x00, 0x00, 0x71, 0x00, 0x00, 0x7F, 0x08, 0x45,
            0x51, 0x47, 0x48, 0x4A, 0x4C, 0x4D, 0x4F};
}

const std::type_info& ExpectedClass(std::int32_t n)
{
    if (n == 0)
        return typeid(LPresetName);
    if (n <= 4)
        return typeid(LKeybedZone);
    if (n <= 6)
        return typeid(LWheel);
    if (n == 7)
        return typeid(LVolumePedal);
    if (n == 8)
        return typeid(LSustainPedal);
    if (n <= 24)
        return typeid(LPad);
    if (n <= 60)
        return typeid(LPushButton);
    if (n <= 96)
        return typeid(LFader);
    if (n <= 128)
        return typeid(LEncoder);
    return typeid(LTouchPadAxis);
}

// Index of parameter number n within its control type.
std::uint32_t ExpectedIndex(std::int32_t n)
{
    constexpr std::int32_t firsts[] = {129, 97, 61, 25, 9, 8, 7, 5, 1, 0};
    for (std::int32_t first : firsts)
    {
        if (n >= first)
        {
            return static_cast<std::uint32_t>(n - first);
        }
    }
    return 0;
}

class WholeTree : public testing::TestWithParam<std::int32_t>
{
};

TEST_P(WholeTree, EveryParameterHasItsModuleSizeAndDefault)
{
    const std::int32_t first = GetParam();
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(first);
    std::uint32_t totalBytes = 0;
    for (std::int32_t n = 0; n < 131; ++n)
    {
        SCOPED_TRACE(n);
        QZ::RCPtr<LParameterizedModule> module = root->GetModule(first + n);
        ASSERT_TRUE(module);
        const LParameterizedModule& found = *module;
        EXPECT_EQ(typeid(found), ExpectedClass(n));
        EXPECT_EQ(module->GetFirstParamID(), first + n);
        EXPECT_EQ(module->GetParamCount(), 1u);
        EXPECT_EQ(module->GetIndex(), ExpectedIndex(n));

        const QZ::Variant value = module->GetParamValueDefault(first + n);
        EXPECT_EQ(value.GetType(), QZ::Variant::TagBytes);
        EXPECT_EQ(BytesOf(value), ExpectedDefault(n));
        EXPECT_EQ(GetPresetParamValueSize(n), ExpectedDefault(n).size());
        EXPECT_EQ(GetPresetParamValueSize(first + n, first), ExpectedDefault(n).size());
        totalBytes += GetPresetParamValueSize(n);
    }
    EXPECT_EQ(totalBytes, 1338u);
}

TEST_P(WholeTree, IdentifiersJustOutsideTheRangeFindNoModule)
{
    const std::int32_t first = GetParam();
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(first);
    EXPECT_FALSE(root->GetModule(first - 1));
    EXPECT_FALSE(root->GetModule(first + 131));
    EXPECT_EQ(GetPresetParamValueSize(first - 1, first), 0u);
    EXPECT_EQ(GetPresetParamValueSize(first + 131, first), 0u);
}

TEST_P(WholeTree, ValuesWrittenThroughLeavesReadBackFromTheRoot)
{
    const std::int32_t first = GetParam();
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(first);
    for (std::int32_t n = 0; n < 131; ++n)
    {
        QZ::RCPtr<LParameterizedModule> leaf = root->GetModule(first + n);
        const QZ::ParamDescriptor descriptor(first + n);
        const Bytes bytes(GetPresetParamValueSize(n), static_cast<std::uint8_t>(n));
        ASSERT_EQ(leaf->SetParamValueLocal(descriptor, ByteString(bytes), false), 0);
        EXPECT_EQ(BytesOf(leaf->GetParamValueLocal(descriptor)), bytes);
    }
    EXPECT_EQ(root->GetStoreCount(), 131u);
}

INSTANTIATE_TEST_SUITE_P(FirstIdentifiers, WholeTree, testing::Values(0, 1000));

TEST(ModuleLookup, ContainersAnswerOnlyInsideTheirSpan)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(0);
    EXPECT_NE(dynamic_cast<LTouchPadAxis*>(root->GetModule(129).Get()), nullptr);
    EXPECT_EQ(root->GetModule(129)->GetIndex(), 0u);
    EXPECT_NE(dynamic_cast<LSustainPedal*>(root->GetModule(8).Get()), nullptr);

    QZ::RCPtr<LParameterizedModule> pedals = root->GetModule(7)->GetParent();
    EXPECT_FALSE(pedals->GetModule(9));
    EXPECT_FALSE(pedals->GetModule(6));

    QZ::RCPtr<LParameterizedModule> faders = root->GetModule(61)->GetParent();
    EXPECT_FALSE(faders->GetModule(61 + 36));
    EXPECT_FALSE(faders->GetModule(60));
    EXPECT_EQ(faders->GetModule(96)->GetIndex(), 35u);

    QZ::RCPtr<LParameterizedModule> pads = root->GetModule(9)->GetParent();
    EXPECT_FALSE(pads->GetModule(9 + 16));
    EXPECT_EQ(pads->GetModule(9 + 15)->GetIndex(), 15u);

    QZ::RCPtr<LParameterizedModule> axes = root->GetModule(129)->GetParent();
    EXPECT_FALSE(axes->GetModule(131));
    EXPECT_EQ(axes->GetModule(130)->GetIndex(), 1u);
}

TEST(ModuleLookup, ConstLookupFindsTheSameModule)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(0);
    const LParameterizedModule& constRoot = *root;
    EXPECT_EQ(constRoot.GetModule(100).Get(), root->GetModule(100).Get());
    EXPECT_FALSE(constRoot.GetModule(-1));
}

TEST(ModuleLookup, ALeafAnswersItselfForAnyIdentifier)
{
    QZ::RCPtr<LEncoder> encoder = LEncoder::Create();
    EXPECT_EQ(encoder->GetModule(-5).Get(), encoder.Get());
}

TEST(ContainerGetters, ReturnTheChildrenInIndexOrder)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(0);
    auto* encoders = dynamic_cast<LEncoders*>(root->GetModule(97)->GetParent());
    ASSERT_NE(encoders, nullptr);
    const LEncoders& constEncoders = *encoders;
    const IEncoders& asInterface = *encoders;
    for (std::uint32_t k = 0; k < 32; ++k)
    {
        EXPECT_EQ(encoders->GetEncoder(k)->GetFirstParamID(), static_cast<std::int32_t>(97 + k));
        EXPECT_EQ(constEncoders.GetEncoder(k).Get(), encoders->GetEncoder(k).Get());
        EXPECT_EQ(asInterface.GetEncoder(k).Get(), encoders->GetEncoder(k).Get());
    }
    EXPECT_THROW((void)encoders->GetEncoder(32), std::out_of_range);

    auto* pedals = dynamic_cast<LPedals*>(root->GetModule(7)->GetParent());
    ASSERT_NE(pedals, nullptr);
    const IPedals& constPedals = *pedals;
    EXPECT_EQ(constPedals.GetVolumePedal()->GetFirstParamID(), 7);
    EXPECT_EQ(constPedals.GetSustainPedal()->GetFirstParamID(), 8);
}

TEST(ContainerGetters, EveryContainerHoldsItsCountOfLeaves)
{
    EXPECT_EQ(LKeybedZones::Create()->GetKeybedZone(3)->GetParamCount(), 1u);
    EXPECT_THROW((void)LKeybedZones::Create()->GetKeybedZone(4), std::out_of_range);
    EXPECT_THROW((void)LWheels::Create()->GetWheel(2), std::out_of_range);
    EXPECT_THROW((void)LPads::Create()->GetPad(16), std::out_of_range);
    EXPECT_THROW((void)LPushButtons::Create()->GetPushButton(36), std::out_of_range);
    EXPECT_THROW((void)LFaders::Create()->GetFader(36), std::out_of_range);
    EXPECT_THROW((void)LTouchPadAxises::Create()->GetTouchPadAxis(2), std::out_of_range);
    EXPECT_TRUE(LTouchPadAxises::Create()->GetTouchPadAxis(1));
}

TEST(ModuleRelay, RelayedValuesReachTheRoot)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(0);
    root->GetModule(50)->RelayToParent(1, 2, 3, 4);
    root->GetModule(3)->RelayToParentAlt(5, 6, 7, 8);
    ASSERT_EQ(root->GetRelayed().size(), 2u);
    EXPECT_EQ(root->GetRelayed()[0], (std::array<std::uint32_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(root->GetRelayed()[1], (std::array<std::uint32_t, 4>{5, 6, 7, 8}));
    EXPECT_TRUE(root->GetModule(50)->IsActive());
}

} // namespace
