#include "QZFramework/ControlBase/ClipboardTextInterface.h"
#include "QZFramework/ControlBase/IndexedDataWithValueParam.h"
#include "QZFramework/ControlBase/ItemConditionsParam.h"
#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/ControlBase/SiblingKeyParam.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/ValueParam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>

namespace QZ::ToolkitTest
{
namespace
{

class ControlTree : public ToolkitFixture
{
protected:
    // A child of the parent with a layout record set up by the caller.
    RCPtr<LControl> AddChild(const RCPtr<LControl>& parent, const char16_t* name,
                             const std::function<void(LLayoutDescriptor&)>& setUp = {})
    {
        RCPtr<LControlDescriptor> descriptor(new LControlDescriptor());
        descriptor->name = WideString(name);
        if (setUp)
        {
            setUp(*descriptor->layout);
        }
        RCPtr<LControl> child(new LoggingControl(parent, WideString(name), true));
        child->ApplyDescriptor(descriptor);
        return child;
    }

    std::string Order(const RCPtr<LControl>& parent, std::uint32_t order)
    {
        std::string names;
        for (std::uint32_t i = 0; i < parent->GetChildren().GetCount(); ++i)
        {
            names += Narrow(parent->GetChildren().GetAt(i, order)->GetName());
        }
        return names;
    }

    RCPtr<LControl> mRoot{new LoggingControl(nullptr, WideString(u"root"), true)};
};

TEST_F(ControlTree, ChildrenComeInStoragePaintAndTabOrder)
{
    const struct
    {
        const char16_t* name;
        std::int32_t zOrder;
        std::int32_t tabStop;
        bool clipped;
        bool dockedAcross;
    } children[] = {{u"a", 5, 1, true, false},
                    {u"b", -9, 0, false, false},
                    {u"c", 0, -1, true, true},
                    {u"d", 5, 1, true, false},
                    {u"e", -1, 0, true, false}};
    for (const auto& c : children)
    {
        AddChild(mRoot, c.name,
                 [&c](LLayoutDescriptor& l)
                 {
                     l.zOrder = c.zOrder;
                     l.tabStop = c.tabStop;
                     l.clipToParent = c.clipped;
                     l.position[0].docked = c.dockedAcross;
                 });
    }
    EXPECT_EQ(Order(mRoot, LControl::kStorageOrder), "abcde");
    // Clipped first, then fewer docked axes, Z_Order, position.
    EXPECT_EQ(Order(mRoot, LControl::kPaintOrder), "eadcb");
    EXPECT_EQ(Order(mRoot, LControl::kTabOrder), "cbead");

    // A change that orders the children re-sorts them on the next read.
    mRoot->GetChildren().GetAt(1, 0)->SetClipToParent(true);
    EXPECT_EQ(Order(mRoot, LControl::kPaintOrder), "beadc");

    const std::string expectedEnd = "Line ";
    for (const auto& [index, order] : {std::pair{5u, 0u}, std::pair{0u, 3u}, std::pair{9u, 1u}})
    {
        try
        {
            (void)std::as_const(mRoot->GetChildren()).GetAt(index, order);
            ADD_FAILURE() << index << " " << order;
        }
        catch (const std::runtime_error& error)
        {
            const std::string text = error.what();
            EXPECT_EQ(text.rfind("Runtime Error : QZ::LControl::ChildControlList::GetAt : ", 0), 0u)
                << text;
            EXPECT_NE(text.find("ControlBase/Control.cpp : Line "), std::string::npos)
                << error.what();
        }
    }
}

// Children that arrive one by one are put into place in each order as they come; the result is
// what sorting them all afresh gives, also when a child's order keys change after it was placed.
TEST_F(ControlTree, OrdersOfChildrenAddedOneByOneMatchAFreshSort)
{
    const auto layoutOrder = [this]
    {
        // The child with the most later siblings comes first.
        std::vector<std::pair<std::size_t, std::string>> ranked;
        for (std::uint32_t i = 0; i < mRoot->GetChildren().GetCount(); ++i)
        {
            const RCPtr<LControl>& child = mRoot->GetChildren().GetAt(i, 0);
            ranked.emplace_back(mRoot->GetChildren().GetLaterInLayout(*child).size(),
                                Narrow(child->GetName()));
        }
        std::sort(ranked.rbegin(), ranked.rend());
        std::string names;
        for (const auto& entry : ranked)
        {
            names += entry.second;
        }
        return names;
    };
    std::uint32_t seed = 7;
    const auto next = [&seed](std::uint32_t range)
    {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::int32_t>((seed >> 16) % range);
    };
    for (char16_t name = u'A'; name <= u'z'; ++name)
    {
        const char16_t text[] = {name, 0};
        AddChild(mRoot, text,
                 [&](LLayoutDescriptor& l)
                 {
                     l.zOrder = next(3) - 1;
                     l.tabStop = next(4) - 1;
                     l.layoutOrder = next(3);
                     l.clipToParent = next(5) != 0;
                     l.position[1].docked = next(6) == 0;
                 });
        const std::string paint = Order(mRoot, LControl::kPaintOrder);
        const std::string tab = Order(mRoot, LControl::kTabOrder);
        const std::string layout = layoutOrder();
        mRoot->GetChildren().Touch();
        ASSERT_EQ(paint, Order(mRoot, LControl::kPaintOrder)) << Narrow(WideString(text));
        ASSERT_EQ(tab, Order(mRoot, LControl::kTabOrder));
        ASSERT_EQ(layout, layoutOrder());
    }

    // A child placed before its layout record arrives moves when the record comes.
    const RCPtr<LControl> late(new LoggingControl(mRoot, WideString(u"0"), true));
    const std::uint32_t last = mRoot->GetChildren().GetCount() - 1;
    EXPECT_NE(Narrow(mRoot->GetChildren().GetAt(last, LControl::kTabOrder)->GetName()), "0");
    RCPtr<LControlDescriptor> descriptor(new LControlDescriptor());
    descriptor->name = WideString(u"0");
    descriptor->layout->tabStop = 9;
    late->ApplyDescriptor(descriptor);
    EXPECT_EQ(Narrow(mRoot->GetChildren().GetAt(last, LControl::kTabOrder)->GetName()), "0");
}

// The event loop ticks while any control holds a timed idle request: a control counts once
// however many it holds, until it releases the last, is marked untimed or goes away.
TEST_F(ControlTree, TimedIdleRequestsAreCountedWhileHeld)
{
    const std::int32_t before = LControl::GetTimedIdleControlCount();
    const RCPtr<LControl> a = AddChild(mRoot, u"a");
    const RCPtr<LControl> b = AddChild(mRoot, u"b");
    RCPtr<LControl> c = AddChild(mRoot, u"c");
    for (const RCPtr<LControl>& control : {a, a, b, c})
    {
        control->RequestIdle();
    }
    EXPECT_EQ(LControl::GetTimedIdleControlCount(), before + 3);
    a->ReleaseIdle();
    EXPECT_EQ(LControl::GetTimedIdleControlCount(), before + 3);
    a->ReleaseIdle();
    a->ReleaseIdle();
    EXPECT_EQ(a->GetIdleRequestCount(), 0);
    EXPECT_EQ(LControl::GetTimedIdleControlCount(), before + 2);
    b->SetIdleUntimed();
    EXPECT_EQ(b->GetIdleRequestCount(), 1);
    EXPECT_EQ(LControl::GetTimedIdleControlCount(), before + 1);
    mRoot->GetChildren().Remove(c);
    c = nullptr;
    EXPECT_EQ(LControl::GetTimedIdleControlCount(), before);
}

TEST_F(ControlTree, NamesAreUniqueExactAndCaseSensitive)
{
    const RCPtr<LControl> first = AddChild(mRoot, u"slot");
    AddChild(mRoot, u"Slot");
    const RCPtr<LControl> twin(new LoggingControl(mRoot, WideString(u"slot"), true));
    EXPECT_FALSE(twin->GetParent()); // the second "slot" was refused
    EXPECT_EQ(mRoot->GetChildren().GetCount(), 2u);
    EXPECT_EQ(mRoot->GetChildren().Add(twin), E_FAIL);
    EXPECT_EQ(mRoot->GetChildren().Add(RCPtr<LControl>()), E_INVALIDARG);
    EXPECT_EQ(mRoot->FindChildByName(WideString(u"slot")).Get(), first.Get());
    EXPECT_EQ(Narrow(mRoot->FindChildByName(WideString(u"Slot"))->GetName()), "Slot");
    EXPECT_FALSE(mRoot->FindChildByName(WideString(u"SLOT")));
    EXPECT_FALSE(mRoot->FindChildByName(WideString(u"slo")));

    EXPECT_EQ(twin->SetParent(mRoot), S_OK);
    EXPECT_EQ(mRoot->GetChildren().GetCount(), 2u);
    EXPECT_EQ(first->SetParent(mRoot), S_FALSE);
    EXPECT_EQ(first->SetParent(RCPtr<LControl>()), S_OK);
    EXPECT_EQ(mRoot->GetChildren().Remove(first), -1);
    EXPECT_EQ(twin->SetParent(mRoot), S_OK); // the name is free again
    EXPECT_EQ(Order(mRoot, 0), "Slotslot");
}

TEST_F(ControlTree, UnclippedDescendantsAreCountedOnEveryAncestor)
{
    const RCPtr<LControl> middle = AddChild(mRoot, u"middle");
    const RCPtr<LControl> detached(new LoggingControl(nullptr, WideString(u"sub"), true));
    {
        RCPtr<LControlDescriptor> descriptor(new LControlDescriptor());
        descriptor->layout->clipToParent = false;
        detached->ApplyDescriptor(descriptor);
        for (const char16_t* name : {u"x", u"y"})
        {
            AddChild(detached, name, [](LLayoutDescriptor& l) { l.clipToParent = false; });
        }
    }
    EXPECT_EQ(detached->GetUnclippedDescendantCount(), 2u);
    EXPECT_EQ(middle->GetChildren().Add(detached), S_OK);
    EXPECT_EQ(middle->GetUnclippedDescendantCount(), 3u);
    EXPECT_EQ(mRoot->GetUnclippedDescendantCount(), 3u);
    detached->SetClipToParent(true);
    EXPECT_EQ(mRoot->GetUnclippedDescendantCount(), 2u);
    EXPECT_EQ(detached->SetParent(RCPtr<LControl>()), S_OK);
    EXPECT_EQ(middle->GetUnclippedDescendantCount(), 0u);
    EXPECT_EQ(mRoot->GetUnclippedDescendantCount(), 0u);
}

TEST_F(ControlTree, ParentLinksDoNotKeepATreeAlive)
{
    RCPtr<LControl> middle = AddChild(mRoot, u"middle");
    AddChild(middle, u"leaf");
    AddChild(mRoot, u"other");
    PhaseLog().clear();
    mRoot = nullptr; // only the children's links still point at it
    EXPECT_EQ(PhaseLog(), (std::vector<std::string>{"other:destroy", "root:destroy"}));
    EXPECT_FALSE(middle->GetParent());
    RCPtr<LControl> root;
    EXPECT_EQ(middle->GetRootControl(root).Get(), middle.Get());
    root = nullptr;
    middle = nullptr;
    EXPECT_EQ(PhaseLog(), (std::vector<std::string>{"other:destroy", "root:destroy", "leaf:destroy",
                                                    "middle:destroy"}));
}

TEST_F(ControlTree, BaseOperationsKeepTheirContracts)
{
    struct RangeCase
    {
        double minimum;
        double maximum;
        std::int32_t scale;
        QZRESULT result;
    };
    const RangeCase ranges[] = {{0, 100, 0, S_OK},        {0, 100, 1, E_INVALIDARG},
                                {1, 100, 1, S_OK},        {1, -5, 1, E_INVALIDARG},
                                {-5, 5, 2, E_INVALIDARG}, {5, -5, 0, S_OK}};
    for (const RangeCase& c : ranges)
    {
        const double before = mRoot->GetValueMaximum();
        EXPECT_EQ(mRoot->SetValueRange(c.minimum, c.maximum, c.scale), c.result);
        EXPECT_EQ(mRoot->GetValueMaximum(), c.result == S_OK ? c.maximum : before);
    }
    EXPECT_TRUE(mRoot->IsNotFocusable());
    FakeClipboard clipboard;
    clipboard.fails = true;
    EXPECT_THROW(mRoot->PerformEdit(WideString(NID_EDIT_COPY_REQ), clipboard), std::logic_error);
    RCPtr<LControl> target;
    EXPECT_FALSE(mRoot->FindEditTarget(target));
    RectT<double> range;
    mRoot->GetChildScrollRange(range, mRoot);
    EXPECT_EQ(range, RectT<double>(0, 0, 4503599627370496.0, 4503599627370496.0));
    EXPECT_EQ(mRoot->UpdateLayout(), E_FAIL); // no window to lay a top control out in

    const RCPtr<LControl> child = AddChild(mRoot, u"child",
                                           [](LLayoutDescriptor& l)
                                           {
                                               l.position[0].absolute = 10.4;
                                               l.position[1].absolute = -3.5;
                                               l.size[0].absolute = 30.0;
                                               l.minimum[1].absolute = 50.0;
                                               l.maximum[0].absolute = 20.0;
                                               l.maximum[1].present = true;
                                               l.maximum[1].absolute = 7.0;
                                           });
    // A maximum that names a control applies its absolute part over the minimum.
    EXPECT_EQ(child->GetPosition(), PointT<double>(10.0, -4.0));
    EXPECT_EQ(child->GetSize(), PointT<double>(20.0, 7.0));
    EXPECT_EQ(child->GetMaximumSize(), PointT<double>(20.0, 0.0));

    // Children bounds: whole pixels by trunc(v + 0.5), docked children left out.
    RectT<double> bounds(1, 1, 1, 1);
    EXPECT_EQ(child->GetChildrenBounds(bounds), RectT<double>());
    AddChild(mRoot, u"docked",
             [](LLayoutDescriptor& l)
             {
                 l.position[1].docked = true;
                 l.position[0].absolute = -100.0;
             });
    AddChild(mRoot, u"second",
             [](LLayoutDescriptor& l)
             {
                 l.position[0].absolute = 40.0;
                 l.position[1].absolute = 2.0;
                 l.size[0].absolute = 5.0;
                 l.size[1].absolute = 3.0;
             });
    EXPECT_EQ(mRoot->GetChildrenBounds(bounds), RectT<double>(10, -3, 35, 8));
}

TEST(EventParameters, CarryTheirFieldsAndCastSafely)
{
    EXPECT_EQ(KeyCode::FromChar(u'a', 0x9).key, 0x3000061u);
    EXPECT_EQ(KeyCode::FromChar(u'a', 0x8 | 0x10 | 0x4).sideModifiers, 1u); // Ctrl side, no Ctrl
    EXPECT_EQ(KeyCode::FromChar(u'z', 0x1 | 0x4 | 0x40 | 0x80 | 0x200 | 0x800 | 0x1000),
              (KeyCode{0x1D00007A, 8 | 16 | 128, 0}));

    const RCPtr<LKeyParam> key = LKeyParam::Create({0x20250000, 3, 0x101}, true);
    EXPECT_TRUE(key->GetControls().empty());
    EXPECT_EQ(key->GetKeyCode(), (KeyCode{0x20250000, 3, 1}));
    EXPECT_TRUE(key->IsFromSource());
    const RCPtr<LSiblingKeyParam> sibling = LSiblingKeyParam::Create({9, 0, 0}, nullptr);
    EXPECT_EQ(sibling->GetPosition(), -1);

    const RCPtr<LRefCountedObject> value(LValueParam::Create(0.5, 50.0));
    EXPECT_FALSE(RCPtr<LMouseButtonParam>::DynamicCastFrom(value));
    EXPECT_TRUE(RCPtr<LValueParam>::DynamicCastFrom(value));

    const RCPtr<LIndexedDataWithValueParam> indexed =
        LIndexedDataWithValueParam::Create(value, 4, 2.5);
    EXPECT_EQ(indexed->GetData().Get(), value.Get());
    EXPECT_EQ(indexed->GetIndex(), 4);
    EXPECT_TRUE(RCPtr<LIndexedDataParam>::DynamicCastFrom(RCPtr<LRefCountedObject>(indexed)));

    EXPECT_EQ(LItemConditionsParam::Create(1, 0, 2.0, 3.0, 7)->GetItemIndex(), 7);
}

} // namespace
} // namespace QZ::ToolkitTest
