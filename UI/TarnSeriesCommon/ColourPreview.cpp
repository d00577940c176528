#include "UI/TarnSeriesCommon/ColourPreview.h"

#include "QZFramework/Notification/MouseButtonParam.h"

namespace QZ
{
namespace
{

constexpr std::uint32_t kShiftModifier = 0x8;
constexpr std::int32_t kLastStep = 3;

} // namespace

void ColourPreview::SetColours(const Colours& colours)
{
    mColours = colours;
    Update();
}

void ColourPreview::OnClick(const RCPtr<LNotification>& click)
{
    const auto press =
        click ? RCPtr<LMouseButtonParam>::DynamicCastFrom(click->GetPayload()) : nullptr;
    if (!press || (press->GetModifiers() & kShiftModifier) == 0)
    {
        return;
    }
    mStep = mStep >= kLastStep ? 0 : mStep + 1;
    Update();
}

void ColourPreview::Update()
{
    if (mIndicator && mColours)
    {
        const std::uint8_t colour = (*mColours)[static_cast<std::size_t>(mStep < 0 ? 0 : mStep)];
        static_cast<void>(mIndicator->SetLookWeight(colour, 1.0f, true));
    }
}

} // namespace QZ
