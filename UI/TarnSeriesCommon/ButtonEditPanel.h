// The edit panel of the selected push button: its number and bank, the button-type editor on
// "midiPage", five colour lists on "colorPage" and the computer-key lists on "asciiPage".
//
// While bound to a button it is the device-model module of that button's parameter: a 17-byte
// value from the device tree fills every child without sending anything and is passed up to the
// drawn button, and every edit of the user sends the whole value once to the main control (the
// root, as IRootModule). A list showing nothing, or a stored byte that no entry shows, keeps the
// stored byte. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IPushButton.h"
#include "QZFramework/Controls/Panel.h"
#include "UI/TarnSeriesCommon/ButtonAssignment.h"
#include "UI/TarnSeriesCommon/ColourLists.h"

#include <cstdint>

namespace QZ
{

class LButtonControlEditPanel;
class LComboBox;

class LButtonEditPanel : public LPanel, public IPushButton
{
public:
    LButtonEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LButtonEditPanel() override;

    // Finds the children (a missing one throws the runtime error "Null Pointer : <what>") and
    // captions the colour lists.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // Binds the panel to a button: shows the parameter's current value from the engine in the
    // same step (until the children hold it, no change of theirs is sent) and the button's
    // number and bank.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // E_FAIL for another parameter or a value that is not 17 bytes; else shows it, passes it up
    // and answers 0.
    std::int32_t SetParamValueLocal(const ParamDescriptor& descriptor, const Variant& value,
                                    bool fromDevice) override;
    // "BUTTON n" and "BANK n" of button index 0 to 35; other indices change nothing.
    virtual void SetButtonLabelText(std::uint32_t index);

private:
    void Listen(const RCPtr<LNotificationDistributor>& distributor, const char16_t* identifier);
    QZRESULT OnEditorChange(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LButtonEditPanel>> mHandler;
    RCPtr<LButtonControlEditPanel> mEditor;
    ColourLists mColours;
    RCPtr<LComboBox> mKeyColour;
    RCPtr<LComboBox> mKey;
    RCPtr<LComboBox> mModifier;
    // The value shown last: the bytes that lists showing nothing keep.
    ButtonValueBytes mValue{};
    bool mShowing = false;
    bool mHoldsBoundValue = false;
};

} // namespace QZ
