#include "UI/TarnSeriesCommon/tests/DeviceDialogFixture.h"

#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "Platform/Window/WindowScript.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Renderer/Renderer.h"
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
            const bool served =
                mWindow && Platform::WindowScript::Send(mWindow->GetId(),
                                                        Platform::WindowEventType::Exposed) &&
                Platform::WindowScript::Move(mWindow->GetId(), 20, 20, 0);
            mBusyExchanges.push_back(std::this_thread::get_id() == testThread && mWatched &&
                                     !mWatched->IsEnabled(false) && served);
            // As the event loop's run ends when the program is asked to end.
            if (mExitDuringExchange)
            {
                return;
            }
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            mLoop->RunModal([&]
                            { return finished() || std::chrono::steady_clock::now() > deadline; });
        });
    mApplication.CreateRootModuleEngine();
    std::string error;
    mLoop = LWindowEventLoop::Open("dummy", error);
    EXPECT_TRUE(mLoop) << error;
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
    if (mWindow)
    {
        mWindow->Destroy();
        mWindow.reset();
    }
    mWatched = nullptr;
    mHost = nullptr;
    mApplication.SetMidiManager(nullptr);
    mManager = nullptr;
}

RCPtr<LControl> DeviceDialogFixture::BuildDialog(const std::u16string& name)
{
    if (mWindow)
    {
        mWindow->Destroy();
    }
    mWatched = BuildRoot(name);
    mWindow = std::make_unique<OSWindow>();
    const PointT<double> size = mWatched ? mWatched->GetSize() : PointT<double>(200.0, 100.0);
    EXPECT_NE(mWindow->CreateEx(0, WideString(), WideString(name.c_str()), 0, 0, 0,
                                static_cast<std::int32_t>(size.x) + 1,
                                static_cast<std::int32_t>(size.y) + 1, nullptr, nullptr, nullptr),
              0);
    EXPECT_EQ(mWindow->AttachRootWindow(LRenderer::kTypeGDIPlus), S_OK);
    if (mWatched && mWindow->GetRootWindow())
    {
        mWindow->GetRootWindow()->SetRootControl(mWatched);
        mWindow->Show();
    }
    return mWatched;
}

void DeviceDialogFixture::Click(const RCPtr<LControl>& button)
{
    ASSERT_TRUE(button);
    RCPtr<LNotification> click;
    LNotification::Create(click, NID_LEFT_CLICK);
    button->Distribute(click);
}

} // namespace QZ
