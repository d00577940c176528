// The text side of keys: the names that string tables give keys ("Ctrl+VKEY_C", "Alt+x", "[13]")
// and the texts shown to the user beside menu items ("Ctrl+C").
//
// A key text holds the modifier words "CTRL", "ALT" and "SHIFT" anywhere, in any letter case, and
// then names the key: "VKEY_" and a virtual-key name (everything after "VKEY_" is the name), a
// single character (the text's last unit), or a character number in brackets. Character keys
// carry Alt only; Ctrl and Shift are part of the character itself.
//
// The name and display tables are built on first use and only read afterwards; both are meant
// for the user-interface thread, where string tables are loaded and menus drawn.
#pragma once

#include "QZFramework/ControlBase/KeyCode.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>

namespace QZ
{

class KeyNames
{
public:
    using NameTable = std::map<std::u16string, int, std::less<>>;

    // The virtual-key code of a name such as "VKEY_DELETE" (exact, case-sensitive); 0 when the
    // name is unknown.
    [[nodiscard]] static int ToVirtualKey(const WideString& name);
    // The name shown for a virtual key ("Page Up"); empty for a key without one.
    [[nodiscard]] static WideString ToDisplayName(int virtualKey);
    // The key a hot-key text names. A text that names no key (empty, modifier words alone, or a
    // "[" without a "]" after it) gives the plain key-down value with no key in it; an unknown
    // virtual-key name gives that value with the modifiers found.
    [[nodiscard]] static KeyCode ParseKeyCode(const WideString& text);
    // The text of a key word: its modifier prefixes ("Ctrl+", "Alt+", "Shift+", "Cmd+") and the
    // key's display name; the prefixes alone when the top bit is set.
    [[nodiscard]] static WideString FormatKeyCode(std::uint32_t key);
    // True when the key holds neither a virtual key nor a character.
    [[nodiscard]] static bool IsNoKey(const KeyCode& key) { return (key.key & 0xFFFFFF) == 0; }

    // Every known virtual-key name with its code.
    [[nodiscard]] static const NameTable& GetNameTable();
};

} // namespace QZ
