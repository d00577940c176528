#include "QZFramework/Application/FrameworkControls.h"

#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/CheckedListBox.h"
#include "QZFramework/Controls/CheckedComboBox.h"
#include "QZFramework/Controls/CheckedListBoxItem.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/ComboMenu.h"
#include "QZFramework/Controls/ComboSlider.h"
#include "QZFramework/Controls/FileDropper.h"
#include "QZFramework/Controls/Knob.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/LevelMeter.h"
#include "QZFramework/Controls/ListBox.h"
#include "QZFramework/Controls/ListBoxItem.h"
#include "QZFramework/Controls/MainMenu.h"
#include "QZFramework/Controls/MenuListBoxItem.h"
#include "QZFramework/Controls/MultiColumnListBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Controls/PopupMenu.h"
#include "QZFramework/Controls/ProgressBar.h"
#include "QZFramework/Controls/Scrollbar.h"
#include "QZFramework/Controls/Slider.h"
#include "QZFramework/Controls/SplitterH.h"
#include "QZFramework/Controls/SplitterV.h"
#include "QZFramework/Controls/StatusBar.h"
#include "QZFramework/Controls/TabControl.h"
#include "QZFramework/Controls/TextBox.h"
#include "QZFramework/Controls/ToolTip.h"

#include <string>

namespace QZ
{
namespace
{

#define QZ_FRAMEWORK_CONTROL(name, Class)                                                          \
    {                                                                                              \
        u"Framework." name, &LControlFactory::Create<Class>, __LINE__                              \
    }

// clang-format off
constexpr FrameworkControl kFrameworkControls[] = {
    QZ_FRAMEWORK_CONTROL(u"Button", LButton),
    // An overlay button is a list row that shows over its list.
    QZ_FRAMEWORK_CONTROL(u"OverlayButton", LListBoxItem),
    QZ_FRAMEWORK_CONTROL(u"ListBox", LListBox),
    QZ_FRAMEWORK_CONTROL(u"listboxNoScroll", LListBox),
    QZ_FRAMEWORK_CONTROL(u"ListBoxItem", LListBoxItem),
    QZ_FRAMEWORK_CONTROL(u"CheckedListBox", LCheckedListBox),
    QZ_FRAMEWORK_CONTROL(u"CheckedListBoxItem", LCheckedListBoxItem),
    QZ_FRAMEWORK_CONTROL(u"ListBoxWithIcons", LCheckedListBox),
    QZ_FRAMEWORK_CONTROL(u"listbox2ColumnSortable", LMultiColumnListBox),
    QZ_FRAMEWORK_CONTROL(u"ScrollBar", LScrollbar),
    QZ_FRAMEWORK_CONTROL(u"ScrollChannel", LPanel),
    QZ_FRAMEWORK_CONTROL(u"ComboBox", LComboBox),
    QZ_FRAMEWORK_CONTROL(u"ComboTextBox", LComboBox),
    QZ_FRAMEWORK_CONTROL(u"CheckedComboBox", LCheckedComboBox),
    QZ_FRAMEWORK_CONTROL(u"ComboBoxWithIcons", LCheckedComboBox),
    QZ_FRAMEWORK_CONTROL(u"ComboSlider", LComboSlider),
    QZ_FRAMEWORK_CONTROL(u"ComboSlider.DropDownPanel", LPanel),
    QZ_FRAMEWORK_CONTROL(u"Slider", LSlider),
    QZ_FRAMEWORK_CONTROL(u"Knob", LKnob),
    QZ_FRAMEWORK_CONTROL(u"TabControl", LTabControl),
    QZ_FRAMEWORK_CONTROL(u"Label", LLabel),
    QZ_FRAMEWORK_CONTROL(u"TextBox", LTextBox),
    QZ_FRAMEWORK_CONTROL(u"NumericUpDown", LNumericUpDown),
    QZ_FRAMEWORK_CONTROL(u"Panel", LPanel),
    QZ_FRAMEWORK_CONTROL(u"ToolTip", LToolTip),
    QZ_FRAMEWORK_CONTROL(u"PopupMenu", LPopupMenu),
    QZ_FRAMEWORK_CONTROL(u"MenuItem", LMenuListBoxItem),
    QZ_FRAMEWORK_CONTROL(u"ComboMenu", LComboMenu),
    QZ_FRAMEWORK_CONTROL(u"MainMenu", LMainMenu),
    QZ_FRAMEWORK_CONTROL(u"FileDropper", LFileDropper),
    QZ_FRAMEWORK_CONTROL(u"StatusBar", LStatusBar),
    QZ_FRAMEWORK_CONTROL(u"SplitterH", LSplitterH),
    QZ_FRAMEWORK_CONTROL(u"SplitterV", LSplitterV),
    QZ_FRAMEWORK_CONTROL(u"LevelMeter", LLevelMeter),
    QZ_FRAMEWORK_CONTROL(u"ProgressBar", LProgressBar),
};
// clang-format on

#undef QZ_FRAMEWORK_CONTROL

} // namespace

std::span<const FrameworkControl> GetFrameworkControls()
{
    return kFrameworkControls;
}

void RegisterFrameworkControls(const RegisterClassFunction& registerClass)
{
    for (const FrameworkControl& control : kFrameworkControls)
    {
        const QZRESULT result = registerClass(WideString(control.className), control.create);
        if (Failed(result))
        {
            throw Exception<FailedResultException>(FormatExceptionText(
                "Failed Result", {FormatResultCode(result)},
                "QZ::LApplicationBase::RunApplicationStartup", __FILE__, control.line));
        }
    }
}

} // namespace QZ
