// Repainting an area that an opaque control covers skips what lies beneath it. The tree has a
// grid of 40 cells (so the root searches its children through its grid) under controls that do
// and do not hide them: opaque solid and gradient looks, a translucent one, a frame with a
// missing corner, two looks at half weight, a shaped look, a fractional position and a cell's
// child painted apart above the tree. Every area is repainted over a scribble and must come out
// as the reference picture (data/hidden-tree.png); the painted controls are counted.
#include "QZFramework/ControlBase/tests/PaintTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

constexpr std::int32_t kWidth = 260;
constexpr std::int32_t kHeight = 170;

// Counts how often each control of the class is painted (its underlay runs once per paint).
std::map<std::string, int>& Painted()
{
    static std::map<std::string, int> painted;
    return painted;
}

class CountedControl : public LControl
{
public:
    CountedControl(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
        : LControl(parent, name, mostDerived)
    {
    }

protected:
    QZRESULT DrawUnderlay(LRenderer&) override
    {
        ++Painted()[Narrow(GetName())];
        return S_OK;
    }
};

std::string MakeSkin()
{
    std::string xml = R"(<Korvane_Skin_Definitions><Skin Name="Hidden">
      <Colorizer Name="Back" Kind="1" Color1="FFE0E4EA" Color2="FF90A0B0"/>
      <Colorizer Name="Edge" Color1="FF283848"/>
      <Colorizer Name="Cell" Color1="FF40A060"/>
      <Colorizer Name="Solid" Color1="FFC03030"/>
      <Colorizer Name="Fade" Kind="1" Color1="FF3050C0" Color2="FF102040"/>
      <Colorizer Name="Glass" Color1="80F0E020"/>
      <Colorizer Name="Half" Color1="FF8040A0"/>
)" + std::string(kFramedPanelLook) +
                      R"(      <Look Name="Cell"><DockedPart Dock="Fill" Colorizer="Cell"/></Look>
      <Look Name="Solid">
        <DockedPart Dock="Fill" Colorizer="Solid"/>
        <DockedPart Dock="Left" Size="2" Colorizer="Edge"/>
        <DockedPart Dock="Right" Size="2" Colorizer="Edge"/>
      </Look>
      <Look Name="Fade"><DockedPart Dock="Fill" Colorizer="Fade"/></Look>
      <Look Name="Glass"><DockedPart Dock="Fill" Colorizer="Glass"/></Look>
      <Look Name="Notched">
        <DockedPart Dock="Fill" Colorizer="Solid"/>
        <DockedPart Dock="Left" Size="4" Colorizer="Edge"/>
        <DockedPart Dock="Top" Size="4" Colorizer="Edge"/>
      </Look>
      <Look Name="Half"><DockedPart Dock="Fill" Colorizer="Half"/></Look>
      <SubControl Class="Test.Counted" Name="root" XSizeToControl="Client" XSizeRel="1"
          XSizeAbs="0" YSizeToControl="Client" YSizeRel="1" YSizeAbs="0">
        <LookList><LookRef Look="Panel"/></LookList>)";
    for (int row = 0; row < 5; ++row)
    {
        for (int column = 0; column < 8; ++column)
        {
            xml += "<SubControl Class=\"Test.Counted\" Name=\"cell" +
                   std::to_string(row * 8 + column) + "\" XPositionAbs=\"" +
                   std::to_string(4 + column * 32) + "\" YPositionAbs=\"" +
                   std::to_string(4 + row * 32) +
                   "\" XSizeAbs=\"28\" YSizeAbs=\"28\"><LookList><LookRef Look=\"Cell\"/>"
                   "</LookList>";
            if (row == 1 && column == 1)
            {
                xml += R"(<SubControl Class="Test.Counted" Name="apart" XPositionAbs="10"
                    YPositionAbs="10" XSizeAbs="30" YSizeAbs="12" ClipToParent="false">
                    <LookList><LookRef Look="Glass"/></LookList></SubControl>)";
            }
            xml += "</SubControl>";
        }
    }
    // name, look, x, y, width, height; all above the cells.
    const char* const covers[][6] = {{"solid", "Solid", "20", "20", "50", "40"},
                                     {"fade", "Fade", "90", "10", "40", "50"},
                                     {"glass", "Glass", "150", "20", "40", "40"},
                                     {"notched", "Notched", "200", "60", "40", "40"},
                                     {"halves", "Half", "20", "100", "50", "40"},
                                     {"shaped", "Solid", "100", "100", "40", "40"},
                                     {"fraction", "Solid", "150.5", "110", "40.25", "30"},
                                     {"inner", "Fade", "30", "30", "20", "20"}};
    for (const auto& cover : covers)
    {
        xml += std::string("<SubControl Class=\"Test.Counted\" Name=\"") + cover[0] +
               "\" XPositionAbs=\"" + cover[2] + "\" YPositionAbs=\"" + cover[3] +
               "\" XSizeAbs=\"" + cover[4] + "\" YSizeAbs=\"" + cover[5] +
               "\" Z_Order=\"1\"><LookList><LookRef Look=\"" + cover[1] + "\"/>" +
               (std::string(cover[0]) == "halves" ? "<LookRef Look=\"Solid\"/>" : "") +
               "</LookList></SubControl>";
    }
    xml += "</SubControl></Skin></Korvane_Skin_Definitions>";
    return xml;
}

class HiddenPaint : public ToolkitFixture
{
protected:
    HiddenPaint()
    {
        Register<CountedControl>(u"Test.Counted");
        LoadSkin(MakeSkin());
        EXPECT_EQ(mWindow.Window()->CreateRootControl(WideString(u"root")), S_OK);
        mRoot = mWindow.Window()->GetRootControl();
        Find(u"halves")->SetLookWeight(0, 0.5f, false);
        Find(u"halves")->SetLookWeight(1, 0.5f, false);
        RegionT round;
        round.AddRect({10, 0, 30, 40});
        round.AddRect({0, 10, 40, 30});
        Find(u"shaped")->SetLookRegion(0, round);
        mWindow.Frame();
    }

    RCPtr<LControl> Find(const char16_t* name) const
    {
        return FindDescendant(mRoot, WideString(name));
    }

    // The pixels that differ from the reference picture, which was taken before anything was
    // left out of painting.
    std::int32_t Differing()
    {
        return ComparePicture(mWindow.Presenter().GetPicture(),
                              std::string(QZ_CONTROL_TEST_DATA_DIR) + "/hidden-tree.png", {}, 0,
                              std::string(QZ_CONTROL_TEST_OUTPUT_DIR) + "/hidden-tree-actual.png");
    }

    // Fills the area with a colour no control has, then repaints it.
    void Repaint(const RectT<std::int32_t>& area)
    {
        RegionT region;
        region.AddRect(RegionRect::FromRect(area));
        const RCPtr<LRenderContextInfo>& context = mWindow.Context();
        context->GetUpdateRegion().Clear();
        context->GetUpdateRegion().AppendRects(region);
        (void)mWindow.Renderer()->RenderStart(context);
        mWindow.Renderer()->FillRect(area, {1.0f, 0.0f, 1.0f, 1.0f}, false);
        (void)mWindow.Renderer()->RenderFinish(context);
        Painted().clear();
        mWindow.Window()->Invalidate({area.x, area.y, area.width, area.height});
        mWindow.Frame();
    }

    PaintedWindow mWindow{*mApplication, kWidth, kHeight};
    RCPtr<LControl> mRoot;
};

TEST_F(HiddenPaint, RepaintedAreasMatchTheReferencePicture)
{
    ASSERT_TRUE(mRoot);
    EXPECT_EQ(Differing(), 0);
    std::vector<RectT<std::int32_t>> areas;
    for (const char16_t* name : {u"solid", u"fade", u"glass", u"notched", u"halves", u"shaped",
                                 u"fraction", u"inner", u"cell9", u"apart"})
    {
        const PointT<double> at = Find(name)->GetPositionInRoot();
        const PointT<double> size = Find(name)->GetSize();
        const RectT<std::int32_t> whole = RectT<double>(at.x, at.y, size.x, size.y).ToLong();
        // The rectangle, an area inside it, and areas one pixel past each edge.
        areas.push_back(whole);
        areas.push_back({whole.x + 3, whole.y + 3, whole.width - 6, whole.height - 6});
        areas.push_back({whole.x - 1, whole.y, whole.width, whole.height});
        areas.push_back({whole.x + 1, whole.y, whole.width, whole.height});
        areas.push_back({whole.x, whole.y - 1, whole.width, whole.height});
        areas.push_back({whole.x, whole.y + 1, whole.width, whole.height});
    }
    areas.push_back({0, 0, kWidth, kHeight});
    for (const RectT<std::int32_t>& area : areas)
    {
        Repaint(area);
        EXPECT_EQ(Differing(), 0) << "area " << area.x << ", " << area.y << ", " << area.width
                                  << " x " << area.height;
    }
}

TEST_F(HiddenPaint, OnlyControlsThatCanShowThroughArePainted)
{
    ASSERT_TRUE(mRoot);
    struct Case
    {
        RectT<std::int32_t> area;
        std::map<std::string, int> painted;
    };
    // The root's frame is 3 pixels wide: the cells lie at (7 + 32 column, 7 + 32 row), 28
    // pixels square, and "solid" from (23, 23) to (73, 63).
    const Case cases[] = {
        {{26, 26, 6, 6}, {{"solid", 1}}},
        {{35, 35, 10, 10}, {{"inner", 1}}},
        // The hidden cell's child painted apart still shows above.
        {{55, 50, 10, 8}, {{"solid", 1}, {"apart", 1}}},
        // One pixel past the right edge the cells beneath and the gap between them show.
        {{63, 25, 11, 8}, {{"root", 1}, {"cell1", 1}, {"cell2", 1}, {"solid", 1}}},
        {{62, 25, 11, 8}, {{"solid", 1}}},
        {{100, 20, 10, 10}, {{"fade", 1}}},
        // Translucent, two looks at half weight, a notch in the frame, a clip region: the cell
        // beneath is painted (and hides the root).
        {{156, 30, 4, 4}, {{"cell4", 1}, {"glass", 1}}},
        {{30, 110, 4, 4}, {{"cell24", 1}, {"halves", 1}}},
        {{203, 63, 3, 3}, {{"cell14", 1}, {"notched", 1}}},
        {{213, 73, 4, 4}, {{"cell22", 1}, {"notched", 1}}},
        {{106, 106, 4, 4}, {{"cell27", 1}, {"shaped", 1}}},
        // A fractional left edge hides only the whole pixels right of it.
        {{153, 118, 4, 4}, {{"cell28", 1}, {"fraction", 1}}},
        {{154, 118, 4, 4}, {{"fraction", 1}}},
    };
    for (const Case& c : cases)
    {
        Repaint(c.area);
        EXPECT_EQ(Painted(), c.painted) << "area at " << c.area.x << ", " << c.area.y;
    }
}

TEST_F(HiddenPaint, HitTestsThroughTheGridFindTheTopMostControl)
{
    ASSERT_TRUE(mRoot);
    const struct
    {
        std::int32_t x;
        std::int32_t y;
        const char* hit;
    } cases[] = {{8, 8, "cell0"},    {34, 20, "cell0"}, {35, 20, "root"},   {39, 20, "cell1"},
                 {25, 25, "solid"},  {33, 33, "inner"}, {55, 55, "apart"},  {72, 62, "solid"},
                 {73, 62, "cell10"}, {2, 2, "root"},    {259, 169, "root"}, {160, 30, "glass"},
                 {193, 30, "cell5"}, {192, 30, "glass"}};
    for (const auto& c : cases)
    {
        RCPtr<LControl> hit;
        PointT<long> point;
        mWindow.Window()->HitTest(hit, c.x, c.y, point, 1);
        ASSERT_TRUE(hit) << c.x << ", " << c.y;
        EXPECT_EQ(Narrow(hit->GetName()), c.hit) << c.x << ", " << c.y;
    }
}

} // namespace
} // namespace QZ::ToolkitTest
