#include "UI/TarnSeriesCommon/PedalGroupPanel.h"

#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/EditPanelHost.h"
#include "UI/TarnSeriesCommon/SustainPedalEditPanel.h"
#include "UI/TarnSeriesCommon/SustainPedalPanel.h"
#include "UI/TarnSeriesCommon/VolumePedalEditPanel.h"
#include "UI/TarnSeriesCommon/VolumePedalPanel.h"

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LPedalGroupPanel::Initialize";
constexpr std::int32_t kVolumeSubtype = 0;
constexpr std::int32_t kSustainSubtype = 1;

template <class T>
RCPtr<T> RequireDeviceViewChild(LControl& panel, const char16_t* name, const char* missing)
{
    auto child = RCPtr<T>::DynamicCastFrom(FindDeviceViewChild(panel, name));
    if (!child)
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", missing);
    }
    return child;
}

} // namespace

LPedalGroupPanel::LPedalGroupPanel(const RCPtr<LControl>& parent, const WideString& name,
                                   bool mostDerived)
    : LHandlingPanel<LPedalGroupPanel>(parent, name, mostDerived)
{
}

LPedalGroupPanel::~LPedalGroupPanel() = default;

QZRESULT LPedalGroupPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    MakeHandler(this);
    mVolumeEdit = RequireDeviceViewChild<LVolumePedalEditPanel>(*this, u"volumePedalEditPanel",
                                                                "volumeEditPanel not found");
    mSustainEdit = RequireDeviceViewChild<LSustainPedalEditPanel>(*this, u"sustainEditPage",
                                                                  "sustainEditPanel not found");
    Listen(RCPtr<LControl>(mVolumeEdit.Get()), NID_VISIBLITY_CONDITION_CHANGE,
           &LPedalGroupPanel::OnEditPanelVisibilityChanged, kInitialize);
    Listen(RCPtr<LControl>(mSustainEdit.Get()), NID_VISIBLITY_CONDITION_CHANGE,
           &LPedalGroupPanel::OnEditPanelVisibilityChanged, kInitialize);
    const RCPtr<LControl> self(this);
    mSustainView = RequireChild<LSustainPedalPanel>(self, {u"sustainPedal"}, kInitialize,
                                                    "sustainPedal not found");
    mVolumeView = RequireChild<LVolumePedalPanel>(self, {u"volumePedal"}, kInitialize,
                                                  "volumePedal not found");
    Listen(GetClickable(RCPtr<LControl>(mVolumeView.Get())), NID_LEFT_CLICK,
           &LPedalGroupPanel::OnPedalClicked, kInitialize);
    Listen(GetClickable(RCPtr<LControl>(mSustainView.Get())), NID_LEFT_CLICK,
           &LPedalGroupPanel::OnPedalClicked, kInitialize);
    return result;
}

QZRESULT LPedalGroupPanel::ReleaseInternalReferences()
{
    mVolumeView = nullptr;
    mSustainView = nullptr;
    mVolumeEdit = nullptr;
    mSustainEdit = nullptr;
    return LHandlingPanel<LPedalGroupPanel>::ReleaseInternalReferences();
}

void LPedalGroupPanel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                       std::uint32_t index)
{
    mBound = false;
    IPedals::SetFirstParamID(parent, firstParamID, index);
    mBound = true;
}

bool LPedalGroupPanel::IsEditing(const LControl& editPanel,
                                 const LParameterizedModule& module) const
{
    return mBound && editPanel.IsShowing(false) &&
           module.GetParent() == static_cast<const LParameterizedModule*>(this);
}

RCPtr<IVolumePedal> LPedalGroupPanel::GetVolumePedal()
{
    if (mVolumeEdit && IsEditing(*mVolumeEdit, *mVolumeEdit))
    {
        return RCPtr<IVolumePedal>(mVolumeEdit.Get());
    }
    return RCPtr<IVolumePedal>(mVolumeView.Get());
}

RCPtr<ISustainPedal> LPedalGroupPanel::GetSustainPedal()
{
    if (mSustainEdit && IsEditing(*mSustainEdit, *mSustainEdit))
    {
        return RCPtr<ISustainPedal>(mSustainEdit.Get());
    }
    return RCPtr<ISustainPedal>(mSustainView.Get());
}

std::int32_t LPedalGroupPanel::SetParamValue(const ParamDescriptor& descriptor,
                                             const Variant& value)
{
    if (mSustainEdit && descriptor.mParamID == mSustainEdit->GetFirstParamID())
    {
        static_cast<void>(mSustainView->SetParamValueLocal(descriptor, value, false));
        return 0;
    }
    if (mVolumeEdit && descriptor.mParamID == mVolumeEdit->GetFirstParamID())
    {
        static_cast<void>(mVolumeView->SetParamValueLocal(descriptor, value, false));
        return 0;
    }
    return E_FAIL;
}

RCPtr<LControl> LPedalGroupPanel::GetClickable(const RCPtr<LControl>& view) const
{
    return FindDescendant(view, {u"button"});
}

QZRESULT LPedalGroupPanel::OnPedalClicked(const RCPtr<LNotificationDistributor>& sender,
                                          const RCPtr<LNotification>&)
{
    const RCPtr<LControl> volume = GetClickable(RCPtr<LControl>(mVolumeView.Get()));
    const RCPtr<LControl> sustain = GetClickable(RCPtr<LControl>(mSustainView.Get()));
    const auto isSender = [&sender](const RCPtr<LControl>& button)
    { return button && sender.Get() == static_cast<LNotificationDistributor*>(button.Get()); };
    if (isSender(sustain))
    {
        sustain->SetValue(1.0);
        if (volume)
        {
            volume->SetValue(0.0);
        }
        ShowEditPanelOf(*this, kPedalControlType, kSustainSubtype);
        mSustainEdit->SetFirstParamID(this, mSustainView->GetFirstParamID(),
                                      mSustainView->GetIndex());
    }
    else if (isSender(volume))
    {
        if (sustain)
        {
            sustain->SetValue(0.0);
        }
        volume->SetValue(1.0);
        ShowEditPanelOf(*this, kPedalControlType, kVolumeSubtype);
        mVolumeEdit->SetFirstParamID(this, mVolumeView->GetFirstParamID(), mVolumeView->GetIndex());
    }
    return 1;
}

QZRESULT LPedalGroupPanel::OnEditPanelVisibilityChanged(const RCPtr<LNotificationDistributor>&,
                                                        const RCPtr<LNotification>&)
{
    if (const RCPtr<LControl> volume = GetClickable(RCPtr<LControl>(mVolumeView.Get())))
    {
        volume->SetValue(mVolumeEdit->IsShowing(false) ? 1.0 : 0.0);
    }
    if (const RCPtr<LControl> sustain = GetClickable(RCPtr<LControl>(mSustainView.Get())))
    {
        sustain->SetValue(mSustainEdit->IsShowing(false) ? 1.0 : 0.0);
    }
    return 1;
}

} // namespace QZ
