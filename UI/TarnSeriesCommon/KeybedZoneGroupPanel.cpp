#include "UI/TarnSeriesCommon/KeybedZoneGroupPanel.h"

#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/EditPanelHost.h"
#include "UI/TarnSeriesCommon/KeybedZoneEditPanel.h"
#include "UI/TarnSeriesCommon/KeybedZonePanel.h"

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LKeybedZoneGroupPanel::Initialize";

} // namespace

LKeybedZoneGroupPanel::LKeybedZoneGroupPanel(const RCPtr<LControl>& parent, const WideString& name,
                                             bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LKeybedZoneGroupPanel::~LKeybedZoneGroupPanel() = default;

QZRESULT LKeybedZoneGroupPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LKeybedZoneGroupPanel>(this);
    mEditPanel =
        RCPtr<LKeybedZoneEditPanel>::DynamicCastFrom(FindDeviceViewChild(*this, u"zoneEditPanel"));
    if (!mEditPanel)
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", "zoneEditPanel not found");
    }
    Listen(mEditPanel.Get(), NID_VISIBLITY_CONDITION_CHANGE,
           &LKeybedZoneGroupPanel::OnEditPanelVisibilityChanged);
    mZones.clear();
    for (std::uint32_t zone = 1; zone <= ChildCount; ++zone)
    {
        mZones.push_back(
            RCPtr<LKeybedZonePanel>::DynamicCastFrom(FindChildByName(NumberedName(u"zone", zone))));
    }
    for (std::size_t i = 0; i < mZones.size(); ++i)
    {
        const RCPtr<LControl> clickable = GetClickable(i);
        if (!clickable)
        {
            QZ_THROW_FAILED_RESULT(E_FAIL, kInitialize);
        }
        Listen(clickable.Get(), NID_LEFT_CLICK, &LKeybedZoneGroupPanel::OnZoneButtonClicked);
    }
    return result;
}

QZRESULT LKeybedZoneGroupPanel::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mZones.clear();
    mEditPanel = nullptr;
    mSelected = -1;
    return LPanel::ReleaseInternalReferences();
}

void LKeybedZoneGroupPanel::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                                const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LPanel::ReceiveNotification(sender, notification);
}

QZRESULT LKeybedZoneGroupPanel::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                            const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LPanel::Unsubscribe(distributor, identifier);
}

void LKeybedZoneGroupPanel::Listen(LControl* control, const char16_t* identifier, Method method)
{
    const QZRESULT result =
        mHandler->AddHandler(method, RCPtr<LNotificationDistributor>(control), identifier, 0);
    if (Failed(result))
    {
        QZ_THROW_FAILED_RESULT(result, kInitialize);
    }
}

RCPtr<LControl> LKeybedZoneGroupPanel::GetClickable(std::size_t index) const
{
    const RCPtr<LKeybedZonePanel>& zone = mZones[index];
    return zone ? zone->FindChildByName(WideString(u"button")) : nullptr;
}

void LKeybedZoneGroupPanel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                            std::uint32_t index)
{
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    for (std::uint32_t i = 0; i < mZones.size(); ++i)
    {
        if (mZones[i])
        {
            const auto childID = static_cast<std::uint32_t>(firstParamID) + i;
            mZones[i]->SetFirstParamID(this, static_cast<std::int32_t>(childID), i);
        }
    }
}

RCPtr<IKeybedZone> LKeybedZoneGroupPanel::GetKeybedZone(std::uint32_t index)
{
    if (index >= mZones.size())
    {
        return nullptr;
    }
    if (static_cast<std::int32_t>(index) == mSelected && mEditPanel)
    {
        return RCPtr<IKeybedZone>(mEditPanel.Get());
    }
    return RCPtr<IKeybedZone>(mZones[index].Get());
}

std::int32_t LKeybedZoneGroupPanel::SetParamValue(const ParamDescriptor& descriptor,
                                                  const Variant& value)
{
    if (mSelected >= 0 && mZones[static_cast<std::size_t>(mSelected)])
    {
        static_cast<void>(mZones[static_cast<std::size_t>(mSelected)]->SetParamValueLocal(
            descriptor, value, false));
    }
    return 0;
}

QZRESULT LKeybedZoneGroupPanel::OnZoneButtonClicked(const RCPtr<LNotificationDistributor>& sender,
                                                    const RCPtr<LNotification>&)
{
    for (std::uint32_t i = 0; i < mZones.size(); ++i)
    {
        const RCPtr<LControl> clickable = GetClickable(i);
        if (!clickable)
        {
            continue;
        }
        const bool clicked =
            sender.Get() == static_cast<LNotificationDistributor*>(clickable.Get());
        clickable->SetValue(clicked ? 1.0 : 0.0);
        if (clicked)
        {
            Select(i);
        }
    }
    return 1;
}

// The edit panel is bound first, then shown; the zone's value reaches it through the engine's
// queue either way.
void LKeybedZoneGroupPanel::Select(std::uint32_t index)
{
    mSelected = static_cast<std::int32_t>(index);
    mEditPanel->SetFirstParamID(this, mZones[index]->GetFirstParamID(), index);
    if (!ShowEditPanelOf(*this, kKeybedZoneControlType, static_cast<std::int32_t>(index)))
    {
        mEditPanel->SetShown(true);
    }
}

QZRESULT LKeybedZoneGroupPanel::OnEditPanelVisibilityChanged(const RCPtr<LNotificationDistributor>&,
                                                             const RCPtr<LNotification>&)
{
    if (mEditPanel->IsShowing(false))
    {
        return 1;
    }
    for (std::size_t i = 0; i < mZones.size(); ++i)
    {
        if (const RCPtr<LControl> clickable = GetClickable(i))
        {
            clickable->SetValue(0.0);
        }
    }
    return 1;
}

} // namespace QZ
