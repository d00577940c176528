#include "UI/TarnSeriesCommon/ButtonEditPanel.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/IRootModule.h"
#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/TabControl.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "UI/TarnSeriesCommon/ButtonControlEditPanel.h"
#include "UI/TarnSeriesCommon/ColourLists.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/NumberText.h"
#include "UI/TarnSeriesCommon/QuietScope.h"

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LButtonEditPanel::Initialize";
constexpr std::uint32_t kButtonsPerBank = 9;
constexpr std::uint32_t kButtonCount = 36;
constexpr std::size_t kKeyColourByte = 14;
constexpr std::size_t kKeyByte = 15;
constexpr std::size_t kModifierByte = 16;

RCPtr<LComboBox> RequireList(const RCPtr<LControl>& page, const char16_t* selector,
                             const char* detail)
{
    const RCPtr<LControl> holder = page ? page->FindChildByName(WideString(selector)) : nullptr;
    auto list = RCPtr<LComboBox>::DynamicCastFrom(
        holder ? holder->FindChildByName(WideString(u"comboBox")) : nullptr);
    if (!list)
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", detail);
    }
    return list;
}

void SetLabel(LControl& owner, const char16_t* name, const char* missing, std::uint32_t number)
{
    const RCPtr<LControl> label = owner.FindChildByName(WideString(name));
    if (!label)
    {
        QZ_THROW_RUNTIME("LButtonEditPanel::SetButtonLabelText", "Null Pointer", missing);
    }
    WideString text;
    label->SetText(FormatNumberText(label->GetString(text, u"LABEL"), number), true);
}

// A list's selection as the value byte: the stored byte when the list shows nothing.
std::uint8_t Selected(const RCPtr<LComboBox>& list, std::int32_t count, std::uint8_t stored)
{
    return ByteFromListIndex(list->GetSelectedIndex(), count, stored);
}

} // namespace

LButtonEditPanel::LButtonEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                                   bool mostDerived)
    : LPanel(parent, name, mostDerived), IPushButton(1)
{
}

LButtonEditPanel::~LButtonEditPanel() = default;

QZRESULT LButtonEditPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHandler = new LNotificationHandler<LButtonEditPanel>(this);
    if (!FindChildByName(WideString(u"buttonName")))
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", "Couldn't find child ButtonName");
    }
    const auto tabs =
        RCPtr<LTabControl>::DynamicCastFrom(FindChildByName(WideString(u"viewTabControl")));
    if (!tabs)
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", "Cannot find child viewTabControl");
    }
    mEditor =
        RCPtr<LButtonControlEditPanel>::DynamicCastFrom(tabs->GetPage(WideString(u"midiPage")));
    if (!mEditor)
    {
        QZ_THROW_RUNTIME(kInitialize, "Null Pointer", "Couldn't find child buttonTypePanel");
    }
    Listen(RCPtr<LNotificationDistributor>(mEditor.Get()), NID_PARAMETERS_CHANGED);
    const RCPtr<LControl> colours = tabs->GetPage(WideString(u"colorPage"));
    mColours = RequireColourLists(colours, kInitialize);
    mKeyColour = RequireList(colours, u"asciiColor", "Couldn't find child asciiColor");
    const RCPtr<LControl> keys = tabs->GetPage(WideString(u"asciiPage"));
    mKey = RequireList(keys, u"key", "Couldn't find child key");
    mModifier = RequireList(keys, u"modifierKey", "Couldn't find child modifierKey");
    for (const RCPtr<LComboBox>& list :
         {mColours[0], mColours[1], mColours[2], mColours[3], mKeyColour, mKey, mModifier})
    {
        Listen(RCPtr<LNotificationDistributor>(list.Get()), NID_SELECTION_CHANGE);
    }
    CaptionColourLists(*this);
    return result;
}

QZRESULT LButtonEditPanel::ReleaseInternalReferences()
{
    mHandler = nullptr;
    mEditor = nullptr;
    mColours = {};
    mKeyColour = mKey = mModifier = nullptr;
    return LPanel::ReleaseInternalReferences();
}

void LButtonEditPanel::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                           const RCPtr<LNotification>& notification)
{
    if (mHandler && notification && mHandler->Handles(sender, notification->GetID()))
    {
        mHandler->HandleNotification(sender, notification);
        return;
    }
    LPanel::ReceiveNotification(sender, notification);
}

QZRESULT LButtonEditPanel::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                       const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LPanel::Unsubscribe(distributor, identifier);
}

void LButtonEditPanel::Listen(const RCPtr<LNotificationDistributor>& distributor,
                              const char16_t* identifier)
{
    const QZRESULT result =
        mHandler->AddHandler(&LButtonEditPanel::OnEditorChange, distributor, identifier, 0);
    if (Failed(result))
    {
        QZ_THROW_FAILED_RESULT(result, kInitialize);
    }
}

void LButtonEditPanel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                       std::uint32_t index)
{
    mHoldsBoundValue = false;
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    static_cast<void>(ShowEngineValue(*this));
    SetButtonLabelText(index);
}

void LButtonEditPanel::SetButtonLabelText(std::uint32_t index)
{
    if (index >= kButtonCount)
    {
        return;
    }
    SetLabel(*this, u"buttonName", "Couldn't find child buttonName", index % kButtonsPerBank + 1);
    SetLabel(*this, u"bankName", "Couldn't find child bankName", index / kButtonsPerBank + 1);
}

std::int32_t LButtonEditPanel::SetParamValueLocal(const ParamDescriptor& descriptor,
                                                  const Variant& value, bool)
{
    const std::optional<ButtonValueBytes> bytes = ReadButtonValue(value);
    if (descriptor.mParamID != mFirstParamID || !bytes || !mEditor)
    {
        return E_FAIL;
    }
    mValue = *bytes;
    {
        const QuietScope quiet(mShowing);
        ButtonAssignmentBlock block = SplitButtonBlock(mValue);
        mEditor->SetValues(block);
        for (std::size_t k = 0; k < mColours.size(); ++k)
        {
            mColours[k]->SetSelectedIndex(ListIndexFromByte(mValue[k + 1], kButtonColourListCount));
        }
        mKeyColour->SetSelectedIndex(
            ListIndexFromByte(mValue[kKeyColourByte], kButtonColourListCount));
        mKey->SetSelectedIndex(KeyIndexFromByte(mValue[kKeyByte]));
        mModifier->SetSelectedIndex(ListIndexFromByte(mValue[kModifierByte], kModifierListCount));
    }
    mHoldsBoundValue = true;
    SetParamValue(descriptor, value);
    return 0;
}

QZRESULT LButtonEditPanel::OnEditorChange(const RCPtr<LNotificationDistributor>&,
                                          const RCPtr<LNotification>&)
{
    RCPtr<LControl> root;
    GetRootControl(root);
    auto* main = dynamic_cast<IRootModule*>(root.Get());
    if (mShowing || !mHoldsBoundValue || main == nullptr || !mEditor)
    {
        return 1;
    }
    ButtonValueBytes bytes = mValue;
    if (!JoinButtonBlock(bytes, mEditor->GetValues()))
    {
        return 1;
    }
    for (std::size_t k = 0; k < mColours.size(); ++k)
    {
        bytes[k + 1] = Selected(mColours[k], kButtonColourListCount, mValue[k + 1]);
    }
    bytes[kKeyColourByte] = Selected(mKeyColour, kButtonColourListCount, mValue[kKeyColourByte]);
    bytes[kKeyByte] = KeyByteFromIndex(mKey->GetSelectedIndex(), mValue[kKeyByte]);
    bytes[kModifierByte] = Selected(mModifier, kModifierListCount, mValue[kModifierByte]);
    mValue = bytes;
    main->SendParamValue(ParamDescriptor(mFirstParamID), MakeButtonValue(bytes));
    return 1;
}

} // namespace QZ
