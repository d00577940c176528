#include "QZFramework/ControlBase/tests/PaintTestSupport.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

// Two skins of one root: the second moves "kept", drops "dropped" and adds an entry "fresh"
// that no existing child matches.
constexpr const char* kSkins = R"(<?xml version="1.0" encoding="UTF-8"?>
<Korvane_Skin_Definitions>
  <Skin Name="First">
    <SubControl Class="Test.Control" Name="root" XSizeAbs="100" YSizeAbs="50">
      <SubControl Class="Test.Control" Name="kept" XPositionAbs="1" XSizeAbs="10" TabStop="3">
        <CreateParamList><CreateParam ID="LABEL">Gain</CreateParam></CreateParamList>
      </SubControl>
      <SubControl Class="Test.Control" Name="dropped"/>
    </SubControl>
  </Skin>
  <Skin Name="Second">
    <SubControl Class="Test.Control" Name="root" XSizeAbs="120" YSizeAbs="60">
      <SubControl Class="Test.Control" Name="fresh"/>
      <SubControl Class="Test.Control" Name="kept" XPositionAbs="7" XSizeAbs="10" TabStop="-2">
        <CreateParamList><CreateParam ID="NOT_FOCUSABLE"> False </CreateParam></CreateParamList>
      </SubControl>
    </SubControl>
  </Skin>
</Korvane_Skin_Definitions>)";

class GeometryTest : public ToolkitFixture
{
protected:
    std::string Children(const RCPtr<LControl>& parent) const
    {
        std::string names;
        for (std::uint32_t i = 0; i < parent->GetChildren().GetCount(); ++i)
        {
            names +=
                Narrow(parent->GetChildren().GetAt(i, LControl::kStorageOrder)->GetName()) + " ";
        }
        return names;
    }

    PaintedWindow mWindow{*mApplication, 200, 100};
};

TEST_F(GeometryTest, ReskinReappliesMatchesDropsSkinChildrenAndKeepsAddedOnes)
{
    LoadSkin(kSkins);
    ASSERT_EQ(mWindow.Window()->CreateRootControl(WideString(u"root")), S_OK);
    const RCPtr<LControl> root = mWindow.Window()->GetRootControl();
    const RCPtr<LControl> kept = root->FindChildByName(WideString(u"kept"));
    kept->GetLayout()->enabled = false;
    RCPtr<LControlDescriptor> own(new LControlDescriptor());
    own->name = WideString(u"added");
    root->AddChild(RCPtr<LControl>(new LoggingControl(nullptr, WideString(u"added"), true)), own);
    EXPECT_EQ(Children(root), "kept dropped added ");

    mFactory->SetCurrentSkinIndex(1);
    ASSERT_EQ(mFactory->ApplySkinTo(root), S_OK);
    EXPECT_EQ(Children(root), "kept added ");
    EXPECT_EQ(root->FindChildByName(WideString(u"kept")), kept);
    EXPECT_EQ(kept->GetPosition().x, 7);
    EXPECT_EQ(Narrow(kept->GetText()), "Gain");
    EXPECT_FALSE(kept->GetLayout()->enabled);
    // " False " makes it focusable again, with its tab stop turned back into the order.
    EXPECT_FALSE(kept->IsNotFocusable());
    EXPECT_EQ(kept->GetLayout()->tabStop, 2);
    // The window took the first skin's root size; after the re-skin it keeps it and the root
    // fills it, instead of taking the second skin's size.
    EXPECT_EQ(mWindow.Window()->GetClientSize(), PointT<long>(100, 50));
    EXPECT_EQ(root->GetSize(), PointT<double>(100, 50));
    EXPECT_EQ(root->GetLayout()->size[0].kind, LLayoutDescriptor::kClient);
}

TEST_F(GeometryTest, FontsDeriveFromTheirBaseWithoutCompoundingRelativeSizes)
{
    const RCPtr<LControl> parent(new LoggingControl(nullptr, WideString(u"parent"), true));
    const RCPtr<LControl> child(new LoggingControl(parent, WideString(u"child"), true));
    ASSERT_EQ(parent->SetFontSpec(WideString(u"DejaVu Sans"), 10.0f, 0, false), S_OK);
    RCPtr<LControlDescriptor> inherit(new LControlDescriptor());
    inherit->name = WideString(u"child");
    inherit->appearance.fontInheritsFromParent = true;
    inherit->appearance.fontSize = 1.5f;
    inherit->appearance.fontSizeIsRelative = true;
    child->ApplyDescriptor(inherit);
    EXPECT_EQ(child->GetFont()->GetSize(), 15.0f);

    // Each base change applies the stored factor to the new base size.
    for (const float base : {12.0f, 8.0f})
    {
        parent->SetFontSpec(WideString(u"DejaVu Sans"), base, 1, false);
        EXPECT_EQ(child->GetFont()->GetSize(), base * 1.5f);
        EXPECT_EQ(child->GetFont()->GetStyle(), 1);
    }

    // Inheriting everything ends with the base font itself; inheriting the style alone keeps
    // the own name and size.
    EXPECT_EQ(child->SetFontSpec(WideString(), 0.0f, -1, false), S_OK);
    EXPECT_EQ(child->GetFont(), parent->GetFont());
    child->SetFontSpec(WideString(u"DejaVu Serif"), 11.0f, -1, false);
    parent->SetFontSpec(WideString(u"DejaVu Sans"), 9.0f, 2, false);
    EXPECT_EQ(Narrow(child->GetFont()->GetFaceName()), "DejaVu Serif");
    EXPECT_EQ(child->GetFont()->GetSize(), 11.0f);
    EXPECT_EQ(child->GetFont()->GetStyle(), 2);
    EXPECT_EQ(child->SetFont(RCPtr<LFont>()), E_INVALIDARG);
    EXPECT_EQ(child->SetFont(child->GetFont()), S_FALSE);
}

TEST_F(GeometryTest, SettersRoundRefuseAndRenameAsTheyShould)
{
    const RCPtr<LControl> root(new LoggingControl(nullptr, WideString(u"root"), true));
    RCPtr<LControlDescriptor> fill(new LControlDescriptor());
    fill->name = WideString(u"root");
    fill->layout->size[0] = {LLayoutDescriptor::kClient, WideString(), 1.0f, 0.0};
    fill->layout->size[1] = {LLayoutDescriptor::kClient, WideString(), 1.0f, 0.0};
    root->ApplyDescriptor(fill);
    mWindow.Window()->SetRootControl(root);

    root->SetScrollOffset({10.5, -2.5});
    EXPECT_EQ(root->GetScrollOffset(), PointT<double>(11, -3));
    RegionT taken;
    mWindow.Window()->TakeDirtyRegion(taken);
    root->SetScrollOffset({10.6, -3.4});
    EXPECT_TRUE(mWindow.Window()->GetDirtyRegion().IsEmpty());

    EXPECT_TRUE(root->SetText(WideString(u"Tarn 61 Editor"), true));
    EXPECT_FALSE(root->SetText(WideString(u"Tarn 61 Editor"), true));
    EXPECT_EQ(Narrow(mWindow.Window()->GetWindowTitle()), "Tarn 61 Editor");

    EXPECT_EQ(root->SetLookWeight(1, 1.0f, false), E_INVALIDARG);
    EXPECT_EQ(root->SetLookWeight(0, 1.5f, false), S_OK);
    EXPECT_EQ(root->GetLookWeight(0), 1.0f);
    EXPECT_EQ(root->SetOrderValue(-1), E_INVALIDARG);
    EXPECT_EQ(root->SetLookBitmap(0, RCPtr<LBitmap>(), 0), E_FAIL);

    // Renaming keeps names unique and turns later siblings' references to the new name.
    const RCPtr<LControl> first(new LoggingControl(root, WideString(u"first"), true));
    const RCPtr<LControl> second(new LoggingControl(root, WideString(u"second"), true));
    RCPtr<LControlDescriptor> follower(new LControlDescriptor());
    follower->name = WideString(u"second");
    follower->layout->position[0] = {
        0.0f, LLayoutDescriptor::kSibling, WideString(u"first"), 1.0f, 0.0, false};
    second->ApplyDescriptor(follower);
    LControl::ChildControlList& children = root->GetChildren();
    EXPECT_EQ(children.RenameChild(first, WideString(u"second")), E_FAIL);
    EXPECT_EQ(children.RenameChild(first, WideString(u"first")), S_FALSE);
    EXPECT_EQ(children.RenameChild(root, WideString(u"x")), E_INVALIDARG);
    EXPECT_EQ(children.RenameChild(first, WideString(u"leader")), S_OK);
    EXPECT_EQ(Narrow(second->GetLayout()->position[0].name), "leader");
    EXPECT_EQ(Narrow(first->GetName()), "leader");
    mWindow.Window()->SetRootControl(nullptr);
}

} // namespace
} // namespace QZ::ToolkitTest
