#include "QZFramework/Controls/tests/MenuTestSupport.h"

#include "QZFramework/ControlBase/MenuItemDescriptor.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/CheckedComboBox.h"
#include "QZFramework/Controls/CheckedListBox.h"
#include "QZFramework/Controls/CheckedListBoxItem.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/ComboMenu.h"
#include "QZFramework/Controls/ListBox.h"
#include "QZFramework/Controls/MainMenu.h"
#include "QZFramework/Controls/MenuActivationParam.h"
#include "QZFramework/Controls/MenuListBoxItem.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Controls/PopupMenu.h"
#include "QZFramework/Controls/StatusBar.h"
#include "QZFramework/Notification/Notification.h"

namespace QZ::ToolkitTest
{

std::string DescribeCommand(const LNotification& notification)
{
    const std::string command = Narrow(WideString(notification.GetID()));
    const auto param = RCPtr<LMenuActivationParam>::DynamicCastFrom(notification.GetPayload());
    if (!param)
    {
        return command + " -";
    }
    const auto item = param->GetMenu()->GetItemAt(param->GetIndex());
    return command + " " + std::to_string(param->GetIndex()) + " " +
           (item ? Narrow(item->GetText()) : "?");
}

void Owner::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                const RCPtr<LNotification>& notification)
{
    if (RCPtr<LMenuActivationParam>::DynamicCastFrom(notification->GetPayload()))
    {
        heard.push_back(DescribeCommand(*notification));
    }
    LControl::ReceiveNotification(sender, notification);
}

QZRESULT Owner::UpdateMenuItemState(const RCPtr<LMenuDescriptor>&, std::int32_t,
                                    const WideString& command, MenuItemState& state)
{
    state.enabled = state.enabled && command != u"NID_SAVE";
    state.checked = state.checked || command == u"NID_QUIT";
    if (command == u"NID_ABOUT")
    {
        state.text = WideString(u"About this program");
    }
    return S_OK;
}

void WindowListener::ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                                         const RCPtr<LNotification>& notification)
{
    heard.push_back(DescribeCommand(*notification));
}

const std::string_view kMenuRows = R"(
        <SubControl Class="Framework.MenuItem" Name="item" XSizeToControl="Parent"
                    XSizeRel="1" XSizeAbs="0" YSizeAbs="10" LookList="Four">
          <CreateParamList><CreateParam ID="DEFER_CREATE">true</CreateParam></CreateParamList>
          <SubControl Class="Framework.Button" Name="checkBox" XSizeAbs="10" YSizeAbs="10"
                      LookList="Nine" TabStop="-1"/>
          <SubControl Class="Test.Control" Name="hotKeyLabel" XPositionRel="1"
                      XPositionAbs="-20" XSizeAbs="15" YSizeAbs="10" LookList="One"
                      TabStop="-1"/>
        </SubControl>)";

namespace
{

constexpr std::string_view kSkinHead = R"(<Korvane_Skin_Definitions><Skin Name="Menus">
  <Colorizer Name="Ink" Color1="FF101010"/>
  <Look Name="Plain"><DockedPart Dock="Fill" Colorizer="Ink"/></Look>
  <LookList Name="One"><LookRef Look="Plain"/></LookList>
  <LookList Name="Four"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/></LookList>
  <LookList Name="Nine"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/></LookList>
  <LookList Name="Fourteen"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/></LookList>
  <SubControl Class="Framework.Panel" Name="main" XSizeAbs="200" YSizeAbs="100">
    <SubControl Class="Framework.StatusBar" Name="statusBar" YPositionAbs="90" XSizeAbs="100"
                YSizeAbs="10" LookList="One">
      <SubControl Class="Framework.Label" Name="label1" XSizeAbs="100" YSizeAbs="10">
        <CreateParamList><CreateParam ID="LABEL">Ready</CreateParam></CreateParamList>
      </SubControl>
    </SubControl>
    <SubControl Class="Test.Owner" Name="owner" XPositionAbs="150" YPositionAbs="80"
                XSizeAbs="40" YSizeAbs="20" LookList="One" TabStop="1"/>
    <SubControl Class="Framework.MainMenu" Name="mainMenu" XSizeAbs="200" YSizeAbs="10"
                TabStop="-1">
      <SubControl Class="Framework.ComboMenu" Name="templateMenu" XSizeAbs="30" YSizeAbs="10"
                  LookList="Four" TabStop="-1">
        <SubControl Class="Framework.PopupMenu" Name="popupMenu" YPositionAbs="10"
                    XSizeAbs="60" YSizeAbs="10" LookList="One" TabStop="0">)";
constexpr std::string_view kSkinMiddle = R"(
        </SubControl>
      </SubControl>
    </SubControl>
    <SubControl Class="Framework.CheckedComboBox" Name="checkedCombo" XPositionAbs="100"
                YPositionAbs="40" XSizeAbs="60" YSizeAbs="10" LookList="Fourteen" TabStop="2">
      <SubControl Class="Framework.Button" Name="checkBox" XSizeAbs="10" YSizeAbs="10"
                  LookList="Four" TabStop="-1"/>
      <SubControl Class="Framework.CheckedListBox" Name="listBox" YPositionAbs="10"
                  XSizeAbs="60" YSizeAbs="30" LookList="One" TabStop="1">
        <SubControl Class="Framework.CheckedListBoxItem" Name="item" XSizeAbs="60" YSizeAbs="10"
                    LookList="Four">
          <CreateParamList><CreateParam ID="DEFER_CREATE">true</CreateParam></CreateParamList>
          <SubControl Class="Framework.Button" Name="checkBox" XSizeAbs="10" YSizeAbs="10"
                      LookList="Four" TabStop="-1"/>
        </SubControl>
      </SubControl>
    </SubControl>
  </SubControl>
  <SubControl Class="Framework.PopupMenu" Name="contextMenu" XSizeAbs="60" YSizeAbs="10"
              LookList="One" TabStop="0">)";
constexpr std::string_view kSkinTail = R"(
  </SubControl>
  <SubControl Class="Framework.PopupMenu" Name="rowless" XSizeAbs="60" YSizeAbs="10"
              LookList="One" TabStop="0"/>
  <SubControl Class="Framework.PopupMenu" Name="bareMenu" XSizeAbs="60" YSizeAbs="10"
              LookList="One" TabStop="0">
    <SubControl Class="Framework.MenuItem" Name="item" XSizeAbs="60" YSizeAbs="10" LookList="Four">
      <CreateParamList><CreateParam ID="DEFER_CREATE">true</CreateParam></CreateParamList>
    </SubControl>
  </SubControl>
  <SubControl Class="Framework.CheckedComboBox" Name="plainCombo" XSizeAbs="60" YSizeAbs="10"
              LookList="Fourteen">
    <SubControl Class="Framework.ListBox" Name="listBox" XSizeAbs="60" YSizeAbs="30"/>
  </SubControl>
</Skin></Korvane_Skin_Definitions>)";

} // namespace

std::string MenuSkin()
{
    return std::string(kSkinHead) + std::string(kMenuRows) + std::string(kSkinMiddle) +
           std::string(kMenuRows) + std::string(kSkinTail);
}

const std::string_view kMenuStrings = R"(<Korvane_StringTable_Definitions>
  <StringTable ID="|TestApp">
    <String ID="GHK.NID_OPEN"><Text LCID="9">Ctrl+VKEY_O</Text></String>
  </StringTable>
  <StringTable ID="Global">
    <String ID="GHK.NID_OPEN"><Text LCID="9">Ctrl+VKEY_P</Text></String>
    <String ID="GHK.NID_ABOUT"><Text LCID="9">VKEY_F1</Text></String>
  </StringTable>
  <StringTable ID="Framework.Panel|mainMenu">
    <String ID="MENU_LABEL.00"><Text LCID="9">File</Text></String>
    <String ID="MENU_LABEL.01"><Text LCID="9">Help</Text></String>
    <String ID="CONTEXT_MENU0.00.NID_OPEN"><Text LCID="9">Open|Opens a file</Text></String>
    <String ID="CONTEXT_MENU0.01.-"><Text LCID="9">-</Text></String>
    <String ID="CONTEXT_MENU0.02.NID_RECENT"><Text LCID="9">Recent</Text></String>
    <String ID="CONTEXT_MENU0.02.00.NID_RECENT_A"><Text LCID="9">A</Text></String>
    <String ID="CONTEXT_MENU0.02.01.NID_RECENT_B"><Text LCID="9">B</Text></String>
    <String ID="CONTEXT_MENU0.03.NID_SAVE"><Text LCID="9">Save</Text></String>
    <String ID="CONTEXT_MENU0.04.NID_QUIT"><Text LCID="9">Quit</Text></String>
    <String ID="CONTEXT_MENU1.00.NID_ABOUT"><Text LCID="9">About</Text></String>
  </StringTable>
  <StringTable ID="Framework.CheckedComboBox|listBox">
    <String ID="ITEM.00"><Text LCID="9">Red</Text></String>
    <String ID="ITEM.01"><Text LCID="9">Green</Text></String>
  </StringTable>
</Korvane_StringTable_Definitions>)";

void RegisterMenuClasses(LControlFactory& factory)
{
    const auto add = [&](const char16_t* name, LControlFactory::CreateFunction create)
    { factory.RegisterControlClass(WideString(name), create); };
    add(u"Framework.Panel", &LControlFactory::Create<LPanel>);
    add(u"Framework.Button", &LControlFactory::Create<LButton>);
    add(u"Test.Owner", &LControlFactory::Create<Owner>);
    add(u"Framework.MainMenu", &LControlFactory::Create<LMainMenu>);
    add(u"Framework.ComboMenu", &LControlFactory::Create<LComboMenu>);
    add(u"Framework.PopupMenu", &LControlFactory::Create<LPopupMenu>);
    add(u"Framework.MenuItem", &LControlFactory::Create<LMenuListBoxItem>);
    add(u"Framework.CheckedComboBox", &LControlFactory::Create<LCheckedComboBox>);
    add(u"Framework.CheckedListBox", &LControlFactory::Create<LCheckedListBox>);
    add(u"Framework.CheckedListBoxItem", &LControlFactory::Create<LCheckedListBoxItem>);
    add(u"Framework.ListBox", &LControlFactory::Create<LListBox>);
    add(u"Framework.StatusBar", &LControlFactory::Create<LStatusBar>);
    add(u"Framework.Label", &LControlFactory::Create<LLabel>);
}

} // namespace QZ::ToolkitTest
