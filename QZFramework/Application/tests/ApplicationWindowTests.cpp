// The application object with real windows under the test's X server: the framework's control
// classes, the stored skin's choice, the main and dialog windows and a skin switch across them.
#include "QZFramework/Application/Application.h"
#include "QZFramework/Application/FrameworkControls.h"
#include "QZFramework/Application/WindowStyle.h"
#include "QZFramework/Application/tests/ShellEnvironment.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/OSWindow.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/WindowEventLoop.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/ListBoxItem.h"
#include "QZFramework/Controls/StatusBar.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Storage/IniFileManager.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <typeinfo>

#include <sys/stat.h>
#include <unistd.h>

using namespace QZ;

namespace
{

// Children that some classes look up by name as they are made.
std::string ChildrenOf(std::u16string_view className)
{
    if (className == u"Framework.StatusBar")
    {
        return R"(<SubControl Class="Framework.Label" Name="label1" XSizeAbs="100" YSizeAbs="10"/>)";
    }
    if (className == u"Framework.ComboBox" || className == u"Framework.ComboTextBox")
    {
        return R"(<SubControl Class="Framework.ListBox" Name="listBox" XSizeAbs="100" YSizeAbs="40">
          <SubControl Class="Framework.ListBoxItem" Name="item" XSizeAbs="100" YSizeAbs="10"/>
          </SubControl>)";
    }
    if (className == u"Framework.LevelMeter" || className == u"Framework.ProgressBar")
    {
        return R"(<SubControl Class="Framework.Panel" Name="activeOverlay" XSizeAbs="10" YSizeAbs="10"/>
          <SubControl Class="Framework.Label" Name="percentCompleteLabel" XSizeAbs="10" YSizeAbs="10"/>
          <SubControl Class="Framework.Label" Name="timeRemainingLabel" XSizeAbs="10" YSizeAbs="10"/>)";
    }
    const std::string sliderMarkers =
        R"(<SubControl Class="Framework.Button" Name="thumbStart" XSizeAbs="10" YSizeAbs="10"/>
          <SubControl Class="Framework.Button" Name="thumbEnd" XPositionAbs="80" XSizeAbs="10"
            YSizeAbs="10"/>)";
    const std::string menuRows =
        R"(<SubControl Class="Framework.MenuItem" Name="item" XSizeAbs="100" YSizeAbs="10">
            <CreateParamList><CreateParam ID="DEFER_CREATE">true</CreateParam></CreateParamList>
          </SubControl>)";
    const std::string popup =
        R"(<SubControl Class="Framework.PopupMenu" Name="popupMenu" XSizeAbs="100" YSizeAbs="40">)" +
        menuRows + "</SubControl>";
    if (className == u"Framework.CheckedComboBox" || className == u"Framework.ComboBoxWithIcons")
    {
        return R"(<SubControl Class="Framework.CheckedListBox" Name="listBox" XSizeAbs="100"
            YSizeAbs="40">
            <SubControl Class="Framework.CheckedListBoxItem" Name="item" XSizeAbs="100"
              YSizeAbs="10">
              <SubControl Class="Framework.Button" Name="checkBox" XSizeAbs="10" YSizeAbs="10"/>
            </SubControl>
          </SubControl>)";
    }
    if (className == u"Framework.Slider")
    {
        return sliderMarkers;
    }
    if (className == u"Framework.ComboSlider")
    {
        return R"(<SubControl Class="Framework.ComboSlider.DropDownPanel" Name="dropDownPanel"
            XSizeAbs="100" YSizeAbs="20">
            <SubControl Class="Framework.Slider" Name="slider" XSizeAbs="100" YSizeAbs="20">)" +
               sliderMarkers + "</SubControl></SubControl>";
    }
    if (className == u"Framework.NumericUpDown")
    {
        return R"(<SubControl Class="Framework.TextBox" Name="textBox" XSizeAbs="60" YSizeAbs="20"/>
          <SubControl Class="Framework.Button" Name="buttonUp" XSizeAbs="20" YSizeAbs="10"/>
          <SubControl Class="Framework.Button" Name="buttonDown" XSizeAbs="20" YSizeAbs="10"/>)";
    }
    if (className == u"Framework.PopupMenu")
    {
        return menuRows;
    }
    if (className == u"Framework.ComboMenu")
    {
        return popup;
    }
    if (className == u"Framework.MainMenu")
    {
        return R"(<SubControl Class="Framework.ComboMenu" Name="templateMenu" XSizeAbs="30"
            YSizeAbs="10">)" +
               popup + "</SubControl>";
    }
    if (className == u"Framework.TabControl")
    {
        return R"(<SubControl Class="Framework.Panel" Name="buttonHolder" XSizeAbs="100" YSizeAbs="10">
            <SubControl Class="Framework.Button" Name="tab" XSizeAbs="50" YSizeAbs="10"/>
          </SubControl>
          <SubControl Class="Framework.Panel" Name="pageHolder" XSizeAbs="100" YSizeAbs="10">
            <SubControl Class="Framework.Panel" Name="page" XSizeAbs="100" YSizeAbs="10"/>
          </SubControl>)";
    }
    return "";
}

// Three skins: one control of every framework class, a main control with a status bar, and a
// dialog whose size tells the skins apart.
std::string TestSkins()
{
    std::string controls;
    int index = 0;
    for (const FrameworkControl& control : GetFrameworkControls())
    {
        const std::u16string_view name(control.className);
        controls += "<SubControl Class=\"" + std::string(name.begin(), name.end()) + "\" Name=\"c" +
                    std::to_string(index++) + "\" XSizeAbs=\"100\" YSizeAbs=\"20\">" +
                    ChildrenOf(name) + "</SubControl>";
    }
    std::string skins = "<Korvane_Skin_Definitions>";
    for (int skin = 0; skin < 3; ++skin)
    {
        const std::string dialogWidth = std::to_string(100 + 20 * skin);
        skins += "<Skin Name=\"S" + std::to_string(skin) + "\">" + controls +
                 R"(<SubControl Class="Framework.Panel" Name="mainControl" XSizeAbs="300"
                      YSizeAbs="200" XMinSizeToControl="Self" XMaxSizeToControl="Self"
                      YMinSizeToControl="Self" YMaxSizeToControl="Self" XMinSizeAbs="300"
                      XMaxSizeAbs="300" YMinSizeAbs="200" YMaxSizeAbs="200">
                    <SubControl Class="Framework.StatusBar" Name="status" YPositionAbs="180"
                      XSizeAbs="300" YSizeAbs="20">
                      <SubControl Class="Framework.Label" Name="label1" XSizeAbs="300"
                        YSizeAbs="20"/>
                    </SubControl>
                  </SubControl>
                  <SubControl Class="Framework.button" Name="wrongCase"/>
                  <SubControl Class="Framework.Panel" Name="dialog" XPositionAbs="5000"
                    YPositionAbs="5000" XSizeAbs=")" +
                 dialogWidth + R"(" YSizeAbs="50"/></Skin>)";
    }
    return skins + "</Korvane_Skin_Definitions>";
}

class ApplicationWindows : public ShellEnvironment
{
protected:
    void SetUp() override
    {
        const char* display = std::getenv("DISPLAY");
        const std::string saved = display != nullptr ? display : "";
        ShellEnvironment::SetUp();
        setenv("DISPLAY", saved.c_str(), 1);
        const std::string skins = TestSkins();
        ASSERT_EQ(
            mFactory->LoadSkinsFrom(
                {reinterpret_cast<const std::uint8_t*>(skins.data()), skins.size()}, "test skins"),
            S_OK)
            << mFactory->GetLastError();
        mApplication.SetControlFactory(mFactory);
    }

    void TearDown() override
    {
        mApplication.CloseWindows();
        mLoop.reset();
        mApplication.SetControlFactory(RCPtr<LControlFactory>());
        ShellEnvironment::TearDown();
    }

    QZRESULT Start() { return mApplication.RunFrameworkStartup(); }

    void StoreSkinIndex(std::int32_t index)
    {
        const std::int32_t file = mApplication.GetSettingsFile(LApplication::kUserSettingsFile);
        ASSERT_NE(file, 0);
        ASSERT_EQ(mApplication.GetIniFileManager()->SetIniValueInt(
                      file, WideString(u"CurrentSkinIndex"), index),
                  S_OK);
    }

    void OpenMainWindow()
    {
        std::string error;
        mLoop = LWindowEventLoop::Open(nullptr, error);
        ASSERT_TRUE(mLoop) << error;
        ASSERT_EQ(mApplication.CreateMainWindow(LApplicationBase::GetRendererType()), S_OK);
        ASSERT_EQ(mApplication.GetMainWindow()->GetRootWindow()->CreateRootControl(
                      WideString(u"mainControl")),
                  S_OK);
    }

    RCPtr<LControl> Create(const std::string& name)
    {
        RCPtr<LControl> control;
        mFactory->CreateRootControl(control, WideString(name.c_str()));
        return control;
    }

    LApplication mApplication;
    RCPtr<LControlFactory> mFactory{
        new LControlFactory(WideString(u"Test"), WideString(u"TestApp"))};
    std::unique_ptr<LWindowEventLoop> mLoop;
};

TEST_F(ApplicationWindows, EveryFrameworkNameBuildsItsControlAndOnlyThatSpelling)
{
    ASSERT_EQ(Start(), S_OK);
    for (std::size_t i = 0; i < GetFrameworkControls().size(); ++i)
    {
        const RCPtr<LControl> control = Create("c" + std::to_string(i));
        ASSERT_TRUE(control) << "row " << i;
        EXPECT_TRUE(control->IsCreated()) << "row " << i;
    }
    // A look-alike of a list row, not a button; two names of the same combo box.
    EXPECT_TRUE(dynamic_cast<LListBoxItem*>(Create("c1").Get()) != nullptr);
    const RCPtr<LControl> combo = Create("c11");
    const RCPtr<LControl> comboText = Create("c12");
    ASSERT_TRUE(dynamic_cast<LComboBox*>(combo.Get()) != nullptr);
    const LControl& comboClass = *combo.Get();
    const LControl& comboTextClass = *comboText.Get();
    EXPECT_EQ(typeid(comboClass), typeid(comboTextClass));
    EXPECT_FALSE(Create("wrongCase"));
}

TEST_F(ApplicationWindows, AFailingRegistrationNamesItsRowAndKeepsTheRowsBefore)
{
    std::vector<std::u16string> registered;
    const auto failThird = [&](const WideString& name, LControlFactory::CreateFunction)
    {
        if (registered.size() == 2)
        {
            return static_cast<QZRESULT>(E_FAIL);
        }
        registered.emplace_back(name.GetString());
        return static_cast<QZRESULT>(S_OK);
    };
    try
    {
        RegisterFrameworkControls(failThird);
        FAIL() << "no exception";
    }
    catch (const FailedResultException& e)
    {
        const std::string text = e.what();
        EXPECT_NE(text.find("QZRESULT = 80004005"), std::string::npos) << text;
        EXPECT_NE(text.find("Line " + std::to_string(GetFrameworkControls()[2].line)),
                  std::string::npos)
            << text;
    }
    EXPECT_EQ(registered,
              (std::vector<std::u16string>{u"Framework.Button", u"Framework.OverlayButton"}));
}

// The settings file is the user's to edit: a stored index past either end selects the nearest
// skin and is written back as chosen; one already in range leaves the file as it is. A save
// puts a new file in the old one's place, so a second link to the old file tells whether it was
// replaced.
TEST_F(ApplicationWindows, TheStoredSkinIndexIsLimitedToTheSkinsAndWrittenBack)
{
    const std::string settings = Path("config/Korvane/Tarn 61 Vidida Editor/UserSettings.ini");
    const std::string witness = Path("witness.ini");
    using Case = std::tuple<std::int32_t, std::int32_t>;
    for (const auto& [stored, chosen] : {Case{5, 2}, Case{-3, 0}, Case{1, 1}, Case{0, 0}})
    {
        StoreSkinIndex(stored);
        ASSERT_EQ(::link(settings.c_str(), witness.c_str()), 0);
        ASSERT_EQ(Start(), S_OK);
        EXPECT_EQ(mFactory->GetCurrentSkinIndex(), chosen) << stored;
        EXPECT_EQ(mApplication.GetCurrentSkinIndex(), chosen) << stored;
        struct stat status = {};
        ASSERT_EQ(::stat(witness.c_str(), &status), 0);
        EXPECT_EQ(status.st_nlink == 2, stored == chosen) << stored;
        ASSERT_EQ(::unlink(witness.c_str()), 0);
    }
}

TEST_F(ApplicationWindows, ASkinFileWithoutSkinsFailsTheStart)
{
    mApplication.SetControlFactory(
        RCPtr<LControlFactory>(new LControlFactory(WideString(u"Test"), WideString(u"TestApp"))));
    EXPECT_EQ(Start(), E_FAIL);
}

// The main window and a dialog far off the screen: the dialog is moved into the work area, a
// skin switch re-skins both and the status bar of the main window takes the status texts.
// Text is measured with the main window's renderer from the moment the window exists: a label
// laid out without it would have no width and no line height.
TEST_F(ApplicationWindows, TheMainWindowsRendererMeasuresTextWhileTheWindowLives)
{
    ASSERT_EQ(Start(), S_OK);
    EXPECT_FALSE(mApplication.GetRenderer());
    ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
    ASSERT_TRUE(mApplication.GetRenderer());
    EXPECT_EQ(mApplication.GetRenderer().Get(), mApplication.GetMainWindow()->GetRenderer().Get());
    EXPECT_GT(LFont::FindOrCreate(WideString(u"DejaVu Sans"), 9.0f, 0)->ComputeMetrics(), 0);
    mApplication.CloseWindows();
    EXPECT_FALSE(mApplication.GetRenderer());
}

TEST_F(ApplicationWindows, DialogsOpenCentredInTheWorkAreaAndASkinSwitchReachesEveryWindow)
{
    ASSERT_EQ(Start(), S_OK);
    ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
    const std::size_t before = mApplication.GetRootWindows().size();
    EXPECT_EQ(mApplication.CreateRootWindow(RCPtr<LControl>(), false, true, false, false), E_FAIL);
    EXPECT_EQ(mApplication.GetRootWindows().size(), before);

    // A dialog opens centred over its window, whatever position its skin gives it...
    const RCPtr<LControl> dialog = Create("dialog");
    ASSERT_EQ(mApplication.CreateRootWindow(dialog, false, true, false, false), 1);
    RectT<std::int32_t> owner;
    mApplication.GetMainWindow()->GetClientRect(owner.x, owner.y, owner.width, owner.height);
    RectT<std::int32_t> placed = mApplication.GetRootWindows()[1]->GetClientScreenRect();
    EXPECT_EQ(placed.x + placed.width / 2, owner.x + owner.width / 2);
    EXPECT_EQ(placed.y + placed.height / 2, owner.y + owner.height / 2);
    // ...but inside the work area when its window reaches past the area's corner. With no window
    // active, the window belongs to the newest one, the dialog in front.
    WorkArea work;
    ASSERT_EQ(mApplication.GetWorkArea(work), S_OK);
    dynamic_cast<OSWindow*>(mApplication.GetRootWindows()[1]->GetOSServices())
        ->SetClientScreenRect(
            {work.left + work.width - 120, work.top + work.height - 60, 300, 200});
    ASSERT_EQ(mApplication.CreateRootWindow(Create("dialog"), false, true, false, false), 2);
    placed = mApplication.GetRootWindows()[2]->GetClientScreenRect();
    EXPECT_EQ(placed.GetRight(), work.left + work.width);
    EXPECT_EQ(placed.GetBottom(), work.top + work.height);

    ASSERT_EQ(mApplication.SetStatusText(WideString(u"Ready"), true), S_OK);
    ASSERT_TRUE(mApplication.GetStatusBar());
    EXPECT_TRUE(mApplication.GetStatusBar()->GetLabel()->GetText() == WideString(u"Ready"));

    mApplication.SetSkin(2);
    const RCPtr<LSkin> skin = mFactory->GetSkin(2);
    EXPECT_EQ(dialog->GetDescriptor().Get(), skin->FindSubControl(u"dialog").Get());
    EXPECT_EQ(mApplication.GetRootWindows()[0]->GetRootControl()->GetDescriptor().Get(),
              skin->FindSubControl(u"mainControl").Get());
    EXPECT_EQ(mApplication.GetCurrentSkinIndex(), 2);
}

} // namespace

namespace
{

// Without an active window the buttons come from the key state, in the toolkit's bits.
TEST_F(ApplicationWindows, WithoutAnActiveWindowTheButtonsComeFromTheKeyState)
{
    for (const std::uint32_t button :
         {InputState::kLeftButton, InputState::kMiddleButton, InputState::kRightButton})
    {
        mApplication.GetInputState().OnButtonDown(button);
        EXPECT_EQ(mApplication.GetMouseButtons(), button);
        mApplication.GetInputState().OnButtonUp(button);
    }
}

} // namespace

namespace
{

LLayoutDescriptor::LimitSpec Limit(bool fromOther, double absolute)
{
    LLayoutDescriptor::LimitSpec limit;
    limit.present = fromOther;
    limit.name = WideString(fromOther ? u"other" : u"");
    limit.absolute = absolute;
    return limit;
}

// The window frame that a skin layout asks for: fixed sizes have no border, limits all taken
// from other controls have none either, and only an unlimited main window can be maximised.
TEST(WindowStyle, TheLayoutDecidesTheBorderAndTheBoxes)
{
    using Case =
        std::tuple<LLayoutDescriptor::LimitSpec, LLayoutDescriptor::LimitSpec, std::uint32_t>;
    const Case cases[] = {
        {Limit(false, 1200), Limit(false, 1200), 0x00CA0000}, // fixed size
        {Limit(false, 0), Limit(false, 0), 0x00CF0000},       // no limits
        {Limit(false, 300), Limit(false, 0), 0x00CF0000},     // a minimum only
        {Limit(false, 300), Limit(false, 900), 0x00CE0000},   // a range
        {Limit(true, 300), Limit(true, 900), 0x00CA0000},     // limits of another control
    };
    for (const auto& [minimum, maximum, mainStyle] : cases)
    {
        LLayoutDescriptor layout;
        layout.minimum[0] = layout.minimum[1] = minimum;
        layout.maximum[0] = layout.maximum[1] = maximum;
        EXPECT_EQ(MainWindowStyle(layout), mainStyle)
            << minimum.absolute << " " << maximum.absolute;
    }
    EXPECT_EQ(RootWindowStyle(false, false, false, false), 0x80C00000u);
    EXPECT_EQ(RootWindowStyle(true, true, false, true),
              0x80C00000u | 0x00080000 | 0x00010000 | 0x00040000);
}

TEST(WindowStyle, ARectangleIsMovedIntoTheAreaNeverResized)
{
    const RectT<std::int32_t> area(0, 20, 1000, 700);
    using Case = std::tuple<RectT<std::int32_t>, RectT<std::int32_t>>;
    const Case cases[] = {
        {{-50, 100, 200, 100}, {0, 100, 200, 100}},   // off the left edge
        {{900, 650, 200, 100}, {800, 620, 200, 100}}, // off the right and bottom
        {{10, 0, 200, 100}, {10, 20, 200, 100}},      // above the top
        {{100, 100, 1500, 100}, {0, 100, 1500, 100}}, // wider than the area: left edge shows
        {{100, 100, 200, 100}, {100, 100, 200, 100}}, // inside already
    };
    for (const auto& [rect, kept] : cases)
    {
        EXPECT_EQ(KeepInside(rect, area), kept) << rect.x << "," << rect.y;
    }
}

} // namespace

TEST(ApplicationLife, NotificationsAreRecycledFromTheStartUntilTheApplicationEnds)
{
    {
        LApplication application;
        ASSERT_EQ(application.RunFrameworkStartup(), S_OK);
        RCPtr<LNotification> first;
        LNotification::Create(first, u"NID_IDLE");
        LNotification* const recycled = first.Get();
        first = nullptr;
        RCPtr<LNotification> second;
        LNotification::Create(second, u"NID_APP_EXIT_REQ");
        EXPECT_EQ(second.Get(), recycled);
    }
    EXPECT_FALSE(LNotification::IsPoolingEnabled());
    EXPECT_EQ(LNotification::GetPoolSize(), 0U);
}
