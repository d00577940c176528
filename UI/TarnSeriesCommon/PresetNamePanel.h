// The preset's name, typed into the text box "textBox", and the device-model module of the name's
// parameter. Every change of the text sends the whole name value to the main control at once; a
// value from the device tree shows in the text box without being sent back. The text box takes
// six characters of the name's own set (kPresetNameCharacters) and keeps their case; the value
// is upper-cased.
//
// The engine posts every change back through the queue, the user's own keys too, so a post may
// arrive after the keys typed next: a name the engine has changed again since, or the one the
// text box holds already, leaves the text box as it is. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPresetName.h"
#include "UI/TarnSeriesCommon/HandlingPanel.h"

namespace QZ
{

class LTextBox;

class LPresetNamePanel : public LHandlingPanel<LPresetNamePanel>, public IPresetName
{
public:
    LPresetNamePanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LPresetNamePanel() override;

    // Finds the text box (missing: the runtime error "Null Pointer : Cannot find child textBox")
    // and sets its length and character set.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;

    // E_FAIL, and the text stays, for another parameter or a value that is not a name; else
    // answers 0 and shows the name, unless the engine holds another one by now or the text box
    // holds this one.
    std::int32_t SetParamValueLocal(const ParamDescriptor& descriptor, const Variant& value,
                                    bool fromDevice) override;

private:
    QZRESULT OnTextBoxTextChange(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification);
    // The name value of the text box's text.
    [[nodiscard]] Variant GetTypedName() const;

    RCPtr<LTextBox> mTextBox;
    bool mShowing = false;
};

} // namespace QZ
