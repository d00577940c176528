#include "UI/TarnSeriesCommon/SustainPedalEditPanel.h"

#include "UI/TarnSeriesCommon/ButtonControlEditPanel.h"
#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LSustainPedalEditPanel::LSustainPedalEditPanel(const RCPtr<LControl>& parent,
                                               const WideString& name, bool mostDerived)
    : LFamilyEditPanel<ISustainPedal>(parent, name, mostDerived, GetSustainPedalLayout())
{
}

LSustainPedalEditPanel::~LSustainPedalEditPanel() = default;

QZRESULT LSustainPedalEditPanel::ReleaseInternalReferences()
{
    mButtonEditor = nullptr;
    return LFamilyEditPanel<ISustainPedal>::ReleaseInternalReferences();
}

void LSustainPedalEditPanel::FindEditors()
{
    mButtonEditor =
        RequireChild<LButtonControlEditPanel>(RCPtr<LControl>(this), {mLayout.editorName},
                                              GetInitializeMethod().c_str(), mLayout.missingEditor);
    ListenForEdits(RCPtr<LControl>(mButtonEditor.Get()), NID_PARAMETERS_CHANGED);
}

void LSustainPedalEditPanel::FillEditors(const Array<signed char>& value)
{
    if (std::optional<Array<signed char>> block = ToEditorBytes(value))
    {
        mButtonEditor->SetValues(*block);
    }
}

std::optional<Array<signed char>> LSustainPedalEditPanel::ReadEditors()
{
    return FromEditorBytes(mButtonEditor->GetValues());
}

} // namespace QZ
