// The edit panel of the selected keybed zone ("zoneEditPanel" of the device view): on/off,
// channel, program, bank MSB and LSB, first and last key, octave shift and transposition.
//
// While bound to a zone it is the device-model module of that zone's parameter: a value from the
// device tree fills every control without sending anything and is passed up to the drawn zone,
// and every change the user makes sends the whole value once to the main control. Keys stay at
// or below 60 and the first key never lies above the last: a last key set below the first takes
// the first key down with it. Before the first selection the panel is bound to nothing and sends
// nothing. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IKeybedZone.h"
#include "QZFramework/Controls/Panel.h"
#include "UI/TarnSeriesCommon/KeybedZoneValue.h"

#include <cstdint>

namespace QZ
{

class LButton;
class LComboBox;
class LLabel;
class LNumericUpDown;

class LKeybedZoneEditPanel : public LPanel, public IKeybedZone
{
public:
    LKeybedZoneEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LKeybedZoneEditPanel() override;

    // Finds the controls (a missing one throws the runtime error "Null Pointer : couldn't find
    // child <name>"), captions the two keys and sets the ranges: octave -5 to 5, transpose -12
    // to 12, program and bank 0 to 127. The keys keep the range of their note selectors.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // Binds the panel to zone index (0 to 3): asks the engine for the zone's value and names the
    // zone.
    void SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                         std::uint32_t index) override;
    // E_FAIL, changing nothing, for another parameter or a value that is not nine bytes; else
    // shows the value, passes it up to the drawn zone and answers 0.
    std::int32_t SetParamValueLocal(const ParamDescriptor& descriptor, const Variant& value,
                                    bool fromDevice) override;

    // The zone as the controls show it; a channel list showing nothing keeps the channel shown
    // last.
    [[nodiscard]] KeybedZoneSettings GetZoneSettings() const;
    // "ZONE n" from the label's own string table.
    void SetZoneNameLabel(std::uint32_t number);

private:
    using Method = QZRESULT (LKeybedZoneEditPanel::*)(const RCPtr<LNotificationDistributor>&,
                                                      const RCPtr<LNotification>&);
    void Listen(LControl* control, const char16_t* identifier, Method method);
    RCPtr<LNumericUpDown> FindNumber(std::initializer_list<const char16_t*> path,
                                     const char* detail);
    void CaptionKey(const char16_t* selector, const char* detail, const char16_t* key);
    void Show(const KeybedZoneSettings& settings);
    // Keys above the highest go back to it and a first key above the last goes down to it; the
    // caller keeps the changes quiet.
    void FitKeys();
    void SendZoneValue();
    QZRESULT OnControlChanged(const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>& notification);
    QZRESULT OnEnableToggleClicked(const RCPtr<LNotificationDistributor>& sender,
                                   const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LKeybedZoneEditPanel>> mHandler;
    RCPtr<LLabel> mZoneName;
    RCPtr<LButton> mEnable;
    RCPtr<LComboBox> mChannel;
    RCPtr<LNumericUpDown> mOctave;
    RCPtr<LNumericUpDown> mTranspose;
    RCPtr<LNumericUpDown> mLSB;
    RCPtr<LNumericUpDown> mMSB;
    RCPtr<LNumericUpDown> mFirstKey;
    RCPtr<LNumericUpDown> mLastKey;
    RCPtr<LNumericUpDown> mProgram;
    std::int32_t mShownChannel = 0;
    bool mShowing = false;
};

} // namespace QZ
