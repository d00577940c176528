#include "UI/RededoVuvuvaCommon/NumberBoxTextSelector.h"

#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/RededoVuvuvaCommon/SelectorSupport.h"

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LNumberBoxTextSelector::Initialize";

} // namespace

LNumberBoxTextSelector::LNumberBoxTextSelector(const RCPtr<LControl>& parent,
                                               const WideString& name, bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LNumberBoxTextSelector::~LNumberBoxTextSelector() = default;

QZRESULT LNumberBoxTextSelector::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LNumberBoxTextSelector>(this);
    mLabel = RequireSelectorChild<LLabel>(*this, u"label", kInitialize);
    mNumericUpDown = RequireSelectorChild<LNumericUpDown>(*this, u"numericUpDown", kInitialize);
    const QZRESULT subscribed =
        mHandler->AddHandler(&LNumberBoxTextSelector::OnNumberChanged,
                             RCPtr<LNotificationDistributor>(mNumericUpDown), NID_VALUE_CHANGE, 0);
    if (Failed(subscribed))
    {
        QZ_THROW_FAILED_RESULT(subscribed, kInitialize);
    }
    UpdateText();
    return result;
}

QZRESULT LNumberBoxTextSelector::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mLabel = nullptr;
    mNumericUpDown = nullptr;
    return LPanel::ReleaseInternalReferences();
}

void LNumberBoxTextSelector::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                                 const RCPtr<LNotification>& notification)
{
    ReceiveThroughHandler(*this, mHandler, sender, notification);
}

QZRESULT LNumberBoxTextSelector::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                             const char16_t* identifier)
{
    return UnsubscribeThroughHandler(*this, mHandler, distributor, identifier);
}

// A number below 0 wraps to a huge index and leaves the text alone, as one beyond the table does.
void LNumberBoxTextSelector::UpdateText()
{
    ShowTableEntry(mLabel->GetStringTable(),
                   static_cast<std::uint32_t>(GetWholeNumber(*mNumericUpDown)), *mLabel);
}

QZRESULT LNumberBoxTextSelector::OnNumberChanged(const RCPtr<LNotificationDistributor>&,
                                                 const RCPtr<LNotification>&)
{
    UpdateText();
    return 1;
}

} // namespace QZ
