#include "QZFramework/Controls/TextBox.h"

#include "QZFramework/ControlBase/ClipboardTextInterface.h"
#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/ControlBase/LookDescriptor.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/TextPropertiesDescriptor.h"
#include "QZFramework/Controls/TextValidationParam.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Renderer/RenderState.h"
#include "QZFramework/Renderer/Renderer.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

// Windows virtual-key numbers of the editing keys.
constexpr std::uint32_t kVkBack = 0x08;
constexpr std::uint32_t kVkReturn = 0x0D;
constexpr std::uint32_t kVkEnd = 0x23;
constexpr std::uint32_t kVkHome = 0x24;
constexpr std::uint32_t kVkLeft = 0x25;
constexpr std::uint32_t kVkRight = 0x27;
constexpr std::uint32_t kVkDelete = 0x2E;
constexpr std::uint32_t kVkA = 0x41;
// The selection is drawn in the text's colour at this share of its opacity.
constexpr float kSelectionOpacity = 0.35f;
constexpr char16_t kTab = u'\t';
constexpr std::uint32_t kLookFocused = 1;

bool IsHigh(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLow(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// C0 and C1 control characters and DEL.
bool IsControl(char16_t unit)
{
    return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

// The keys whose key-down only announces a character event that follows: digits, letters, the
// number pad, the punctuation keys and space. The text box takes them, so that no hot key fires
// while the user types.
bool IsCharacterKey(std::uint32_t vk)
{
    return vk == 0x20 || (vk >= 0x30 && vk <= 0x39) || (vk >= 0x41 && vk <= 0x5A) ||
           (vk >= 0x60 && vk <= 0x6F) || (vk >= 0xBA && vk <= 0xC0) || (vk >= 0xDB && vk <= 0xE2);
}

// Drops every surrogate that is not part of a pair.
std::u16string DropLoneSurrogates(const std::u16string& units)
{
    std::u16string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i)
    {
        if (IsHigh(units[i]) && i + 1 < units.size() && IsLow(units[i + 1]))
        {
            out.append(units, i, 2);
            ++i;
        }
        else if (!IsHigh(units[i]) && !IsLow(units[i]))
        {
            out.push_back(units[i]);
        }
    }
    return out;
}

// Cuts to at most room units without splitting a pair; room 0 or less keeps everything.
void CutTo(std::u16string& units, std::int32_t room)
{
    if (room > 0 && units.size() > static_cast<std::size_t>(room))
    {
        units.resize(static_cast<std::size_t>(room));
        if (IsHigh(units.back()))
        {
            units.pop_back();
        }
    }
}

} // namespace

LTextBox::LTextBox(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LScrollView(parent, name, mostDerived)
{
}

LTextBox::~LTextBox() = default;

QZRESULT LTextBox::Initialize()
{
    const QZRESULT result = LScrollView::Initialize();
    if (Failed(result))
    {
        return result;
    }
    SetLabelFollowsScroll(true);
    return S_OK;
}

void LTextBox::Send(const char16_t* identifier, const RCPtr<LRefCountedObject>& payload)
{
    RCPtr<LNotification> notification;
    LNotification::Create(notification, identifier, payload);
    Distribute(notification);
}

// ---- text ----

std::u16string LTextBox::GetUnits() const
{
    return {GetText().GetString(), static_cast<std::size_t>(GetText().GetLength())};
}

QZRESULT LTextBox::SetText(const WideString& text, std::int32_t flag)
{
    std::u16string units =
        DropLoneSurrogates({text.GetString(), static_cast<std::size_t>(text.GetLength())});
    CutTo(units, mMaxLength);
    const RCPtr<LControl> self(this);
    const bool changed = LControl::SetText(WideString(units.c_str()), flag != 0);
    mCaret = Clamp(mCaret);
    mAnchor = Clamp(mAnchor);
    if (!changed)
    {
        return S_FALSE;
    }
    ScrollToCaret();
    Send(NID_TEXTBOX_TEXT_CHANGE, RCPtr<LRefCountedObject>());
    return S_OK;
}

void LTextBox::SetMaxLength(std::int32_t length)
{
    mMaxLength = std::max(length, 0);
    if (mMaxLength > 0 && GetText().GetLength() > mMaxLength)
    {
        SetText(GetText(), 1);
        mCaret = GetText().GetLength();
        mAnchor = mCaret;
        ScrollToCaret();
    }
}

void LTextBox::SetAutoScroll(std::uint32_t axis, bool on)
{
    if (axis < 2)
    {
        mAutoScroll[axis] = on;
        ScrollToCaret();
    }
}

void LTextBox::SetFilter(const WideString& characters, bool accept)
{
    mFilter = characters;
    mFilterAccepts = accept;
}

bool LTextBox::PassesFilter(char16_t unit) const
{
    if (mFilter.IsEmpty() || unit == kTab)
    {
        return true;
    }
    const char16_t* begin = mFilter.GetString();
    const char16_t* end = begin + mFilter.GetLength();
    return (std::find(begin, end, unit) != end) == mFilterAccepts;
}

bool LTextBox::Validate()
{
    const RCPtr<LControl> self(this);
    const RCPtr<LTextValidationParam> param(new LTextValidationParam(GetText()));
    Send(NID_TEXTBOX_VALIDATING, RCPtr<LRefCountedObject>(param));
    if (param->valid && param->text != GetText())
    {
        SetText(param->text, 1);
    }
    if (param->valid)
    {
        Send(NID_TEXTBOX_VALIDATED, RCPtr<LRefCountedObject>(param));
    }
    return param->valid;
}

// ---- caret and selection ----

std::int32_t LTextBox::Clamp(std::int32_t position) const
{
    const WideString& text = GetText();
    position = std::clamp(position, 0, text.GetLength());
    if (position > 0 && position < text.GetLength() && IsLow(text.GetString()[position]) &&
        IsHigh(text.GetString()[position - 1]))
    {
        --position;
    }
    return position;
}

std::int32_t LTextBox::Step(std::int32_t position, bool forward) const
{
    if (!forward)
    {
        return Clamp(position - 1);
    }
    const WideString& text = GetText();
    if (position >= text.GetLength())
    {
        return text.GetLength();
    }
    const bool pair = IsHigh(text.GetString()[position]) && position + 1 < text.GetLength() &&
                      IsLow(text.GetString()[position + 1]);
    return position + (pair ? 2 : 1);
}

void LTextBox::SetSelection(std::int32_t anchor, std::int32_t caret)
{
    mAnchor = Clamp(anchor);
    mCaret = Clamp(caret);
    ScrollToCaret();
    InvalidateAll();
}

WideString LTextBox::GetSelectedText() const
{
    const std::int32_t from = std::min(mAnchor, mCaret);
    return GetText().Mid(from, std::max(mAnchor, mCaret) - from);
}

void LTextBox::MoveCaret(std::int32_t position, bool extend)
{
    mCaret = Clamp(position);
    if (!extend)
    {
        mAnchor = mCaret;
    }
    ScrollToCaret();
    InvalidateAll();
}

// ---- editing ----

QZRESULT LTextBox::InsertText(const std::u16string& text)
{
    std::u16string typed;
    for (const char16_t unit : DropLoneSurrogates(text))
    {
        const bool control = IsControl(unit) && !(unit == kTab && WantsTab());
        if (!control && PassesFilter(unit))
        {
            typed.push_back(unit);
        }
    }
    // A pair passes only whole: dropping one half of it above leaves a lone surrogate.
    typed = DropLoneSurrogates(typed);
    std::u16string units = GetUnits();
    const std::size_t from = static_cast<std::size_t>(std::min(mAnchor, mCaret));
    const std::size_t to = static_cast<std::size_t>(std::max(mAnchor, mCaret));
    if (mMaxLength > 0)
    {
        const std::int32_t room =
            mMaxLength - static_cast<std::int32_t>(units.size() - (to - from));
        if (room <= 0)
        {
            return S_FALSE;
        }
        CutTo(typed, room);
    }
    if (typed.empty())
    {
        return S_FALSE;
    }
    units.replace(from, to - from, typed);
    mCaret = static_cast<std::int32_t>(from + typed.size());
    mAnchor = mCaret;
    return SetText(WideString(units.c_str()), 1);
}

QZRESULT LTextBox::DeleteAt(bool forward)
{
    std::int32_t from = std::min(mAnchor, mCaret);
    std::int32_t to = std::max(mAnchor, mCaret);
    if (from == to)
    {
        from = forward ? mCaret : Step(mCaret, false);
        to = forward ? Step(mCaret, true) : mCaret;
    }
    if (from == to)
    {
        return S_FALSE;
    }
    std::u16string units = GetUnits();
    units.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
    mCaret = from;
    mAnchor = from;
    return SetText(WideString(units.c_str()), 1);
}

QZRESULT LTextBox::PerformEdit(const WideString& command, IClipboardText& clipboard)
{
    const RCPtr<LControl> self(this);
    const bool cut = command == NID_EDIT_CUT_REQ;
    if (cut || command == NID_EDIT_COPY_REQ)
    {
        if (mAnchor == mCaret)
        {
            return S_FALSE;
        }
        const QZRESULT result = clipboard.SetText(GetSelectedText());
        if (Failed(result) || !cut)
        {
            return Failed(result) ? result : S_OK;
        }
        DeleteAt(true);
        return S_OK;
    }
    if (command == NID_EDIT_PASTE_REQ)
    {
        WideString text;
        const QZRESULT result = clipboard.GetText(text);
        if (Failed(result))
        {
            return result;
        }
        return InsertText({text.GetString(), static_cast<std::size_t>(text.GetLength())});
    }
    if (command == NID_EDIT_DELETE_REQ)
    {
        return DeleteAt(true);
    }
    return E_INVALIDARG;
}

// ---- keys and focus ----

QZRESULT LTextBox::OnKeyEvent(const RCPtr<LKeyParam>& key)
{
    if (!key)
    {
        return S_FALSE;
    }
    const RCPtr<LControl> self(this);
    const std::uint32_t word = key->GetKey();
    return (word & KeyCode::kKeyDown) != 0 ? OnKeyDown(word)
                                           : OnCharacter(static_cast<char16_t>(word & 0xFFFF));
}

QZRESULT LTextBox::OnCharacter(char16_t unit)
{
    if (IsHigh(unit))
    {
        mPendingHigh = unit;
        return S_OK;
    }
    const char16_t high = mPendingHigh;
    mPendingHigh = 0;
    if (IsLow(unit))
    {
        if (high != 0)
        {
            InsertText({high, unit});
        }
        return S_OK;
    }
    // Other control characters (Ctrl+letter among them) travel on to the hot keys.
    if (IsControl(unit) && !(unit == kTab && WantsTab()))
    {
        return S_FALSE;
    }
    InsertText({unit});
    return S_OK;
}

QZRESULT LTextBox::OnKeyDown(std::uint32_t key)
{
    const std::uint32_t vk = (key >> 16) & 0xFF;
    const bool extend = (key & KeyCode::kShift) != 0;
    const bool selection = mAnchor != mCaret;
    if (vk == kVkA && (key & (KeyCode::kCtrl | KeyCode::kAlt | KeyCode::kWin)) == KeyCode::kCtrl)
    {
        SelectAll();
        return S_OK;
    }
    switch (vk)
    {
    case kVkLeft:
        MoveCaret(selection && !extend ? std::min(mAnchor, mCaret) : Step(mCaret, false), extend);
        return S_OK;
    case kVkRight:
        MoveCaret(selection && !extend ? std::max(mAnchor, mCaret) : Step(mCaret, true), extend);
        return S_OK;
    case kVkHome:
        MoveCaret(0, extend);
        return S_OK;
    case kVkEnd:
        MoveCaret(GetText().GetLength(), extend);
        return S_OK;
    case kVkBack:
        DeleteAt(false);
        return S_OK;
    case kVkDelete:
        DeleteAt(true);
        return S_OK;
    case kVkReturn:
        // Enter also reaches the dialog, whose default button acts on the validated text.
        Validate();
        return S_FALSE;
    default:
        return (key & (KeyCode::kCtrl | KeyCode::kAlt | KeyCode::kWin)) == 0 && IsCharacterKey(vk)
                   ? S_OK
                   : S_FALSE;
    }
}

void LTextBox::SelectAll()
{
    SetSelection(0, GetText().GetLength());
    InvalidateAll();
}

void LTextBox::OnConditionsChanged(const RCPtr<LConditionsParam>& conditions)
{
    // Taking the focus selects the whole text, so that typing replaces it; a press that gave
    // the focus places the caret right after.
    if (conditions &&
        (conditions->GetConditions() & ~conditions->GetPreviousConditions() & kHasFocus) != 0)
    {
        SelectAll();
    }
    const std::uint32_t look = HasFocus() && GetLook(kLookFocused) ? kLookFocused : 0;
    SetLookWeight(look, 1.0f, true);
    LScrollView::OnConditionsChanged(conditions);
}

QZRESULT LTextBox::KillFocus()
{
    const RCPtr<LControl> self(this);
    const bool hadFocus = HasFocus();
    const QZRESULT result = LScrollView::KillFocus();
    mPendingHigh = 0;
    InvalidateAll();
    if (hadFocus)
    {
        Validate();
    }
    return result;
}

// ---- drawing ----

namespace
{

// The label's rectangle of look 0 and its text properties, from the skin; null without a label.
const LTextPropertiesDescriptor* GetTextArea(const LControl& control, RectT<double>& area)
{
    const ConstRCPtr<LControlDescriptor>& descriptor = control.GetDescriptor();
    const RCPtr<LLookDescriptor> look = descriptor ? descriptor->GetLook(0) : nullptr;
    if (!look || !look->text)
    {
        return nullptr;
    }
    const LTextPropertiesDescriptor& text = *look->text;
    const PointT<double> size = control.GetSize();
    const double left = text.left.relative * size.x + text.left.absolute;
    const double top = text.top.relative * size.y + text.top.absolute;
    area = {left, top, text.right.relative * size.x + text.right.absolute - left,
            text.bottom.relative * size.y + text.bottom.absolute - top};
    return look->text.Get();
}

} // namespace

double LTextBox::MeasurePrefix(LMeasurementRenderer& renderer, std::int32_t units) const
{
    if (units <= 0 || !GetFont())
    {
        return 0.0;
    }
    const RectT<float> box =
        renderer.MeasureText(GetText().Mid(0, units), ConstRCPtr<LFont>(GetFont()));
    return std::max(0.0, static_cast<double>(box.x) + box.width);
}

double LTextBox::GetLineStart(LMeasurementRenderer& renderer, const RectT<double>& area,
                              float alignment) const
{
    const double width = MeasurePrefix(renderer, GetText().GetLength());
    return area.x + (area.width - width) * alignment + GetScrollOffset().x;
}

void LTextBox::OnLeftButtonDown(const RCPtr<LMouseButtonParam>& press)
{
    LScrollView::OnLeftButtonDown(press);
    if (press && press->GetFlag())
    {
        SelectAll();
        return;
    }
    RCPtr<LRootWindow> window;
    RectT<double> area;
    const LTextPropertiesDescriptor* text = GetTextArea(*this, area);
    if (!press || text == nullptr || !GetRootWindowRef(window) || !window->GetMeasurementRenderer())
    {
        return;
    }
    LMeasurementRenderer& renderer = *window->GetMeasurementRenderer();
    const double x = press->GetX() - GetLineStart(renderer, area, text->horizontalAlignment);
    // Widths grow with the prefix: the nearest boundary is where the distance stops falling.
    std::int32_t best = 0;
    double distance = std::abs(x);
    for (std::int32_t position = 0; position < GetText().GetLength();)
    {
        position = Step(position, true);
        const double gap = std::abs(x - MeasurePrefix(renderer, position));
        if (gap >= distance)
        {
            break;
        }
        best = position;
        distance = gap;
    }
    MoveCaret(best, (press->GetModifiers() & KeyCode::kModifierShift) != 0);
}

void LTextBox::ScrollToCaret()
{
    RCPtr<LRootWindow> window;
    RectT<double> area;
    if (!mAutoScroll[0] || !GetRootWindowRef(window) || !window->GetMeasurementRenderer() ||
        GetTextArea(*this, area) == nullptr)
    {
        return;
    }
    const double caret = MeasurePrefix(*window->GetMeasurementRenderer(), mCaret);
    PointT<double> offset = GetScrollOffset();
    // The label is drawn moved by the offset, so the offset is 0 or negative.
    if (caret + offset.x > area.width)
    {
        offset.x = area.width - caret;
    }
    if (caret + offset.x < 0.0)
    {
        offset.x = -caret;
    }
    // Never scrolled further than the text's end needs.
    const double full = MeasurePrefix(*window->GetMeasurementRenderer(), GetText().GetLength());
    offset.x = std::min(0.0, std::max(offset.x, area.width - full));
    SetScrollOffset(offset);
}

QZRESULT LTextBox::DrawUnderlay(LRenderer& renderer)
{
    RectT<double> area;
    const LTextPropertiesDescriptor* text = GetTextArea(*this, area);
    if (!GetFont() || text == nullptr)
    {
        return S_OK;
    }
    std::int32_t lineHeight = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    if (Failed(
            renderer.GetFontMetrics(ConstRCPtr<LFont>(GetFont()), lineHeight, ascent, descent)) ||
        lineHeight <= 0)
    {
        lineHeight = static_cast<std::int32_t>(area.height);
    }
    // Placed as the look places the label's line.
    const double top = std::round(area.y + (area.height - lineHeight) * text->verticalAlignment);
    const double origin = GetLineStart(renderer, area, text->horizontalAlignment);
    ColorRGBA color = text->color;
    const RenderState* state = renderer.GetCurrentState();
    color.alpha *= state != nullptr ? state->alpha : 1.0f;
    // Only the box the keys go to shows its selection; the others keep theirs unshaded.
    if (HasFocus() && mAnchor != mCaret)
    {
        const double from = origin + MeasurePrefix(renderer, std::min(mAnchor, mCaret));
        const double to = origin + MeasurePrefix(renderer, std::max(mAnchor, mCaret));
        ColorRGBA shade = color;
        shade.alpha *= kSelectionOpacity;
        renderer.FillRect({static_cast<std::int32_t>(std::round(from)),
                           static_cast<std::int32_t>(top),
                           static_cast<std::int32_t>(std::round(to - from)), lineHeight},
                          shade, true);
    }
    if (HasFocus())
    {
        const double caret = origin + MeasurePrefix(renderer, mCaret);
        renderer.FillRect({static_cast<std::int32_t>(std::round(caret)),
                           static_cast<std::int32_t>(top), 1, lineHeight},
                          color, true);
    }
    return S_OK;
}

} // namespace QZ
