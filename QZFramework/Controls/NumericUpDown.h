// A numeric entry field: the text box "textBox" in which the number is typed and the buttons
// "buttonUp" and "buttonDown" that step it, repeating while held; the Up and Down arrow keys step
// once.
//
// The number is the control's value mapped through its range, so every change reaches the owner
// as "NID_VALUE_CHANGE". The text box takes only digits (with "." when there are decimal places
// and "-" when the range reaches below 0); validated text is read as a number, limited to the
// range and shown in its formatted form. The up-down passes its text box's "NID_TEXTBOX_VALIDATING"
// (whose subscribers may refuse or change the text before it is read) and
// "NID_TEXTBOX_VALIDATED" on from itself. User-interface thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"

#include <cstdint>

namespace QZ
{

class LButton;
class LTextBox;

class LNumericUpDown : public LPanel
{
public:
    LNumericUpDown(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LNumericUpDown() override;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // Finds the three children and listens to them; a missing one throws the runtime error
    // "Null Pointer : Cannot find child: <name>".
    QZRESULT Initialize() override;
    // The up-down takes the focus, its buttons do not. 0.
    QZRESULT PostInitialize() override;
    // E_INVALIDARG, changing nothing, for a scale other than 0 or 1, a logarithmic range with a
    // bound at or below 0, or a bound that is not finite; else stores the range, updates the
    // allowed characters and shows the value in the new range. 0.
    QZRESULT SetValueRange(double minimum, double maximum, std::int32_t scaleType) override;
    // Reads the text as a number (0 when it holds none) and sets the value to it, limited to
    // the range. 0.
    QZRESULT SetTextWithLayout(const WideString& text);
    // Up and Down arrows press the up and down button once.
    QZRESULT ProcessKey(const RCPtr<LKeyParam>& key) override;
    QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& key) override;
    // A wheel step presses the up (turned away from the user) or down button once. 1 while
    // disabled.
    QZRESULT OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel) override;

    // The amount one button step adds or subtracts (1 by default).
    void SetStep(double step);
    [[nodiscard]] double GetStep() const { return mStep; }
    // 0 (the default) to 15.
    void SetDecimalPlaces(std::int32_t places);
    [[nodiscard]] std::int32_t GetDecimalPlaces() const { return mDecimalPlaces; }
    // The number as the text box shows it: "%0.nf" for n decimal places.
    [[nodiscard]] WideString FormatValue() const;
    [[nodiscard]] const RCPtr<LTextBox>& GetTextBox() const { return mTextBox; }

protected:
    void OnValueChanged() override;

private:
    QZRESULT OnTextValidating(const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>& notification);
    QZRESULT OnTextValidated(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification);
    QZRESULT OnButtonAutoRepeat(const RCPtr<LNotificationDistributor>& sender,
                                const RCPtr<LNotification>& notification);
    void UpdateAllowedCharacters();
    [[nodiscard]] bool PressButtonForKey(const RCPtr<LKeyParam>& key);
    void Forward(const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LNumericUpDown>> mHandler;
    RCPtr<LTextBox> mTextBox;
    RCPtr<LButton> mButtonUp;
    RCPtr<LButton> mButtonDown;
    double mStep = 1.0;
    std::int32_t mDecimalPlaces = 0;
};

} // namespace QZ
