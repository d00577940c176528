#include "Platform/Graphics2D/Image.h"
#include "Platform/Graphics2D/tests/PngBuilder.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

namespace QZ::ToolkitTest
{
namespace
{

constexpr std::string_view kSkins = R"(<Korvane_Skin_Definitions>
 <Skin Name="First" FontName="Face" FontSize="11" FontStyle="2">
  <SubControl Class="Test.Control" Name="mainControl" XSizeAbs="300" YSizeAbs="200">
    <SubControl Class="Test.Control" Name="panel" XPositionAbs="5" YPositionAbs="6" XSizeAbs="100">
      <SubControl Class="Test.Control" Name="label">
        <CreateParamList><CreateParam ID="LABEL">from param</CreateParam>
          <CreateParam ID="TOOLTIP">tip</CreateParam></CreateParamList>
      </SubControl>
      <SubControl Class="Unknown.Class" Name="ghost"/>
      <SubControl Class="Test.Control" Name="later">
        <CreateParamList><CreateParam ID="DEFER_CREATE"> TRUE </CreateParam></CreateParamList>
      </SubControl>
      <SubControl Class="Test.Control" Name="plain">
        <CreateParamList><CreateParam ID="LABEL">from param</CreateParam>
          <CreateParam ID="DEFER_CREATE">yes</CreateParam></CreateParamList>
      </SubControl>
    </SubControl>
    <SubControl Class="Test.Control" Name="failing"><SubControl Class="Test.Control" Name="inner"/></SubControl>
    <SubControl Class="Test.Control" Name="Panel"/>
  </SubControl>
  <SubControl Class="Test.Control" Name="toolTip"/>
  <SubControl Class="Test.Control" Name="dialog"/>
  <SubControl Class="Test.Control" Name="toolTip" XSizeAbs="77"/>
  <SubControl Class="Test.Control" Name="throwing"/>
 </Skin>
 <Skin Name="Second"/>
</Korvane_Skin_Definitions>)";

constexpr std::string_view kStrings = R"(<Korvane_StringTable_Definitions>
  <StringTable ID="Test.Control|label"><String ID="LABEL"><Text LCID="9">from table</Text></String></StringTable>
  <StringTable ID="TestApp|dialog"><String ID="TITLE"><Text LCID="9">Dialog</Text></String></StringTable>
  <StringTable ID="|TestApp"><String ID="TITLE"><Text LCID="9">Application</Text></String></StringTable>
</Korvane_StringTable_Definitions>)";

class ControlFactory : public ToolkitFixture
{
protected:
    void SetUp() override
    {
        LoadSkin(kSkins);
        LoadStrings(kStrings);
    }

    std::string TableText(const RCPtr<LControl>& control, const char16_t* key)
    {
        WideString text(u"stale");
        return Narrow(control->GetString(text, key));
    }
};

TEST_F(ControlFactory, BuildsTheTreeRunningEveryPhaseInOrder)
{
    RCPtr<LControl> main;
    ASSERT_EQ(mFactory->CreateRootControl(main, WideString(u"mainControl")), S_OK);
    ASSERT_TRUE(main);
    // Each control is made, takes its record and makes its children, then initializes and
    // finishes; "failing" fails to initialize and goes with its child.
    std::istringstream phases("mainControl:construct mainControl:apply mainControl:children "
                              "panel:construct panel:apply panel:children "
                              "label:construct label:apply label:children label:initialize "
                              "label:post plain:construct plain:apply plain:children "
                              "plain:initialize plain:post panel:initialize panel:post "
                              "failing:construct failing:apply failing:children "
                              "inner:construct inner:apply inner:children inner:initialize "
                              "inner:post failing:initialize inner:destroy failing:destroy "
                              "Panel:construct Panel:apply Panel:children Panel:initialize "
                              "Panel:post mainControl:initialize mainControl:post");
    const std::vector<std::string> expected{std::istream_iterator<std::string>(phases), {}};
    EXPECT_EQ(PhaseLog(), expected);

    // The unknown class and the deferred sub-control are skipped ("plain" defers only for
    // "true"); the failed control left nothing behind.
    const RCPtr<LControl> panel = main->FindChildByName(WideString(u"panel"));
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->GetChildren().GetCount(), 2u);
    EXPECT_FALSE(panel->FindChildByName(WideString(u"later")));
    EXPECT_FALSE(main->FindChildByName(WideString(u"failing")));
    EXPECT_EQ(main->GetChildren().GetCount(), 2u);
    EXPECT_TRUE(main->IsCreated() && panel->IsCreated());
    EXPECT_EQ(panel->GetPosition(), PointT<double>(5, 6));
    EXPECT_EQ(panel->GetSize(), PointT<double>(100, 40));
    EXPECT_EQ(Narrow(panel->GetDescriptor()->className), "Test.Control");
    EXPECT_NE(panel->GetLayout().Get(), panel->GetDescriptor()->layout.Get()); // its own copy
    EXPECT_TRUE(panel->GetNotificationHandler() && panel->GetNotificationCenter());
}

TEST_F(ControlFactory, ControlsTakeTheirStringTablesAndLabels)
{
    RCPtr<LControl> main;
    ASSERT_EQ(mFactory->CreateRootControl(main, WideString(u"mainControl")), S_OK);
    const RCPtr<LControl> label =
        main->FindChildByName(WideString(u"panel"))->FindChildByName(WideString(u"label"));
    EXPECT_EQ(Narrow(label->GetText()), "from table"); // the string table before the parameter
    EXPECT_EQ(Narrow(label->GetToolTipText()), "tip");
    EXPECT_EQ(TableText(label, u"LABEL"), "from table");
    EXPECT_EQ(TableText(label, u"NONE"), "");

    // A top control takes "<application>|<name>", else the application's table.
    EXPECT_EQ(TableText(main, u"TITLE"), "Application");
    RCPtr<LControl> dialog;
    ASSERT_EQ(mFactory->CreateRootControl(dialog, WideString(u"dialog")), S_OK);
    EXPECT_EQ(TableText(dialog, u"TITLE"), "Dialog");

    // Without a table entry the label is the create parameter.
    const RCPtr<LControl> panel = main->FindChildByName(WideString(u"panel"));
    EXPECT_EQ(Narrow(panel->FindChildByName(WideString(u"plain"))->GetText()), "from param");

    // A deferred sub-control is created later by its owner through the factory.
    RCPtr<LControl> later;
    ASSERT_EQ(mFactory->CreateControl(later, panel->GetDescriptor()->subControls[2], panel), S_OK);
    EXPECT_EQ(panel->FindChildByName(WideString(u"later")).Get(), later.Get());
}

TEST_F(ControlFactory, FailuresLeaveNoControlBehind)
{
    RCPtr<LControl> control(new LoggingControl(nullptr, WideString(u"old"), true));
    EXPECT_EQ(mFactory->CreateRootControl(control, WideString(u"nothing")), E_FAIL);
    EXPECT_FALSE(control);

    RCPtr<LControlDescriptor> ghost(new LControlDescriptor());
    ghost->className = WideString(u"Unknown.Class");
    EXPECT_EQ(mFactory->CreateControl(control, ghost, nullptr), S_FALSE);
    EXPECT_FALSE(control);

    RCPtr<LControl> parent(new LoggingControl(nullptr, WideString(u"parent"), true));
    PhaseLog().clear();
    EXPECT_THROW(mFactory->CreateRootControl(control, WideString(u"throwing")), std::runtime_error);
    EXPECT_FALSE(control);
    EXPECT_EQ(PhaseLog().back(), "throwing:destroy");
    ASSERT_EQ(mFactory->CreateControl(control, mFactory->FindSkinSubControl(WideString(u"dialog")),
                                      parent),
              S_OK);
    ghost->className = WideString(u"Test.Control");
    ghost->name = WideString(u"failing");
    EXPECT_EQ(mFactory->CreateControl(control, ghost, parent), E_FAIL);
    EXPECT_FALSE(control);
    EXPECT_EQ(PhaseLog().back(), "failing:destroy");
    EXPECT_EQ(parent->GetChildren().GetCount(), 1u);
}

TEST_F(ControlFactory, SkinListFontsAndReapplying)
{
    EXPECT_EQ(mFactory->GetSkinCount(), 2);
    EXPECT_EQ(mFactory->FindSkinSubControl(WideString(u"toolTip"))->absoluteWidth, 77.0);
    EXPECT_FALSE(mFactory->FindSkinSubControl(WideString(u"tooltip")));

    WideString face(u"Base");
    float size = 9.0f;
    std::int32_t style = 0;
    EXPECT_FALSE(mFactory->GetSkinFont(face, size, style));
    EXPECT_EQ(Narrow(face), "Face");
    EXPECT_EQ(size, 11.0f);
    EXPECT_EQ(style, 2);

    RCPtr<LControl> dialog;
    ASSERT_EQ(mFactory->CreateRootControl(dialog, WideString(u"dialog")), S_OK);
    for (const auto& [wanted, index] : {std::pair{7, 1}, std::pair{-3, 0}, std::pair{1, 1}})
    {
        mFactory->SetCurrentSkinIndex(wanted);
        EXPECT_EQ(mFactory->GetCurrentSkinIndex(), index);
    }
    EXPECT_TRUE(mFactory->GetSkinFont(face, size, style));
    EXPECT_EQ(Narrow(face), "Face");
    EXPECT_EQ(mFactory->ApplySkinTo(dialog), E_FAIL); // the second skin has no "dialog"
    EXPECT_EQ(mFactory->ApplySkinTo(nullptr), E_FAIL);
    mFactory->SetCurrentSkinIndex(0);
    EXPECT_EQ(mFactory->ApplySkinTo(dialog), S_OK);
}

TEST_F(ControlFactory, SourcesLoadFromResourcesAndFilesAndBrokenOnesChangeNothing)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("qz-factory-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "Broken.xml")
        << "<Korvane_Skin_Definitions>\n<Skin>\n</Korvane_Skin_Definitions>";
    std::ofstream(folder / "Empty.xml") << "<Korvane_Skin_Definitions/>";
    mFactory->SetBaseFolder(WideString(folder.string().c_str()));

    EXPECT_EQ(mFactory->LoadSkins(WideString(u"Broken.xml")), E_FAIL);
    EXPECT_EQ(mFactory->GetLastError(), "Broken.xml:3:2: mismatched tag");
    EXPECT_EQ(mFactory->LoadSkins(WideString(u"Empty.xml")), E_FAIL);
    EXPECT_EQ(mFactory->GetLastError(), "Empty.xml: the file holds no Skin");
    EXPECT_EQ(mFactory->LoadSkins(WideString(u"Missing.xml")), E_FAIL);
    EXPECT_EQ(mFactory->GetSkinCount(), 2);
    // A refused skin leaves no decoding of its images behind: the image asked for later is the
    // file as it is then.
    const std::filesystem::path image = folder / "Refused.png";
    const auto writeImage = [&image](std::uint32_t pixel)
    {
        const std::vector<std::uint8_t> png = Graphics2D::Testing::BuildRgbaPng(1, 1, {pixel});
        std::ofstream(image, std::ios::binary)
            .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    };
    writeImage(0xFFFF0000u);
    std::ofstream(folder / "Refused.xml")
        << "<Korvane_Skin_Definitions><Skin><Part Name=\"p\" Image=\"" << image.string()
        << "\"/><Oops></Skin></Korvane_Skin_Definitions>";
    EXPECT_EQ(mFactory->LoadSkins(WideString(u"Refused.xml")), E_FAIL);
    writeImage(0xFF0000FFu);
    const RCPtr<LBitmap> refused = LBitmap::GetNamedBitmap(WideString(image.c_str()));
    ASSERT_TRUE(refused && refused->GetBitmapData());
    std::uint32_t pixel = 0;
    ASSERT_EQ(refused->GetBitmapData()->GetPixel(0, 0, pixel), Graphics2D::Status::Ok);
    EXPECT_EQ(pixel, 0xFF0000FFu);
    EXPECT_EQ(
        mFactory->LoadStringTables(WideString(u"Broken.xml"), WideString(u"::TESTSTRINGS_XML"), 9),
        E_FAIL);
    RCPtr<LStringTable> table;
    EXPECT_TRUE(mFactory->GetAppStringTable(table));

    // Read apart from the factory (as on a thread of its own), skins become its own when used.
    mFactory->SetBaseFolder(WideString(u"::"));
    LControlFactory::SkinDocument document = mFactory->ReadSkins(WideString(u"::TESTSKINS_XML"));
    EXPECT_EQ(mFactory->GetSkinCount(), 2);
    EXPECT_EQ(mFactory->UseSkins(std::move(document)), S_OK);
    EXPECT_EQ(mFactory->GetSkinCount(), 1);
    EXPECT_EQ(mFactory->FindSkinSubControl(WideString(u"mainControl"))->absoluteWidth, 640.0);
    EXPECT_EQ(mFactory->LoadStringTables(WideString(u"::TESTSTRINGS_XML"),
                                         WideString(u"::TESTSTRINGS_XML"), 0x0407),
              S_OK);
    WideString text;
    EXPECT_TRUE(mFactory->GetAppStringTable(table) && table->Lookup(u"STARTUP_ERROR", text));
    EXPECT_EQ(Narrow(text), "Start fehlgeschlagen");
    EXPECT_TRUE(mFactory->GetFrameworkStringTable(table) && table->Lookup(u"RENDERER_ERROR", text));
    EXPECT_FALSE(mFactory->FindStringTable(WideString(u"Test.Control|label")));
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace QZ::ToolkitTest
