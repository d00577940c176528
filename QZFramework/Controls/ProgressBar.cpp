#include "QZFramework/Controls/ProgressBar.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/Controls/ControlHelpers.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/Panel.h"

#include <cmath>
#include <string>

namespace QZ
{
namespace
{

constexpr const char16_t* kWordKeys[] = {
    u"HOURS_SINGULAR",   u"HOURS_PLURAL",   u"MINUTES_SINGULAR", u"MINUTES_PLURAL",
    u"SECONDS_SINGULAR", u"SECONDS_PLURAL", u"REMAINING"};
// What shows when neither table has the word.
constexpr const char16_t* kEnglishWords[] = {u"Hour",   u"Hours",   u"Minute",   u"Minutes",
                                             u"Second", u"Seconds", u"Remaining"};
// The sample point moves on increases at least this long after it.
constexpr double kResampleSeconds = 1.0;

template <class T> RCPtr<T> FindPart(const LControl& bar, const char16_t* name)
{
    return RCPtr<T>::DynamicCastFrom(bar.FindChildByName(WideString(name)));
}

WideString Number(std::int32_t value)
{
    const std::string digits = std::to_string(value);
    return WideString(std::u16string(digits.begin(), digits.end()).c_str());
}

} // namespace

LProgressBar::LProgressBar(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LProgressBar::~LProgressBar() = default;

QZRESULT LProgressBar::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mBar = FindPart<LPanel>(*this, u"activeOverlay");
    mTimeLabel = FindPart<LLabel>(*this, u"timeRemainingLabel");
    mPercentLabel = FindPart<LLabel>(*this, u"percentCompleteLabel");
    if (!mBar)
    {
        QZ_THROW_RUNTIME("LProgressBar::Initialize", "Null Pointer",
                         "Cannot find child: activeOverlay");
    }
    if (!mTimeLabel)
    {
        QZ_THROW_RUNTIME("LProgressBar::Initialize", "Null Pointer",
                         "Cannot find child: timeRemainingLabel");
    }
    if (!mPercentLabel)
    {
        QZ_THROW_RUNTIME("LProgressBar::Initialize", "Null Pointer",
                         "Cannot find child: percentCompleteLabel");
    }
    mTimeLabel->SetShown(false);
    LookUpWords();
    SetValue(0.0);
    SetValueRange(0.0, 100.0, 0);
    return result;
}

void LProgressBar::LookUpWords()
{
    const LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : RCPtr<LControlFactory>();
    RCPtr<LStringTable> tables[2];
    if (factory)
    {
        factory->GetFrameworkStringTable(tables[0]);
        factory->GetAppStringTable(tables[1]);
    }
    for (std::uint32_t word = 0; word < kWordCount; ++word)
    {
        mWords[word] = WideString(kEnglishWords[word]);
        for (const RCPtr<LStringTable>& table : tables)
        {
            if (table && table->Lookup(kWordKeys[word], mWords[word]))
            {
                break;
            }
        }
    }
}

QZRESULT LProgressBar::PostInitialize()
{
    mBar->SetNotFocusable(true);
    Refresh();
    return S_OK;
}

void LProgressBar::OnValueChanged()
{
    Refresh();
}

void LProgressBar::Refresh()
{
    if (!mBar || !mPercentLabel)
    {
        return;
    }
    const double percent = GetValue() * 100.0;
    const std::int32_t length = RoundToPixels(GetSize().x * percent / 100.0);
    ShowLength(*mBar, 0, length);
    mPercentLabel->SetText(WideString::FromDouble(percent, 0), true);
    if (mEstimating)
    {
        Estimate();
    }
}

void LProgressBar::Estimate()
{
    const double now = GetClock();
    const double value = GetValue();
    const double elapsed = now - mSampleTime;
    if (value - mSampleValue > 0.0 && elapsed > 0.0)
    {
        const double rate = (value - mStartValue) / (now - mStartTime);
        if (elapsed > kResampleSeconds)
        {
            mSampleTime = now;
            mSampleValue = value;
        }
        // A rate that is not positive gives no estimate (and no division by it).
        if (rate > 0.0 && std::isfinite(rate))
        {
            SetTimeRemaining(RoundToPixels((1.0 - value) / rate));
        }
    }
    if (value >= 1.0)
    {
        mEstimating = false;
    }
}

void LProgressBar::SetEstimating(bool estimating)
{
    if (estimating == mEstimating)
    {
        return;
    }
    mEstimating = estimating;
    if (estimating)
    {
        mStartTime = mSampleTime = GetClock();
        mStartValue = mSampleValue = GetValue();
    }
}

// "h Hours m Minutes s Seconds Remaining": hours only from one hour up, minutes from one minute
// up or when hours show, seconds always; singular for exactly 1.
void LProgressBar::SetTimeRemaining(std::int32_t seconds)
{
    if (!mTimeLabel)
    {
        return;
    }
    mTimeLabel->SetShown(true);
    const std::int32_t total = seconds > 0 ? seconds : 0;
    const std::int32_t hours = total / 3600;
    const std::int32_t minutes = total % 3600 / 60;
    const std::int32_t rest = total % 60;
    const WideString space(u" ");
    WideString text;
    const auto append = [&](std::int32_t count, Word singular, Word plural)
    {
        text += Number(count);
        text += space;
        text += mWords[count == 1 ? singular : plural];
        text += space;
    };
    if (hours >= 1)
    {
        append(hours, kHour, kHours);
    }
    if (minutes >= 1 || hours >= 1)
    {
        append(minutes, kMinute, kMinutes);
    }
    append(rest, kSecond, kSeconds);
    text += mWords[kRemaining];
    mTimeLabel->SetText(text, true);
}

double LProgressBar::GetClock()
{
    LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr ? application->GetTimeSeconds() : 0.0;
}

} // namespace QZ
