#include "QZFramework/ControlBase/GlobalHotKeyManager.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationID.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace QZ
{
namespace
{

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

RCPtr<LStringTable> MakeHotKeyTable()
{
    const RCPtr<LStringTable> table(new LStringTable(WideString(u"|App")));
    const std::pair<const char16_t*, const char16_t*> rows[] = {
        {u"GHK.NID_EDIT_COPY_REQ", u"Ctrl+VKEY_C"},
        {u"GHK.2.NID_EDIT_COPY_REQ", u"Ctrl+VKEY_INSERT"}, // a second key: last segment counts
        {u"GHK.NID_EDIT_DELETE_REQ", u"VKEY_DELETE"},
        {u"GHK.NID_MENU_FILE_SAVE_PRESET_TO_FILE", u"Ctrl+VKEY_S"},
        {u"GHK.NID_MENU_FILE_SEND_PRESET_TO_DEVICE", u"SHIFT+CTRL+VKEY_S"},
        {u"GHK.NID_CHARACTER", u"Alt+x"},
        {u"GHK.NID_BROKEN", u"Ctrl+"},
        {u"GHK.NID_UNKNOWN", u"Ctrl+VKEY_NOPE"},
        {u"GHK.", u"VKEY_A"},
        {u"GHKX.NID_OTHER", u"VKEY_B"},
        {u"LHK.NID_LOCAL", u"VKEY_L"}};
    for (const auto& [key, text] : rows)
    {
        table->SetString(key, WideString(text));
    }
    return table;
}

TEST(HotKeyMap, LoadsTheBindingsOfItsPrefix)
{
    HotKeyMap global;
    EXPECT_EQ(global.LoadFromStringTable(nullptr, u"GHK"), E_INVALIDARG);
    EXPECT_TRUE(global.IsEmpty());
    const RCPtr<LStringTable> table = MakeHotKeyTable();
    ASSERT_EQ(global.LoadFromStringTable(table, u"GHK"), S_OK);
    ASSERT_EQ(global.LoadFromStringTable(table, u"GHK"), S_OK); // loading again adds nothing

    std::vector<KeyCode> keys{KeyCode{1, 2, 3}};
    global.CopyKeys(WideString(u"NID_EDIT_COPY_REQ"), keys);
    EXPECT_EQ(keys, (std::vector<KeyCode>{{0x212D0000, 0, 0}, {0x21430000, 0, 0}}));
    global.CopyKeys(WideString(u"NID_LOCAL"), keys);
    EXPECT_TRUE(keys.empty());

    const std::pair<const char16_t*, bool> commands[] = {
        {u"NID_EDIT_COPY_REQ", true},  {u"NID_CHARACTER", true},
        {u"NID_BROKEN", false},        {u"NID_UNKNOWN", false},
        {u"NID_OTHER", false},         {u"NID_LOCAL", false},
        {u"nid_edit_copy_req", false}, {u"", false}};
    for (const auto& [command, bound] : commands)
    {
        EXPECT_EQ(global.HasCommand(WideString(command)), bound) << Narrow(WideString(command));
    }

    HotKeyMap local;
    ASSERT_EQ(local.LoadFromStringTable(table, u"LHK"), S_OK);
    EXPECT_TRUE(local.HasCommand(WideString(u"NID_LOCAL")));
    EXPECT_FALSE(local.HasCommand(WideString(u"NID_EDIT_COPY_REQ")));
}

TEST(HotKeyMap, FindsTheCommandOfATypedKey)
{
    HotKeyMap map;
    map.LoadFromStringTable(MakeHotKeyTable(), u"GHK");
    const KeyCode alt = KeyCode::FromChar(u'x', KeyCode::kModifierAlt);
    const std::pair<KeyCode, const char*> cases[] = {
        {{0x21430000, 0, 0}, "NID_EDIT_COPY_REQ"},
        {{0x21430000, 4, 1}, "NID_EDIT_COPY_REQ"}, // side and repeat words ignored
        {{0x39430000, 0, 0}, "NID_EDIT_COPY_REQ"}, // so are Win and the extra flag
        {{0x01430000, 0, 0}, ""},                  // a key-up
        {{0x23430000, 0, 0}, ""},                  // Shift counts for virtual keys
        {{0x21530000, 0, 0}, "NID_MENU_FILE_SAVE_PRESET_TO_FILE"},
        {{0x23530000, 0, 0}, "NID_MENU_FILE_SEND_PRESET_TO_DEVICE"},
        {{0x202E0000, 0, 0}, "NID_EDIT_DELETE_REQ"},
        {alt, "NID_CHARACTER"},
        {{alt.key | KeyCode::kCtrl | KeyCode::kShift, 0, 0}, "NID_CHARACTER"},
        {KeyCode::FromChar(u'x', 0), ""}, // Alt counts for characters
        {KeyCode::FromChar(u'X', KeyCode::kModifierAlt), ""},
        {{0x20410000, 0, 0}, ""}, // bound to an empty command
    };
    for (const auto& [key, command] : cases)
    {
        EXPECT_EQ(Narrow(map.FindCommand(key)), command) << std::hex << key.key;
    }
}

class CommandLog : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        mLog.push_back(Narrow(GetNotificationIDString(notification->GetID())) +
                       (notification->GetPayload() ? "+data" : ""));
    }

    std::vector<std::string> mLog;
};

TEST(GlobalHotKeyManager, PostsTheCommandOfABoundKeyToItsTarget)
{
    RCPtr<LGlobalHotKeyManager> manager(nullptr);
    EXPECT_EQ(LGlobalHotKeyManager::Create(manager, nullptr), E_INVALIDARG);
    EXPECT_FALSE(manager);

    const RCPtr<LNotificationCenter> application = GetApplicationNotificationCenter();
    RCPtr<LNotificationReceiver> posting;
    application->GetPostingReceiver(posting);
    ASSERT_EQ(LGlobalHotKeyManager::Create(manager, posting), S_OK);
    manager->GetHotKeyMap().LoadFromStringTable(MakeHotKeyTable(), u"GHK");
    const RCPtr<CommandLog> log(new CommandLog);
    log->Subscribe(application, NID_EDIT_COPY_REQ, 0);
    log->Subscribe(application, NID_EDIT_DELETE_REQ, 0);

    EXPECT_EQ(manager->ProcessKey({0x21430000, 0, 0}), S_OK);
    EXPECT_EQ(manager->ProcessKey({0x21510000, 0, 0}), S_FALSE); // Ctrl+Q is not bound
    EXPECT_EQ(manager->ProcessKey({0x202E0000, 0, 0}), S_OK);
    EXPECT_TRUE(log->mLog.empty()); // posted, not delivered inside the key press
    EXPECT_EQ(application->GetCount(), 2u);
    application->ProcessQueue(false);
    EXPECT_EQ(log->mLog, (std::vector<std::string>{"NID_EDIT_COPY_REQ", "NID_EDIT_DELETE_REQ"}));
    log->UnsubscribeAll();
}

} // namespace
} // namespace QZ
