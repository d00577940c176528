#include "UI/TarnSeriesCommon/PadEditPanel.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ValueTables.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/TabControl.h"
#include "UI/TarnSeriesCommon/ButtonControlEditPanel.h"

namespace QZ
{

LPadEditPanel::LPadEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                             bool mostDerived)
    : LFamilyEditPanel<IPad>(parent, name, mostDerived, GetPadLayout())
{
}

LPadEditPanel::~LPadEditPanel() = default;

QZRESULT LPadEditPanel::ReleaseInternalReferences()
{
    mEditor = nullptr;
    mColours = {};
    return LFamilyEditPanel<IPad>::ReleaseInternalReferences();
}

void LPadEditPanel::FindEditors()
{
    const std::string method = GetInitializeMethod();
    const auto tabs = RequireChild<LTabControl>(RCPtr<LControl>(this), {u"viewTabControl"},
                                                method.c_str(), "Cannot find child viewTabControl");
    mEditor =
        RCPtr<LButtonControlEditPanel>::DynamicCastFrom(tabs->GetPage(WideString(u"midiPage")));
    if (!mEditor)
    {
        QZ_THROW_RUNTIME(method, "Null Pointer", mLayout.missingEditor);
    }
    ListenForEdits(RCPtr<LControl>(mEditor.Get()), NID_PARAMETERS_CHANGED);
    // A pad shows its note's on and off values only while the note latches.
    mEditor->SetOnOffFollowsLatching(true);
    const RCPtr<LControl>& colours = tabs->GetPage(WideString(u"colorPage"));
    if (!colours)
    {
        QZ_THROW_RUNTIME(method, "Null Pointer",
                         "Cannot find child viewTabControl page: colorPage");
    }
    mColours = RequireColourLists(colours, method.c_str());
    for (const RCPtr<LComboBox>& list : mColours)
    {
        ListenForEdits(RCPtr<LControl>(list.Get()), NID_SELECTION_CHANGE);
    }
    CaptionColourLists(*this);
}

void LPadEditPanel::FillEditors(const Array<signed char>& value)
{
    mShown = value;
    for (std::size_t k = 0; k < mColours.size(); ++k)
    {
        mColours[k]->SetSelectedIndex(value.GetAt(static_cast<std::int32_t>(k) + 1));
    }
    if (std::optional<Array<signed char>> block = Rearrange(value, mLayout.value.toEditor))
    {
        mEditor->SetValues(*block);
    }
}

std::optional<Array<signed char>> LPadEditPanel::ReadEditors()
{
    const Array<signed char> block = mEditor->GetValues();
    if (static_cast<std::uint32_t>(block.GetCount()) != mLayout.value.editorSize)
    {
        return std::nullopt;
    }
    Array<signed char> value = mShown;
    for (std::size_t k = 0; k < mLayout.value.toEditor.size(); ++k)
    {
        value.GetAt(mLayout.value.toEditor[k].source) = block.GetAt(static_cast<std::int32_t>(k));
    }
    for (std::size_t k = 0; k < mColours.size(); ++k)
    {
        const std::int32_t colour = mColours[k]->GetSelectedIndex();
        if (colour >= 0 && colour < ::kPadColourCount)
        {
            value.GetAt(static_cast<std::int32_t>(k) + 1) = static_cast<signed char>(colour);
        }
    }
    mShown = value;
    return value;
}

} // namespace QZ
