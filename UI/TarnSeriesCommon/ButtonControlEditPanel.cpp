#include "UI/TarnSeriesCommon/ButtonControlEditPanel.h"

#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Controls/TabControl.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/QuietScope.h"

#include <initializer_list>

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LButtonControlEditPanel::Initialize";
constexpr const char* kRegister = "LButtonControlEditPanel::RegisterForAllParameterNotifications";
constexpr const char* kMissingCaption = "couldn't find child ccValue1 child Label";
constexpr double kHighestNumber = 127.0;
constexpr std::int32_t kMMCEntries = 12;
constexpr std::int32_t kMMCOtherIndex = 12;

// Captions of the four cycle values: first, last, and the second and third of longer cycles.
constexpr std::array<const char16_t*, 4> kCCCaptions{u"VALUE1_LABEL", u"VALUE2_LABEL",
                                                     u"VALUE3_LABEL", u"VALUE4_LABEL"};
constexpr std::array<const char16_t*, 4> kProgramCaptions{u"PROGRAM1_LABEL", u"PROGRAM2_LABEL",
                                                          u"PROGRAM3_LABEL", u"PROGRAM4_LABEL"};

// The descendant along the path of direct children, as T; throws when any step is missing.
template <class T>
RCPtr<T> Require(const RCPtr<LControl>& from, std::initializer_list<const char16_t*> path,
                 const char* detail, const char* method = kInitialize)
{
    return RequireChild<T>(from, path, method, detail);
}

void SetNumber(const RCPtr<LNumericUpDown>& control, std::int32_t number)
{
    control->SetValue(control->ValueToPosition(number));
}

std::int32_t GetNumber(const RCPtr<LNumericUpDown>& control)
{
    return static_cast<std::int32_t>(control->PositionToValue(control->GetValue()));
}

void SetCaption(const RCPtr<LControl>& caption, const char16_t* key)
{
    WideString text;
    caption->SetText(caption->GetString(text, key), true);
}

} // namespace

LButtonControlEditPanel::LButtonControlEditPanel(const RCPtr<LControl>& parent,
                                                 const WideString& name, bool mostDerived)
    : LPanel(parent, name, mostDerived)
{
}

LButtonControlEditPanel::~LButtonControlEditPanel() = default;

QZRESULT LButtonControlEditPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    mOnOffFollowsLatching = false;
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LButtonControlEditPanel>(this);
    mTabs = Require<LTabControl>(RCPtr<LControl>(this), {u"tabControl"},
                                 "Couldn't find child tabControl");
    FindCCPages();
    FindProgramPages();
    FindNotePage();
    FindListPages();
    FindChannelLists();
    RegisterForAllParameterNotifications();
    return result;
}

QZRESULT LButtonControlEditPanel::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mTabs = nullptr;
    mChannels.clear();
    mControllers = {};
    mPressed = mReleased = mCCMin = mCCMax = nullptr;
    mCCCycle = {};
    mProgramCycle = {};
    mCCIncDec = mProgramIncDec = mMMC = mRpnNrpn = mOtherType = nullptr;
    mProgram = mBankLSB = mBankMSB = mProgramMin = mProgramMax = nullptr;
    mLatching = nullptr;
    mNote = mOn = mOff = mParameterLSB = mParameterMSB = mDataValue = mOtherValue = nullptr;
    mOnOffSelectors = nullptr;
    return LPanel::ReleaseInternalReferences();
}

void LButtonControlEditPanel::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                                  const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LPanel::ReceiveNotification(sender, notification);
}

QZRESULT LButtonControlEditPanel::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                              const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LPanel::Unsubscribe(distributor, identifier);
}

// ---- finding the selectors ----

RCPtr<LControl> LButtonControlEditPanel::RequirePage(const char16_t* name, const char* detail) const
{
    return Require<LControl>(mTabs->GetPage(WideString(name)), {}, detail);
}

void LButtonControlEditPanel::FindCCPages()
{
    const RCPtr<LControl> absolute =
        RequirePage(u"ccAbsolutePage", "Couldn't find ccAbsolutePage (Tabbed Control Page)");
    mControllers[0] = Require<LNumericUpDown>(absolute, {u"cc", u"ccSelector", u"numericUpDown"},
                                              "couldn't find child cc");
    mPressed = Require<LNumericUpDown>(absolute,
                                       {u"pressedReleasedSelectors", u"pressed", u"numericUpDown"},
                                       "couldn't find child pressed");
    mReleased = Require<LNumericUpDown>(
        absolute, {u"pressedReleasedSelectors", u"released", u"numericUpDown"},
        "couldn't find child released");

    const RCPtr<LControl> cycle = RequirePage(u"ccCyclePage", "Failed to find cc Cycle page");
    mControllers[1] = Require<LNumericUpDown>(cycle, {u"cc", u"ccSelector", u"numericUpDown"},
                                              "couldn't find child cc");
    constexpr std::array<const char16_t*, 4> names{u"ccValue1", u"ccValue2", u"ccValue3",
                                                   u"ccValue4"};
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        mCCCycle.holders[i] = Require<LControl>(cycle, {names[i]}, "couldn't find child ccValue");
        mCCCycle.values[i] = Require<LNumericUpDown>(cycle, {names[i], u"numericUpDown"},
                                                     "couldn't find child ccValue");
    }
    mCCCycle.type =
        Require<LComboBox>(cycle, {u"cycleType", u"comboBox"}, "couldn't find child cycleType");
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        mCCCycle.captions[i] =
            Require<LControl>(cycle, {names[i], u"controlNameLabel"}, kMissingCaption);
        SetCaption(mCCCycle.captions[i], kCCCaptions[i]);
    }

    const RCPtr<LControl> incDec = RequirePage(u"ccIncDecPage", "Couldn't find ccIncDecPage");
    mCCIncDec =
        Require<LComboBox>(incDec, {u"incDec", u"comboBox"}, "couldn't find incDecType comboBox");
    mControllers[2] = Require<LNumericUpDown>(incDec, {u"cc", u"ccSelector", u"numericUpDown"},
                                              "couldn't find child cc");
    mCCMin = Require<LNumericUpDown>(incDec, {u"minMaxSelectors", u"min", u"numericUpDown"},
                                     "couldn't find child min");
    mCCMax = Require<LNumericUpDown>(incDec, {u"minMaxSelectors", u"max", u"numericUpDown"},
                                     "couldn't find child max");
}

void LButtonControlEditPanel::FindProgramPages()
{
    const RCPtr<LControl> cycle = RequirePage(u"programCyclePage", "Failed to find cc Cycle page");
    constexpr std::array<const char16_t*, 4> names{u"program1", u"program2", u"program3",
                                                   u"program4"};
    constexpr std::array<const char*, 4> missing{
        "couldn't find child program1", "couldn't find child program2",
        "couldn't find child program3", "couldn't find child program4"};
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        mProgramCycle.holders[i] = Require<LControl>(cycle, {names[i]}, missing[i]);
        mProgramCycle.values[i] =
            Require<LNumericUpDown>(cycle, {names[i], u"numericUpDown"}, missing[i]);
    }
    mProgramCycle.type =
        Require<LComboBox>(cycle, {u"cycleType", u"comboBox"}, "couldn't find child cycleType");
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        mProgramCycle.captions[i] =
            Require<LControl>(cycle, {names[i], u"controlNameLabel"}, kMissingCaption);
        SetCaption(mProgramCycle.captions[i], kProgramCaptions[i]);
    }

    const RCPtr<LControl> incDec =
        RequirePage(u"programIncDecPage", "Couldn't find programIncDecPage");
    mProgramMin = Require<LNumericUpDown>(incDec, {u"minMaxSelectors", u"min", u"numericUpDown"},
                                          "couldn't find child min");
    mProgramMax = Require<LNumericUpDown>(incDec, {u"minMaxSelectors", u"max", u"numericUpDown"},
                                          "couldn't find child max");
    mProgramIncDec = Require<LComboBox>(incDec, {u"incDecType", u"comboBox"},
                                        "couldn't find incDecType comboBox");

    const RCPtr<LControl> program = RequirePage(u"programPage", "Couldn't find programPage");
    mProgram = Require<LNumericUpDown>(program, {u"program", u"numericUpDown"},
                                       "couldn't find child program");
    mBankLSB = Require<LNumericUpDown>(program, {u"msbLSBSelectors", u"lsb", u"numericUpDown"},
                                       "Failed to find child: LSB");
    mBankMSB = Require<LNumericUpDown>(program, {u"msbLSBSelectors", u"msb", u"numericUpDown"},
                                       "Failed to find child: MSB");
}

void LButtonControlEditPanel::FindNotePage()
{
    const RCPtr<LControl> page =
        RequirePage(u"notePage", "Couldn't find notePage (Tabbed Control Page)");
    mLatching = Require<LButton>(page, {u"latching", u"button"}, "Couldn't find latiching");
    mLatching->SetAutoValueSet(true);
    mNote = Require<LNumericUpDown>(page, {u"note", u"noteSelector", u"numericUpDown"},
                                    "couldn't find child note");
    mOnOffSelectors = Require<LControl>(page, {u"onOffSelectors"}, "couldn't find child on");
    mOn = Require<LNumericUpDown>(page, {u"onOffSelectors", u"on", u"numericUpDown"},
                                  "couldn't find child on");
    mOff = Require<LNumericUpDown>(page, {u"onOffSelectors", u"off", u"numericUpDown"},
                                   "couldn't find child off");
}

void LButtonControlEditPanel::FindListPages()
{
    const RCPtr<LControl> mmc =
        RequirePage(u"mmcPage", "Couldn't find mmcPage (Tabbed Control Page)");
    mMMC = Require<LComboBox>(mmc, {u"mmc", u"comboBox"}, "Couldn't find MMC NumericUpDown");

    const RCPtr<LControl> rpn = RequirePage(u"nrpnRpnPage", "Couldn't find nrpnRpnPage");
    mRpnNrpn = Require<LComboBox>(rpn, {u"NrpnRpn", u"comboBox"}, "Failed to find child: type ");
    mParameterMSB = Require<LNumericUpDown>(rpn, {u"msbLSBSelectors", u"msb", u"numericUpDown"},
                                            "Failed to find child: MSB");
    mParameterLSB = Require<LNumericUpDown>(rpn, {u"msbLSBSelectors", u"lsb", u"numericUpDown"},
                                            "Failed to find child: LSB");
    mDataValue =
        Require<LNumericUpDown>(rpn, {u"value", u"numericUpDown"}, "Failed to find child: value ");

    const RCPtr<LControl> other = RequirePage(u"otherPage", "can not find child otherPage");
    mOtherType = Require<LComboBox>(other, {u"type", u"comboBox"}, "can not find child otherPage");
    mOtherValue =
        Require<LNumericUpDown>(other, {u"value", u"numericUpDown"}, "can not find child value");
}

void LButtonControlEditPanel::FindChannelLists()
{
    for (std::uint32_t i = 0; i < mTabs->GetTabCount(); ++i)
    {
        mChannels.push_back(Require<LComboBox>(mTabs->GetPageAt(i), {u"midiChannel", u"comboBox"},
                                               "couldn't find child midiChannel"));
    }
}

// ---- subscriptions ----

void LButtonControlEditPanel::RegisterForAllParameterNotifications()
{
    const auto add = [this](auto method, const RCPtr<LNotificationDistributor>& distributor,
                            const char16_t* identifier)
    {
        const QZRESULT result = mHandler->AddHandler(method, distributor, identifier, 0);
        if (Failed(result))
        {
            QZ_THROW_FAILED_RESULT(result, kRegister);
        }
    };
    std::vector<RCPtr<LNumericUpDown>> values{
        mPressed,      mReleased,     mCCMin,      mCCMax,     mProgram, mBankLSB,
        mBankMSB,      mProgramMin,   mProgramMax, mNote,      mOn,      mOff,
        mParameterLSB, mParameterMSB, mDataValue,  mOtherValue};
    values.insert(values.end(), mControllers.begin(), mControllers.end());
    values.insert(values.end(), mCCCycle.values.begin(), mCCCycle.values.end());
    values.insert(values.end(), mProgramCycle.values.begin(), mProgramCycle.values.end());
    for (const RCPtr<LNumericUpDown>& value : values)
    {
        if (Failed(value->SetValueRange(0.0, kHighestNumber, 0)))
        {
            QZ_THROW_RUNTIME(kInitialize, "Invalid range");
        }
        add(&LButtonControlEditPanel::OnSelectorChanged, RCPtr<LNotificationDistributor>(value),
            NID_VALUE_CHANGE);
    }
    std::vector<RCPtr<LComboBox>> lists{mCCIncDec, mProgramIncDec, mMMC, mRpnNrpn, mOtherType};
    lists.insert(lists.end(), mChannels.begin(), mChannels.end());
    for (const RCPtr<LComboBox>& list : lists)
    {
        add(&LButtonControlEditPanel::OnSelectorChanged, RCPtr<LNotificationDistributor>(list),
            NID_SELECTION_CHANGE);
    }
    add(&LButtonControlEditPanel::OnCCCycleTypeChanged,
        RCPtr<LNotificationDistributor>(mCCCycle.type), NID_SELECTION_CHANGE);
    add(&LButtonControlEditPanel::OnProgramCycleTypeChanged,
        RCPtr<LNotificationDistributor>(mProgramCycle.type), NID_SELECTION_CHANGE);
    // The latching button sets its own value on a click, so its value change alone reports it.
    add(&LButtonControlEditPanel::OnSelectorChanged, RCPtr<LNotificationDistributor>(mLatching),
        NID_VALUE_CHANGE);
    add(&LButtonControlEditPanel::OnSelectorChanged, RCPtr<LNotificationDistributor>(mTabs),
        NID_TAB_SELECTED);
}

QZRESULT LButtonControlEditPanel::OnSelectorChanged(const RCPtr<LNotificationDistributor>&,
                                                    const RCPtr<LNotification>&)
{
    Report();
    return 1;
}

QZRESULT LButtonControlEditPanel::OnCCCycleTypeChanged(const RCPtr<LNotificationDistributor>&,
                                                       const RCPtr<LNotification>&)
{
    UpdateCCCycleTypeVisibleParameters();
    Report();
    return 1;
}

QZRESULT LButtonControlEditPanel::OnProgramCycleTypeChanged(const RCPtr<LNotificationDistributor>&,
                                                            const RCPtr<LNotification>&)
{
    UpdateProgramCycleTypeVisibleParameters();
    Report();
    return 1;
}

void LButtonControlEditPanel::Report()
{
    if (mShowing)
    {
        return;
    }
    RCPtr<LNotification> notification;
    LNotification::Create(notification, NID_PARAMETERS_CHANGED);
    Distribute(notification);
}

// ---- showing a block ----

void LButtonControlEditPanel::SetValues(ButtonAssignmentBlock& block)
{
    if (block.GetCount() != kButtonBlockSize || !mTabs)
    {
        return;
    }
    NormalizeButtonModeValues(block);
    mShown = block;
    const ButtonAssignment shown = DecodeButtonAssignment(block);
    const QuietScope quiet(mShowing);
    for (const RCPtr<LComboBox>& channel : mChannels)
    {
        channel->SetSelectedIndex(shown.channel);
    }
    FillPage(shown);
    mTabs->SelectTab(WideString(GetButtonPageName(shown.page)));
}

void LButtonControlEditPanel::FillPage(const ButtonAssignment& shown)
{
    switch (shown.page)
    {
    case ButtonPage::CCAbsolute:
        for (const RCPtr<LNumericUpDown>& controller : mControllers)
        {
            SetNumber(controller, shown.number);
        }
        SetNumber(mPressed, shown.high);
        SetNumber(mReleased, shown.low);
        return;
    case ButtonPage::CCCycle:
        for (const RCPtr<LNumericUpDown>& controller : mControllers)
        {
            SetNumber(controller, shown.number);
        }
        FillCycle(mCCCycle, shown);
        UpdateCCCycleTypeVisibleParameters();
        return;
    case ButtonPage::CCIncDec:
        mCCIncDec->SetSelectedIndex(shown.choice);
        for (const RCPtr<LNumericUpDown>& controller : mControllers)
        {
            SetNumber(controller, shown.number);
        }
        SetNumber(mCCMin, shown.low);
        SetNumber(mCCMax, shown.high);
        return;
    case ButtonPage::Program:
        SetNumber(mProgram, shown.number);
        SetNumber(mBankLSB, shown.low);
        SetNumber(mBankMSB, shown.high);
        return;
    case ButtonPage::ProgramCycle:
        FillCycle(mProgramCycle, shown);
        UpdateProgramCycleTypeVisibleParameters();
        return;
    case ButtonPage::ProgramIncDec:
        mProgramIncDec->SetSelectedIndex(shown.choice);
        SetNumber(mProgramMin, shown.low);
        SetNumber(mProgramMax, shown.high);
        return;
    case ButtonPage::Note:
        FillNote(shown);
        return;
    case ButtonPage::MMC:
        FillMMC(shown);
        return;
    case ButtonPage::NrpnRpn:
        mRpnNrpn->SetSelectedIndex(shown.choice);
        SetNumber(mParameterMSB, shown.high);
        SetNumber(mParameterLSB, shown.low);
        SetNumber(mDataValue, shown.number);
        return;
    case ButtonPage::Other:
        mOtherType->SetSelectedIndex(shown.choice);
        SetNumber(mOtherValue, shown.low);
        return;
    }
}

void LButtonControlEditPanel::FillCycle(Cycle& cycle, const ButtonAssignment& shown)
{
    SetNumber(cycle.values[0], shown.low);
    const std::int32_t last = shown.choice + 1;
    if (last > 1)
    {
        SetNumber(cycle.values[1], shown.second);
    }
    if (last > 2)
    {
        SetNumber(cycle.values[2], shown.third);
    }
    SetNumber(cycle.values[static_cast<std::size_t>(last)], shown.high);
    cycle.type->SetSelectedIndex(shown.choice);
}

void LButtonControlEditPanel::FillNote(const ButtonAssignment& shown)
{
    const bool latching = shown.choice == 1;
    mLatching->SetValue(latching ? 1.0 : 0.0);
    if (mOnOffFollowsLatching)
    {
        mOnOffSelectors->SetShown(latching);
    }
    SetNumber(mOff, shown.low);
    SetNumber(mOn, shown.high);
    SetNumber(mNote, shown.number);
}

// A command without an entry shows "Other", appended for as long as such a block is shown.
void LButtonControlEditPanel::FillMMC(const ButtonAssignment& shown)
{
    mMMC->SetItemCount(kMMCEntries);
    if (shown.choice == kMMCOtherIndex)
    {
        WideString other;
        mMMC->AddItem(mMMC->GetString(other, u"ITEM.12"));
    }
    mMMC->SetSelectedIndex(shown.choice);
}

void LButtonControlEditPanel::UpdateCCCycleTypeVisibleParameters()
{
    UpdateCycle(mCCCycle, kCCCaptions.data());
}

void LButtonControlEditPanel::UpdateProgramCycleTypeVisibleParameters()
{
    UpdateCycle(mProgramCycle, kProgramCaptions.data());
}

// Values 2 to 4 show as the cycle is long; the last one shown is captioned "LAST" (key 2), the
// ones before it "VALUE 2" and "VALUE 3" (keys 3 and 4).
void LButtonControlEditPanel::UpdateCycle(Cycle& cycle, const char16_t* const* keys)
{
    const std::int32_t choice = cycle.type ? cycle.type->GetSelectedIndex() : -1;
    if (choice < 0 || choice > 2)
    {
        return;
    }
    const std::size_t last = static_cast<std::size_t>(choice) + 1;
    for (std::size_t i = 1; i < cycle.holders.size(); ++i)
    {
        cycle.holders[i]->SetShown(i <= last);
        if (i <= last)
        {
            SetCaption(cycle.captions[i], i == last ? keys[1] : keys[i + 1]);
        }
    }
}

// ---- reading a block ----

ButtonAssignmentBlock LButtonControlEditPanel::GetValues() const
{
    const std::optional<ButtonPage> page =
        mTabs ? FindButtonPage(mTabs->GetSelectedName().ToNarrowString().GetString())
              : std::nullopt;
    const std::int32_t tab = mTabs ? mTabs->GetSelectedIndex() : -1;
    const std::int32_t channel = tab >= 0 && static_cast<std::size_t>(tab) < mChannels.size()
                                     ? mChannels[static_cast<std::size_t>(tab)]->GetSelectedIndex()
                                     : -1;
    if (!page)
    {
        ButtonAssignmentBlock block(kButtonBlockSize);
        block.GetAt(0) = static_cast<signed char>(ByteFromListIndex(
            channel, kChannelListCount,
            mShown.GetCount() == kButtonBlockSize ? static_cast<std::uint8_t>(mShown.GetAt(0))
                                                  : 0));
        return block;
    }
    ButtonAssignment read = ReadPage(*page);
    read.channel = channel;
    return EncodeButtonAssignment(read, mShown);
}

ButtonAssignment LButtonControlEditPanel::ReadPage(ButtonPage page) const
{
    ButtonAssignment read;
    read.page = page;
    const auto readCycle = [&read](const Cycle& cycle)
    {
        read.choice = cycle.type->GetSelectedIndex();
        read.low = GetNumber(cycle.values[0]);
        read.second = GetNumber(cycle.values[1]);
        read.third = GetNumber(cycle.values[2]);
        const std::size_t last = read.choice == 0 ? 1 : read.choice == 1 ? 2 : 3;
        read.high = GetNumber(cycle.values[last]);
    };
    switch (page)
    {
    case ButtonPage::CCAbsolute:
        read.number = GetNumber(mControllers[0]);
        read.high = GetNumber(mPressed);
        read.low = GetNumber(mReleased);
        break;
    case ButtonPage::CCCycle:
        read.number = GetNumber(mControllers[1]);
        readCycle(mCCCycle);
        break;
    case ButtonPage::CCIncDec:
        read.choice = mCCIncDec->GetSelectedIndex();
        read.number = GetNumber(mControllers[2]);
        read.low = GetNumber(mCCMin);
        read.high = GetNumber(mCCMax);
        break;
    case ButtonPage::Program:
        read.number = GetNumber(mProgram);
        read.low = GetNumber(mBankLSB);
        read.high = GetNumber(mBankMSB);
        break;
    case ButtonPage::ProgramCycle:
        readCycle(mProgramCycle);
        break;
    case ButtonPage::ProgramIncDec:
        read.choice = mProgramIncDec->GetSelectedIndex();
        read.low = GetNumber(mProgramMin);
        read.high = GetNumber(mProgramMax);
        break;
    case ButtonPage::Note:
        read.choice = mLatching->GetValue() == 0.0 ? 0 : 1;
        read.number = GetNumber(mNote);
        read.low = GetNumber(mOff);
        read.high = GetNumber(mOn);
        break;
    case ButtonPage::MMC:
        read.choice = mMMC->GetSelectedIndex();
        break;
    case ButtonPage::NrpnRpn:
        read.choice = mRpnNrpn->GetSelectedIndex();
        read.number = GetNumber(mDataValue);
        read.low = GetNumber(mParameterLSB);
        read.high = GetNumber(mParameterMSB);
        break;
    case ButtonPage::Other:
        read.choice = mOtherType->GetSelectedIndex();
        read.low = GetNumber(mOtherValue);
        break;
    }
    return read;
}

} // namespace QZ
