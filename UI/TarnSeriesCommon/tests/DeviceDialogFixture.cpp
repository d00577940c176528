#include "UI/TarnSeriesCommon/tests/DeviceDialogFixture.h"

#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/DeviceExchange.h"

#include <algorithm>
#include <chrono>

namespace QZ
{

bool RecordingAppServices::LookupAppString(const char16_t* key, WideString& text) const
{
    if (std::find(blanked.begin(), blanked.end(), key) != blanked.end())
    {
        text.Clear();
        return true;
    }
    LApplicationBase* application = LApplicationBase::GetApplication();
    const RCPtr<LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : nullptr;
    RCPtr<LStringTable> table;
    return factory && factory->GetAppStringTable(table) && table->Lookup(key, text);
}

std::uint32_t RecordingAppServices::ShowMessageBox(const WideString& text,
                                                   const WideString& caption, std::uint32_t style)
{
    boxes.push_back({Narrow(text), Narrow(caption), style});
    return kMessageBoxResultOk;
}

DeviceDialogFixture::DeviceDialogFixture()
{
    LNotification::EnablePooling(true);
    SetAppServices(&mServices);
    const std::thread::id testThread = std::this_thread::get_id();
    LDeviceExchange::SetWait(
        [this, testThread](const std::function<bool()>& finished)
        {
            mBusyExchanges.push_back(std::this_thread::get_id() == testThread && mWatched &&
                                     !mWatched->IsEnabled(false));
            // As the event loop's run ends when the program is asked to end.
            if (mExitDuringExchange)
            {
                return;
            }
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (!finished() && std::chrono::steady_clock::now() < deadline)
            {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    mApplication.CreateRootModuleEngine();
}

DeviceDialogFixture::~DeviceDialogFixture()
{
    StopManager();
    LDeviceExchange::SetWait(nullptr);
    SetAppServices(nullptr);
    mApplication.ReleaseRootModuleEngine();
    LNotification::EnablePooling(false);
}

void DeviceDialogFixture::StartManager(std::uint32_t replyWaitMs)
{
    LMidiManager::Create(mManager, replyWaitMs);
    ASSERT_TRUE(mManager);
    mApplication.SetMidiManager(mManager);
}

void DeviceDialogFixture::StopManager()
{
    mWatched = nullptr;
    mHost = nullptr;
    mApplication.SetMidiManager(nullptr);
    mManager = nullptr;
}

RCPtr<LControl> DeviceDialogFixture::BuildDialog(const std::u16string& name)
{
    mWatched = BuildRoot(name);
    return mWatched;
}

void DeviceDialogFixture::Click(const RCPtr<LControl>& button)
{
    ASSERT_TRUE(button);
    RCPtr<LNotification> click;
    LNotification::Create(click, NID_LEFT_CLICK);
    button->Distribute(click);
}

std::string Narrow(const WideString& text)
{
    return text.ToNarrowString().GetString();
}

} // namespace QZ
