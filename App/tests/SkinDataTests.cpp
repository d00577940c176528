// The skin the program ships, read from its embedded resource: it parses without a warning, holds
// the controls the editor's code looks up (with their classes, in the order the code needs), every
// image it names is embedded and large enough, and the main control lays out at its fixed size
// with every control inside its parent.
#include "Platform/Resources/Resources.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/DockedPartDescriptor.h"
#include "QZFramework/ControlBase/LookListDescriptor.h"
#include "QZFramework/ControlBase/SkinReader.h"
#include "QZFramework/ControlBase/VisualPartDescriptor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace QZ
{
namespace
{

using Descriptor = RCPtr<LControlDescriptor>;

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

std::u16string_view Name(const LControlDescriptor& control)
{
    return control.name.GetString();
}

// The child of that name, or null.
const LControlDescriptor* Child(const LControlDescriptor& parent, std::u16string_view name)
{
    for (const Descriptor& child : parent.subControls)
    {
        if (Name(*child) == name)
        {
            return child.Get();
        }
    }
    return nullptr;
}

// The descriptor at a "/"-separated path below the top-level control, or null.
const LControlDescriptor* Find(const LSkin& skin, std::u16string_view path)
{
    const std::size_t slash = path.find(u'/');
    const Descriptor& top = skin.FindSubControl(std::u16string(path.substr(0, slash)).c_str());
    const LControlDescriptor* at = top.Get();
    while (at != nullptr && slash != std::u16string_view::npos)
    {
        path.remove_prefix(path.find(u'/') + 1);
        const std::size_t next = path.find(u'/');
        at = Child(*at, path.substr(0, next));
        if (next == std::u16string_view::npos)
        {
            break;
        }
    }
    return at;
}

// Visits every descriptor below (and with) the top-level ones, with its path.
void Walk(const std::vector<Descriptor>& level, const std::string& prefix,
          const std::function<void(const LControlDescriptor&, const std::string&)>& visit)
{
    for (const Descriptor& descriptor : level)
    {
        const std::string path = prefix + Narrow(descriptor->name);
        visit(*descriptor, path);
        Walk(descriptor->subControls, path + "/", visit);
    }
}

std::u16string Digits(std::size_t number)
{
    const std::string text = std::to_string(number);
    return {text.begin(), text.end()};
}

std::size_t IndexOf(const LControlDescriptor& parent, std::u16string_view name)
{
    for (std::size_t index = 0; index < parent.subControls.size(); ++index)
    {
        if (Name(*parent.subControls[index]) == name)
        {
            return index;
        }
    }
    return parent.subControls.size();
}

class ShippedSkin : public testing::Test
{
protected:
    void SetUp() override
    {
        mApplication.SetControlFactory(mFactory);
        mFactory->SetBaseFolder(WideString(u"::"));
        ASSERT_EQ(mFactory->LoadSkins(WideString(u"::APP_SKINS")), S_OK)
            << mFactory->GetLastError();
        mSkin = mFactory->GetSkin(0);
        ASSERT_TRUE(mSkin);
    }
    void TearDown() override { mApplication.SetControlFactory(RCPtr<LControlFactory>()); }

    LApplicationBase mApplication;
    RCPtr<LControlFactory> mFactory{
        new LControlFactory(WideString(u"Tarn 61 Vidida Editor"), WideString(u"RededoVuvuva"))};
    RCPtr<LSkin> mSkin;
};

TEST(ShippedSkinSource, ParsesWithoutAWarning)
{
    std::span<const std::uint8_t> bytes;
    ASSERT_TRUE(Resources::FindResource("QZXML", "APP_SKINS", bytes));
    LSkinReader reader("APP_SKINS");
    std::vector<RCPtr<LSkin>> skins;
    ASSERT_EQ(reader.Read(bytes, skins), S_OK) << reader.GetError();
    EXPECT_TRUE(reader.GetWarnings().empty()) << reader.GetWarnings().front();
    EXPECT_FALSE(skins.empty());
}

struct Sample
{
    const char16_t* path;
    const char16_t* className;
};

// The top-level controls, then a sample of every kind of control the code finds by name.
const Sample kControls[] = {
    {u"mainControl", u"RededoVuvuva.MainControl"},
    {u"toolTip", u"Framework.ToolTip"},
    {u"contextMenu", u"Framework.PopupMenu"},
    {u"dialogAbout", u"RededoVuvuva.DialogAbout"},
    {u"dialogRetrievePresetFromHardware", u"RededoVuvuva.Dialog.RetrievePresetFromHardware"},
    {u"dialogSendPreset", u"RededoVuvuva.Dialog.SendPresetToHardware"},
    {u"globalEditorControl", u"RededoVuvuva.GlobalEditorControl"},
    {u"mainControl/mainMenu/templateMenu/popupMenu", u"Framework.PopupMenu"},
    {u"mainControl/viewDevice", u"RededoVuvuva.MainControl.DeviceView"},
    {u"mainControl/viewDevice/zoneEditPanel", u"RededoVuvuva.MainPage.ZoneEditPanel"},
    {u"mainControl/viewDevice/wheelEditPanel",
     u"RededoVuvuva.TabControl.PageHolder.WheelsPage.Wheel"},
    {u"mainControl/viewDevice/groupBankPanel/bank4", u"Framework.Button"},
    {u"mainControl/viewDevice/pads/pad16/color",
     u"RededoVuvuva.MainControl.PadView.Pad.ColorIndicator"},
    {u"mainControl/viewDevice/encoders/encoderBank4/encoder8/viewPanel/midiChannel/label",
     u"Framework.Label"},
    {u"mainControl/viewDevice/faders/faderBank4/fader9/faderNumberLabel", u"Framework.Label"},
    {u"mainControl/viewDevice/buttons/buttonBank4/button9/color",
     u"RededoVuvuva.MainControl.ButtonView.Button.ColorIndicator"},
    {u"mainControl/viewDevice/keybedZones/zone4/zoneName", u"Framework.Label"},
    {u"mainControl/viewDevice/pedals/sustainPedal/button", u"Framework.Button"},
    {u"mainControl/viewDevice/xyPad/yAxis/viewPanel/infoLabel", u"Framework.Label"},
    {u"mainControl/viewDevice/presetNameEditPanel",
     u"RededoVuvuva.MainControl.DeviceView.PresetNameEditPanel"},
    {u"globalEditorControl/keyOctave/numericUpDown/textBox", u"Framework.TextBox"},
    {u"globalEditorControl/keyOctave/numericUpDown/buttonDown", u"Framework.Button"},
    {u"dialogSendPreset/presetSlot/comboBox/listBox", u"Framework.ListBox"},
    {u"dialogAbout/buttonOK", u"Framework.Button"},
};

TEST_F(ShippedSkin, HoldsTheControlsTheCodeLooksUpWithTheirClasses)
{
    for (const Sample& sample : kControls)
    {
        const LControlDescriptor* found = Find(*mSkin, sample.path);
        ASSERT_NE(found, nullptr) << Narrow(WideString(sample.path));
        EXPECT_EQ(std::u16string_view(found->className.GetString()), sample.className)
            << Narrow(WideString(sample.path));
    }
    // Four banks of tiles, numbered from 1 in each bank.
    const std::array<std::array<const char16_t*, 3>, 3> banks = {{
        {u"encoders", u"encoderBank", u"encoder"},
        {u"faders", u"faderBank", u"fader"},
        {u"buttons", u"buttonBank", u"button"},
    }};
    const LControlDescriptor* device = Find(*mSkin, u"mainControl/viewDevice");
    ASSERT_NE(device, nullptr);
    for (const auto& [view, bank, tile] : banks)
    {
        const std::vector<Descriptor>& each = Child(*device, view)->subControls;
        ASSERT_EQ(each.size(), 4u) << Narrow(WideString(view));
        const std::size_t perBank = std::u16string_view(view) == u"encoders" ? 8 : 9;
        for (std::size_t index = 0; index < each.size(); ++index)
        {
            EXPECT_EQ(Name(*each[index]), bank + Digits(index + 1));
            ASSERT_EQ(each[index]->subControls.size(), perBank);
            for (std::size_t member = 0; member < perBank; ++member)
            {
                EXPECT_EQ(Name(*each[index]->subControls[member]), tile + Digits(member + 1));
            }
        }
    }
    // Every list (a combo box's drop-down above all) has the row it makes its items from: without
    // one it holds no items and drops down as an empty line. Every tile's summary has room for
    // its two lines ("CC:" over the number).
    std::size_t lists = 0;
    std::size_t summaries = 0;
    Walk(mSkin->subControls, "",
         [&](const LControlDescriptor& control, const std::string& path)
         {
             const std::u16string_view className = control.className.GetString();
             if (className.ends_with(u"Type.ViewPanel"))
             {
                 ++summaries;
                 const LControlDescriptor* info = Child(control, u"infoLabel");
                 ASSERT_NE(info, nullptr) << path;
                 EXPECT_GE(info->absoluteHeight, 30.0) << path;
             }
             if (className != u"Framework.ListBox")
             {
                 return;
             }
             ++lists;
             const LControlDescriptor* row = Child(control, u"item");
             ASSERT_NE(row, nullptr) << path;
             EXPECT_TRUE(
                 LControl::IsCreationDeferred(Descriptor(const_cast<LControlDescriptor*>(row))))
                 << path;
         });
    EXPECT_GT(lists, 100u);
    EXPECT_EQ(summaries, 126u);
}

// The orders the code relies on: the device view finds the menu made before it; group panels
// find the edit panels made before them; movement pages are stored in the order of their index;
// the tab shown first has the lowest tab stop.
TEST_F(ShippedSkin, KeepsTheOrdersTheCodeRelies)
{
    const LControlDescriptor* main = Find(*mSkin, u"mainControl");
    ASSERT_NE(main, nullptr);
    EXPECT_LT(IndexOf(*main, u"mainMenu"), IndexOf(*main, u"viewDevice"));

    const LControlDescriptor* device = Child(*main, u"viewDevice");
    std::size_t lastEditPanel = 0;
    std::size_t firstGroup = device->subControls.size();
    for (std::size_t index = 0; index < device->subControls.size(); ++index)
    {
        const std::u16string_view name = Name(*device->subControls[index]);
        if (name == u"presetNameEditPanel")
        {
            continue;
        }
        if (name.ends_with(u"EditPanel") || name.ends_with(u"EditPage"))
        {
            lastEditPanel = std::max(lastEditPanel, index);
        }
        else
        {
            firstGroup = std::min(firstGroup, index);
        }
    }
    EXPECT_LT(lastEditPanel, firstGroup);

    const std::array<std::u16string_view, 4> pages = {u"ccAbsolutePage", u"ccRelativePage",
                                                      u"nrpnRpnPage", u"otherPage"};
    std::size_t pageHolders = 0;
    std::size_t buttonHolders = 0;
    Walk(mSkin->subControls, "",
         [&](const LControlDescriptor& control, const std::string& path)
         {
             if (Name(control) == u"pageHolder" && Child(control, pages[0]) != nullptr)
             {
                 ++pageHolders;
                 std::size_t previous = 0;
                 for (std::size_t page = 0; page < pages.size(); ++page)
                 {
                     const std::size_t index = IndexOf(control, pages[page]);
                     if (index == control.subControls.size())
                     {
                         continue;
                     }
                     EXPECT_TRUE(page == 0 ? index == 0 : index > previous) << path;
                     previous = index;
                 }
             }
             if (Name(control) == u"buttonHolder" && !control.subControls.empty())
             {
                 ++buttonHolders;
                 const std::int32_t first = control.subControls.front()->layout->tabStop;
                 for (const Descriptor& button : control.subControls)
                 {
                     EXPECT_LE(first, button->layout->tabStop) << path;
                 }
             }
         });
    EXPECT_EQ(pageHolders, 8u);
    EXPECT_GE(buttonHolders, 8u);
}

// A PNG's width and height from its header; zero for anything else.
std::array<std::uint32_t, 2> PngSize(std::span<const std::uint8_t> bytes)
{
    constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P',  'N',  'G',
                                                        0x0D, 0x0A, 0x1A, 0x0A};
    if (bytes.size() < 24 || !std::equal(kSignature.begin(), kSignature.end(), bytes.begin()))
    {
        return {0, 0};
    }
    const auto word = [&](std::size_t at)
    {
        return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
               (std::uint32_t{bytes[at + 2]} << 8) | bytes[at + 3];
    };
    return {word(16), word(20)};
}

TEST_F(ShippedSkin, EveryImageItNamesIsEmbeddedAndHoldsThePartsRectangle)
{
    std::size_t images = 0;
    for (const auto& [name, part] : mSkin->parts)
    {
        const std::string image = Narrow(part->image);
        if (image.empty())
        {
            EXPECT_TRUE(part->colorizer) << Narrow(WideString(name.c_str())) << " draws nothing";
            continue;
        }
        ASSERT_TRUE(image.starts_with("::")) << image << " is not embedded";
        std::span<const std::uint8_t> bytes;
        ASSERT_TRUE(Resources::FindResource(
            "GDIPLUS", Resources::ResourceNameFromFileName(image.substr(2)), bytes))
            << image;
        const std::array<std::uint32_t, 2> size = PngSize(bytes);
        EXPECT_LE(static_cast<std::uint32_t>(part->x + part->width), size[0]) << image;
        EXPECT_LE(static_cast<std::uint32_t>(part->y + part->height), size[1]) << image;
        ++images;
    }
    EXPECT_GT(images, 0u);
    // The colour indicators show a look per colour number.
    EXPECT_EQ(mSkin->lookLists.at(u"T49PE.Pad.Colors")->looks.size(), 14u);
    EXPECT_EQ(mSkin->lookLists.at(u"RededoVuvuva.MainControl.ButtonView.Button.ColorIndicator")
                  ->looks.size(),
              8u);
}

// A list that has the keyboard's focus shows it: its focused looks (1, and 3 under the pointer)
// draw their edges with other parts than the unfocused ones (0 and 2).
TEST_F(ShippedSkin, AFocusedListIsFramedOtherwiseThanAnUnfocusedOne)
{
    const auto edges = [](const LLookDescriptor& look)
    {
        std::vector<const LVisualPartDescriptor*> parts;
        for (const RCPtr<LDockedPartDescriptor>& docked : look.parts)
        {
            parts.push_back(docked->dock == LDockedPartDescriptor::kFill ? nullptr
                                                                         : docked->part.Get());
        }
        return parts;
    };
    for (const std::u16string list : {u"Framework.ComboBox", u"Framework.ComboSlider"})
    {
        const std::vector<RCPtr<LLookDescriptor>>& looks = mSkin->lookLists.at(list)->looks;
        ASSERT_GE(looks.size(), 4u);
        EXPECT_NE(edges(*looks[1]), edges(*looks[0])) << Narrow(WideString(list.c_str()));
        EXPECT_NE(edges(*looks[3]), edges(*looks[2])) << Narrow(WideString(list.c_str()));
    }
}

// Every class the skin names is built as a plain control here: the layout is the skin's alone.
// A tab, a bank button and a selector's caption say what they are: each finds its text in the
// table the control reads ("<parent class>|<name>").
TEST_F(ShippedSkin, EveryTabBankButtonCaptionAndDialogHasItsText)
{
    ASSERT_EQ(mFactory->LoadStringTables(WideString(u"::APP_STRINGS"),
                                         WideString(u"::FRAMEWORK_STRINGS"), 0x0409),
              S_OK);
    std::size_t checked = 0;
    const std::function<void(const LControlDescriptor&)> visit =
        [&](const LControlDescriptor& parent)
    {
        for (const Descriptor& child : parent.subControls)
        {
            const RCPtr<LLookListDescriptor>& looks = child->appearance.lookList;
            const std::u16string_view look =
                looks ? std::u16string_view(looks->name.GetString()) : std::u16string_view();
            // The zone editor captions its two key selectors itself.
            const std::u16string_view parentClass(parent.className.GetString());
            const bool captioned =
                Name(*child) == u"controlNameLabel" &&
                parentClass.starts_with(u"RededoVuvuva.Control.Labeled") &&
                parentClass != u"RededoVuvuva.Control.LabeledKeyZoneNoteSelector";
            if (look == u"Tab.Button" || look == u"Bank.Button" || captioned)
            {
                ++checked;
                const WideString table = WideString((std::u16string(parent.className.GetString()) +
                                                     u"|" + std::u16string(Name(*child)))
                                                        .c_str());
                const RCPtr<LStringTable> strings = mFactory->FindStringTable(table);
                WideString text;
                EXPECT_TRUE(strings && strings->Lookup(u"LABEL", text) && text.GetLength() > 0)
                    << Narrow(table);
            }
            visit(*child);
        }
    };
    // A dialog's window is titled by its own table's caption; a message box by its message's.
    std::size_t dialogs = 0;
    for (const Descriptor& top : mSkin->subControls)
    {
        visit(*top);
        const RCPtr<LLookListDescriptor>& looks = top->appearance.lookList;
        if (looks && std::u16string_view(looks->name.GetString()) == u"Dialog" &&
            Name(*top) != u"messageBox")
        {
            ++dialogs;
            const RCPtr<LStringTable> strings = mFactory->FindStringTable(
                WideString((u"RededoVuvuva|" + std::u16string(Name(*top))).c_str()));
            WideString caption;
            EXPECT_TRUE(strings && strings->Lookup(u"LABEL", caption) && caption.GetLength() > 0)
                << Narrow(top->name) << " has no caption";
        }
    }
    EXPECT_GT(checked, 100u);
    EXPECT_EQ(dialogs, 4u);
}

// The transfer dialogs are small ordinary dialogs: a one-row slot list whose open list shows all
// thirteen slots without leaving the dialog, and a default button of a button's height.
TEST_F(ShippedSkin, TransferDialogsShowEverySlotInsideTheDialog)
{
    const auto height = [](const LControlDescriptor* at) { return at->layout->size[1].absolute; };
    const auto top = [](const LControlDescriptor* at) { return at->layout->position[1].absolute; };
    for (const std::u16string dialog : {u"dialogRetrievePresetFromHardware", u"dialogSendPreset"})
    {
        SCOPED_TRACE(Narrow(WideString(dialog.c_str())));
        const LControlDescriptor* box = Find(*mSkin, dialog);
        const LControlDescriptor* slot = Find(*mSkin, dialog + u"/presetSlot");
        const LControlDescriptor* combo = Find(*mSkin, dialog + u"/presetSlot/comboBox");
        const LControlDescriptor* list = Find(*mSkin, dialog + u"/presetSlot/comboBox/listBox");
        ASSERT_TRUE(box && slot && combo && list && !list->subControls.empty());
        EXPECT_LE(height(combo), 26.0);
        EXPECT_GE(height(list), 13 * height(list->subControls[0].Get()));
        EXPECT_LE(top(slot) + top(combo) + top(list) + height(list), height(box));
        WideString name;
        ASSERT_TRUE(box->GetCreateParam(u"DEFAULT_BUTTON", name));
        const LControlDescriptor* button = Child(*box, name.GetString());
        ASSERT_TRUE(button);
        EXPECT_LE(height(button), 30.0);
    }
}

// A combo box is one row high with its list opening below it. The list either has the room for
// every item its table gives it, or scrolls: a vertical bar with its thumb, placed against the
// list's right edge over its whole height, and rows that end where the bar begins. Lists the code
// fills (no item table) must scroll.
TEST_F(ShippedSkin, EveryListShowsOrScrollsToAllItsItems)
{
    ASSERT_EQ(mFactory->LoadStringTables(WideString(u"::APP_STRINGS"),
                                         WideString(u"::FRAMEWORK_STRINGS"), 0x0009),
              S_OK);
    constexpr double kListFrame = 2.0;
    std::size_t lists = 0;
    std::size_t scrolling = 0;
    // The combo box's items come from the table "<class of its parent>|<its name>".
    const auto check = [&](const LControlDescriptor& owner, const LControlDescriptor& combo,
                           const LControlDescriptor& list, const std::string& path)
    {
        ++lists;
        // The closed box is one row, and its list opens right below it.
        EXPECT_LE(combo.absoluteHeight, 26.0) << path;
        EXPECT_EQ(list.layout->position[1].absolute, combo.absoluteHeight) << path;
        const LControlDescriptor* row = Child(list, u"item");
        ASSERT_NE(row, nullptr) << path;
        LStringEntries entries;
        if (const RCPtr<LStringTable> table =
                mFactory->FindStringTable(owner.className + WideString(u"|") + combo.name))
        {
            table->GetEntriesWithPrefix(u"ITEM.", entries);
        }
        if (!entries.empty() && static_cast<double>(entries.size()) * row->absoluteHeight <=
                                    list.absoluteHeight - kListFrame)
        {
            return;
        }
        ++scrolling;
        const LControlDescriptor* bar = Child(list, u"vBar");
        ASSERT_NE(bar, nullptr) << path << ": " << entries.size() << " items, no bar";
        EXPECT_EQ(bar->className, WideString(u"Framework.ScrollBar")) << path;
        EXPECT_NE(Child(*bar, u"thumb"), nullptr) << path;
        const LLayoutDescriptor& place = *bar->layout;
        EXPECT_EQ(place.position[0].kind, LLayoutDescriptor::kParent) << path;
        EXPECT_EQ(place.position[0].relative, 1.0f) << path;
        EXPECT_EQ(place.position[0].absolute + bar->absoluteWidth, -1.0) << path;
        EXPECT_EQ(place.size[1].kind, LLayoutDescriptor::kParent) << path;
        EXPECT_EQ(place.size[1].relative, 1.0f) << path;
        EXPECT_EQ(row->layout->size[0].kind, LLayoutDescriptor::kClient) << path;
    };
    Walk(mSkin->subControls, "",
         [&](const LControlDescriptor& at, const std::string& path)
         {
             for (const Descriptor& child : at.subControls)
             {
                 const LControlDescriptor* list = Child(*child, u"listBox");
                 if (child->className == WideString(u"Framework.ComboBox") && list != nullptr)
                 {
                     check(at, *child, *list, path + "/" + Narrow(child->name));
                 }
             }
         });
    // Every selector's list is walked; most hold more items than rows (the transfer dialogs' slot
    // lists show all their slots and do not count).
    EXPECT_GE(lists, 100u);
    EXPECT_GE(scrolling, 79u);
}

TEST_F(ShippedSkin, EveryTopLevelControlBuildsWithEachControlInsideItsParent)
{
    std::set<std::u16string> classes;
    Walk(mSkin->subControls, "",
         [&](const LControlDescriptor& control, const std::string&)
         { classes.insert(std::u16string(control.className.GetString())); });
    for (const std::u16string& name : classes)
    {
        mFactory->RegisterControlClass(WideString(name.c_str()),
                                       &LControlFactory::Create<LControl>);
    }

    std::size_t controls = 0;
    const std::function<void(const LControl&, const std::string&)> check =
        [&](const LControl& parent, const std::string& path)
    {
        const RectT<double> client = parent.GetLookClientRect(0);
        const LControl::ChildControlList& children = parent.GetChildren();
        for (std::uint32_t index = 0; index < children.GetCount(); ++index)
        {
            const LControl& child = *children.GetAt(index, LControl::kStorageOrder);
            const std::string childPath = path + "/" + Narrow(child.GetName());
            ++controls;
            // Drop-downs leave their parent on purpose.
            if (child.GetLayout()->clipToParent)
            {
                const PointT<double> at = child.GetPosition();
                const PointT<double> size = child.GetSize();
                EXPECT_TRUE(at.x >= 0.0 && at.y >= 0.0 && at.x + size.x <= client.width &&
                            at.y + size.y <= client.height)
                    << childPath << " at " << at.x << "," << at.y << " size " << size.x << "x"
                    << size.y << " in " << client.width << "x" << client.height;
            }
            check(child, childPath);
        }
    };
    const RCPtr<LControl> host(new LControl(RCPtr<LControl>(), WideString(u"host"), true));
    for (const Descriptor& top : mSkin->subControls)
    {
        RCPtr<LControl> control;
        ASSERT_EQ(mFactory->CreateControl(control, top, host), S_OK) << Narrow(top->name);
        EXPECT_GT(control->GetSize().x * control->GetSize().y, 0.0) << Narrow(top->name);
        check(*control, Narrow(top->name));
        if (Name(*top) == u"mainControl")
        {
            EXPECT_EQ(control->GetSize(), PointT<double>(1200.0, 750.0));
            EXPECT_EQ(control->GetMinSize(), PointT<double>(1200.0, 750.0));
            EXPECT_EQ(control->GetMaxSize(), PointT<double>(1200.0, 750.0));
        }
    }
    EXPECT_GT(controls, 2000u);
}

} // namespace
} // namespace QZ
