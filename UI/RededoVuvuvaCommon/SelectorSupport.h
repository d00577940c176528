// What the note and number selectors share: their children found by skin name, their own handler
// before the panel's, the whole number of their up-down, and a label showing one entry of its own
// string table, chosen by position in key order (the tables are keyed "ITEM.nn" or "TEXT.nnn", so
// key order is number order).
// User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <string>

namespace QZ
{

class LNumericUpDown;
class LStringTable;

// The direct child of that name as T; a missing or mistyped one is a broken skin the selector
// cannot work without, thrown as "Runtime Error : Null Pointer : Cannot find child: <name> : ...".
template <class T>
[[nodiscard]] RCPtr<T> RequireSelectorChild(const LControl& selector, const char16_t* name,
                                            const char* method)
{
    RCPtr<T> child = RCPtr<T>::DynamicCastFrom(selector.FindChildByName(WideString(name)));
    if (!child)
    {
        const std::string detail =
            std::string("Cannot find child: ") + WideString(name).ToNarrowString().GetString();
        QZ_THROW_RUNTIME(method, "Null Pointer", detail);
    }
    return child;
}

// The selector's own handler takes what it maps; the panel takes the rest.
template <class Selector>
void ReceiveThroughHandler(Selector& selector, const RCPtr<LNotificationHandler<Selector>>& handler,
                           const RCPtr<LNotificationDistributor>& sender,
                           const RCPtr<LNotification>& notification)
{
    if (handler && notification && handler->Handles(sender, notification->GetID()))
    {
        handler->HandleNotification(sender, notification);
        return;
    }
    selector.LPanel::ReceiveNotification(sender, notification);
}

template <class Selector>
QZRESULT UnsubscribeThroughHandler(Selector& selector,
                                   const RCPtr<LNotificationHandler<Selector>>& handler,
                                   const RCPtr<LNotificationDistributor>& distributor,
                                   const char16_t* identifier)
{
    if (handler)
    {
        handler->RemoveHandler(distributor, identifier);
    }
    return selector.LPanel::Unsubscribe(distributor, identifier);
}

// The up-down's number in its range, cut toward zero.
[[nodiscard]] std::int32_t GetWholeNumber(const LNumericUpDown& upDown);

// Shows the entry at the index of the table in the label: 0 when the text changed, 1 when it was
// already shown. An index beyond the table (or no table) leaves the label as it is: 0.
QZRESULT ShowTableEntry(const RCPtr<LStringTable>& table, std::uint32_t index, LControl& label);

} // namespace QZ
