#include "QZFramework/Controls/LevelMeter.h"

#include "QZFramework/Controls/ControlHelpers.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

constexpr double kLit = 1.0;
constexpr double kOut = 0.0;

bool IsLit(const LControl& light)
{
    return light.GetValue() >= 0.5;
}

} // namespace

LLevelMeter::LLevelMeter(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LControl(parent, name, mostDerived)
{
}

LLevelMeter::~LLevelMeter() = default;

void LLevelMeter::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                      const RCPtr<LNotification>& notification)
{
    if (!OfferToOwnHandler(*this, mHandler, sender, notification))
    {
        LControl::ReceiveNotification(sender, notification);
    }
}

QZRESULT LLevelMeter::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                  const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LControl::Unsubscribe(distributor, identifier);
}

QZRESULT LLevelMeter::Initialize()
{
    const QZRESULT result = LControl::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LLevelMeter>(this);
    mPeak = RCPtr<LPanel>::DynamicCastFrom(FindChildByName(WideString(u"peakLo")));
    mBar = RCPtr<LPanel>::DynamicCastFrom(FindChildByName(WideString(u"activeOverlay")));
    if (!mBar)
    {
        QZ_THROW_RUNTIME("LLevelMeter::Initialize", "Null Pointer",
                         "Cannot find child: activeOverlay");
    }
    for (const RCPtr<LPanel>& part : {mPeak, mBar})
    {
        if (part)
        {
            part->SetUseParentToolTip(true);
        }
    }
    mClipLight = FindChildByName(WideString(u"clipButton"));
    return result;
}

QZRESULT LLevelMeter::PostInitialize()
{
    mVertical = GetSize().x < GetSize().y;
    if (mPeak)
    {
        mPeak->SetShown(false);
        mPeak->SetNotFocusable(true);
        mPeakLow = mPeak->GetPosition();
        if (const RCPtr<LControl> high = FindChildByName(WideString(u"peakHi")))
        {
            high->SetShown(false);
            high->SetNotFocusable(true);
            mPeakHigh = high->GetPosition();
        }
        else
        {
            mPeak = nullptr;
        }
    }
    mBar->SetShown(false);
    mBar->SetNotFocusable(true);
    if (mClipLight)
    {
        mClipLight->SetNotFocusable(true);
    }
    SetNotFocusable(true);
    OnValueChanged();
    return S_OK;
}

void LLevelMeter::OnValueChanged()
{
    if (!mInUpdate)
    {
        SetLevels(GetValue(), 0.0, mClipCount);
    }
}

QZRESULT LLevelMeter::SetLevels(double level, double peak)
{
    return SetLevels(level, peak, mClipCount);
}

QZRESULT LLevelMeter::SetLevels(double level, double peak, std::int32_t clipCount)
{
    const RCPtr<LControl> self(this);
    if (mClipLight && clipCount != mClipCount)
    {
        mClipLight->SetValue(kLit);
    }
    else if (mClipLight && !mClipLatching)
    {
        mClipLight->SetValue(kOut);
    }
    mClipCount = clipCount;
    mInUpdate = true;
    SetValue(level);
    mInUpdate = false;
    ShowBar();
    ShowPeak(std::isnan(peak) ? 0.0 : std::clamp(peak, 0.0, 1.0));
    return S_OK;
}

void LLevelMeter::ShowBar()
{
    if (!mBar)
    {
        return;
    }
    // The stored level is already held within 0..1, so the bar never outgrows the meter.
    const double share = mVertical ? 1.0 - GetValue() : GetValue();
    const double length = mVertical ? GetSize().y : GetSize().x;
    ShowLength(*mBar, GetAxis(), RoundToPixels(length * share));
}

void LLevelMeter::ShowPeak(double peak)
{
    if (!mPeak)
    {
        return;
    }
    const double travel = mVertical ? mPeakHigh.y - mPeakLow.y : mPeakHigh.x - mPeakLow.x;
    const std::int32_t distance = RoundToPixels(travel * peak);
    if (distance == 0)
    {
        mPeak->SetShown(false);
        return;
    }
    mPeak->SetShown(true);
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    mPeak->GetLayout()->GetAxisSpec(GetAxis(), position, size);
    position.absolute = distance;
    mPeak->SetAxisLayout(GetAxis(), position, size);
}

QZRESULT LLevelMeter::SetClipLatching(bool latch)
{
    if (!mClipLight)
    {
        return E_FAIL;
    }
    mClipLight->SetValue(kOut);
    if (latch == mClipLatching)
    {
        return S_OK;
    }
    mClipLatching = latch;
    const RCPtr<LNotificationDistributor> light(mClipLight);
    if (latch)
    {
        mHandler->AddHandler(&LLevelMeter::OnClipButtonClick, light, NID_LEFT_CLICK, 0);
    }
    else
    {
        Unsubscribe(light, NID_LEFT_CLICK);
    }
    return S_OK;
}

bool LLevelMeter::IsClipLit() const
{
    return mClipLight && IsLit(*mClipLight);
}

QZRESULT LLevelMeter::OnClipButtonClick(const RCPtr<LNotificationDistributor>&,
                                        const RCPtr<LNotification>&)
{
    if (mClipLight && IsLit(*mClipLight))
    {
        const RCPtr<LControl> self(this);
        mClipLight->SetValue(kOut);
        RCPtr<LNotification> notification;
        LNotification::Create(notification, NID_CLIPLIGHT_UNLATCHED, RCPtr<LRefCountedObject>());
        Distribute(notification);
    }
    return S_OK;
}

} // namespace QZ
