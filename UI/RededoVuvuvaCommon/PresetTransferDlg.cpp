#include "UI/RededoVuvuvaCommon/PresetTransferDlg.h"

#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/DeviceExchange.h"
#include "UI/TarnSeriesCommon/DeviceMessages.h"
#include "UI/TarnSeriesCommon/QuietScope.h"

namespace QZ
{
namespace
{

constexpr std::int32_t kHandled = 1;

RCPtr<LComboBox> FindSlotList(const LControl& dialog)
{
    return FindChildAs<LComboBox>(dialog.FindChildByName(WideString(u"presetSlot")), {u"comboBox"});
}

} // namespace

LPresetTransferDlg::Message LPresetTransferDlg::GetResultMessage(const Texts& texts,
                                                                 std::int32_t result)
{
    if (result >= 0)
    {
        return {texts.successText, texts.successCaption, false};
    }
    return {result == LMidiManager::kFirmwareNotUseable ? texts.firmwareText : texts.connectionText,
            texts.errorCaption, true};
}

LPresetTransferDlg::LPresetTransferDlg(const RCPtr<LControl>& parent, const WideString& name,
                                       bool mostDerived, const char16_t* buttonName,
                                       const char* initializeMethod, const char* missingButton,
                                       const Texts& texts)
    : LDialog(parent, name, mostDerived), mButtonName(buttonName),
      mInitializeMethod(initializeMethod), mMissingButton(missingButton), mTexts(texts)
{
}

LPresetTransferDlg::~LPresetTransferDlg() = default;

QZRESULT LPresetTransferDlg::Initialize()
{
    const QZRESULT result = LDialog::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LPresetTransferDlg>(this);
    const RCPtr<LControl> self(this);
    mButton = RequireChild<LButton>(self, {mButtonName}, mInitializeMethod, mMissingButton);
    const QZRESULT subscribed =
        mHandler->AddHandler(&LPresetTransferDlg::OnButtonClicked,
                             RCPtr<LNotificationDistributor>(mButton.Get()), NID_LEFT_CLICK, 0);
    if (Failed(subscribed))
    {
        QZ_THROW_FAILED_RESULT(subscribed, mInitializeMethod);
    }
    // "RAM" is the slot a user means when he has not chosen one.
    if (const RCPtr<LComboBox> slots = FindSlotList(*this); slots && slots->GetSelectedIndex() < 0)
    {
        slots->SetSelectedIndex(0);
    }
    return result;
}

QZRESULT LPresetTransferDlg::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mButton = nullptr;
    return LDialog::ReleaseInternalReferences();
}

void LPresetTransferDlg::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                             const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LDialog::ReceiveNotification(sender, notification);
}

QZRESULT LPresetTransferDlg::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                         const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LDialog::Unsubscribe(distributor, identifier);
}

std::int32_t LPresetTransferDlg::GetSelectedSlot() const
{
    const RCPtr<LComboBox> slots = FindSlotList(*this);
    return slots ? slots->GetSelectedIndex() : -1;
}

std::int32_t LPresetTransferDlg::TransferSlot(std::int32_t slot)
{
    if (slot < 0 || slot > kLastSlot)
    {
        ShowDeviceMessage(kPresetSlotRefusedText, mTexts.errorCaption, true);
        return E_INVALIDARG;
    }
    const LApplication* application = LApplication::GetApplication();
    const RCPtr<LMidiManager> manager =
        application != nullptr ? application->GetMidiManager() : nullptr;
    std::int32_t result = LMidiManager::kMidiError;
    if (manager)
    {
        const RCPtr<LPresetTransferDlg> self(this);
        const QuietScope busy(mBusy);
        LDeviceExchange exchange(*this, *manager);
        result = exchange.Run([&] { return Transfer(*manager, static_cast<std::uint8_t>(slot)); });
    }
    // A cancelled exchange belongs to a program that is ending: nothing to tell.
    if (result == LMidiManager::kCancelled)
    {
        return result;
    }
    const Message message = GetResultMessage(mTexts, result);
    ShowDeviceMessage(message.text, message.caption, message.error);
    return result;
}

QZRESULT LPresetTransferDlg::OnButtonClicked(const RCPtr<LNotificationDistributor>&,
                                             const RCPtr<LNotification>&)
{
    if (!mBusy)
    {
        static_cast<void>(TransferSlot(GetSelectedSlot()));
    }
    return kHandled;
}

} // namespace QZ
