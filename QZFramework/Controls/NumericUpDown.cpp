#include "QZFramework/Controls/NumericUpDown.h"

#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/ControlBase/XmlValues.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/TextBox.h"
#include "QZFramework/Controls/TextValidationParam.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

namespace QZ
{
namespace
{

constexpr std::uint32_t kUpPressed = KeyCode::kKeyDown | (0x26u << 16);
constexpr std::uint32_t kDownPressed = KeyCode::kKeyDown | (0x28u << 16);
constexpr std::int32_t kMaximumDecimalPlaces = 15;

// Leading blanks, a sign, digits, a decimal point and an exponent, as far as they go; 0 when no
// number starts the text. A number too large for a double reads as an infinity of its sign, which
// the range then limits.
double ReadNumber(const WideString& text)
{
    const std::string narrow = text.ToNarrowString().GetString();
    double value = 0.0;
    if (XmlValues::ReadNumber(narrow.c_str(), std::numeric_limits<double>::max(), value))
    {
        return value;
    }
    std::string_view rest = XmlValues::Trim(narrow);
    const bool negative = !rest.empty() && rest.front() == '-';
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+'))
    {
        rest.remove_prefix(1);
    }
    const bool overflow =
        !rest.empty() &&
        (std::isdigit(static_cast<unsigned char>(rest.front())) || rest.front() == '.');
    if (!overflow)
    {
        return 0.0;
    }
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
}

// The child of that name and class; a runtime error when the skin lacks it.
template <class T> RCPtr<T> FindRequiredChild(const LControl& parent, const char16_t* name)
{
    RCPtr<T> child = RCPtr<T>::DynamicCastFrom(parent.FindChildByName(WideString(name)));
    if (!child)
    {
        const std::string detail =
            std::string("Cannot find child: ") + WideString(name).ToNarrowString().GetString();
        QZ_THROW_RUNTIME("QZ::LNumericUpDown::Initialize", "Null Pointer", detail);
    }
    return child;
}

} // namespace

LNumericUpDown::LNumericUpDown(const RCPtr<LControl>& parent, const WideString& name,
                               bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LNumericUpDown::~LNumericUpDown() = default;

void LNumericUpDown::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                         const RCPtr<LNotification>& notification)
{
    if (IsCreated() && mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LPanel::ReceiveNotification(sender, notification);
}

QZRESULT LNumericUpDown::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                     const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LPanel::Unsubscribe(distributor, identifier);
}

QZRESULT LNumericUpDown::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mTextBox = FindRequiredChild<LTextBox>(*this, u"textBox");
    mButtonUp = FindRequiredChild<LButton>(*this, u"buttonUp");
    mButtonDown = FindRequiredChild<LButton>(*this, u"buttonDown");
    for (const RCPtr<LButton>& button : {mButtonUp, mButtonDown})
    {
        button->SetAutoRepeat(true);
    }
    UpdateAllowedCharacters();
    mHandler = new LNotificationHandler<LNumericUpDown>(this);
    const RCPtr<LNotificationDistributor> textBox(mTextBox);
    mHandler->AddHandler(&LNumericUpDown::OnTextValidating, textBox, NID_TEXTBOX_VALIDATING, 0);
    mHandler->AddHandler(&LNumericUpDown::OnTextValidated, textBox, NID_TEXTBOX_VALIDATED, 0);
    for (const RCPtr<LButton>& button : {mButtonUp, mButtonDown})
    {
        mHandler->AddHandler(&LNumericUpDown::OnButtonAutoRepeat,
                             RCPtr<LNotificationDistributor>(button), NID_BUTTON_AUTOREPEAT, 0);
    }
    return result;
}

QZRESULT LNumericUpDown::PostInitialize()
{
    SetNotFocusable(false);
    mButtonUp->SetNotFocusable(true);
    mButtonDown->SetNotFocusable(true);
    return S_OK;
}

// ---- range, text and formatting ----

QZRESULT LNumericUpDown::SetValueRange(double minimum, double maximum, std::int32_t scaleType)
{
    const QZRESULT result = LPanel::SetValueRange(minimum, maximum, scaleType);
    if (Failed(result))
    {
        return result;
    }
    UpdateAllowedCharacters();
    if (mTextBox)
    {
        mTextBox->SetTextWithLayout(FormatValue());
    }
    return S_OK;
}

QZRESULT LNumericUpDown::SetTextWithLayout(const WideString& text)
{
    SetValue(ValueToPosition(ReadNumber(text)));
    return S_OK;
}

void LNumericUpDown::SetStep(double step)
{
    if (std::isfinite(step))
    {
        mStep = step;
    }
}

void LNumericUpDown::SetDecimalPlaces(std::int32_t places)
{
    mDecimalPlaces = std::clamp(places, 0, kMaximumDecimalPlaces);
    UpdateAllowedCharacters();
}

void LNumericUpDown::UpdateAllowedCharacters()
{
    if (!mTextBox)
    {
        return;
    }
    WideString allowed(u"0123456789");
    if (mDecimalPlaces > 0)
    {
        allowed += u'.';
    }
    if (GetValueMinimum() < 0.0)
    {
        allowed += u'-';
    }
    mTextBox->SetFilter(allowed, true);
}

WideString LNumericUpDown::FormatValue() const
{
    const double number = PositionToValue(GetValue());
    const int length = std::snprintf(nullptr, 0, "%0.*f", mDecimalPlaces, number);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%0.*f", mDecimalPlaces, number);
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    return XmlValues::ToWide(text);
}

void LNumericUpDown::OnValueChanged()
{
    LPanel::OnValueChanged();
    if (mTextBox)
    {
        const RCPtr<LControl> self(this);
        mTextBox->SetTextWithLayout(FormatValue());
        mTextBox->Validate();
    }
}

// ---- validation ----

void LNumericUpDown::Forward(const RCPtr<LNotification>& notification)
{
    RCPtr<LNotification> copy;
    LNotification::Create(copy, notification->GetID(), notification->GetPayload());
    Distribute(copy);
}

QZRESULT LNumericUpDown::OnTextValidating(const RCPtr<LNotificationDistributor>&,
                                          const RCPtr<LNotification>& notification)
{
    const RCPtr<LControl> self(this);
    Forward(notification);
    const RCPtr<LTextValidationParam> param =
        RCPtr<LTextValidationParam>::DynamicCastFrom(notification->GetPayload());
    if (!param || !param->valid)
    {
        return S_FALSE;
    }
    const double low = std::min(GetValueMinimum(), GetValueMaximum());
    const double high = std::max(GetValueMinimum(), GetValueMaximum());
    const double typed = std::clamp(ReadNumber(param->text), low, high);
    const double current = PositionToValue(GetValue());
    if (current == typed)
    {
        // A typed form of the number in range stands ("5.0" for 5); one beyond it shows the bound.
        if (current == GetValueMinimum() || current == GetValueMaximum())
        {
            param->text = FormatValue();
            param->valid = true;
        }
        return S_FALSE;
    }
    SetValue(ValueToPosition(typed));
    param->text = FormatValue();
    param->valid = true;
    return S_FALSE;
}

QZRESULT LNumericUpDown::OnTextValidated(const RCPtr<LNotificationDistributor>&,
                                         const RCPtr<LNotification>& notification)
{
    Forward(notification);
    return S_FALSE;
}

// ---- buttons and keys ----

QZRESULT LNumericUpDown::OnButtonAutoRepeat(const RCPtr<LNotificationDistributor>& sender,
                                            const RCPtr<LNotification>&)
{
    const LNotificationDistributor* from = sender.Get();
    double direction = 0.0;
    if (from == static_cast<LNotificationDistributor*>(mButtonUp.Get()))
    {
        direction = 1.0;
    }
    else if (from == static_cast<LNotificationDistributor*>(mButtonDown.Get()))
    {
        direction = -1.0;
    }
    if (direction != 0.0)
    {
        const RCPtr<LControl> self(this);
        SetValue(ValueToPosition(PositionToValue(GetValue()) + direction * mStep));
    }
    return S_FALSE;
}

bool LNumericUpDown::PressButtonForKey(const RCPtr<LKeyParam>& key)
{
    const std::uint32_t value = key ? key->GetKey() : 0;
    const RCPtr<LButton>& button = value == kUpPressed     ? mButtonUp
                                   : value == kDownPressed ? mButtonDown
                                                           : RCPtr<LButton>();
    if (!button)
    {
        return false;
    }
    const RCPtr<LControl> self(this);
    SendNotificationTo(RCPtr<LNotificationReceiver>(button), NID_SIMULATE_CLICK);
    return true;
}

QZRESULT LNumericUpDown::ProcessKey(const RCPtr<LKeyParam>& key)
{
    return PressButtonForKey(key) ? S_OK : LPanel::ProcessKey(key);
}

QZRESULT LNumericUpDown::OnKeyEvent(const RCPtr<LKeyParam>& key)
{
    return PressButtonForKey(key) ? S_OK : LPanel::OnKeyEvent(key);
}

QZRESULT LNumericUpDown::OnVerticalWheel(const RCPtr<LMouseWheelParam>& wheel)
{
    if (!wheel || !IsEnabled(true))
    {
        return S_FALSE;
    }
    // Turned away from the user the wheel steps up, as the up arrow does.
    const RCPtr<LControl> self(this);
    SendNotificationTo(
        RCPtr<LNotificationReceiver>(wheel->GetDirection() == 1 ? mButtonUp : mButtonDown),
        NID_SIMULATE_CLICK);
    return S_OK;
}

} // namespace QZ
