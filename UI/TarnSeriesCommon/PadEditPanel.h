// The edit panel of the selected pad ("PAD n"): the push-button assignment editor on "midiPage"
// and the four colour lists on "colorPage" of its tab control "viewTabControl". It fills both from
// a 14-byte pad value and sends the whole value once for each change of either. A colour list that
// shows nothing keeps the colour byte shown last. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPad.h"
#include "UI/TarnSeriesCommon/ColourLists.h"
#include "UI/TarnSeriesCommon/FamilyEditPanel.h"
#include "UI/TarnSeriesCommon/PadFamilyLayouts.h"

namespace QZ
{

class LButtonControlEditPanel;

class LPadEditPanel : public LFamilyEditPanel<IPad>
{
public:
    LPadEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LPadEditPanel() override;

    QZRESULT ReleaseInternalReferences() override;

protected:
    // The tab control and its two pages; a missing one throws the runtime error "Null Pointer".
    void FindEditors() override;
    void FillEditors(const Array<signed char>& value) override;
    [[nodiscard]] std::optional<Array<signed char>> ReadEditors() override;

private:
    RCPtr<LButtonControlEditPanel> mEditor;
    ColourLists mColours;
    // The value shown last: the colour bytes that lists showing nothing keep.
    Array<signed char> mShown{static_cast<std::int32_t>(kPadValueSize)};
};

} // namespace QZ
