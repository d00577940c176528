// What a control asks of the tooltip control that the skin's "toolTip" sub-control creates: the
// tooltip class implements it beside LControl, and a control takes its tooltip child through a
// dynamic cast to it.
#pragma once

namespace QZ
{

class IToolTip
{
public:
    virtual ~IToolTip() = default;

    // Places the tooltip at the pointer and shows it (at once when the last tooltip closed
    // moments ago, else after the tooltip delay).
    virtual void Show() = 0;
    // Cancels a pending tooltip or hides the one shown.
    virtual void Hide() = 0;
};

} // namespace QZ
