#include "UI/TarnSeriesCommon/MoveableControlEditPanel.h"

#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Controls/TabControl.h"
#include "QZFramework/Controls/TextBox.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/QuietScope.h"

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LMoveableControlEditPanel::Initialize";
constexpr const char* kRegister = "LMoveableControlEditPanel::RegisterForAllParameterNotifications";
constexpr std::int32_t kNumberDigits = 3;
constexpr double kHighestNumber = 127.0;

std::int32_t GetNumber(const RCPtr<LNumericUpDown>& upDown)
{
    return static_cast<std::int32_t>(upDown->PositionToValue(upDown->GetValue()));
}

void SetNumber(const RCPtr<LNumericUpDown>& upDown, std::int32_t number)
{
    upDown->SetValue(upDown->ValueToPosition(number));
}

} // namespace

LMoveableControlEditPanel::LMoveableControlEditPanel(const RCPtr<LControl>& parent,
                                                     const WideString& name, bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LMoveableControlEditPanel::~LMoveableControlEditPanel() = default;

QZRESULT LMoveableControlEditPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LMoveableControlEditPanel>(this);
    mTabs = RequireChild<LTabControl>(RCPtr<LControl>(this), {u"tabControl"}, kInitialize,
                                      "Can not find TabControl Control: tabControl");
    FindPages();
    PrepareNumbers();
    return result;
}

QZRESULT LMoveableControlEditPanel::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mTabs = nullptr;
    mChannels = {};
    mMinimums = {};
    mMaximums = {};
    mNumbers = {};
    mLSB = mMSB = nullptr;
    mRpnType = mRelativeType = mOtherType = nullptr;
    return LPanel::ReleaseInternalReferences();
}

void LMoveableControlEditPanel::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                                    const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LPanel::ReceiveNotification(sender, notification);
}

QZRESULT LMoveableControlEditPanel::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                                const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LPanel::Unsubscribe(distributor, identifier);
}

// ---- finding the selectors ----

RCPtr<LControl> LMoveableControlEditPanel::RequirePage(MoveablePage page) const
{
    static constexpr std::array<const char*, 4> kMissing{
        "Can not find Page Control: ccAbsolutePage", "Can not find Page Control: ccRelativePage",
        "Can not find Page Control: nrpnRpnPage", "Can not find Page Control: otherPage"};
    const auto index = static_cast<std::size_t>(page);
    return RequireChild<LControl>(mTabs->GetPage(WideString(kMoveablePageNames[index])), {},
                                  kInitialize, kMissing[index]);
}

void LMoveableControlEditPanel::FindPages()
{
    constexpr const char* kMissingChannel = "Can not find ComboBox Control: midiChannel";
    constexpr const char* kMissingCC = "Can not find NumericUpDown Control: cc";
    constexpr const char* kMissingMin = "Can not find NumericUpDown Control: min";
    constexpr const char* kMissingMax = "Can not find NumericUpDown Control: max";
    for (std::size_t i = 0; i < mChannels.size(); ++i)
    {
        mChannels[i] =
            RequireChild<LComboBox>(RequirePage(static_cast<MoveablePage>(i)),
                                    {u"midiChannel", u"comboBox"}, kInitialize, kMissingChannel);
    }
    const RCPtr<LControl> absolute = RequirePage(MoveablePage::CCAbsolute);
    const RCPtr<LControl> relative = RequirePage(MoveablePage::CCRelative);
    const RCPtr<LControl> rpn = RequirePage(MoveablePage::NrpnRpn);
    const RCPtr<LControl> other = RequirePage(MoveablePage::Other);
    mNumbers[0] = RequireChild<LNumericUpDown>(absolute, {u"cc", u"ccSelector", u"numericUpDown"},
                                               kInitialize, kMissingCC);
    mNumbers[1] = RequireChild<LNumericUpDown>(relative, {u"cc", u"ccSelector", u"numericUpDown"},
                                               kInitialize, kMissingCC);
    mMinimums[0] = RequireChild<LNumericUpDown>(
        absolute, {u"minMaxSelectors", u"min", u"numericUpDown"}, kInitialize, kMissingMin);
    mMaximums[0] = RequireChild<LNumericUpDown>(
        absolute, {u"minMaxSelectors", u"max", u"numericUpDown"}, kInitialize, kMissingMax);
    mRelativeType = RequireChild<LComboBox>(relative, {u"relativeType", u"comboBox"}, kInitialize,
                                            "Can not find ComboBox Control: relativeType");
    mRpnType = RequireChild<LComboBox>(rpn, {u"NrpnRpnSelector", u"comboBox"}, kInitialize,
                                       "Can not find ComboBox Control: NrpnRpnSelector");
    mLSB = RequireChild<LNumericUpDown>(rpn, {u"msbLSBSelectors", u"lsb", u"numericUpDown"},
                                        kInitialize, "Can not find NumericUpDown Control: lsb");
    mMSB = RequireChild<LNumericUpDown>(rpn, {u"msbLSBSelectors", u"msb", u"numericUpDown"},
                                        kInitialize, "Can not find NumericUpDown Control: msb");
    mOtherType = RequireChild<LComboBox>(other, {u"otherType", u"comboBox"}, kInitialize,
                                         "Can not find ComboBox Control: otherType");
    mMinimums[1] = RequireChild<LNumericUpDown>(
        other, {u"minMaxSelectors", u"min", u"numericUpDown"}, kInitialize, kMissingMin);
    mMaximums[1] = RequireChild<LNumericUpDown>(
        other, {u"minMaxSelectors", u"max", u"numericUpDown"}, kInitialize, kMissingMax);
}

// The table's last three types (reverb type and time, chorus type) are not offered.
void LMoveableControlEditPanel::PrepareNumbers()
{
    mOtherType->SetItemCount(kOtherTypes);
    const std::vector<RCPtr<LNumericUpDown>> typed{mNumbers[0],  mNumbers[1],  mMinimums[0],
                                                   mMinimums[1], mMaximums[0], mMaximums[1]};
    SetRangeForAllArrayItems(typed, 0.0, kHighestNumber);
    for (const RCPtr<LNumericUpDown>& upDown : typed)
    {
        if (const RCPtr<LTextBox>& text = upDown->GetTextBox())
        {
            text->SetMaxLength(kNumberDigits);
        }
    }
    mLSB->SetValueRange(0.0, kHighestNumber, 0);
    mMSB->SetValueRange(0.0, kHighestNumber, 0);
}

// ---- subscriptions and reports ----

void LMoveableControlEditPanel::RegisterForAllParameterNotifications()
{
    const auto add = [this](const auto& control, const char16_t* identifier)
    {
        const QZRESULT result =
            mHandler->AddHandler(&LMoveableControlEditPanel::OnParameterControlChanged,
                                 RCPtr<LNotificationDistributor>(control), identifier, 0);
        if (Failed(result))
        {
            QZ_THROW_FAILED_RESULT(result, kRegister);
        }
    };
    const QZRESULT tabs =
        mHandler->AddHandler(&LMoveableControlEditPanel::OnPageSelected,
                             RCPtr<LNotificationDistributor>(mTabs), NID_TAB_SELECTED, 0);
    if (Failed(tabs))
    {
        QZ_THROW_FAILED_RESULT(tabs, kRegister);
    }
    add(mRelativeType, NID_SELECTION_CHANGE);
    add(mRpnType, NID_SELECTION_CHANGE);
    add(mLSB, NID_VALUE_CHANGE);
    add(mMSB, NID_VALUE_CHANGE);
    add(mOtherType, NID_SELECTION_CHANGE);
    const auto method = &LMoveableControlEditPanel::OnParameterControlChanged;
    for (const auto* upDowns : {&mNumbers, &mMinimums, &mMaximums})
    {
        SetNotificationForAllArrayItems(
            std::vector<RCPtr<LNumericUpDown>>(upDowns->begin(), upDowns->end()), *mHandler,
            NID_VALUE_CHANGE, method);
    }
    SetNotificationForAllArrayItems(
        std::vector<RCPtr<LComboBox>>(mChannels.begin(), mChannels.end()), *mHandler,
        NID_SELECTION_CHANGE, method);
}

QZRESULT
LMoveableControlEditPanel::OnParameterControlChanged(const RCPtr<LNotificationDistributor>&,
                                                     const RCPtr<LNotification>&)
{
    Report();
    return 1;
}

// A page the user opens offers its first items where its lists hold no selection yet, so that
// the page's value never reads an unselected list.
QZRESULT LMoveableControlEditPanel::OnPageSelected(const RCPtr<LNotificationDistributor>&,
                                                   const RCPtr<LNotification>&)
{
    if (mShowing)
    {
        return 1;
    }
    if (const std::optional<MoveablePage> page = GetShownPage())
    {
        const QuietScope quiet(mShowing);
        for (const RCPtr<LComboBox>& list : GetLists(*page))
        {
            if (list->GetSelectedIndex() < 0)
            {
                list->SetSelectedIndex(0);
            }
        }
    }
    Report();
    return 1;
}

// Not while filling, and not while the page shown has a list without selection: its value would
// carry no channel or type.
void LMoveableControlEditPanel::Report()
{
    if (mShowing)
    {
        return;
    }
    if (const std::optional<MoveablePage> page = GetShownPage())
    {
        for (const RCPtr<LComboBox>& list : GetLists(*page))
        {
            if (list->GetSelectedIndex() < 0)
            {
                return;
            }
        }
    }
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_PARAMETERS_CHANGED);
    Distribute(notification);
}

// ---- the value ----

RCPtr<LComboBox> LMoveableControlEditPanel::GetTypeList(MoveablePage page) const
{
    switch (page)
    {
    case MoveablePage::CCRelative:
        return mRelativeType;
    case MoveablePage::NrpnRpn:
        return mRpnType;
    case MoveablePage::Other:
        return mOtherType;
    case MoveablePage::CCAbsolute:
        break;
    }
    return nullptr;
}

std::vector<RCPtr<LComboBox>> LMoveableControlEditPanel::GetLists(MoveablePage page) const
{
    std::vector<RCPtr<LComboBox>> lists{mChannels[static_cast<std::size_t>(page)]};
    if (RCPtr<LComboBox> type = GetTypeList(page))
    {
        lists.push_back(type);
    }
    return lists;
}

std::optional<MoveablePage> LMoveableControlEditPanel::GetShownPage() const
{
    for (std::size_t i = 0; mTabs && i < kMoveablePageNames.size(); ++i)
    {
        if (mTabs->GetSelectedName() == WideString(kMoveablePageNames[i]))
        {
            return static_cast<MoveablePage>(i);
        }
    }
    return std::nullopt;
}

std::int32_t LMoveableControlEditPanel::SetParamValues(const Array<signed char>& values)
{
    if (values.GetCount() != kMoveableValueSize || !mTabs)
    {
        return E_INVALIDARG;
    }
    {
        const QuietScope quiet(mShowing);
        mShown = values;
        const MoveableAssignment shown = DecodeMoveableAssignment(values);
        for (const RCPtr<LComboBox>& channel : mChannels)
        {
            channel->SetSelectedIndex(shown.channel);
        }
        mTabs->SelectTab(WideString(kMoveablePageNames[static_cast<std::size_t>(shown.page)]));
        FillPage(shown);
    }
    if (!mRegistered)
    {
        mRegistered = true;
        RegisterForAllParameterNotifications();
    }
    return S_OK;
}

// A type or channel that no list item stands for leaves that list without selection.
void LMoveableControlEditPanel::FillPage(const MoveableAssignment& shown)
{
    if (const RCPtr<LComboBox> type = GetTypeList(shown.page))
    {
        type->SetSelectedIndex(shown.choice);
    }
    switch (shown.page)
    {
    case MoveablePage::CCAbsolute:
    case MoveablePage::CCRelative:
        for (const RCPtr<LNumericUpDown>& number : mNumbers)
        {
            SetNumber(number, shown.number);
        }
        if (shown.page == MoveablePage::CCAbsolute)
        {
            SetNumber(mMinimums[0], shown.low);
            SetNumber(mMaximums[0], shown.high);
        }
        return;
    case MoveablePage::NrpnRpn:
        SetNumber(mLSB, shown.low);
        SetNumber(mMSB, shown.high);
        return;
    case MoveablePage::Other:
        SetNumber(mMinimums[1], shown.low);
        SetNumber(mMaximums[1], shown.high);
        return;
    }
}

Array<signed char> LMoveableControlEditPanel::GetParamValues() const
{
    const std::optional<MoveablePage> page = GetShownPage();
    if (!page)
    {
        return Array<signed char>(kMoveableValueSize);
    }
    MoveableAssignment read;
    read.page = *page;
    read.channel = mChannels[static_cast<std::size_t>(*page)]->GetSelectedIndex();
    if (const RCPtr<LComboBox> type = GetTypeList(*page))
    {
        read.choice = type->GetSelectedIndex();
    }
    switch (*page)
    {
    case MoveablePage::CCAbsolute:
        read.number = GetNumber(mNumbers[0]);
        read.low = GetNumber(mMinimums[0]);
        read.high = GetNumber(mMaximums[0]);
        break;
    case MoveablePage::CCRelative:
        read.number = GetNumber(mNumbers[1]);
        break;
    case MoveablePage::NrpnRpn:
        read.low = GetNumber(mLSB);
        read.high = GetNumber(mMSB);
        break;
    case MoveablePage::Other:
        read.low = GetNumber(mMinimums[1]);
        read.high = GetNumber(mMaximums[1]);
        break;
    }
    return EncodeMoveableAssignment(read, mShown);
}

} // namespace QZ
