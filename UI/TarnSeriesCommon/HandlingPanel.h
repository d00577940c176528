// A panel that offers every notification it receives to member functions of its own class T first
// (mapped per sender and identifier with Listen) and to the panel's own handling when none takes
// it. Unsubscribing drops the mapping too. User-interface thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Notification/NotificationHandler.h"

#include <string>

namespace QZ
{

template <class T> class LHandlingPanel : public LPanel
{
public:
    using Handler = LNotificationHandler<T>;
    using LPanel::LPanel;

    QZRESULT ReleaseInternalReferences() override
    {
        mHandler = nullptr;
        return LPanel::ReleaseInternalReferences();
    }

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override
    {
        if (mHandler && notification && mHandler->Handles(sender, notification->GetID()) &&
            mHandler->HandleNotification(sender, notification) != 0)
        {
            return;
        }
        LPanel::ReceiveNotification(sender, notification);
    }

    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override
    {
        if (mHandler)
        {
            mHandler->RemoveHandler(distributor, identifier);
        }
        return LPanel::Unsubscribe(distributor, identifier);
    }

protected:
    // Made by T's Initialize, after the panel's.
    void MakeHandler(T* self) { mHandler = new Handler(self); }

    // Maps the source's notification to a member function of T or of a class derived from it; a
    // refusal (an empty source too) throws the failed-result exception in the name of `method`.
    template <class Derived>
    void Listen(const RCPtr<LControl>& source, const char16_t* identifier,
                QZRESULT (Derived::*member)(const RCPtr<LNotificationDistributor>&,
                                            const RCPtr<LNotification>&),
                const std::string& method)
    {
        const QZRESULT result =
            mHandler->AddHandler(static_cast<typename Handler::Method>(member),
                                 RCPtr<LNotificationDistributor>(source.Get()), identifier, 0);
        if (Failed(result))
        {
            QZ_THROW_FAILED_RESULT(result, method);
        }
    }

private:
    RCPtr<Handler> mHandler;
};

} // namespace QZ
