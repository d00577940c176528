#include "UI/TarnSeriesCommon/PadPanel.h"

#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/ButtonControlViewPanel.h"
#include "UI/TarnSeriesCommon/PadFamilyLayouts.h"

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LPadPanel::Initialize";

} // namespace

LPadPanel::LPadPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LFamilyPanel<IPad>(parent, name, mostDerived, GetPadLayout())
{
}

QZRESULT LPadPanel::Initialize()
{
    const QZRESULT result = LFamilyPanel<IPad>::Initialize();
    if (Failed(result))
    {
        return result;
    }
    const RCPtr<LControl> self(this);
    mColour.SetIndicator(
        RequireChild<LControl>(self, {u"color"}, kInitialize, "child: color not found"));
    Listen(FindChildAs<LControl>(self, {u"button"}), NID_LEFT_CLICK,
           &LPadPanel::OnColorCycleClicked, kInitialize);
    return result;
}

QZRESULT LPadPanel::ReleaseInternalReferences()
{
    mColour.Release();
    return LFamilyPanel<IPad>::ReleaseInternalReferences();
}

void LPadPanel::ShowValue(const Array<signed char>& value)
{
    const auto view = RCPtr<LButtonControlViewPanel>::DynamicCastFrom(GetView());
    if (const std::optional<Array<signed char>> block = Rearrange(value, mLayout.value.toView);
        view && block)
    {
        view->ShowValues(*block);
    }
    ColourPreview::Colours colours{};
    for (std::size_t k = 0; k < colours.size(); ++k)
    {
        colours[k] = static_cast<std::uint8_t>(value.GetAt(static_cast<std::int32_t>(k) + 1));
    }
    mColour.SetColours(colours);
}

QZRESULT LPadPanel::OnColorCycleClicked(const RCPtr<LNotificationDistributor>&,
                                        const RCPtr<LNotification>& notification)
{
    mColour.OnClick(notification);
    return 1;
}

} // namespace QZ
