// The application's skin choice and the status texts that a skin switch shows.
#include "QZFramework/Application/ApplicationBase.h"

#include "QZFramework/Application/FrameworkControls.h"
#include "QZFramework/Application/WaitIndicator.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/GlobalHotKeyManager.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/Controls/StatusBar.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Utilities/Storage/IniFileManager.h"

#include <algorithm>
#include <iostream>

namespace QZ
{
namespace
{

constexpr std::int32_t kUserSettingsFile = 1;
constexpr const char16_t* kSkinIndexKey = u"CurrentSkinIndex";

} // namespace

QZRESULT LApplicationBase::RunFrameworkStartup()
{
    // Controls make a notification for every value change and pointer event: recycled, they cost
    // no allocation once the program runs.
    LNotification::EnablePooling(true);
    if (!mControlFactory)
    {
        return S_OK;
    }
    try
    {
        const RCPtr<LControlFactory> factory = mControlFactory;
        RegisterFrameworkControls(
            [&factory](const WideString& name, LControlFactory::CreateFunction create)
            { return factory->RegisterControlClass(name, create); });
        LoadApplicationHotKeys();
        SetSkin(GetCurrentSkinIndex());
    }
    catch (const std::exception& e)
    {
        std::cerr << "LApplicationBase::RunFrameworkStartup: " << e.what() << std::endl;
        return E_FAIL;
    }
    return S_OK;
}

void LApplicationBase::LoadApplicationHotKeys()
{
    RCPtr<LNotificationReceiver> queue;
    GetApplicationNotificationCenter()->GetPostingReceiver(queue);
    RCPtr<LGlobalHotKeyManager> hotKeys;
    LGlobalHotKeyManager::Create(hotKeys, queue);
    RCPtr<LStringTable> strings;
    if (hotKeys)
    {
        static_cast<void>(hotKeys->GetHotKeyMap().LoadFromStringTable(
            mControlFactory->GetAppStringTable(strings), u"GHK"));
    }
    mHotKeys = hotKeys;
}

RCPtr<LGlobalHotKeyManager> LApplicationBase::GetApplicationHotKeys() const
{
    return mHotKeys;
}

std::int32_t LApplicationBase::GetCurrentSkinIndex()
{
    const std::int32_t file = GetSettingsFile(kUserSettingsFile);
    std::int32_t index = 0;
    if (file == 0 ||
        Failed(GetIniFileManager()->GetIniValueInt(file, WideString(kSkinIndexKey), 0, index)))
    {
        return 0;
    }
    return index;
}

void LApplicationBase::SetSkin(std::int32_t index)
{
    WideString face;
    float size = 0.0f;
    std::int32_t style = 0;
    const QZRESULT font = GetDefaultFont(face, size, style);
    if (Failed(font))
    {
        QZ_THROW_FAILED_RESULT(font, "QZ::LApplicationBase::SetSkin");
    }
    if (!mControlFactory || mControlFactory->GetSkinCount() == 0)
    {
        QZ_THROW_FAILED_RESULT(E_FAIL, "QZ::LApplicationBase::SetSkin");
    }
    // The settings file is the user's to edit: an index it holds may be anything.
    index = std::clamp(index, 0, mControlFactory->GetSkinCount() - 1);
    mControlFactory->SetCurrentSkinIndex(index);
    mControlFactory->GetSkinFont(face, size, style);
    SetApplicationFont(LFont::FindOrCreate(face, size, style));

    for (const RCPtr<LRootWindow>& window : GetRootWindows())
    {
        // A window that closed while an earlier one was re-skinned is gone from the list.
        if (std::find(mRootWindows.begin(), mRootWindows.end(), window) == mRootWindows.end())
        {
            continue;
        }
        LWaitIndicator wait(WideString(u"Loading Skin..."));
        const bool active = window->IsActive();
        if (active)
        {
            window->ResetFocus();
        }
        static_cast<void>(mControlFactory->ApplySkinTo(window->GetRootControl()));
        window->GetClientScreenRect();
        const PointT<long> client = window->GetClientSize();
        window->Invalidate(RectT<long>(0, 0, client.x, client.y));
        if (active)
        {
            window->RestoreFocus();
        }
    }

    // Every start sets the stored skin: the file is rewritten (and flushed to the disk) only when
    // the index it holds differs.
    const std::int32_t file = GetSettingsFile(kUserSettingsFile);
    const RCPtr<LIniFileManager> settings = file != 0 ? GetIniFileManager() : nullptr;
    const WideString key(kSkinIndexKey);
    std::int32_t stored = 0;
    if (settings &&
        (!settings->DoesNodeExist(file, key) ||
         Failed(settings->GetIniValueInt(file, key, 0, stored)) || stored != index))
    {
        static_cast<void>(settings->SetIniValueInt(file, key, index));
        static_cast<void>(settings->WriteIniFile(file));
    }
}

RCPtr<LStatusBar> LApplicationBase::GetStatusBar() const
{
    return mStatusBar;
}

void LApplicationBase::SetStatusBar(const RCPtr<LStatusBar>& statusBar)
{
    mStatusBar = statusBar;
}

void LApplicationBase::WithdrawStatusBar(const LStatusBar* statusBar)
{
    if (mStatusBar.Get() == statusBar)
    {
        mStatusBar = RCPtr<LStatusBar>();
    }
}

QZRESULT LApplicationBase::SetStatusText(const WideString& text, bool now)
{
    const RCPtr<LStatusBar> statusBar = mStatusBar;
    if (mRootWindows.empty() || !statusBar)
    {
        return E_FAIL;
    }
    return now ? statusBar->SetTextNow(text) : statusBar->PostText(text);
}

QZRESULT LApplicationBase::ResetStatusText(bool now)
{
    const RCPtr<LStatusBar> statusBar = mStatusBar;
    if (!statusBar)
    {
        return E_FAIL;
    }
    WideString label;
    statusBar->GetLabelText(label);
    return SetStatusText(label, now);
}

} // namespace QZ
