#include "QZFramework/Notification/ConditionsParam.h"
#include "QZFramework/Notification/MouseButtonParam.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationID.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Notification/ValueParam.h"
#include "QZFramework/Notification/tests/TestReceivers.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace QZ
{
namespace
{

using test::Make;
using test::TrackedPayload;

// Every test leaves pooling off, as a process starts.
class NotificationPooling : public testing::Test
{
protected:
    void TearDown() override { LNotification::EnablePooling(false); }
};

// Interning gives one pointer per exact text; null and empty texts intern nothing, and a pointer
// that was never interned has no text.
TEST(NotificationID, InterningGivesOnePointerPerText)
{
    const char16_t* first = GetNotificationID(u"NID_VALUE_CHANGE");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetNotificationID(u"NID_VALUE_CHANGE"), first);
    EXPECT_EQ(GetNotificationID(first), first);
    EXPECT_NE(GetNotificationID(u"nid_value_change"), first);
    EXPECT_TRUE(GetNotificationIDString(first) == u"NID_VALUE_CHANGE");

    const std::size_t count = GetNotificationIDCount();
    EXPECT_EQ(GetNotificationID(nullptr), nullptr);
    EXPECT_EQ(GetNotificationID(u""), nullptr);
    EXPECT_EQ(GetNotificationIDCount(), count);
    const char16_t text[] = u"NID_NOT_INTERNED_HERE";
    EXPECT_TRUE(GetNotificationIDString(text).IsEmpty());
}

TEST(NotificationID, VocabularyKeepsTheProgramsSpellings)
{
    EXPECT_EQ(std::u16string(NID_MIDIMANAGER_PARAMETER_RECIEVED),
              u"NID_MIDIMANAGER_PARAMETER_RECIEVED");
    EXPECT_EQ(std::u16string(NID_VISIBLITY_CONDITION_CHANGE), u"NID_VISIBLITY_CONDITION_CHANGE");
    EXPECT_EQ(std::u16string(NID_MENU_FILE_GLOBALSETTINGS_REQ),
              u"NID_MENU_FILE_GLOBALSETTINGS_REQ");
    const std::set<const char16_t*> distinct = {
        GetNotificationID(NID_APP_EXIT_REQ), GetNotificationID(NID_IDLE),
        GetNotificationID(NID_VALUE_CHANGE), GetNotificationID(NID_VALUE_CHANGE_CAPTURE),
        GetNotificationID(NID_BUTTON_TOGGLE_DIALOG_BUTTON)};
    EXPECT_EQ(distinct.size(), 5u);
}

TEST_F(NotificationPooling, NullOrEmptyIdentifierGivesNoNotification)
{
    for (bool pooling : {false, true})
    {
        LNotification::EnablePooling(pooling);
        Make(NID_IDLE);
        RCPtr<LNotification> out = Make(NID_IDLE);
        LNotification::Create(out, nullptr);
        EXPECT_TRUE(out.IsNull());
        out = Make(NID_IDLE);
        LNotification::Create(out, u"");
        EXPECT_TRUE(out.IsNull());
    }
}

TEST_F(NotificationPooling, ReleasedNotificationIsHandedOutAgain)
{
    LNotification::EnablePooling(true);
    int destroyed = 0;
    const LNotification* first = nullptr;
    {
        const RCPtr<LNotification> notification =
            Make(NID_VALUE_CHANGE, RCPtr<LRefCountedObject>(new TrackedPayload(&destroyed)));
        first = notification.Get();
        EXPECT_EQ(notification->GetID(), GetNotificationID(u"NID_VALUE_CHANGE"));
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_GE(LNotification::GetPoolSize(), 1u);

    const RCPtr<LRefCountedObject> payload(new TrackedPayload(&destroyed));
    const RCPtr<LNotification> again = Make(NID_LEFT_CLICK, payload);
    EXPECT_EQ(again.Get(), first);
    EXPECT_EQ(again->GetID(), GetNotificationID(u"NID_LEFT_CLICK"));
    EXPECT_EQ(again->GetPayload().Get(), payload.Get());
    EXPECT_FALSE(again->IsPosted());
}

TEST_F(NotificationPooling, WithoutPoolingTheLastReleaseDestroysNotificationAndPayload)
{
    int destroyed = 0;
    {
        const RCPtr<LNotification> notification =
            Make(NID_VALUE_CHANGE, RCPtr<LRefCountedObject>(new TrackedPayload(&destroyed)));
        EXPECT_EQ(LNotification::GetPoolSize(), 0u);
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(LNotification::GetPoolSize(), 0u);
}

TEST_F(NotificationPooling, SwitchingOffEmptiesThePool)
{
    LNotification::EnablePooling(true);
    {
        const RCPtr<LNotification> a = Make(NID_MOUSE_UP);
        const RCPtr<LNotification> b = Make(NID_MOUSE_DOWN);
    }
    EXPECT_GE(LNotification::GetPoolSize(), 2u);
    LNotification::EnablePooling(false);
    EXPECT_EQ(LNotification::GetPoolSize(), 0u);
    {
        const RCPtr<LNotification> c = Make(NID_MOUSE_MOVE);
    }
    EXPECT_EQ(LNotification::GetPoolSize(), 0u);
}

TEST_F(NotificationPooling, NotificationKeptByAReceiverIsRecycledOnlyWhenItLetsGo)
{
    LNotification::EnablePooling(true);
    LNotification::EnablePooling(false);
    LNotification::EnablePooling(true);
    RCPtr<LNotification> kept;
    {
        const RCPtr<LNotification> notification = Make(NID_SELECTION_CHANGE);
        kept = notification;
    }
    EXPECT_EQ(LNotification::GetPoolSize(), 0u);
    const LNotification* address = kept.Get();
    kept = nullptr;
    EXPECT_EQ(LNotification::GetPoolSize(), 1u);
    EXPECT_EQ(Make(NID_IDLE).Get(), address);
}

TEST(NotificationPayloads, PooledPayloadsReuseTheirMemory)
{
    const void* first = nullptr;
    {
        const RCPtr<LValueParam> value = LValueParam::Create(0.5, 0.25);
        EXPECT_EQ(value->GetPosition(), 0.5);
        EXPECT_EQ(value->GetScaledValue(), 0.25);
        first = value.Get();
    }
    const std::size_t blocks = GetPayloadAllocator<LValueParam>().GetBlockCount();
    const RCPtr<LValueParam> again = LValueParam::Create(1.0, 0.5);
    EXPECT_EQ(static_cast<const void*>(again.Get()), first);
    EXPECT_EQ(GetPayloadAllocator<LValueParam>().GetBlockCount(), blocks);
}

TEST(NotificationPayloads, MousePayloadsCarryTheirBasesFields)
{
    const RCPtr<LMouseButtonParam> button = LMouseButtonParam::Create(3, 4, 0x8, 1, true, 2);
    EXPECT_EQ(button->GetX(), 3);
    EXPECT_EQ(button->GetY(), 4);
    EXPECT_EQ(button->GetModifiers(), 0x8u);
    EXPECT_EQ(button->GetButton(), 1);
    EXPECT_TRUE(button->GetFlag());
    EXPECT_EQ(button->GetValue(), 2);
    const RCPtr<LPointParam> point = RCPtr<LPointParam>::DynamicCastFrom(
        RCPtr<LRefCountedObject>(LMouseWheelParam::Create(5, 6, 0, 1)));
    ASSERT_TRUE(point);
    EXPECT_EQ(point->GetX(), 5);
    EXPECT_TRUE(RCPtr<LValueParam>::DynamicCastFrom(RCPtr<LRefCountedObject>(point)).IsNull());
}

// A derived payload of another size allocates through its base's pool, which serves it from the
// general heap.
class ItemConditions : public LConditionsParam
{
public:
    ItemConditions() : LConditionsParam(1, 0, 0.0, 0.0) {}
    std::int32_t mItem = 7;
};

TEST(NotificationPayloads, DerivedPayloadOfAnotherSizeUsesTheHeap)
{
    ReuseAllocator<LConditionsParam, 4>& allocator = GetPayloadAllocator<LConditionsParam>();
    {
        const RCPtr<LConditionsParam> warm = LConditionsParam::Create(1, 0, 0.0, 0.0);
    }
    const std::size_t blocks = allocator.GetBlockCount();
    const std::size_t free = allocator.GetFreeCount();
    {
        const RCPtr<ItemConditions> item(new ItemConditions());
        EXPECT_EQ(item->mItem, 7);
        EXPECT_EQ(allocator.GetBlockCount(), blocks);
    }
    EXPECT_EQ(allocator.GetFreeCount(), free);
}

} // namespace
} // namespace QZ
