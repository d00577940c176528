// The edit panel of the selected keybed zone ("zoneEditPanel" of the device view): "ZONE n",
// on/off, channel, program, bank MSB and LSB, first and last key, octave shift and transposition,
// each its own control rather than a shared editor.
//
// Keys stay at or below 60 and the first key never lies above the last: a last key set below the
// first takes the first key down with it, a first key set above the last stops at it. Every user
// change sends the whole nine-byte value once; a value from the engine fills the controls in the
// same order without sending anything. User-interface thread only.
#pragma once

#include "DeviceControl/GeneratedCode/Engine/Inc/IKeybedZone.h"
#include "UI/TarnSeriesCommon/FamilyEditPanel.h"
#include "UI/TarnSeriesCommon/KeybedZoneValue.h"

#include <cstdint>
#include <initializer_list>

namespace QZ
{

class LButton;
class LComboBox;
class LNumericUpDown;

class LKeybedZoneEditPanel : public LFamilyEditPanel<IKeybedZone>
{
public:
    LKeybedZoneEditPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);

    // The zone as the controls show it; a channel list showing nothing keeps the channel shown
    // last.
    [[nodiscard]] KeybedZoneSettings GetZoneSettings() const;

protected:
    // Finds the controls (a missing one throws the runtime error "Null Pointer : couldn't find
    // child <name>"), captions the two keys "FIRST" and "LAST" and sets the ranges: octave -5 to
    // 5, transpose -12 to 12, program and bank 0 to 127. The keys keep their note selectors'.
    void FindEditors() override;
    void FillEditors(const Array<signed char>& value) override;
    // The keys are brought into order first, so what is sent is what the controls then show.
    [[nodiscard]] std::optional<Array<signed char>> ReadEditors() override;

private:
    [[nodiscard]] RCPtr<LNumericUpDown> FindNumber(std::initializer_list<const char16_t*> path,
                                                   const char* detail);
    void CaptionKey(const char16_t* selector, const char16_t* key);
    void FitKeys();
    QZRESULT OnEnableToggleClicked(const RCPtr<LNotificationDistributor>& sender,
                                   const RCPtr<LNotification>& notification);

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
    // Set while the keys are being put in order: the changes that reports are not sent apart.
    bool mFitting = false;
};

} // namespace QZ
