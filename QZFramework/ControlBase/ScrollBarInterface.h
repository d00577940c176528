// What a scroll view asks of the scroll bars that its skin's "hBar" and "vBar" sub-controls
// create, beside what every control offers (value, value range, SetValue with its
// "NID_VALUE_CHANGE", shown flag and size): the steps a wheel turn or a click in the track moves
// by and the share of the track the thumb takes. The scroll bar class implements it beside
// LControl; the scroll view takes its bars through a dynamic cast to it.
#pragma once

namespace QZ
{

class IScrollBar
{
public:
    virtual ~IScrollBar() = default;

    // Positions (0..1) moved by a small step (a wheel notch, an arrow) and a large one (a page).
    virtual void SetSmallStep(double step) = 0;
    [[nodiscard]] virtual double GetSmallStep() const = 0;
    virtual void SetLargeStep(double step) = 0;
    [[nodiscard]] virtual double GetLargeStep() const = 0;
    // The share of the content the view shows (0..1], which sizes the thumb.
    virtual void SetPageShare(double share) = 0;
    [[nodiscard]] virtual double GetPageShare() const = 0;
};

} // namespace QZ
