#include "QZFramework/ControlBase/LookListDescriptor.h"
#include "QZFramework/ControlBase/tests/PaintTestSupport.h"
#include "QZFramework/Utilities/Graphics/FontText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace QZ::ToolkitTest
{
namespace
{

using Layout = LLayoutDescriptor;
using Rules = std::function<void(Layout&)>;

// A window of 200 x 100 whose root fills it and has a client area inset by 10, 5, 10, 5 (180 x
// 90 at 10, 5). The root holds "a" at (20, 10) sized 40 x 30 in its client coordinates.
class LayoutTest : public ToolkitFixture
{
protected:
    LayoutTest()
    {
        RCPtr<LLookDescriptor> inset(new LLookDescriptor());
        inset->hasClientInsets = true;
        inset->clientLeft = 10;
        inset->clientTop = 5;
        inset->clientRight = 10;
        inset->clientBottom = 5;
        RCPtr<LLookDescriptor> text(new LLookDescriptor());
        text->text = new LTextPropertiesDescriptor();
        text->text->left = {0.0, 6.0};
        text->text->right = {1.0, -4.0};
        mInsetLooks->looks.push_back(inset);
        mTextLooks->looks.push_back(text);

        mRoot = Make(
            nullptr, u"root",
            [](Layout& l)
            {
                l.size[0] = {Layout::kClient, WideString(), 1.0f, 0.0};
                l.size[1] = {Layout::kClient, WideString(), 1.0f, 0.0};
            },
            mInsetLooks);
        mWindow.Window()->SetRootControl(mRoot);
        Make(mRoot, u"a", [](Layout& l) { Place(l, 20, 10, 40, 30); });
    }

    static void Place(Layout& l, double x, double y, double w, double h)
    {
        l.position[0].absolute = x;
        l.position[1].absolute = y;
        l.size[0].absolute = w;
        l.size[1].absolute = h;
    }

    RCPtr<LControl> Make(const RCPtr<LControl>& parent, const char16_t* name, const Rules& rules,
                         const RCPtr<LLookListDescriptor>& looks = {})
    {
        RCPtr<LControlDescriptor> descriptor(new LControlDescriptor());
        descriptor->name = WideString(name);
        descriptor->appearance.lookList = looks;
        rules(*descriptor->layout);
        RCPtr<LControl> control(new LoggingControl(parent, WideString(name), true));
        control->ApplyDescriptor(descriptor);
        return control;
    }

    RCPtr<LLookListDescriptor> mInsetLooks{new LLookListDescriptor()};
    RCPtr<LLookListDescriptor> mTextLooks{new LLookListDescriptor()};
    PaintedWindow mWindow{*mApplication, 200, 100};
    RCPtr<LControl> mRoot;
};

TEST_F(LayoutTest, RulesResolveAgainstTheirReferences)
{
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    struct Case
    {
        const char* what;
        Rules rules;
        RectT<double> rect;
    };
    const Case cases[] = {
        {"absolute", [](Layout& l) { Place(l, 3, 4, 5, 6); }, {3, 4, 5, 6}},
        {"client-relative with a centre anchor",
         [](Layout& l)
         {
             Place(l, 0, 0, 40, 20);
             l.position[0].relative = 0.5f;
             l.position[0].anchor = 0.5f;
             l.position[1].relative = 1.0f;
             l.position[1].anchor = 1.0f;
         },
         {70, 70, 40, 20}},
        {"parent-relative: the whole parent, seen from the client origin",
         [](Layout& l)
         {
             Place(l, 0, 0, 20, 10);
             l.position[0] = {1.0f, Layout::kParent, WideString(), 1.0f, 0.0, false};
             l.size[1] = {Layout::kParent, WideString(), 0.5f, 0.0};
         },
         {170, 0, 20, 50}},
        {"client-sized",
         [](Layout& l) {
             l.size[0] = {Layout::kClient, WideString(), 1.0f, -30.0};
         },
         {0, 0, 150, 40}},
        {"against a sibling",
         [](Layout& l)
         {
             l.position[0] = {0.0f, Layout::kSibling, WideString(u"a"), 1.0f, 2.0, false};
             l.position[1] = {0.0f, Layout::kSibling, WideString(u"a"), 0.0f, 0.0, false};
             l.size[0] = {Layout::kSibling, WideString(u"a"), 0.5f, 0.0};
         },
         {62, 10, 20, 40}},
        {"an unknown sibling falls back to the client area",
         [](Layout& l)
         {
             Place(l, 0, 0, 10, 10);
             l.position[0] = {0.0f, Layout::kSibling, WideString(u"nobody"), 1.0f, -10.0, false};
         },
         {170, 0, 10, 10}},
        {"span up to a sibling",
         [](Layout& l)
         {
             Place(l, 2, 0, 0, 10);
             l.size[0] = {Layout::kSpanToSibling, WideString(u"a"), 0.0f, -2.0};
         },
         {2, 0, 16, 10}},
        {"relative span beyond a sibling",
         [](Layout& l)
         {
             Place(l, 0, 0, 0, 10);
             l.size[0] = {Layout::kSpanToSibling, WideString(u"a"), 1.0f, 0.0};
         },
         {0, 0, 120, 10}},
        {"minimum and maximum of the control itself",
         [](Layout& l)
         {
             Place(l, 0, 0, 10, 100);
             l.minimum[0].absolute = 50;
             l.maximum[1].absolute = 60;
         },
         {0, 0, 50, 60}},
        {"a maximum naming a sibling, anchored at the right",
         [](Layout& l)
         {
             Place(l, 100, 0, 100, 10);
             l.position[0].anchor = 1.0f;
             l.maximum[0] = {true, WideString(u"a"), 0.5f, 0.0};
         },
         {80, 0, 20, 10}},
        {"negative and non-finite inputs",
         [](Layout& l)
         {
             Place(l, kInfinity, 0, -50, 0);
             l.size[1].relative = std::numeric_limits<float>::quiet_NaN();
         },
         {0, 0, 0, 0}},
    };
    for (const Case& c : cases)
    {
        const RCPtr<LControl> control = Make(mRoot, u"c", c.rules);
        EXPECT_EQ(RectT<double>(control->GetPosition().x, control->GetPosition().y,
                                control->GetSize().x, control->GetSize().y),
                  c.rect)
            << c.what;
        control->SetParent(nullptr);
    }
}

TEST_F(LayoutTest, SequenceScrollingContentAndWindow)
{
    // "early" refers to "late", which comes later in storage but first in the layout sequence.
    const RCPtr<LControl> early =
        Make(mRoot, u"early",
             [](Layout& l)
             {
                 l.layoutOrder = 1;
                 l.position[0] = {0.0f, Layout::kSibling, WideString(u"late"), 1.0f, 0.0, false};
             });
    Make(mRoot, u"late",
         [](Layout& l)
         {
             Place(l, 100, 0, 30, 10);
             l.layoutOrder = 0;
         });
    EXPECT_EQ(early->GetPosition().x, 130);

    // Scrolling moves an undocked child with the content; a docked axis keeps its place.
    const RCPtr<LControl> docked = Make(mRoot, u"docked",
                                        [](Layout& l)
                                        {
                                            Place(l, 0, 5, 10, 10);
                                            l.position[1].docked = true;
                                        });
    const RCPtr<LControl> free = Make(mRoot, u"free", [](Layout& l) { Place(l, 0, 5, 10, 10); });
    mRoot->SetScrollOffset({0.4, 30.5});
    EXPECT_EQ(mRoot->GetScrollOffset(), PointT<double>(0, 31));
    EXPECT_EQ(docked->GetPosition().y, 36);
    EXPECT_EQ(free->GetPosition().y, 5);

    // "Self" sizes: the label's natural width plus the look's margins around its text area.
    const RCPtr<LControl> label = Make(
        mRoot, u"label",
        [](Layout& l)
        {
            l.textOverflow[0] = Layout::kExpand;
            l.size[0] = {Layout::kSibling, WideString(u"Self"), 1.0f, 0.0};
            l.minimum[0].absolute = 5;
        },
        mTextLooks);
    label->SetText(WideString(u"Cutoff"), true);
    LFontText measured;
    measured.SetFont(label->GetFont());
    measured.SetText(WideString(u"Cutoff"));
    EXPECT_GT(measured.GetNaturalWidth(), 5);
    EXPECT_EQ(label->GetSize().x, measured.GetNaturalWidth() + 10);
    EXPECT_EQ(label->MeasureDesiredSize().x, 5);

    // The root fills the window's client area and follows it; a root sized beyond the window
    // grows it once, never without end.
    EXPECT_EQ(mRoot->GetSize(), PointT<double>(200, 100));
    mWindow.Window()->SetClientScreenRect({100, 50, 300, 120});
    EXPECT_EQ(mRoot->GetSize(), PointT<double>(300, 120));
    LLayoutDescriptor::SizeSpec wider = mRoot->GetLayout()->size[0];
    wider.absolute = 16;
    mRoot->SetAxisLayout(0, mRoot->GetLayout()->position[0], wider);
    EXPECT_EQ(mRoot->GetSize().x, 316);
    EXPECT_EQ(mWindow.Window()->GetClientSize(), PointT<long>(316, 120));
}

} // namespace
} // namespace QZ::ToolkitTest
