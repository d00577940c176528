// Notification identifiers: "NID_" texts interned once into a process-wide table. From then on an
// identifier is the stable address of its interned text, so identifiers compare by pointer. The
// table only grows and lives for the whole process.
//
// The notification lock guards the table and the recycling pool of LNotification, nothing else;
// no receiver and no payload destructor runs under it.
#pragma once

#include "QZFramework/System/Mutex.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstddef>

namespace QZ
{

// The interned identifier for the text, or null for a null or empty text. An interned identifier
// interns to itself; texts differing in letter case are different identifiers.
[[nodiscard]] const char16_t* GetNotificationID(const char16_t* text);

// A copy of the interned text; empty for a pointer that is not an interned identifier.
[[nodiscard]] StringT<char16_t, char> GetNotificationIDString(const char16_t* identifier);

[[nodiscard]] std::size_t GetNotificationIDCount();

Mutex& GetNotificationLock();

} // namespace QZ
