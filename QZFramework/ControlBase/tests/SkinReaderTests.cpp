#include "QZFramework/ControlBase/SkinReader.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace QZ::ToolkitTest
{
namespace
{

std::vector<RCPtr<LSkin>> ReadSkins(const std::string& body,
                                    std::vector<std::string>* warnings = nullptr)
{
    const std::string xml = "<Korvane_Skin_Definitions>" + body + "</Korvane_Skin_Definitions>";
    std::vector<RCPtr<LSkin>> skins;
    LSkinReader reader("skin.xml");
    EXPECT_EQ(reader.Read(Bytes(xml), skins), S_OK) << reader.GetError();
    if (warnings != nullptr)
    {
        *warnings = reader.GetWarnings();
    }
    return skins;
}

RCPtr<LSkin> ReadSkin(const std::string& body, std::vector<std::string>* warnings = nullptr)
{
    std::vector<RCPtr<LSkin>> skins = ReadSkins("<Skin Name=\"S\">" + body + "</Skin>", warnings);
    return skins.size() == 1 ? skins[0] : RCPtr<LSkin>();
}

constexpr const char* kDefinitions =
    R"(<Colorizer Name="Red" Kind="1" Color1="0xFFFF0000" Color2="80"/>
       <Part Name="knob" Image="::Assets.png" X="1" Y="40" Width="48" Height="24"
             ResizeType="Tile" Colorizer="Red" Alpha="0.5" Mask="mask.png"/>
       <Part Name="block" Width="4" Height="4" ResizeType="Center"/>
       <Look Name="Normal" ClientLeft="2" ClientBottom="3">
         <DockedPart Dock="Fill" Part="knob" Colorizer="Red"/>
         <DockedPart Dock="BottomRight" Size="2.5" Part="block"/>
         <Text LeftRel="0" LeftAbs="4" RightRel="1" RightAbs="-4" HAlign="0.5" VAlign="1" Color="FF00FF00"/>
       </Look>
       <LookList Name="Button"><LookRef Look="Normal"/><LookRef/><Look Name="Inline"/></LookList>)";

TEST(SkinReader, ReadsEverySkinElementIntoDescriptors)
{
    const std::vector<RCPtr<LSkin>> skins = ReadSkins(
        std::string(R"(<Skin Name="Dark" FontName="DejaVu Sans" FontSize="9" FontStyle="3">)") +
        kDefinitions + "</Skin><Skin Name=\"Light\"/>");
    ASSERT_EQ(skins.size(), 2u);
    const LSkin& skin = *skins[0];
    EXPECT_EQ(Narrow(skin.name), "Dark");
    EXPECT_EQ(Narrow(skin.fontName), "DejaVu Sans");
    EXPECT_EQ(skin.fontSize, 9.0f);
    EXPECT_EQ(skin.fontStyle, 3);
    EXPECT_EQ(Narrow(skins[1]->name), "Light");
    EXPECT_EQ(skins[1]->fontStyle, -1);

    const LColorizer& red = *skin.colorizers.at(u"Red");
    EXPECT_EQ(red.GetKind(), 1);
    EXPECT_EQ(red.GetFirstColor().ToARGB(), 0xFFFF0000u);
    EXPECT_EQ(red.GetSecondColor().ToARGB(), 0x80000000u);

    const LVisualPartDescriptor& knob = *skin.parts.at(u"knob");
    EXPECT_EQ(Narrow(knob.image), "::Assets.png");
    EXPECT_EQ((std::vector<std::int32_t>{knob.x, knob.y, knob.width, knob.height}),
              (std::vector<std::int32_t>{1, 40, 48, 24}));
    EXPECT_EQ(knob.resizeType, LVisualPartDescriptor::kTile);
    EXPECT_EQ(skin.parts.at(u"block")->resizeType, LVisualPartDescriptor::kCenter);
    EXPECT_EQ(knob.colorizer.Get(), &red);
    EXPECT_EQ(knob.alpha, 0.5f);
    EXPECT_EQ(Narrow(knob.mask), "mask.png");

    const LLookDescriptor& look = *skin.looks.at(u"Normal");
    EXPECT_TRUE(look.hasClientInsets);
    EXPECT_EQ(look.clientLeft, 2.0);
    EXPECT_EQ(look.clientBottom, 3.0);
    ASSERT_EQ(look.parts.size(), 2u);
    EXPECT_EQ(look.parts[0]->dock, LDockedPartDescriptor::kFill);
    EXPECT_EQ(look.parts[0]->part.Get(), &knob);
    EXPECT_EQ(look.parts[0]->colorizer.Get(), &red);
    EXPECT_EQ(look.parts[1]->dock, LDockedPartDescriptor::kBottomRight);
    EXPECT_EQ(look.parts[1]->size, 2.5);
    EXPECT_FALSE(look.parts[1]->colorizer);
    ASSERT_TRUE(look.text);
    EXPECT_EQ(look.text->left.absolute, 4.0);
    EXPECT_EQ(look.text->right.relative, 1.0);
    EXPECT_EQ(look.text->right.absolute, -4.0);
    EXPECT_EQ(look.text->bottom.relative, 1.0); // not given: the whole height
    EXPECT_EQ(look.text->horizontalAlignment, 0.5f);
    EXPECT_EQ(look.text->verticalAlignment, 1.0f);
    EXPECT_EQ(look.text->color.ToARGB(), 0xFF00FF00u);

    const LLookListDescriptor& list = *skin.lookLists.at(u"Button");
    ASSERT_EQ(list.looks.size(), 3u);
    EXPECT_EQ(list.looks[0].Get(), &look);
    EXPECT_FALSE(list.looks[1]); // a gap keeps the state indices aligned
    EXPECT_EQ(list.looks[2].Get(), skin.looks.at(u"Inline").Get());
}

// Images start decoding while the rest of the document is read: the reader names those of the
// first skin's parts (images and masks) as each part is read, and no other skin's.
TEST(SkinReader, NamesTheFirstSkinsImagesAsTheirPartsAreRead)
{
    const std::string xml = std::string("<Korvane_Skin_Definitions><Skin Name=\"A\">") +
                            kDefinitions +
                            R"(<Part Name="dot" Mask="dot.png"/></Skin>
                               <Skin Name="B"><Part Name="other" Image="b.png"/></Skin>
                               </Korvane_Skin_Definitions>)";
    std::vector<std::string> images;
    LSkinReader reader("skin.xml",
                       [&images](const WideString& image) { images.push_back(Narrow(image)); });
    std::vector<RCPtr<LSkin>> skins;
    ASSERT_EQ(reader.Read(Bytes(xml), skins), S_OK) << reader.GetError();
    EXPECT_EQ(skins.size(), 2u);
    EXPECT_EQ(images, (std::vector<std::string>{"::Assets.png", "mask.png", "dot.png"}));
}

TEST(SkinReader, ReadsSubControlsWithLayoutFontsLooksAndCreateParams)
{
    const RCPtr<LSkin> skin = ReadSkin(std::string(kDefinitions) + R"(
      <SubControl Class="App.Main" Name="main" LookList="Button" XSizeAbs="1200" YSizeAbs="750"
          XMinSizeToControl="Self" XMinSizeAbs="1200" YMaxSizeToControl="caption" YMaxSizeRel="0.5"
          ClipToParent="false" Z_Order="-3" TabStop="7" IsVisible="FALSE" LayoutOrder="2"
          FontName="Mono" FontSize="1.2" FontStyle="1" FontInherit=" TRUE " FontSizeRelative="true">
        <SubControl Class="App.Label" Name="caption" XPositionToControl="Parent" XPositionRel="0.5"
            XPositionAbs="-10" XPlacementAnchor="0.5" YPositionToControl="menu" YPositionRel="1"
            XSizeToControl="Client" XSizeRel="1" YSizeToControl="Self" YIsDocked="True"
            TextOverflowXType="Wrap" TextOverflowYType="Expand" TextDecoration="under">
          <CreateParamList><CreateParam ID="TOOLTIP" Type="String"> Name
 here</CreateParam><CreateParam ID="LABEL">x</CreateParam></CreateParamList>
          <LookList><LookRef Look="Normal"/></LookList>
        </SubControl>
        <SubControl Class="App.Bar" Name="bar" XSizeToControl="caption" XSizeIsSpan="True"
            YSizeToControl="Parent"/>
      </SubControl>
      <SubControl Class="App.Tip" Name="main"/>)");
    ASSERT_TRUE(skin);
    ASSERT_EQ(skin->subControls.size(), 2u);
    EXPECT_EQ(Narrow(skin->FindSubControl(u"main")->className), "App.Tip"); // from the last
    EXPECT_FALSE(skin->FindSubControl(u"Main"));

    const LControlDescriptor& main = *skin->subControls[0];
    const LLayoutDescriptor& layout = *main.layout;
    EXPECT_EQ(Narrow(main.className), "App.Main");
    EXPECT_EQ(main.absoluteWidth, 1200.0);
    EXPECT_EQ(main.absoluteHeight, 750.0);
    EXPECT_FALSE(layout.minimum[0].present);
    EXPECT_EQ(layout.minimum[0].absolute, 1200.0);
    EXPECT_TRUE(layout.maximum[1].present);
    EXPECT_EQ(Narrow(layout.maximum[1].name), "caption");
    EXPECT_EQ(layout.maximum[1].relative, 0.5f);
    EXPECT_FALSE(layout.clipToParent);
    EXPECT_EQ(layout.zOrder, -3);
    EXPECT_EQ(layout.tabStop, 7);
    EXPECT_FALSE(layout.shown);
    EXPECT_EQ(layout.layoutOrder, 2);
    EXPECT_EQ(main.appearance.lookList.Get(), skin->lookLists.at(u"Button").Get());
    EXPECT_EQ(Narrow(main.appearance.fontName), "Mono");
    EXPECT_EQ(main.appearance.fontSize, 1.2f);
    EXPECT_EQ(main.appearance.fontStyle, 1);
    EXPECT_TRUE(main.appearance.fontInheritsFromParent);
    EXPECT_TRUE(main.appearance.fontSizeIsRelative);
    EXPECT_FALSE(main.createParams);
    ASSERT_EQ(main.subControls.size(), 2u);

    const LControlDescriptor& caption = *main.subControls[0];
    const LLayoutDescriptor& captionLayout = *caption.layout;
    EXPECT_EQ(captionLayout.position[0].kind, LLayoutDescriptor::kParent);
    EXPECT_EQ(captionLayout.position[0].relative, 0.5f);
    EXPECT_EQ(captionLayout.position[0].absolute, -10.0);
    EXPECT_EQ(captionLayout.position[0].anchor, 0.5f);
    EXPECT_EQ(captionLayout.position[1].kind, LLayoutDescriptor::kSibling);
    EXPECT_EQ(Narrow(captionLayout.position[1].name), "menu");
    EXPECT_TRUE(captionLayout.position[1].docked);
    EXPECT_FALSE(captionLayout.position[0].docked);
    EXPECT_EQ(captionLayout.size[0].kind, LLayoutDescriptor::kClient);
    EXPECT_EQ(captionLayout.size[1].kind, LLayoutDescriptor::kSibling);
    EXPECT_EQ(Narrow(captionLayout.size[1].name), "Self");
    EXPECT_EQ(captionLayout.size[1].absolute, 40.0); // the default height
    EXPECT_EQ(captionLayout.textOverflow[0], LLayoutDescriptor::kWrap);
    EXPECT_EQ(captionLayout.textOverflow[1], LLayoutDescriptor::kExpand);
    EXPECT_EQ(Narrow(captionLayout.textDecoration), "under");
    WideString tooltip;
    EXPECT_TRUE(caption.GetCreateParam(u"TOOLTIP", tooltip));
    EXPECT_EQ(Narrow(tooltip), " Name\n here");
    ASSERT_TRUE(caption.appearance.lookList);
    EXPECT_EQ(caption.GetLook(0).Get(), skin->looks.at(u"Normal").Get());
    EXPECT_FALSE(caption.GetLook(1));

    // Variants of a descriptor share everything but the name and the layout record.
    RCPtr<LControlDescriptor> copy;
    LControlDescriptor::CloneWithName(copy, skin->subControls[0], WideString(u"copy"), nullptr);
    EXPECT_EQ(Narrow(copy->name), "copy");
    EXPECT_NE(copy->layout.Get(), main.layout.Get());
    EXPECT_EQ(copy->layout->minimum[0], layout.minimum[0]);
    EXPECT_EQ(copy->subControls, main.subControls);
    const RCPtr<LLayoutDescriptor> own(new LLayoutDescriptor());
    EXPECT_EQ(LControlDescriptor::CloneWithName(copy, copy, WideString(u"x"), own)->layout.Get(),
              own.Get());
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    EXPECT_EQ(captionLayout.GetAxisSpec(0, position, size), S_OK);
    EXPECT_EQ(position, captionLayout.position[0]);
    EXPECT_EQ(captionLayout.GetAxisSpec(2, position, size), E_INVALIDARG);

    const LLayoutDescriptor& bar = *main.subControls[1]->layout;
    EXPECT_EQ(bar.size[0].kind, LLayoutDescriptor::kSpanToSibling);
    EXPECT_EQ(bar.size[1].kind, LLayoutDescriptor::kParent);
    EXPECT_EQ(bar.position[0].kind, LLayoutDescriptor::kClient); // the default reference
}

TEST(SkinReader, UnknownAndOutlandishInputWarnsAndKeepsDefaults)
{
    struct Case
    {
        std::string body;
        std::string warning;
    };
    const std::string big(400, '9');
    const Case cases[] = {
        {"<Gadget/>", "skin.xml:1: unknown element <Gadget> ignored"},
        {"<SubControl Name=\"a\" Colour=\"red\"/>", "unknown attribute Colour"},
        {"<SubControl Name=\"a\" LookList=\"Missing\"/>", "unknown look list \"Missing\""},
        {"<SubControl Name=\"a\" XSizeAbs=\"nan\"/>", "XSizeAbs \"nan\" refused"},
        {"<SubControl Name=\"a\" XSizeAbs=\"1e300\"/>", "SizeAbs \"1e300\" refused"},
        {"<SubControl Name=\"a\" XSizeAbs=\"" + big + "\"/>", "refused"},
        {"<SubControl Name=\"a\" Z_Order=\"2147483648\"/>", "Z_Order \"2147483648\" refused"},
        {"<SubControl Name=\"a\" TextOverflowXType=\"Squeeze\"/>", "is not Clip, Expand or Wrap"},
        {"<Part Name=\"p\" Width=\"100000\"/>", "Width \"100000\" refused"},
        {"<Part Name=\"p\" Alpha=\"2\"/>", "Alpha \"2\" refused"},
        {"<Colorizer Name=\"c\" Color1=\"12345\"/>", "Color1 \"12345\" refused"},
        {"<Look Name=\"l\"><DockedPart Dock=\"Middle\"/></Look>", "unknown Dock \"Middle\""},
        {"<SubControl Name=\"a\"><CreateParamList><CreateParam/></CreateParamList></SubControl>",
         "<CreateParam> without ID ignored"},
    };
    for (const Case& c : cases)
    {
        std::vector<std::string> warnings;
        const RCPtr<LSkin> skin = ReadSkin(c.body, &warnings);
        ASSERT_TRUE(skin) << c.body;
        ASSERT_EQ(warnings.size(), 1u) << c.body;
        EXPECT_NE(warnings[0].find(c.warning), std::string::npos) << warnings[0];
        if (!skin->subControls.empty())
        {
            const LControlDescriptor& control = *skin->subControls[0];
            EXPECT_EQ(control.layout->size[0].absolute, 16.0) << c.body;
            EXPECT_EQ(control.layout->zOrder, 0) << c.body;
            EXPECT_FALSE(control.appearance.lookList) << c.body;
        }
    }
}

TEST(SkinReader, WarningsStopAtTheLimit)
{
    std::string body;
    for (std::size_t i = 0; i < LXmlReader::kMaxWarnings + 50; ++i)
    {
        body += "<Odd/>";
    }
    std::vector<std::string> warnings;
    ReadSkin(body, &warnings);
    ASSERT_EQ(warnings.size(), LXmlReader::kMaxWarnings + 1);
    EXPECT_EQ(warnings.back(), "skin.xml: further warnings not shown");
}

TEST(SkinReader, NestingBeyondTheLimitIsLeftOut)
{
    std::string body;
    for (std::size_t i = 0; i < LSkinReader::kMaxNesting + 5; ++i)
    {
        body += "<SubControl Name=\"n" + std::to_string(i) + "\">";
    }
    for (std::size_t i = 0; i < LSkinReader::kMaxNesting + 5; ++i)
    {
        body += "</SubControl>";
    }
    std::vector<std::string> warnings;
    const RCPtr<LSkin> skin = ReadSkin(body, &warnings);
    std::size_t depth = 0;
    for (RCPtr<LControlDescriptor> control = skin->subControls[0]; control;
         control = control->subControls.empty() ? nullptr : control->subControls[0])
    {
        ++depth;
    }
    EXPECT_EQ(depth, LSkinReader::kMaxNesting);
    EXPECT_EQ(warnings.size(), 2u); // the first level left out, and its child
}

TEST(SkinReader, BrokenDocumentsFailWithSourceLineAndCause)
{
    struct Case
    {
        const char* xml;
        const char* error;
    };
    const Case cases[] = {
        {"<Korvane_Skin_Definitions>\n<Skin>\n<SubControl Name=\"a\">\n</Skin>",
         "skin.xml:4:2: mismatched tag"},
        {"<Korvane_String_Definitions/>", "skin.xml:1:29: the root element is not"},
        {"<Korvane_Skin_Definitions><Skin Name=\"&bad;\"/></Korvane_Skin_Definitions>",
         "skin.xml:1:26: undefined entity"},
        {"<!DOCTYPE x [<!ENTITY big \"big\">]><Korvane_Skin_Definitions/>",
         "skin.xml:1:26: entity declarations are not allowed"},
    };
    for (const Case& c : cases)
    {
        std::vector<RCPtr<LSkin>> skins;
        LSkinReader reader("skin.xml");
        EXPECT_EQ(reader.Read(Bytes(c.xml), skins), E_FAIL) << c.xml;
        EXPECT_EQ(reader.GetError().rfind(c.error, 0), 0u) << reader.GetError();
        EXPECT_TRUE(skins.empty());
    }
}

} // namespace
} // namespace QZ::ToolkitTest
