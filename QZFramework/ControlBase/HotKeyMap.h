// Key bindings read from a string table: which keys send which command. Entries whose key is a
// prefix ("GHK" for the application's and a window's keys, "LHK" for one control's), ".", and a
// command bind the key that the entry's text names (for example "Ctrl+VKEY_C") to the command
// after the key's last ".". A command may have several keys; the first is the one menus show.
// User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/ControlBase/StringTable.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace QZ
{

class HotKeyMap
{
public:
    // Adds the bindings of every entry whose key begins with the prefix and "."; a text that names
    // no key, an empty command and a key already bound to the command add nothing. 0, or
    // E_INVALIDARG without a table.
    QZRESULT LoadFromStringTable(const RCPtr<LStringTable>& table, const char16_t* prefix);

    // The command bound to a typed key, or an empty text. Win and the extra flag never count, and
    // character keys match ignoring Ctrl and Shift (they are part of the character already).
    // When several commands bind the key, the first in command order wins.
    [[nodiscard]] WideString FindCommand(const KeyCode& key) const;
    // True when the non-empty command has a binding.
    [[nodiscard]] bool HasCommand(const WideString& command) const;
    // The keys bound to the command, first binding first; empty when none.
    void CopyKeys(const WideString& command, std::vector<KeyCode>& keys) const;
    [[nodiscard]] bool IsEmpty() const { return mKeys.empty(); }

private:
    std::map<std::u16string, std::vector<KeyCode>, std::less<>> mKeys;
};

} // namespace QZ
