#include "DeviceControl/GeneratedCode/Engine/tests/ModelTestSupport.h"

namespace
{

constexpr std::int32_t kFirst = 1000;

TEST(LeafWrites, AnotherParametersIdentifierIsRefusedAndChangesNothing)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(kFirst);
    QZ::RCPtr<LParameterizedModule> encoder = root->GetModule(kFirst + 97);
    const Bytes original = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(
        encoder->SetParamValueLocal(QZ::ParamDescriptor(kFirst + 97), ByteString(original), false),
        0);

    EXPECT_EQ(encoder->SetParamValueLocal(QZ::ParamDescriptor(kFirst + 98), ByteString({9}), false),
              -1);
    EXPECT_EQ(
        BytesOf(root->GetModule(kFirst + 97)->GetParamValueLocal(QZ::ParamDescriptor(kFirst + 97))),
        original);
    EXPECT_EQ(root->GetModule(kFirst + 98)
                  ->GetParamValueLocal(QZ::ParamDescriptor(kFirst + 98))
                  .GetType(),
              QZ::Variant::TagEmpty);
    EXPECT_EQ(root->GetStoreCount(), 1u);
}

TEST(LeafWrites, ValuesOfAnyLengthOrTagAreStoredUnchanged)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(kFirst);
    const std::pair<std::int32_t, Bytes> cases[] = {
        {0, {0x22, 'A', 0x22, 0x22, 0x22, 0x22}}, // the empty-position marker
        {0, {'L', 'O', 'N', 'G', 'E', 'R', '!'}},
        {1, Bytes(8, 0x11)}, // a keybed zone one byte short
        {2, Bytes(10, 0x12)},
        {5, Bytes(6, 0x13)},              // a moveable-control value for a wheel
        {7, {0xFF, 0, 7, 0, 0x7F, 0x00}}, // channel 0xFF, high below low
        {9, Bytes(17, 0x14)},             // a push button's value for a pad
        {97, Bytes(7, 0x15)},
        {129, Bytes(6, 0x16)},
    };
    for (const auto& [number, bytes] : cases)
    {
        const QZ::ParamDescriptor descriptor(kFirst + number);
        QZ::RCPtr<LParameterizedModule> leaf = root->GetModule(kFirst + number);
        ASSERT_EQ(leaf->SetParamValueLocal(descriptor, ByteString(bytes), false), 0);
        EXPECT_EQ(BytesOf(leaf->GetParamValueLocal(descriptor)), bytes) << number;
    }

    QZ::Variant text;
    text.SetString("text");
    const QZ::ParamDescriptor faderDescriptor(kFirst + 61);
    ASSERT_EQ(root->GetModule(kFirst + 61)->SetParamValueLocal(faderDescriptor, text, true), 0);
    EXPECT_TRUE(root->GetModule(kFirst + 61)->GetParamValueLocal(faderDescriptor) == text);
}

TEST(LeafWrites, CompositeIdentifiersFromTheUserAreForwardedAndNotStored)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(kFirst);
    QZ::RCPtr<LParameterizedModule> button = root->GetModule(kFirst + 30);
    const QZ::Variant value = ByteString({1, 2, 3});

    EXPECT_EQ(button->SetParamValueLocal(QZ::ParamDescriptor(-256), value, false), 1);
    EXPECT_EQ(button->SetParamValueLocal(QZ::ParamDescriptor(-129), value, false), 1);
    ASSERT_EQ(root->GetSentValues().size(), 2u);
    EXPECT_EQ(root->GetSentValues()[0].mDescriptor.mParamID, -256);
    EXPECT_TRUE(root->GetSentValues()[0].mValue == value);
    EXPECT_EQ(root->GetSentValues()[1].mDescriptor.mParamID, -129);
    EXPECT_EQ(root->GetStoreCount(), 0u);
}

TEST(LeafWrites, CompositeIdentifiersFromTheDeviceAreNotForwarded)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(kFirst);
    EXPECT_EQ(root->GetModule(kFirst + 3)
                  ->SetParamValueLocal(QZ::ParamDescriptor(-200), ByteString({1}), true),
              1);
    EXPECT_TRUE(root->GetSentValues().empty());
    EXPECT_EQ(root->GetStoreCount(), 0u);
}

TEST(LeafWrites, OtherNegativeIdentifiersAreRefused)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(kFirst);
    QZ::RCPtr<LParameterizedModule> zone = root->GetModule(kFirst + 1);
    for (std::int32_t id : {-128, -257, -1, -2, -4, -8})
    {
        EXPECT_EQ(zone->SetParamValueLocal(QZ::ParamDescriptor(id), ByteString({1}), false), -1)
            << id;
    }
    EXPECT_TRUE(root->GetSentValues().empty());
}

TEST(LeafWrites, AnUnplacedLeafHasNowhereToStore)
{
    QZ::RCPtr<LFader> fader = LFader::Create();
    EXPECT_EQ(fader->SetParamValueLocal(QZ::ParamDescriptor(0), ByteString({1}), false), -1);
    EXPECT_EQ(fader->GetParamValueLocal(QZ::ParamDescriptor(0)).GetType(), QZ::Variant::TagEmpty);
    EXPECT_EQ(fader->CommitParamValue(QZ::ParamDescriptor(0), ByteString({1})), QZ::E_FAIL);
    EXPECT_EQ(fader->ReadParamValue(QZ::ParamDescriptor(0)).GetType(), QZ::Variant::TagEmpty);
}

struct LeafCase
{
    std::int32_t number;
    const char* className;
};

class LeafErrors : public testing::TestWithParam<LeafCase>
{
};

TEST_P(LeafErrors, ReadingOrDefaultingAnotherIdentifierThrows)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(kFirst);
    const LeafCase& leafCase = GetParam();
    QZ::RCPtr<LParameterizedModule> leaf = root->GetModule(kFirst + leafCase.number);
    const std::string name = leafCase.className;
    const std::int32_t other = kFirst + (leafCase.number == 0 ? 1 : leafCase.number - 1);

    ExpectLogicError([&] { (void)leaf->GetParamValueLocal(QZ::ParamDescriptor(other)); },
                     LogicErrorPrefix(name + "::GetParamValueLocal"));
    ExpectLogicError([&] { (void)leaf->GetParamValueDefault(other); },
                     LogicErrorPrefix(name + "::GetParamValueDefault"));
    EXPECT_EQ(leaf->SetParamValueLocal(QZ::ParamDescriptor(other), ByteString({1}), false), -1);
}

INSTANTIATE_TEST_SUITE_P(EveryLeafClass, LeafErrors,
                         testing::Values(LeafCase{0, "LPresetName"}, LeafCase{4, "LKeybedZone"},
                                         LeafCase{6, "LWheel"}, LeafCase{7, "LVolumePedal"},
                                         LeafCase{8, "LSustainPedal"}, LeafCase{10, "LPad"},
                                         LeafCase{60, "LPushButton"}, LeafCase{96, "LFader"},
                                         LeafCase{128, "LEncoder"},
                                         LeafCase{130, "LTouchPadAxis"}));

TEST(ModuleErrors, ValueAccessOnModulesThatStoreNothingThrows)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(kFirst);
    LParameterizedModule* pads = root->GetModule(kFirst + 9)->GetParent();
    const QZ::ParamDescriptor descriptor(kFirst + 9);
    ExpectLogicError([&] { (void)pads->SetParamValueLocal(descriptor, ByteString({1}), false); },
                     LogicErrorPrefix("LParameterizedModule::SetParamValueLocal"));
    ExpectLogicError([&] { (void)pads->GetParamValueLocal(descriptor); },
                     LogicErrorPrefix("LParameterizedModule::GetParamValueLocal"));
    ExpectLogicError([&] { (void)root->GetParamValueLocal(descriptor); },
                     LogicErrorPrefix("LParameterizedModule::GetParamValueLocal"));
    EXPECT_EQ(pads->GetParamValueDefault(kFirst + 9).GetType(), QZ::Variant::TagEmpty);
}

TEST(Defaults, DocumentedEdgesOfEachType)
{
    QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(0);
    const auto defaultOf = [&](std::int32_t n)
    { return BytesOf(root->GetModule(n)->GetParamValueDefault(n)); };
    EXPECT_EQ(defaultOf(0), (Bytes{0x50, 0x52, 0x45, 0x53, 0x45, 0x54}));
    EXPECT_EQ(defaultOf(1), (Bytes{0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3C, 0x05, 0x0C}));
    EXPECT_EQ(defaultOf(4), (Bytes{0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x3C, 0x05, 0x0C}));
    EXPECT_EQ(defaultOf(5), (Bytes{0x00, 0x01, 0x10, 0x00, 0x7F}));
    EXPECT_EQ(defaultOf(6), (Bytes{0x00, 0x00, 0x00, 0x00, 0x7F}));
    EXPECT_EQ(defaultOf(7), (Bytes{0x00, 0x00, 0x07, 0x00, 0x00, 0x7F}));
    EXPECT_EQ(defaultOf(8), (Bytes{0x00, 0x00, 0x40, 0x00, 0x00, 0x7F}));
    EXPECT_EQ(defaultOf(9), (Bytes{0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13, 0x24, 0x00, 0x00, 0x00,
                                   0x00, 0x00, 0x00}));
    EXPECT_EQ(defaultOf(24), (Bytes{0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13, 0x33, 0x00, 0x00,
                                    0x00, 0x00, 0x00, 0x00}));
    EXPECT_EQ(defaultOf(25), (Bytes{0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13, 0x00, 0x00, 0x00,
                                    0x00, 0x00, 0x00, 0x7F, 0x00, 0x00, 0x00}));
    EXPECT_EQ(defaultOf(60), (Bytes{0x00, 0x04, 0x03, 0x07, 0x05, 0x01, 0x13, 0x23, 0x00, 0x00,
                                    0x00, 0x00, 0x00, 0x7F, 0x00, 0x00, 0x00}));
    EXPECT_EQ(defaultOf(96), (Bytes{0x00, 0x00, 0x23, 0x00, 0x00, 0x7F}));
    EXPECT_EQ(defaultOf(97), (Bytes{0x00, 0x00, 0x28, 0x00, 0x00, 0x7F}));
    EXPECT_EQ(defaultOf(128), (Bytes{0x00, 0x00, 0x47, 0x00, 0x00, 0x7F}));
    EXPECT_EQ(defaultOf(129), (Bytes{0x00, 0x00, 0x70, 0x00, 0x00, 0x7F, 0x08, 0x3C, 0x48, 0x3E,
                                     0x40, 0x41, 0x43, 0x45, 0x47}));
    EXPECT_EQ(defaultOf(130), (Bytes{0x00, 0x00, 0x71, 0x00, 0x00, 0x7F, 0x08, 0x45, 0x51, 0x47,
                                     0x48, 0x4A, 0x4C, 0x4D, 0x4F}));
}

TEST(Defaults, AnAxisPlacedWithAnotherIndexHasNone)
{
    QZ::RCPtr<LTestRootModule> root = LTestRootModule::Create(false);
    root->SetFirstParamID(nullptr, 0, 0);
    QZ::RCPtr<LTouchPadAxis> axis = LTouchPadAxis::Create();
    axis->SetFirstParamID(root.Get(), 130, 2);
    EXPECT_EQ(axis->GetParamValueDefault(130).GetType(), QZ::Variant::TagEmpty);
}

} // namespace
