// A single-line text field: typed characters, caret and selection keys, the clipboard's edit
// commands, a character filter, a maximum length and validation.
//
// The text is the control's label, drawn by its look and moved with the scroll offset, so that
// automatic scrolling keeps the caret in view; the text box draws the selection and the caret
// under the label in the colour of its look's text. Every change of the text goes through SetText
// and sends "NID_TEXTBOX_TEXT_CHANGE". The text never holds more units than the maximum length,
// nor a surrogate without its partner; typed and pasted text loses the control characters and
// the characters the filter refuses. Enter and the loss of the focus validate the text
// ("NID_TEXTBOX_VALIDATING", then "NID_TEXTBOX_VALIDATED" while the text stays valid).
// Looks: 0 normal, 1 while the box has the keyboard focus (look 0 when the skin gives none).
// User-interface thread only.
#pragma once

#include "QZFramework/Controls/ScrollView.h"

#include <cstdint>
#include <string>

namespace QZ
{

class LMeasurementRenderer;

class LTextBox : public LScrollView
{
public:
    LTextBox(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LTextBox() override;

    // The base, then the label follows the scroll offset.
    QZRESULT Initialize() override;
    [[nodiscard]] bool IsEditTarget() const override { return true; }
    // Cut, copy, paste and delete on the selection (delete without selection removes the
    // character after the caret). 0 when done, 1 when there was nothing to do, E_INVALIDARG for
    // another command, or the clipboard's failure (a failed cut keeps the text).
    QZRESULT PerformEdit(const WideString& command, IClipboardText& clipboard) override;
    // The selection and, while focused, the caret.
    QZRESULT DrawUnderlay(LRenderer& renderer) override;
    // Characters, caret keys, Backspace, Delete, Enter and Ctrl+A; 1 for every other key.
    QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& key) override;
    // Validates the text when the text box itself had the focus.
    QZRESULT KillFocus() override;
    // Gaining the focus selects the whole text; the focus shows the focused look.
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    // A press puts the caret at the nearest character boundary (Shift: extends the selection); a
    // double click selects the whole text.
    void OnLeftButtonDown(const RCPtr<LMouseButtonParam>& press) override;

    // Replaces the text (cut to the maximum length); flag 1 re-runs the layout of axes sized by
    // the text. 0 and "NID_TEXTBOX_TEXT_CHANGE" when the text changed, else 1.
    QZRESULT SetText(const WideString& text, std::int32_t flag);
    QZRESULT SetTextWithLayout(const WideString& text) { return SetText(text, 1); }
    // 0 or less: unlimited. A longer text is cut and the caret goes to its end.
    void SetMaxLength(std::int32_t length);
    [[nodiscard]] std::int32_t GetMaxLength() const { return mMaxLength; }
    // Axis 0: scroll the text to keep the caret in view.
    void SetAutoScroll(std::uint32_t axis, bool on);
    // An empty text lets every character through; else a character passes when its presence in
    // the text equals accept. The tab character always passes.
    void SetFilter(const WideString& characters, bool accept);
    [[nodiscard]] const WideString& GetFilterText() const { return mFilter; }
    [[nodiscard]] bool GetFilterAccepts() const { return mFilterAccepts; }
    [[nodiscard]] bool PassesFilter(char16_t unit) const;
    // Sends "NID_TEXTBOX_VALIDATING" with the text; adopts a text the subscribers changed and,
    // while the text is valid, sends "NID_TEXTBOX_VALIDATED". The valid flag.
    bool Validate();

    // Positions are UTF-16 units; the selection runs between anchor and caret.
    [[nodiscard]] std::int32_t GetCaret() const { return mCaret; }
    [[nodiscard]] std::int32_t GetAnchor() const { return mAnchor; }
    // Both clamped into the text and off the middle of a surrogate pair.
    void SetSelection(std::int32_t anchor, std::int32_t caret);
    [[nodiscard]] WideString GetSelectedText() const;
    // Ctrl+A, a double click and the focus arriving select the whole text.
    void SelectAll();
    // Replaces the selection by the text's units that may be typed, as many as the maximum length
    // leaves room for; 0 when something changed, else 1.
    QZRESULT InsertText(const std::u16string& text);

private:
    [[nodiscard]] std::u16string GetUnits() const;
    [[nodiscard]] std::int32_t Clamp(std::int32_t position) const;
    [[nodiscard]] std::int32_t Step(std::int32_t position, bool forward) const;
    // Removes the selection, or else the character before (forward false) or after the caret.
    QZRESULT DeleteAt(bool forward);
    QZRESULT OnCharacter(char16_t unit);
    QZRESULT OnKeyDown(std::uint32_t key);
    void MoveCaret(std::int32_t position, bool extend);
    void ScrollToCaret();
    // Where the text's line starts, in the control's coordinates.
    [[nodiscard]] double GetLineStart(LMeasurementRenderer& renderer, const RectT<double>& area,
                                      float alignment) const;
    [[nodiscard]] double MeasurePrefix(LMeasurementRenderer& renderer, std::int32_t units) const;
    void Send(const char16_t* identifier, const RCPtr<LRefCountedObject>& payload);

    std::int32_t mCaret = 0;
    std::int32_t mAnchor = 0;
    std::int32_t mMaxLength = 0;
    bool mAutoScroll[2] = {false, false};
    WideString mFilter;
    bool mFilterAccepts = true;
    // A typed high surrogate waits for its low partner.
    char16_t mPendingHigh = 0;
};

} // namespace QZ
