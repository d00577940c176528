#include "DeviceControl/GeneratedCode/Engine/tests/ModelTestSupport.h"

namespace
{

constexpr std::int32_t kFirst = 1000;

QZ::RCPtr<LTestRootModule> MakeBareRoot()
{
    QZ::RCPtr<LTestRootModule> root = LTestRootModule::Create(false);
    root->SetFirstParamID(nullptr, kFirst, 0);
    return root;
}

TEST(Placement, EncodersOneTooHighFailOnTheLastEncoderAfterTheOthersArePlaced)
{
    QZ::RCPtr<LTestRootModule> root = MakeBareRoot();
    QZ::RCPtr<LEncoders> encoders = LEncoders::Create();
    ExpectLogicError([&] { encoders->SetFirstParamID(root.Get(), kFirst + 98, 0); },
                     LogicErrorPrefix("LEncoder::SetFirstParamID", true));
    EXPECT_EQ(encoders->GetEncoder(30)->GetFirstParamID(), kFirst + 128);
    EXPECT_EQ(encoders->GetEncoder(30)->GetParent(), encoders.Get());
    // The failing encoder keeps the values it was given.
    EXPECT_EQ(encoders->GetEncoder(31)->GetFirstParamID(), kFirst + 129);
    EXPECT_EQ(encoders->GetEncoder(31)->GetIndex(), 31u);
}

TEST(Placement, EncodersOneTooLowFailOnTheFirstEncoder)
{
    QZ::RCPtr<LTestRootModule> root = MakeBareRoot();
    QZ::RCPtr<LEncoders> encoders = LEncoders::Create();
    ExpectLogicError([&] { encoders->SetFirstParamID(root.Get(), kFirst + 96, 0); },
                     LogicErrorPrefix("LEncoder::SetFirstParamID", true));
    EXPECT_EQ(encoders->GetEncoder(1)->GetParent(), nullptr);
}

struct MisplacedContainer
{
    const char* failingClass;
    std::int32_t offset;
    std::function<QZ::RCPtr<LParameterizedModule>()> create;
};

class MisplacedContainers : public testing::TestWithParam<MisplacedContainer>
{
};

TEST_P(MisplacedContainers, ReportTheFirstChildOutsideItsRange)
{
    QZ::RCPtr<LTestRootModule> root = MakeBareRoot();
    QZ::RCPtr<LParameterizedModule> container = GetParam().create();
    ExpectLogicError(
        [&] { container->SetFirstParamID(root.Get(), kFirst + GetParam().offset, 0); },
        LogicErrorPrefix(std::string(GetParam().failingClass) + "::SetFirstParamID", true));
}

INSTANTIATE_TEST_SUITE_P(
    EveryContainer, MisplacedContainers,
    testing::Values(
        MisplacedContainer{"LKeybedZone", 2,
                           [] { return QZ::RCPtr<LParameterizedModule>(LKeybedZones::Create()); }},
        MisplacedContainer{"LKeybedZone", 0,
                           [] { return QZ::RCPtr<LParameterizedModule>(LKeybedZones::Create()); }},
        MisplacedContainer{"LWheel", 6,
                           [] { return QZ::RCPtr<LParameterizedModule>(LWheels::Create()); }},
        MisplacedContainer{"LVolumePedal", 8,
                           [] { return QZ::RCPtr<LParameterizedModule>(LPedals::Create()); }},
        MisplacedContainer{"LPad", 10,
                           [] { return QZ::RCPtr<LParameterizedModule>(LPads::Create()); }},
        MisplacedContainer{"LPushButton", 26,
                           [] { return QZ::RCPtr<LParameterizedModule>(LPushButtons::Create()); }},
        MisplacedContainer{"LFader", 60,
                           [] { return QZ::RCPtr<LParameterizedModule>(LFaders::Create()); }},
        MisplacedContainer{"LTouchPadAxis", 128,
                           []
                           { return QZ::RCPtr<LParameterizedModule>(LTouchPadAxises::Create()); }},
        MisplacedContainer{"LPresetName", 1,
                           [] { return QZ::RCPtr<LParameterizedModule>(LPresetName::Create()); }}));

// A sustain pedal at offset 6 would be caught by the volume pedal first; place it alone.
TEST(Placement, ASinglePedalOutsideItsOffsetThrowsForItsOwnClass)
{
    QZ::RCPtr<LTestRootModule> root = MakeBareRoot();
    QZ::RCPtr<LSustainPedal> sustain = LSustainPedal::Create();
    ExpectLogicError([&] { sustain->SetFirstParamID(root.Get(), kFirst + 7, 0); },
                     LogicErrorPrefix("LSustainPedal::SetFirstParamID", true));
    EXPECT_NO_THROW(sustain->SetFirstParamID(root.Get(), kFirst + 8, 0));
}

// The model's own leaves always report a misplaced container first; a container whose children
// are missing shows the container's own check.
class LEmptyWheels : public LWheels
{
public:
    static QZ::RCPtr<LEmptyWheels> Create() { return QZ::RCPtr<LEmptyWheels>(new LEmptyWheels()); }
    using LWheels::GetWheel;
    QZ::RCPtr<IWheel> GetWheel(std::uint32_t) override { return nullptr; }
};

TEST(Placement, AContainerChecksItsOwnOffsetAfterPlacingItsChildren)
{
    QZ::RCPtr<LTestRootModule> root = MakeBareRoot();
    QZ::RCPtr<LEmptyWheels> wheels = LEmptyWheels::Create();
    ExpectLogicError([&] { wheels->SetFirstParamID(root.Get(), kFirst + 4, 0); },
                     LogicErrorPrefix("LWheels::SetFirstParamID", true));
    EXPECT_EQ(wheels->GetFirstParamID(), kFirst + 4);
}

TEST(Placement, ATreeUnderAnotherFirstIdentifierPlacesEveryLeafRelativeToIt)
{
    for (std::int32_t first : {-500, 0, 7, 1000})
    {
        QZ::RCPtr<LTestRootModule> root = MakePlacedRoot(first);
        EXPECT_EQ(root->GetModule(first + 130)->GetFirstParamID(), first + 130);
        EXPECT_EQ(root->GetModule(first)->GetParent(), root.Get());
    }
}

} // namespace
