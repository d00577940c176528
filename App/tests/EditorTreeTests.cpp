// The editor's control tree built from the shipped skin with the program's own registrations:
// the main control binds the device view's nine groups, hands the engine's states to their owners
// and the panels' edits to the engine, the device view switches edit panels and banks, a skin
// that lacks a child the tree works with is refused with a clear error, every window shows
// where the keyboard's focus is, and every button face keeps its ends at any width.
#include "App/EditorControls.h"
#include "Platform/Dialogs/FileChooser.h"
#include "Platform/Shell/DocumentLauncher.h"
#include "Platform/Window/WindowScript.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "DeviceControl/GeneratedCode/Engine/Inc/IEncoders.h"
#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"
#include "Engine/RededoVuvuvaCommon/tests/KeyboardRig.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Application/ApplicationFolders.h"
#include "QZFramework/Application/FrameworkControls.h"
#include "QZFramework/ControlBase/ControlDescriptor.h"
#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/ControlBase/Look.h"
#include "QZFramework/ControlBase/OSWindow.h"
#include "QZFramework/ControlBase/Skin.h"
#include "QZFramework/ControlBase/WindowEventLoop.h"
#include "QZFramework/ControlBase/tests/PaintTestSupport.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/MainMenu.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Controls/TextBox.h"
#include "QZFramework/Notification/MouseButtonParam.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Renderer/GDI/GDIRenderContextInfo.h"
#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Utilities/Graphics/tests/RealFaceRenderer.h"
#include "QZFramework/Utilities/Storage/ParamValues.h"
#include "UI/DeviceView/DeviceView.h"
#include "UI/DriverCommon/AppServices.h"
#include "UI/DriverCommon/MainControl.h"
#include "UI/TarnSeriesCommon/ButtonEditPanel.h"
#include "UI/TarnSeriesCommon/ButtonGroupPanel.h"
#include "UI/TarnSeriesCommon/ButtonPanel.h"
#include "UI/TarnSeriesCommon/DeviceExchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace QZ
{
namespace
{

constexpr std::uint32_t kEnglish = 0x0009;

struct Received
{
    std::string owner;
    std::int32_t paramID;
    Variant value;
};

// What the owners of the tree received, in order; a hook runs inside each delivery.
std::vector<Received> gReceived;
std::function<void(LParameterizedModule&, const ParamDescriptor&, const Variant&)> gOnReceive;

// A family group that owns its whole identifier run and records the states it is given.
template <class Family> class RecordingGroup : public LPanel, public Family
{
public:
    RecordingGroup(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
        : LPanel(parent, name, mostDerived)
    {
    }
    using LParameterizedModule::GetModule;
    RCPtr<LParameterizedModule> GetModule(std::int32_t) override
    {
        return RCPtr<LParameterizedModule>(this);
    }
    std::int32_t SetParamValueLocal(const ParamDescriptor& descriptor, const Variant& value,
                                    bool) override
    {
        gReceived.push_back({GetName().ToNarrowString().GetString(), descriptor.mParamID, value});
        if (gOnReceive)
        {
            gOnReceive(*this, descriptor, value);
        }
        return 0;
    }
};

#define RECORDING_GROUP(Name, Family, Getter, Element)                                             \
    class Name : public RecordingGroup<Family>                                                     \
    {                                                                                              \
    public:                                                                                        \
        using RecordingGroup::RecordingGroup;                                                      \
        RCPtr<Element> Getter(std::uint32_t) override { return nullptr; }                          \
    };
RECORDING_GROUP(RecordingZones, IKeybedZones, GetKeybedZone, IKeybedZone)
RECORDING_GROUP(RecordingWheels, IWheels, GetWheel, IWheel)
RECORDING_GROUP(RecordingPads, IPads, GetPad, IPad)
RECORDING_GROUP(RecordingFaders, IFaders, GetFader, IFader)
RECORDING_GROUP(RecordingEncoders, IEncoders, GetEncoder, IEncoder)
RECORDING_GROUP(RecordingAxes, ITouchPadAxises, GetTouchPadAxis, ITouchPadAxis)
#undef RECORDING_GROUP

class RecordingPedals : public RecordingGroup<IPedals>
{
public:
    using RecordingGroup::RecordingGroup;
    RCPtr<IVolumePedal> GetVolumePedal() override { return nullptr; }
    RCPtr<ISustainPedal> GetSustainPedal() override { return nullptr; }
};
using RecordingPresetName = RecordingGroup<IPresetName>;

// Message boxes recorded instead of shown.
class RecordingServices : public IAppServices
{
public:
    RecordingServices() { SetAppServices(this); }
    ~RecordingServices() override { SetAppServices(nullptr); }
    bool LookupAppString(const char16_t* key, WideString& text) const override
    {
        RCPtr<LStringTable> table;
        const LApplicationBase* application = LApplicationBase::GetApplication();
        return application && application->GetControlFactory()->GetAppStringTable(table) &&
               table->Lookup(key, text);
    }
    std::uint32_t ShowMessageBox(const WideString& text, const WideString& caption,
                                 std::uint32_t style) override
    {
        boxes.push_back(caption.ToNarrowString().GetString() + std::string(": ") +
                        text.ToNarrowString().GetString() + " / " + std::to_string(style));
        return kMessageBoxResultOk;
    }
    std::vector<std::string> boxes;
};

class EditorTree : public ::testing::Test
{
protected:
    EditorTree()
    {
        LNotification::EnablePooling(true);
        mApplication.SetControlFactory(mFactory);
        mFactory->SetBaseFolder(WideString(u"::"));
        EXPECT_EQ(mFactory->LoadStringTables(WideString(u"::APP_STRINGS"),
                                             WideString(u"::FRAMEWORK_STRINGS"), kEnglish),
                  S_OK);
        EXPECT_EQ(mFactory->LoadSkins(WideString(u"::APP_SKINS")), S_OK);
        RegisterFrameworkControls([this](const WideString& name, LControlFactory::CreateFunction f)
                                  { return mFactory->RegisterControlClass(name, f); });
        RegisterEditorControls(*mFactory);
        mApplication.CreateRootModuleEngine();
        // The global settings dialog works with the application's MIDI manager.
        RCPtr<LMidiManager> midiManager;
        LMidiManager::Create(midiManager);
        mApplication.SetMidiManager(midiManager);
        gReceived.clear();
        gOnReceive = nullptr;
    }
    ~EditorTree() override
    {
        mMain = nullptr;
        mApplication.SetMidiManager(nullptr);
        mApplication.ReleaseRootModuleEngine();
        mApplication.SetControlFactory(RCPtr<LControlFactory>());
        gOnReceive = nullptr;
        LNotification::EnablePooling(false);
    }

    // The family groups as recording modules (the push buttons keep their own panels).
    void RegisterRecordingGroups()
    {
        const std::pair<const char16_t*, LControlFactory::CreateFunction> groups[] = {
            {u"RededoVuvuva.MainControl.DeviceView.PresetNameEditPanel",
             &LControlFactory::Create<RecordingPresetName>},
            {u"RededoVuvuva.MainControl.KeybedZones", &LControlFactory::Create<RecordingZones>},
            {u"RededoVuvuva.MainControl.WheelView", &LControlFactory::Create<RecordingWheels>},
            {u"RededoVuvuva.MainControl.Pedals", &LControlFactory::Create<RecordingPedals>},
            {u"RededoVuvuva.MainControl.PadView", &LControlFactory::Create<RecordingPads>},
            {u"RededoVuvuva.MainControl.FaderView", &LControlFactory::Create<RecordingFaders>},
            {u"RededoVuvuva.MainControl.EncoderView", &LControlFactory::Create<RecordingEncoders>},
            {u"RededoVuvuva.MainControl.XYPadView", &LControlFactory::Create<RecordingAxes>},
        };
        for (const auto& [name, create] : groups)
        {
            mFactory->RegisterControlClass(WideString(name), create);
        }
    }
    void Build()
    {
        RCPtr<LControl> control;
        ASSERT_EQ(mFactory->CreateRootControl(control, WideString(u"mainControl")), S_OK);
        mMain = RCPtr<LMainControl>::DynamicCastFrom(control);
        ASSERT_TRUE(mMain);
        mView = RCPtr<LDeviceView>::DynamicCastFrom(Child(u"viewDevice"));
        ASSERT_TRUE(mView);
        // As the root window does once it holds the control.
        mMain->SetRect(RectT<double>(0.0, 0.0, 1200.0, 750.0));
        mMain->UpdateConditions();
    }
    // The message of building "mainControl" from a skin without the child at the path.
    std::string BuildWithout(std::initializer_list<const char16_t*> path)
    {
        RCPtr<LControlDescriptor> at = mFactory->FindSkinSubControl(WideString(u"mainControl"));
        RCPtr<LControlDescriptor> parent;
        for (const char16_t* name : path)
        {
            parent = at;
            at = nullptr;
            for (const RCPtr<LControlDescriptor>& child : parent->subControls)
            {
                at = child->name == WideString(name) ? child : at;
            }
        }
        EXPECT_TRUE(at);
        std::erase(parent->subControls, at);
        RCPtr<LControl> control;
        try
        {
            mFactory->CreateRootControl(control, WideString(u"mainControl"));
        }
        catch (const std::exception& e)
        {
            return e.what();
        }
        return "built";
    }
    RCPtr<LControl> Child(std::initializer_list<const char16_t*> path) const
    {
        RCPtr<LControl> at(mMain.Get());
        for (const char16_t* name : path)
        {
            at = at ? at->FindChildByName(WideString(name)) : nullptr;
        }
        return at;
    }
    RCPtr<LControl> Child(const char16_t* name) const { return Child({name}); }
    void Deliver(const RCPtr<LRefCountedObject>& payload)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, NID_PARAM_MODULE_STATE_CHANGE, payload);
        mMain->OnParamModuleStateChange(nullptr, notification);
    }
    std::int32_t First() const { return GetRootModuleEngine()->GetFirstParamID(); }

    LApplication mApplication;
    RCPtr<LControlFactory> mFactory{
        new LControlFactory(WideString(u"Tarn 61 Vidida Editor"), WideString(u"RededoVuvuva"))};
    RCPtr<LMainControl> mMain;
    RCPtr<LDeviceView> mView;
};

// The nine groups take the first identifiers of their runs; the push buttons' own panels then
// answer for their identifiers, and nothing answers outside the preset.
TEST_F(EditorTree, BuildingTheMainControlBindsTheNineGroups)
{
    RegisterRecordingGroups();
    Build();
    const std::pair<const char16_t*, std::int32_t> groups[] = {{u"presetNameEditPanel", 0},
                                                               {u"keybedZones", 1},
                                                               {u"wheels", 5},
                                                               {u"pedals", 7},
                                                               {u"pads", 9},
                                                               {u"buttons", 25},
                                                               {u"faders", 61},
                                                               {u"encoders", 97},
                                                               {u"xyPad", 129}};
    for (const auto& [name, offset] : groups)
    {
        SCOPED_TRACE(WideString(name).ToNarrowString().GetString());
        auto* module = dynamic_cast<LParameterizedModule*>(Child({u"viewDevice", name}).Get());
        ASSERT_NE(module, nullptr);
        EXPECT_EQ(module->GetFirstParamID(), First() + offset);
        EXPECT_EQ(module->GetParent(), static_cast<LParameterizedModule*>(mView.Get()));
    }
    const auto buttons =
        RCPtr<LButtonGroupPanel>::DynamicCastFrom(Child({u"viewDevice", u"buttons"}));
    ASSERT_TRUE(buttons);
    EXPECT_EQ(mMain->GetModule(First() + 26).Get(),
              static_cast<LParameterizedModule*>(buttons->GetButtonPanels()[1].Get()));
    EXPECT_EQ(mMain->GetModule(First() + 131), nullptr);
    EXPECT_EQ(mMain->GetDevice().Get(), static_cast<IDevice*>(mView.Get()));
    EXPECT_TRUE(RCPtr<LMainMenu>::DynamicCastFrom(Child(u"mainMenu")));
    EXPECT_EQ(mMain->GetDeviceCommunicationInterface(), nullptr);
}

// A list reaches the owners in its order; an empty value, an identifier nobody owns, the
// device's signals and a list that is not a list change nothing.
TEST_F(EditorTree, EngineStatesReachTheirOwnersInOrder)
{
    RegisterRecordingGroups();
    Build();
    const ParamValue states[] = {
        ParamValue(ParamDescriptor(First() + 97), EngineTestSupport::MakePresetValue(97, 1)),
        ParamValue(ParamDescriptor(First() + 1), EngineTestSupport::MakePresetValue(1, 2)),
        ParamValue(ParamDescriptor(First() + 500), EngineTestSupport::MakePresetValue(1, 3)),
        ParamValue(ParamDescriptor(First() + 9), Variant()),
        ParamValue(ParamDescriptor(-8), EngineTestSupport::MakeText("Tarn 61")),
        ParamValue(ParamDescriptor(First() + 130), EngineTestSupport::MakePresetValue(130, 4)),
    };
    ParamValues list;
    ASSERT_EQ(list.SetItems(states, 6), 0);
    Deliver(RCPtr<LRefCountedObject>(new LRootModuleEngine::ParamStatesPayload(list)));
    Deliver(RCPtr<LRefCountedObject>(
        new LRootModuleEngine::ParamStatesPayload(ParamValues(EngineTestSupport::MakeText("x")))));
    Deliver(RCPtr<LRefCountedObject>(new LRootModuleEngine::ParamStatePayload(
        ParamDescriptor(First() + 7), EngineTestSupport::MakePresetValue(7, 5))));
    std::vector<std::pair<std::string, std::int32_t>> got;
    for (const Received& received : gReceived)
    {
        got.emplace_back(received.owner, received.paramID - First());
    }
    EXPECT_EQ(got, (std::vector<std::pair<std::string, std::int32_t>>{
                       {"encoders", 97}, {"keybedZones", 1}, {"xyPad", 130}, {"pedals", 7}}));
    EXPECT_EQ(gReceived[0].value, EngineTestSupport::MakePresetValue(97, 1));
}

// A panel that answers the state being applied sends nothing back; the same edit by the user
// afterwards reaches the engine.
TEST_F(EditorTree, EchoesAreDroppedAndEditsReachTheEngine)
{
    RegisterRecordingGroups();
    Build();
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    const ParamDescriptor fader(First() + 61);
    Variant before;
    ASSERT_EQ(engine->GetParamValue(fader, before), 0);
    const Variant edited = EngineTestSupport::MakePresetValue(61, 9);
    ASSERT_NE(edited, before);
    std::int32_t echoResult = -1;
    gOnReceive = [&](LParameterizedModule&, const ParamDescriptor& descriptor, const Variant&)
    { echoResult = mMain->SendParamValue(descriptor, edited); };
    mMain->ApplyParamState(fader, EngineTestSupport::MakePresetValue(61, 1));
    gOnReceive = nullptr;
    EXPECT_EQ(echoResult, 0);
    Variant after;
    ASSERT_EQ(engine->GetParamValue(fader, after), 0);
    EXPECT_EQ(after, before);

    EXPECT_GE(mMain->SendParamValue(fader, edited), 0);
    ASSERT_EQ(engine->GetParamValue(fader, after), 0);
    EXPECT_EQ(after, edited);

    // An identifier outside the preset is refused, and no owner is given anything for it.
    gReceived.clear();
    EXPECT_LT(mMain->SendParamValue(ParamDescriptor(First() + 131), edited), 0);
    EXPECT_TRUE(gReceived.empty());
}

// Keys typed into the preset name while the engine's answers to the keys before them are still
// queued stay where and as they were typed: a desktop under load hands over the keys in batches,
// and the answers arrive between them (the blank that ends the second batch changes no value).
TEST_F(EditorTree, KeysTypedBeforeTheNamesAnswersArriveStayInOrder)
{
    Build();
    std::string error;
    const std::unique_ptr<LWindowEventLoop> loop = LWindowEventLoop::Open("dummy", error);
    ASSERT_TRUE(loop) << error;
    OSWindow window;
    ASSERT_NE(window.CreateEx(0, WideString(), WideString(u"mainControl"), 0, 0, 0, 1200, 750,
                              nullptr, nullptr, nullptr),
              0);
    ASSERT_EQ(window.AttachRootWindow(LRenderer::kTypeGDIPlus), S_OK);
    window.GetRootWindow()->SetRootControl(RCPtr<LControl>(mMain.Get()));
    window.Show();
    const auto box = RCPtr<LTextBox>::DynamicCastFrom(
        Child({u"viewDevice", u"presetNameEditPanel", u"textBox"}));
    ASSERT_TRUE(box);
    const std::uint32_t id = window.GetId();
    const PointT<double> at = box->GetPositionInRoot();
    const auto x = static_cast<std::int32_t>(at.x + box->GetSize().x / 2);
    const auto y = static_cast<std::int32_t>(at.y + box->GetSize().y / 2);
    const auto press = [id](std::uint32_t virtualKey, int times)
    {
        bool pressed = true;
        for (int i = 0; i < times; ++i)
        {
            pressed = pressed && Platform::WindowScript::Key(id, virtualKey, true, 0, false) &&
                      Platform::WindowScript::Key(id, virtualKey, false, 0, false);
        }
        return pressed;
    };
    // The loop takes a queued batch in one pass, then delivers what the engine posted meanwhile.
    const auto typed = [&](std::u16string_view text)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        loop->RunModal(
            [&]
            {
                return (std::u16string_view(box->GetText().GetString()) == text &&
                        !LNotificationCenterManager::HasQueuedNotifications()) ||
                       std::chrono::steady_clock::now() > deadline;
            });
        return std::u16string_view(box->GetText().GetString()) == text;
    };
    constexpr std::uint32_t kEnd = 0x23;
    constexpr std::uint32_t kBackspace = 0x08;
    constexpr std::uint32_t kReturn = 0x0D;

    ASSERT_TRUE(Platform::WindowScript::Move(id, x, y, 0) &&
                Platform::WindowScript::Button(id, 1, true, x, y, 1) &&
                Platform::WindowScript::Button(id, 1, false, x, y, 1) && press(kEnd, 1) &&
                press(kBackspace, 6) && Platform::WindowScript::Type(id, u"W"));
    EXPECT_TRUE(typed(u"W"));
    ASSERT_TRUE(Platform::WindowScript::Type(id, u"alk "));
    EXPECT_TRUE(typed(u"Walk "));
    ASSERT_TRUE(Platform::WindowScript::Type(id, u"1") && press(kReturn, 1));
    EXPECT_TRUE(typed(u"Walk 1")) << box->GetText().ToNarrowString().GetString();
    Variant name;
    ASSERT_EQ(GetRootModuleEngine()->GetParamValue(ParamDescriptor(First()), name), 0);
    std::uint32_t size = 0;
    const auto* bytes = static_cast<const char*>(name.GetData(size));
    EXPECT_EQ(std::string(bytes, bytes == nullptr ? 0 : size), "WALK\"1");
}

// Without a remote-device list the editor says once that it works offline, and goes on.
TEST_F(EditorTree, AFailedDeviceQueryShowsOneMessageAndTheEditorStays)
{
    Build();
    RecordingServices services;
    const RCPtr<EngineTestSupport::NotificationRecorder> exits(
        new EngineTestSupport::NotificationRecorder());
    exits->Subscribe(GetApplicationNotificationCenter(), NID_APP_EXIT_REQ, 0);
    mMain->ApplyParamState(ParamDescriptor(-2), Variant());
    EXPECT_TRUE(services.boxes.empty()) << "the engine's empty list is no failure";
    mApplication.ReleaseRootModuleEngine();
    mMain->ApplyParamState(ParamDescriptor(-2), EngineTestSupport::MakeText("configured"));
    EXPECT_TRUE(services.boxes.empty());
    mMain->ApplyParamState(ParamDescriptor(-2), Variant());
    mMain->ApplyParamState(ParamDescriptor(-2), Variant());
    static_cast<void>(GetApplicationNotificationCenter()->ProcessQueue(false));
    ASSERT_EQ(services.boxes.size(), 1u);
    EXPECT_EQ(services.boxes[0],
              "Device Control Unavailable: The editor could not reach the device-control service "
              "and works offline. Preset files and MIDI transfers to and from the Tarn 61 still "
              "work. / 16");
    EXPECT_TRUE(exits->GetDelivered(NID_APP_EXIT_REQ).empty());
    static_cast<void>(exits->UnsubscribeAll());
}

// Each control type shows its own edit panel alone; the pedals' subtypes choose between theirs.
TEST_F(EditorTree, ShowEditPanelShowsTheSelectedFamilysPanelAlone)
{
    Build();
    const char16_t* const panels[] = {
        u"faderEditPanel",  u"knobEditPanel",        u"padEditPanel",
        u"xyPadEditPanel",  u"wheelEditPanel",       u"zoneEditPanel",
        u"buttonEditPanel", u"volumePedalEditPanel", u"sustainEditPage"};
    const auto shown = [&]
    {
        std::string names;
        for (const char16_t* name : panels)
        {
            if (Child({u"viewDevice", name})->IsShowing(false))
            {
                names += WideString(name).ToNarrowString().GetString() + std::string(" ");
            }
        }
        return names;
    };
    EXPECT_EQ(shown(), "");
    struct Case
    {
        std::int32_t type;
        std::int32_t subtype;
        const char* shown;
    };
    const Case cases[] = {
        {0, 0, "faderEditPanel "},
        {1, 5, "knobEditPanel "},
        {2, 0, "padEditPanel "},
        {3, 0, "xyPadEditPanel "},
        {4, 0, "wheelEditPanel "},
        {5, 0, "zoneEditPanel "},
        {6, 0, "buttonEditPanel "},
        {7, 1, "sustainEditPage "},
        {7, 2, "sustainEditPage "},
        {7, 0, "volumePedalEditPanel "},
        {8, 0, ""},
        {7, 2, ""},
        {-1, 0, ""},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.type) + "/" + std::to_string(c.subtype));
        mView->ShowEditPanel(c.type, c.subtype);
        EXPECT_EQ(shown(), c.shown);
    }
}

// Bank 3 shows the third bank of faders, buttons and encoders and is the only bank button set;
// a click from anything else changes nothing.
TEST_F(EditorTree, ABankButtonSwitchesTheThreeBankedFamilies)
{
    Build();
    const auto click = [](const RCPtr<LControl>& control)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, NID_LEFT_CLICK);
        control->Distribute(notification);
    };
    const auto state = [&]
    {
        std::string text;
        for (const char16_t* family : {u"fader", u"button", u"encoder"})
        {
            const WideString group = WideString(family) + WideString(u"s");
            for (std::uint32_t bank = 1; bank <= 4; ++bank)
            {
                const WideString name = WideString(family) + WideString(u"Bank") +
                                        WideString(std::to_string(bank).c_str());
                text +=
                    Child({u"viewDevice", group.GetString(), name.GetString()})->IsShowing(false)
                        ? '1'
                        : '0';
            }
            text += ' ';
        }
        for (const char16_t* bank : {u"bank1", u"bank2", u"bank3", u"bank4"})
        {
            text += Child({u"viewDevice", u"groupBankPanel", bank})->GetValue() == 1.0 ? '1' : '0';
        }
        return text;
    };
    EXPECT_EQ(state(), "1000 1000 1000 1000");
    click(Child({u"viewDevice", u"groupBankPanel", u"bank3"}));
    EXPECT_EQ(state(), "0010 0010 0010 0010");
    mView->OnBankClicked(RCPtr<LNotificationDistributor>(Child(u"mainMenu").Get()), nullptr);
    EXPECT_EQ(state(), "0010 0010 0010 0010");
}

// The shown edit panel follows a bank switch to the element at the same place of the new bank:
// it is bound to it and names it, so an edit lands on an element the surface shows.
TEST_F(EditorTree, TheShownEditPanelFollowsABankSwitch)
{
    Build();
    const auto click = [](const RCPtr<LControl>& control)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, NID_LEFT_CLICK,
                              RCPtr<LRefCountedObject>(
                                  LMouseButtonParam::Create(0, 0, 0, 1, false, 0).Get()));
        control->Distribute(notification);
    };
    const struct
    {
        const char16_t* group;
        const char16_t* bank1;
        const char16_t* tile;
        const char16_t* panel;
        std::int32_t index;
    } families[] = {{u"encoders", u"encoderBank1", u"encoder2", u"knobEditPanel", 17},
                    {u"faders", u"faderBank1", u"fader2", u"faderEditPanel", 19},
                    {u"buttons", u"buttonBank1", u"button2", u"buttonEditPanel", 19}};
    for (const auto& family : families)
    {
        SCOPED_TRACE(WideString(family.group).ToNarrowString().GetString());
        click(Child({u"viewDevice", u"groupBankPanel", u"bank1"}));
        click(Child({u"viewDevice", family.group, family.bank1, family.tile, u"button"}));
        click(Child({u"viewDevice", u"groupBankPanel", u"bank3"}));
        const auto* bound =
            dynamic_cast<LParameterizedModule*>(Child({u"viewDevice", family.panel}).Get());
        ASSERT_NE(bound, nullptr);
        EXPECT_EQ(bound->GetIndex(), static_cast<std::uint32_t>(family.index));
        EXPECT_EQ(Child({u"viewDevice", family.panel, u"bankName"})->GetText(),
                  WideString(u"BANK 3"));
    }
}

// A skin without a child the tree works with is refused naming the child, before anything is
// bound.
TEST_F(EditorTree, AMissingChildIsASkinError)
{
    struct Case
    {
        std::initializer_list<const char16_t*> path;
        const char* message;
        const char* source;
    };
    const Case cases[] = {
        {{u"viewDevice"},
         "Runtime Error : Null Pointer : LMainControl couldn't find viewDevice : "
         "QZ::LMainControl::Initialize : ",
         "UI/DriverCommon/MainControl.cpp : Line "},
        // The zone group is built before the device view that holds its edit panel, so it is
        // the first to miss it.
        {{u"viewDevice", u"zoneEditPanel"},
         "Runtime Error : Null Pointer : zoneEditPanel not found : "
         "LKeybedZoneGroupPanel::Initialize : ",
         "UI/TarnSeriesCommon/"},
        {{u"viewDevice", u"xyPad"}, "Cannot find child: xyPad : ", "DeviceView.cpp"},
        {{u"viewDevice", u"groupBankPanel", u"bank4"},
         "Cannot find child: bank4 : ",
         "DeviceView.cpp"},
        {{u"viewDevice", u"encoders", u"encoderBank2"},
         "can not find child encoderBank2 : LEncoderGroupPanel::Initialize",
         "UI/TarnSeriesCommon/"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.message);
        ASSERT_EQ(mFactory->LoadSkins(WideString(u"::APP_SKINS")), S_OK);
        const std::string message = BuildWithout(c.path);
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_NE(message.find(c.source), std::string::npos) << message;
    }
}

// Every class a shipped skin names is registered once, and every top-level control of every
// shipped skin builds whole with the program's registrations.
TEST_F(EditorTree, EveryTopLevelControlOfEverySkinBuilds)
{
    std::set<std::u16string> registered;
    for (const FrameworkControl& control : GetFrameworkControls())
    {
        registered.insert(control.className);
    }
    for (const EditorControl& control : GetEditorControls())
    {
        EXPECT_TRUE(registered.insert(control.className).second)
            << WideString(control.className).ToNarrowString().GetString();
    }
    std::function<void(const LControlDescriptor&)> check = [&](const LControlDescriptor& at)
    {
        EXPECT_TRUE(registered.contains(at.className.GetString()))
            << at.className.ToNarrowString().GetString();
        for (const RCPtr<LControlDescriptor>& child : at.subControls)
        {
            check(*child);
        }
    };
    ASSERT_GT(mFactory->GetSkinCount(), 0);
    for (std::int32_t skin = 0; skin < mFactory->GetSkinCount(); ++skin)
    {
        mFactory->SetCurrentSkinIndex(skin);
        for (const RCPtr<LControlDescriptor>& top : mFactory->GetSkin(skin)->subControls)
        {
            SCOPED_TRACE(top->name.ToNarrowString().GetString());
            check(*top);
            RCPtr<LControl> control;
            EXPECT_EQ(mFactory->CreateRootControl(control, top->name), S_OK);
            EXPECT_TRUE(control);
        }
    }
}

// Every control-change number shows its controller's whole name beside it, and every drop-down
// list of every window shows each of its items whole: the texts are measured with the program's
// own faces.
TEST_F(EditorTree, EveryControllerNameAndListItemShowsWhole)
{
    mApplication.SetRenderer(RCPtr<LRenderer>(new Testing::RealFaceRenderer));
    WideString face;
    float size = 0.0f;
    std::int32_t style = 0;
    mFactory->GetSkinFont(face, size, style);
    mApplication.SetApplicationFont(LFont::FindOrCreate(face, size, style));
    std::size_t selectors = 0;
    std::size_t lists = 0;
    const auto expectWhole = [](const LControl& shown, const std::string& at)
    {
        EXPECT_FALSE(shown.IsTextClipped())
            << at << ": " << shown.GetText().ToNarrowString().GetString();
    };
    const std::function<void(const LControl&, const std::string&)> walk =
        [&](const LControl& parent, const std::string& path)
    {
        const LControl::ChildControlList& children = parent.GetChildren();
        for (std::uint32_t index = 0; index < children.GetCount(); ++index)
        {
            const RCPtr<LControl>& child = children.GetAt(index, LControl::kStorageOrder);
            const std::string at = path + "/" + child->GetName().ToNarrowString().GetString();
            const RCPtr<LControl> label = child->FindChildByName(WideString(u"label"));
            const RCPtr<LControl> number = child->FindChildByName(WideString(u"numericUpDown"));
            if (child->GetName() == WideString(u"ccSelector") && label && number)
            {
                ++selectors;
                ASSERT_EQ(number->SetValueRange(0.0, 127.0, 0), S_OK) << at;
                for (int controller = 0; controller < 128; ++controller)
                {
                    number->SetValue(number->ValueToPosition(controller));
                    expectWhole(*label, at);
                }
            }
            if (auto* list = dynamic_cast<LComboBox*>(child.Get()))
            {
                ++lists;
                for (std::int32_t item = 0; item < list->GetItemCount(); ++item)
                {
                    list->SetSelectedIndex(item);
                    expectWhole(*list, at);
                }
            }
            walk(*child, at);
        }
    };
    for (const RCPtr<LControlDescriptor>& top : mFactory->GetSkin(0)->subControls)
    {
        RCPtr<LControl> control;
        ASSERT_EQ(mFactory->CreateRootControl(control, top->name), S_OK);
        walk(*control, top->name.ToNarrowString().GetString());
    }
    mApplication.SetRenderer(nullptr);
    mApplication.SetApplicationFont(nullptr);
    EXPECT_GE(selectors, 10u);
    EXPECT_GE(lists, 100u);
}

// The desktop's file dialog as a test answers it: every request recorded, each answered with the
// next path (an empty one cancels).
class ScriptedChooser : public Dialogs::IFileChooser
{
public:
    ScriptedChooser() { Dialogs::SetFileChooser(this); }
    ~ScriptedChooser() override { Dialogs::SetFileChooser(nullptr); }
    Dialogs::FileChooserResult Run(const Dialogs::FileChooserRequest& request,
                                   std::vector<std::string>& paths) override
    {
        requests.push_back(request);
        const std::string answer = answers.empty() ? std::string() : answers.front();
        if (!answers.empty())
        {
            answers.erase(answers.begin());
        }
        if (answer.empty())
        {
            return Dialogs::FileChooserResult::Cancelled;
        }
        paths = {answer};
        return Dialogs::FileChooserResult::Chosen;
    }
    std::vector<std::string> answers;
    std::vector<Dialogs::FileChooserRequest> requests;
};

class MenuCommands : public EditorTree
{
protected:
    MenuCommands()
    {
        mFolder = std::filesystem::temp_directory_path() / ("menu-" + std::to_string(::getpid()));
        std::filesystem::create_directories(mFolder);
        Build();
        mView->SetDialogRunner(
            [this](const RCPtr<LControl>& dialog)
            {
                mOpened.push_back(dialog->GetName().ToNarrowString().GetString());
                return 1;
            });
        mWindow = new LRootWindow();
        mWindow->SetRootControl(RCPtr<LControl>(mMain.Get()));
    }
    ~MenuCommands() override
    {
        Shell::SetDocumentOpener(nullptr);
        mWindow->SetRootControl(nullptr);
        std::filesystem::remove_all(mFolder);
    }
    static void Send(const RCPtr<LNotificationDistributor>& to, const char16_t* command)
    {
        RCPtr<LNotification> notification;
        LNotification::Create(notification, command);
        to->Distribute(notification);
    }
    void SendToWindow(const char16_t* command)
    {
        Send(RCPtr<LNotificationDistributor>(mWindow.Get()), command);
    }
    void SendToCentre(const char16_t* command)
    {
        Send(RCPtr<LNotificationDistributor>(GetApplicationNotificationCenter().Get()), command);
    }
    // Whether the device view offers the menu item of the command.
    bool IsEnabled(const char16_t* command) const
    {
        MenuItemState state;
        state.enabled = true;
        static_cast<void>(mView->UpdateMenuItemState(nullptr, 0, WideString(command), state));
        return state.enabled;
    }

    std::filesystem::path mFolder;
    RCPtr<LRootWindow> mWindow;
    std::vector<std::string> mOpened;
    RecordingServices mServices;
    ScriptedChooser mChooser;
};

// Sending, retrieving and the global settings need the keyboard's ports; no other item changes.
TEST_F(MenuCommands, ItemsThatNeedTheKeyboardAreDisabledWithoutItsPorts)
{
    const std::pair<const char16_t*, bool> items[] = {
        {NID_MENU_FILE_SEND_PRESET_TO_DEVICE, false},
        {NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE, false},
        {NID_MENU_FILE_GLOBALSETTINGS_REQ, false},
        {NID_MENU_FILE_LOAD_PRESET_FROM_FILE, true},
        {NID_MENU_FILE_SAVE_PRESET_TO_FILE, true},
        {NID_MENU_FILE_EXIT_REQ, true},
        {NID_MENU_HELP_OPEN_USER_GUIDE_REQ, true},
        {NID_MENU_HELP_ABOUT_REQ, true},
    };
    for (const auto& [command, enabled] : items)
    {
        EXPECT_EQ(IsEnabled(command), enabled) << WideString(command).ToNarrowString().GetString();
    }
}

// Each failed load shows its own box; success shows nothing, a file the system cannot read is
// named with the system's reason, and an unforeseen failure is reported as a damaged file.
TEST_F(MenuCommands, EveryFailedLoadShowsItsMessage)
{
    const std::string older = "Vidida File Load: Vidida file is not compatible with this version "
                              "of the preset editor / 16";
    const std::pair<std::int32_t, std::string> results[] = {
        {0, ""},
        {-1, older},
        {-2,
         "Vidida File Load: Vidida file is not compatible with this version of the editor / 16"},
        {-3, older},
        {-4, older},
        {-5, older},
        {-6, "Vidida File Load: The Vidida file could not be read. The file and the reason:\n"
             "/x/a.preset\nPermission denied / 16"},
        {-7, older},
    };
    for (const auto& [result, box] : results)
    {
        mServices.boxes.clear();
        LDeviceView::ShowPresetFileLoadResult(result, WideString(u"/x/a.preset"),
                                              WideString(u"Permission denied"));
        EXPECT_EQ(mServices.boxes,
                  box.empty() ? std::vector<std::string>{} : std::vector<std::string>{box})
            << result;
    }
}

// A preset saved through the menu (the dialog offers the preset files and adds their extension)
// loads back with Ctrl+O; a cancelled dialog does nothing, an unreadable file and a failed save
// say so.
TEST_F(MenuCommands, SaveAndLoadGoThroughTheFileDialogAndThePresetManager)
{
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    const ParamDescriptor encoder(First() + 100);
    const Variant saved = EngineTestSupport::MakePresetValue(100, 7);
    ASSERT_GE(engine->SetParamValue(encoder, saved), 0);
    const std::string file = (mFolder / "Mine.Tarn61RededoVuvuva").string();
    mChooser.answers = {file, "", file, (mFolder / "absent" / "x.Tarn61RededoVuvuva").string()};

    SendToWindow(NID_MENU_FILE_SAVE_PRESET_TO_FILE);
    ASSERT_TRUE(std::filesystem::exists(file));
    ASSERT_GE(engine->SetParamValue(encoder, EngineTestSupport::MakePresetValue(100, 1)), 0);
    SendToCentre(NID_MENU_FILE_LOAD_PRESET_FROM_FILE); // cancelled
    SendToCentre(NID_MENU_FILE_LOAD_PRESET_FROM_FILE);
    Variant loaded;
    ASSERT_EQ(engine->GetParamValue(encoder, loaded), 0);
    EXPECT_EQ(loaded, saved);
    EXPECT_TRUE(mServices.boxes.empty());

    ASSERT_EQ(mChooser.requests.size(), 3u);
    EXPECT_EQ(mChooser.requests[0].mode, Dialogs::FileChooserMode::Save);
    EXPECT_EQ(mChooser.requests[0].title, "Select Save Location");
    EXPECT_EQ(mChooser.requests[0].defaultExtension, "*.Tarn61RededoVuvuva");
    EXPECT_EQ(mChooser.requests[1].mode, Dialogs::FileChooserMode::Open);
    EXPECT_EQ(mChooser.requests[1].title, "Select Vidida File");
    EXPECT_EQ(LDeviceView::GetPresetFileFilter().ToNarrowString().GetString(),
              std::string("Control Panel Settings (*.Tarn61RededoVuvuva)|*.Tarn61RededoVuvuva|"
                          "All Files (*.*)|*.*"));

    SendToWindow(NID_MENU_FILE_SAVE_PRESET_TO_FILE);
    ASSERT_EQ(mServices.boxes.size(), 1u);
    EXPECT_EQ(mServices.boxes[0],
              "Vidida File Save: The Vidida file could not be saved. Check that the folder can be "
              "written to and that the disk has room. The file:\n" +
                  (mFolder / "absent" / "x.Tarn61RededoVuvuva").string() + " / 16");

    std::ofstream(mFolder / "junk.Tarn61RededoVuvuva") << "not a preset";
    mChooser.answers = {(mFolder / "junk.Tarn61RededoVuvuva").string()};
    mServices.boxes.clear();
    SendToWindow(NID_MENU_FILE_LOAD_PRESET_FROM_FILE);
    ASSERT_EQ(mServices.boxes.size(), 1u);
    EXPECT_EQ(mServices.boxes[0].rfind("Vidida File Load: ", 0), 0u);
    ASSERT_EQ(engine->GetParamValue(encoder, loaded), 0);
    EXPECT_EQ(loaded, saved);

    // An empty file is damaged; one that is not there cannot be read, and the box says why.
    std::ofstream(mFolder / "empty.Tarn61RededoVuvuva").flush();
    const std::string missing = (mFolder / "gone.Tarn61RededoVuvuva").string();
    mChooser.answers = {(mFolder / "empty.Tarn61RededoVuvuva").string(), missing};
    mServices.boxes.clear();
    SendToWindow(NID_MENU_FILE_LOAD_PRESET_FROM_FILE);
    SendToWindow(NID_MENU_FILE_LOAD_PRESET_FROM_FILE);
    ASSERT_EQ(mServices.boxes.size(), 2u);
    EXPECT_EQ(mServices.boxes[0], "Vidida File Load: Vidida file is not compatible with this "
                                  "version of the preset editor / 16");
    EXPECT_EQ(mServices.boxes[1],
              "Vidida File Load: The Vidida file could not be read. The file and the reason:\n" +
                  missing + "\nNo such file or directory / 16");
}

// The user guide beside the program is handed to the desktop by its whole path; when it cannot
// be opened, the user is told so and where it was looked for.
TEST_F(MenuCommands, TheUserGuideOpensOrSaysWhyNot)
{
    std::vector<std::string> opened;
    bool opens = true;
    Shell::SetDocumentOpener(
        [&](const std::string& path)
        {
            opened.push_back(path);
            return opens;
        });
    SendToWindow(NID_MENU_HELP_OPEN_USER_GUIDE_REQ);
    ASSERT_EQ(opened.size(), 1u);
    const std::string guide = mApplication.GetFolder(kFolderProgram).ToNarrowString().GetString() +
                              std::string("/Tarn 61 Vidida Editor User Guide.pdf");
    EXPECT_EQ(opened[0], guide);
    EXPECT_TRUE(mServices.boxes.empty());
    opens = false;
    SendToWindow(NID_MENU_HELP_OPEN_USER_GUIDE_REQ);
    EXPECT_EQ(mServices.boxes, std::vector<std::string>{"Open User Guide Error: The user guide "
                                                        "could not be opened. The editor looked "
                                                        "for it at:\n" +
                                                        guide + " / 16"});
}

// The dialogs open by their skin names; a command greyed in the menu does nothing, whether it
// comes from the menu or a hot key, and neither does one given while another command runs (keys
// typed in its dialog); a dialog the skin lacks is reported; exit asks the application.
TEST_F(MenuCommands, DialogCommandsOpenTheirDialogsAndExitAsksTheApplication)
{
    // Without the keyboard's ports the device commands are greyed.
    for (const char16_t* command :
         {NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE, NID_MENU_FILE_SEND_PRESET_TO_DEVICE,
          NID_MENU_FILE_GLOBALSETTINGS_REQ})
    {
        SendToWindow(command);
        SendToCentre(command);
    }
    EXPECT_TRUE(mOpened.empty());
    mView->SetDialogRunner(
        [this](const RCPtr<LControl>& dialog)
        {
            mOpened.push_back(dialog->GetName().ToNarrowString().GetString());
            SendToWindow(NID_MENU_HELP_ABOUT_REQ);
            SendToCentre(NID_MENU_FILE_SAVE_PRESET_TO_FILE);
            return 1;
        });
    SendToWindow(NID_MENU_HELP_ABOUT_REQ);
    EXPECT_EQ(mOpened, std::vector<std::string>{"dialogAbout"});
    EXPECT_TRUE(mChooser.requests.empty());

    std::erase_if(mFactory->GetSkin(0)->subControls, [](const RCPtr<LControlDescriptor>& top)
                  { return top->name == WideString(u"dialogAbout"); });
    SendToWindow(NID_MENU_HELP_ABOUT_REQ);
    EXPECT_EQ(mOpened.size(), 1u);
    EXPECT_EQ(mServices.boxes,
              std::vector<std::string>{
                  "Tarn 61 Vidida Editor: The editor's skin has no window for this command, so it "
                  "cannot be carried out. The missing window:\ndialogAbout / 16"});

    const RCPtr<EngineTestSupport::NotificationRecorder> exits(
        new EngineTestSupport::NotificationRecorder());
    exits->Subscribe(GetApplicationNotificationCenter(), NID_APP_EXIT_REQ, 0);
    SendToWindow(NID_MENU_FILE_EXIT_REQ);
    static_cast<void>(GetApplicationNotificationCenter()->ProcessQueue(false));
    EXPECT_EQ(exits->GetDelivered(NID_APP_EXIT_REQ).size(), 1u);
    static_cast<void>(exits->UnsubscribeAll());
}

// With the keyboard's ports present, while an exchange with it runs the transfer and
// global-settings items are off and neither their hot keys nor their menu commands open a second
// device dialog; afterwards they work again.
TEST_F(MenuCommands, NoSecondDeviceDialogWhileAnExchangeRuns)
{
    EngineTestSupport::KeyboardRig rig;
    ASSERT_EQ(rig.Start(), S_OK);
    RCPtr<LMidiManager> manager;
    LMidiManager::Create(manager);
    mApplication.SetMidiManager(manager);
    const char16_t* const commands[] = {NID_MENU_FILE_SEND_PRESET_TO_DEVICE,
                                        NID_MENU_FILE_LOAD_PRESET_FROM_DEVICE,
                                        NID_MENU_FILE_GLOBALSETTINGS_REQ};
    std::vector<bool> enabled;
    LDeviceExchange::SetWait(
        [&](const std::function<bool()>& finished)
        {
            for (const char16_t* command : commands)
            {
                SendToCentre(command);
                SendToWindow(command);
                enabled.push_back(IsEnabled(command));
            }
            while (!finished())
            {
                std::this_thread::yield();
            }
        });
    {
        LDeviceExchange exchange(*mMain, *manager);
        EXPECT_EQ(exchange.Run([] { return 0; }), 0);
    }
    LDeviceExchange::SetWait(nullptr);
    EXPECT_TRUE(mOpened.empty());
    EXPECT_EQ(enabled, std::vector<bool>(3, false));
    SendToCentre(NID_MENU_FILE_SEND_PRESET_TO_DEVICE);
    EXPECT_EQ(mOpened, std::vector<std::string>{"dialogSendPreset"});
    mApplication.SetMidiManager(nullptr);
}

constexpr KeyCode kTab{KeyCode::kKeyDown | (0x09u << 16), 0, 0};
constexpr KeyCode kShiftTab{kTab.key | KeyCode::kShift, 0, 0};
// More steps than any window has tab stops: a walk that has not come round by then is stuck.
constexpr int kMaxSteps = 300;
// How far into a control from its edges its focus mark must show: a mark frames the control.
constexpr std::int32_t kEdgeBand = 3;

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

// What the skin draws a control with: its look list's name.
std::string LookListOf(const LControl& control)
{
    const ConstRCPtr<LControlDescriptor>& descriptor = control.GetDescriptor();
    return descriptor && descriptor->appearance.lookList
               ? Narrow(descriptor->appearance.lookList->name)
               : std::string("(none)");
}

// The control's rectangle in window pixels, rounded as painting rounds it.
RectT<std::int32_t> AreaOf(const LControl& control)
{
    const PointT<double> at = control.GetPositionInRoot();
    const PointT<double> size = control.GetSize();
    return {static_cast<std::int32_t>(std::lround(at.x)),
            static_cast<std::int32_t>(std::lround(at.y)),
            static_cast<std::int32_t>(std::lround(size.x)),
            static_cast<std::int32_t>(std::lround(size.y))};
}

bool Inside(const RectT<std::int32_t>& area, std::int32_t x, std::int32_t y)
{
    return x >= area.x && y >= area.y && x < area.x + area.width && y < area.y + area.height;
}

// Inside the area, less than kEdgeBand pixels from one of its edges.
bool OnEdge(const RectT<std::int32_t>& area, std::int32_t x, std::int32_t y)
{
    return Inside(area, x, y) && std::min({x - area.x, y - area.y, area.x + area.width - 1 - x,
                                           area.y + area.height - 1 - y}) < kEdgeBand;
}

// The skin's button faces, each drawn on a dialog's panel at a narrow and at a wide width: a face
// keeps its ends as drawn and stretches only its middle, and shows as the reference picture does
// within 1% of its pixels (QZ_WRITE_BUTTON_FACES=1 takes the picture afresh into the source tree).
TEST_F(EditorTree, EveryButtonFaceKeepsItsEndsAtEveryWidth)
{
    struct Faces
    {
        // The looks' name before their number.
        const char16_t* looks;
        std::int32_t count;
        std::int32_t height;
        std::int32_t narrow;
        std::int32_t wide;
        // The columns at each end that look alike at both widths.
        std::int32_t end;
    };
    const Faces table[] = {{u"Button.", 8, 22, 46, 530, 10},
                           {u"Spin.Up.", 4, 11, 16, 48, 2},
                           {u"Spin.Down.", 4, 11, 16, 48, 2},
                           {u"Pad.", 4, 60, 64, 96, 10}};
    struct Face
    {
        std::string name;
        RCPtr<LLook> look;
        RectT<std::int32_t> narrow;
        RectT<std::int32_t> wide;
        std::int32_t end;
    };
    constexpr std::int32_t kGap = 2;
    constexpr std::int32_t kWidth = 46 + kGap + 530;
    const RCPtr<LSkin> skin = mFactory->GetSkin(0);
    ASSERT_TRUE(skin);
    std::vector<Face> faces;
    std::int32_t height = 0;
    for (const Faces& row : table)
    {
        for (std::int32_t i = 0; i < row.count; ++i, height += row.height + kGap)
        {
            const std::u16string name = row.looks + std::u16string(1, char16_t(u'0' + i));
            const auto found = skin->looks.find(name);
            ASSERT_NE(found, skin->looks.end()) << Narrow(WideString(name.c_str()));
            Face face{Narrow(WideString(name.c_str())),
                      nullptr,
                      {0, height, row.narrow, row.height},
                      {row.narrow + kGap, height, row.wide, row.height},
                      row.end};
            LLook::Create(face.look, found->second, false);
            faces.push_back(face);
        }
    }

    ToolkitTest::PaintedWindow window(mApplication, 1, 1);
    const RCPtr<LRenderer> renderer(window.Renderer().Get());
    RCPtr<LRenderContextInfo> context;
    ASSERT_EQ(renderer->InitRenderContextInfo({0, 0, kWidth, height}, nullptr, true, context),
              S_OK);
    (void)renderer->RenderStart(context);
    renderer->FillRect({0, 0, kWidth, height}, ColorRGBA(0xFF25272Cu), false);
    for (const Face& face : faces)
    {
        for (const RectT<std::int32_t>& at : {face.narrow, face.wide})
        {
            face.look->SetRect(RectT<double>(0.0, 0.0, at.width, at.height));
            renderer->PushOffset(PointT<double>(at.x, at.y));
            face.look->DrawClientPart(*renderer, RegionT());
            face.look->DrawNonClientParts(*renderer, RegionT());
            renderer->PopState();
        }
    }
    (void)renderer->RenderFinish(context);

    Graphics2D::Image& picture =
        *RCPtr<LGDIRenderContextInfo>::DynamicCastFrom(context)->GetFrontSurface()->GetBitmap();
    const std::string reference = std::string(QZ_EDITOR_TEST_DATA_DIR) + "/ButtonFaceWidths.png";
    if (std::getenv("QZ_WRITE_BUTTON_FACES") != nullptr)
    {
        ASSERT_EQ(picture.SaveToPngFile(reference.c_str()), Graphics2D::Status::Ok);
    }
    std::unique_ptr<Graphics2D::Image> expected;
    ASSERT_EQ(Graphics2D::Image::FromFile(reference.c_str(), expected), Graphics2D::Status::Ok);
    ASSERT_EQ(expected->GetWidth(), kWidth);
    ASSERT_EQ(expected->GetHeight(), height);
    const auto at = [](Graphics2D::Image& image, std::int32_t x, std::int32_t y)
    {
        std::uint32_t argb = 0;
        (void)image.GetPixel(x, y, argb);
        return argb;
    };
    // Another rendering of the art may smooth its edges a little differently.
    const auto alike = [](std::uint32_t a, std::uint32_t b)
    {
        for (int shift = 0; shift < 32; shift += 8)
        {
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                         static_cast<int>((b >> shift) & 0xFF)) > 8)
            {
                return false;
            }
        }
        return true;
    };
    for (const Face& face : faces)
    {
        const RectT<std::int32_t>& n = face.narrow;
        const RectT<std::int32_t>& w = face.wide;
        std::int32_t ends = 0;
        for (std::int32_t y = n.y; y < n.GetBottom(); ++y)
        {
            for (std::int32_t x = 0; x < face.end; ++x)
            {
                ends += at(picture, n.x + x, y) == at(picture, w.x + x, y) &&
                                at(picture, n.GetRight() - 1 - x, y) ==
                                    at(picture, w.GetRight() - 1 - x, y)
                            ? 0
                            : 1;
            }
        }
        EXPECT_EQ(ends, 0) << face.name << " shows other ends at " << w.width << " than at "
                           << n.width << " pixels wide";
        for (const RectT<std::int32_t>& area : {n, w})
        {
            std::int32_t differing = 0;
            for (std::int32_t y = area.y; y < area.GetBottom(); ++y)
            {
                for (std::int32_t x = area.x; x < area.GetRight(); ++x)
                {
                    differing += alike(at(picture, x, y), at(*expected, x, y)) ? 0 : 1;
                }
            }
            EXPECT_LT(differing * 100, area.width * area.height)
                << face.name << " at " << area.width << " pixels wide: " << differing
                << " pixels differ from the reference picture";
        }
    }
}

// The editor's windows painted into memory, one at a time.
class FocusMark : public EditorTree
{
protected:
    ~FocusMark() override
    {
        if (mPainted)
        {
            mPainted->Window()->SetRootControl(nullptr);
        }
    }

    // The skin's top-level control of that name in a window of its size, painted once.
    void Open(const char16_t* name)
    {
        if (mPainted)
        {
            mPainted->Window()->SetRootControl(nullptr);
        }
        const RCPtr<LControlDescriptor> top = mFactory->FindSkinSubControl(WideString(name));
        ASSERT_TRUE(top);
        mWidth = static_cast<std::int32_t>(top->absoluteWidth);
        mHeight = static_cast<std::int32_t>(top->absoluteHeight);
        mPainted = std::make_unique<ToolkitTest::PaintedWindow>(mApplication, mWidth, mHeight);
        mWindow = mPainted->Window();
        mWindow->SetMeasurementRenderer(RCPtr<LMeasurementRenderer>(mPainted->Renderer().Get()));
        ASSERT_EQ(mWindow->CreateRootControl(WideString(name)), S_OK);
        Frame();
    }

    // Paints what is dirty; the window's pixels afterwards.
    std::vector<std::uint32_t> Frame()
    {
        mPainted->Frame();
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(mWidth) * mHeight);
        Graphics2D::BitmapData data;
        Graphics2D::Image& picture = mPainted->Presenter().GetPicture();
        EXPECT_EQ(picture.LockBits({0, 0, mWidth, mHeight}, Graphics2D::LockModeRead, data),
                  Graphics2D::Status::Ok);
        for (std::int32_t y = 0; y < mHeight; ++y)
        {
            std::memcpy(&pixels[static_cast<std::size_t>(y) * mWidth],
                        data.scan0 + std::ptrdiff_t{y} * data.stride,
                        static_cast<std::size_t>(mWidth) * 4);
        }
        picture.UnlockBits(data);
        return pixels;
    }

    // A press and release of the left button at the middle of the control.
    void Click(const LControl& control)
    {
        const RectT<std::int32_t> area = AreaOf(control);
        const PointT<long> middle(area.x + area.width / 2, area.y + area.height / 2);
        mWindow->OnPointerMove(middle, 0, 0);
        mWindow->OnPointerButton(true, 1, middle, 1, 0, false);
        mWindow->OnPointerButton(false, 1, middle, 0, 0, false);
    }

    // Presses Tab (or Shift+Tab) until the focus comes round to where the walk began (the first
    // control it reached, when nothing had the focus). At each step the picture must change
    // inside the control that took the focus and the one that gave it up, and nowhere else; the
    // look lists of the controls met are returned, and their paths kept in mStops in order.
    std::set<std::string> WalkWithTab(const KeyCode& key = kTab)
    {
        std::set<std::string> met;
        mStops.clear();
        std::vector<std::uint32_t> before = Frame();
        RCPtr<LControl> home = mWindow->GetFocusedControl();
        for (int step = 0; step < kMaxSteps; ++step)
        {
            const RCPtr<LControl> left = mWindow->GetFocusedControl();
            mWindow->DeliverKey(key);
            const RCPtr<LControl> taken = mWindow->GetFocusedControl();
            if (taken && taken == left && taken == home)
            {
                // The window's only tab stop.
                return met;
            }
            if (!taken || taken == left)
            {
                ADD_FAILURE() << "Tab moved no focus from "
                              << (left ? Narrow(left->GetName()) : "nowhere");
                return met;
            }
            const std::vector<std::uint32_t> after = Frame();
            ExpectChangedOnlyIn(before, after, *taken, left.Get());
            met.insert(LookListOf(*taken));
            mStops.push_back(PathOf(*taken));
            before = after;
            if (taken == home)
            {
                return met;
            }
            home = home ? home : taken;
        }
        ADD_FAILURE() << "the focus did not come round in " << kMaxSteps << " steps";
        return met;
    }

    void ExpectChangedOnlyIn(const std::vector<std::uint32_t>& before,
                             const std::vector<std::uint32_t>& after, const LControl& taken,
                             const LControl* left)
    {
        const RectT<std::int32_t> takenArea = AreaOf(taken);
        const RectT<std::int32_t> leftArea = left ? AreaOf(*left) : RectT<std::int32_t>();
        std::size_t inTaken = 0;
        std::size_t inLeft = 0;
        std::size_t elsewhere = 0;
        for (std::int32_t y = 0; y < mHeight; ++y)
        {
            for (std::int32_t x = 0; x < mWidth; ++x)
            {
                const std::size_t at = static_cast<std::size_t>(y) * mWidth + x;
                if (before[at] == after[at])
                {
                    continue;
                }
                inTaken += OnEdge(takenArea, x, y) ? 1 : 0;
                inLeft += OnEdge(leftArea, x, y) ? 1 : 0;
                elsewhere += Inside(takenArea, x, y) || Inside(leftArea, x, y) ? 0 : 1;
            }
        }
        const std::string name = Narrow(taken.GetName()) + " (" + LookListOf(taken) + ")";
        EXPECT_GT(inTaken, 0u) << name << " shows no focus along its edges";
        if (left != nullptr)
        {
            EXPECT_GT(inLeft, 0u) << Narrow(left->GetName()) << " keeps its focus mark";
        }
        EXPECT_EQ(elsewhere, 0u) << "pixels outside the controls changed as " << name
                                 << " took the focus";
    }

    // The names from below the root control down to the control.
    static std::vector<std::string> PathOf(const LControl& control)
    {
        std::vector<std::string> path;
        for (const LControl* at = &control; at->GetParent(); at = at->GetParent().Get())
        {
            path.insert(path.begin(), Narrow(at->GetName()));
        }
        return path;
    }

    // The part of the window each stop of the last walk lies in: the root control's child, or
    // the container's child for a stop inside the container; one name for each run of stops.
    std::vector<std::string> PartsMet(const std::string& container = {}) const
    {
        std::vector<std::string> parts;
        for (const std::vector<std::string>& path : mStops)
        {
            const auto inside = std::find(path.begin(), path.end(), container);
            const bool within = inside != path.end() && inside + 1 != path.end();
            const std::string& part = within ? inside[1] : path.front();
            if (parts.empty() || parts.back() != part)
            {
                parts.push_back(part);
            }
        }
        return parts;
    }

    std::unique_ptr<ToolkitTest::PaintedWindow> mPainted;
    RCPtr<LRootWindow> mWindow;
    std::int32_t mWidth = 0;
    std::int32_t mHeight = 0;
    std::vector<std::vector<std::string>> mStops;
};

// Each window is walked with Tab all the way round; between them the walks meet every kind of
// control that takes the focus: buttons (plain, toggles, tabs, bank buttons and the surface's
// tiles), menu titles, drop-down lists, text boxes and number boxes. Tab from nowhere in the main
// window walks its menu titles and the surface; from a tile (a click on a push button's tile,
// which also shows that button's edit panel) it walks the surface and the edit panel as well.
TEST_F(FocusMark, TabMarksTheControlItReachesAndUnmarksTheOneItLeavesAndNothingElse)
{
    struct Window
    {
        const char16_t* name;
        // The tile clicked first, a path below the root control; none for a dialog.
        std::vector<const char16_t*> tile;
        std::set<std::string> kinds;
    };
    const Window windows[] = {
        {u"dialogAbout", {}, {"Framework.Button"}},
        {u"messageBox", {}, {"Framework.Button"}},
        {u"dialogSendPreset", {}, {"Framework.ComboBox", "Framework.Button"}},
        {u"dialogRetrievePresetFromHardware", {}, {"Framework.ComboBox", "Framework.Button"}},
        {u"globalEditorControl",
         {},
         {"Framework.ComboBox", "Framework.TextBox", "Framework.Button"}},
        {u"mainControl",
         {},
         {"Framework.ComboMenu", "Framework.TextBox", "Tile.Select", "Bank.Button", "Pad.Tile",
          "Button.Tile"}},
        {u"mainControl",
         {u"viewDevice", u"buttons", u"buttonBank1", u"button1", u"button"},
         {"Bank.Button", "Tile.Select", "Pad.Tile", "Button.Tile", "Framework.TextBox",
          "Tab.Button", "Framework.ComboBox", "Framework.Button"}},
    };
    for (const Window& window : windows)
    {
        SCOPED_TRACE(Narrow(WideString(window.name)));
        ASSERT_NO_FATAL_FAILURE(Open(window.name));
        if (!window.tile.empty())
        {
            RCPtr<LControl> tile = mWindow->GetRootControl();
            for (const char16_t* name : window.tile)
            {
                tile = tile ? tile->FindChildByName(WideString(name)) : tile;
            }
            ASSERT_TRUE(tile);
            Click(*tile);
        }
        const std::set<std::string> met = WalkWithTab();
        for (const std::string& kind : window.kinds)
        {
            EXPECT_TRUE(met.contains(kind)) << "Tab never reached a control drawn by " << kind;
        }
        mWindow->SetRootControl(nullptr);
    }
}

// From a fresh start Tab walks one loop: the menu titles, then the surface in reading order (top
// to bottom, left to right), and back to the first title; Shift+Tab walks the same loop backwards.
TEST_F(FocusMark, TabFromAFreshStartWalksTheMenusThenTheSurfaceInReadingOrderAndShiftTabBack)
{
    ASSERT_NO_FATAL_FAILURE(Open(u"mainControl"));
    WalkWithTab();
    const std::vector<std::vector<std::string>> forward = mStops;
    EXPECT_EQ(PartsMet("viewDevice"),
              (std::vector<std::string>{"mainMenu", "presetNameEditPanel", "encoders",
                                        "groupBankPanel", "wheels", "xyPad", "faders", "buttons",
                                        "pads", "pedals", "keybedZones", "mainMenu"}));
    ASSERT_NO_FATAL_FAILURE(Open(u"mainControl"));
    WalkWithTab(kShiftTab);
    ASSERT_EQ(mStops.size(), forward.size());
    ASSERT_GT(forward.size(), 1u);
    // The forward loop less its return to the start, read backwards.
    const std::vector<std::vector<std::string>> loop(forward.rbegin() + 1, forward.rend());
    EXPECT_TRUE(std::equal(loop.begin(), loop.end(), mStops.begin()));
}

// Global Settings lists its fields in the order the keyboard is sent them, each under its name,
// the fields in one column beside their labels; Tab visits them in the same order.
TEST_F(FocusMark, GlobalSettingsListsItsFieldsInTheOrderTheyAreSentAndTabFollowsIt)
{
    const std::pair<std::string, std::string> fields[] = {
        {"midiChannel", "GLOBAL CHANNEL"},
        {"mackieHUIToggle", "MACKIE CONTROL / HUI"},
        {"keyOctave", "KEY OCTAVE"},
        {"keyTranspose", "KEY TRANSPOSE"},
        {"keySensitivity", "KEY CURVE"},
        {"padOctave", "PAD OCTAVE"},
        {"padTranspose", "PAD TRANSPOSE"},
        {"padSensitivity", "PAD CURVE"},
        {"controlCurve", "ENCODER CURVE"},
        {"xyPadSensitivity", "XY PAD CURVE"},
        {"program", "PROGRAM"},
        {"msb", "MSB"},
        {"lsb", "LSB"},
    };
    ASSERT_NO_FATAL_FAILURE(Open(u"globalEditorControl"));
    // The labelled fields from top to bottom.
    struct Row
    {
        RCPtr<LControl> row;
        RCPtr<LControl> label;
        RCPtr<LControl> field;
    };
    std::vector<Row> rows;
    const LControl::ChildControlList& children = mWindow->GetRootControl()->GetChildren();
    for (std::uint32_t i = 0; i < children.GetCount(); ++i)
    {
        const RCPtr<LControl>& child = children.GetAt(i, LControl::kStorageOrder);
        const RCPtr<LControl> combo = child->FindChildByName(WideString(u"comboBox"));
        const RCPtr<LControl> field =
            combo ? combo : child->FindChildByName(WideString(u"numericUpDown"));
        const RCPtr<LControl> label = child->FindChildByName(WideString(u"label"));
        if (field)
        {
            rows.push_back({child,
                            label ? label : child->FindChildByName(WideString(u"controlNameLabel")),
                            field});
        }
    }
    std::ranges::stable_sort(rows, {}, [](const Row& row) { return row.row->GetPosition().y; });
    ASSERT_EQ(rows.size(), std::size(fields));
    std::vector<std::string> names;
    for (std::size_t i = 0; i < rows.size(); ++i)
    {
        const std::string name = Narrow(rows[i].row->GetName());
        names.push_back(name);
        ASSERT_TRUE(rows[i].label) << name;
        EXPECT_EQ(Narrow(rows[i].label->GetText()), fields[i].second);
        const RectT<std::int32_t> label = AreaOf(*rows[i].label);
        const RectT<std::int32_t> field = AreaOf(*rows[i].field);
        EXPECT_EQ(field.x, AreaOf(*rows[0].field).x) << name << " is out of the fields' column";
        EXPECT_LE(label.x + label.width, field.x) << name << "'s label runs into its field";
        if (i > 0)
        {
            const RectT<std::int32_t> above = AreaOf(*rows[i - 1].row);
            EXPECT_LE(above.y + above.height, AreaOf(*rows[i].row).y) << name << " overlaps";
        }
    }
    std::vector<std::string> expected;
    for (const auto& field : fields)
    {
        expected.push_back(field.first);
    }
    EXPECT_EQ(names, expected);
    WalkWithTab();
    expected.push_back("getGlobalSettingsButton");
    expected.push_back(expected.front());
    EXPECT_EQ(PartsMet(), expected);
}

} // namespace
} // namespace QZ
