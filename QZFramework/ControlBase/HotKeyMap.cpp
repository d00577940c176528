#include "QZFramework/ControlBase/HotKeyMap.h"

#include "QZFramework/Controls/KeyNames.h"

#include <algorithm>
#include <string_view>

namespace QZ
{
namespace
{

constexpr std::uint32_t kIgnoredFlags = KeyCode::kWin | KeyCode::kExtra;
constexpr std::uint32_t kCharacterFlags = KeyCode::kCtrl | KeyCode::kShift;

bool IsCharacterKey(std::uint32_t key)
{
    return (key & 0x00FF0000) == 0;
}

bool KeysMatch(std::uint32_t typed, std::uint32_t bound)
{
    const std::uint32_t ignored = kIgnoredFlags | (IsCharacterKey(bound) ? kCharacterFlags : 0);
    return (typed & ~ignored) == (bound & ~ignored);
}

} // namespace

QZRESULT HotKeyMap::LoadFromStringTable(const RCPtr<LStringTable>& table, const char16_t* prefix)
{
    if (!table)
    {
        return E_INVALIDARG;
    }
    const WideString start = WideString(prefix != nullptr ? prefix : u"") + WideString(u".");
    LStringEntries entries;
    table->GetEntriesWithPrefix(start.GetString(), entries);
    for (const LStringEntry& entry : entries)
    {
        const std::u16string_view key(entry.key.GetString(), entry.key.GetLength());
        const std::u16string command(key.substr(key.rfind(u'.') + 1));
        const KeyCode bound = KeyNames::ParseKeyCode(entry.text);
        if (command.empty() || KeyNames::IsNoKey(bound))
        {
            continue;
        }
        std::vector<KeyCode>& keys = mKeys[command];
        if (std::find(keys.begin(), keys.end(), bound) == keys.end())
        {
            keys.push_back(bound);
        }
    }
    return S_OK;
}

WideString HotKeyMap::FindCommand(const KeyCode& key) const
{
    for (const auto& [command, keys] : mKeys)
    {
        for (const KeyCode& bound : keys)
        {
            if (KeysMatch(key.key, bound.key))
            {
                return WideString(command.c_str());
            }
        }
    }
    return WideString();
}

bool HotKeyMap::HasCommand(const WideString& command) const
{
    return !command.IsEmpty() && mKeys.contains(std::u16string_view(command.GetString()));
}

void HotKeyMap::CopyKeys(const WideString& command, std::vector<KeyCode>& keys) const
{
    const auto found = mKeys.find(std::u16string_view(command.GetString()));
    keys = found != mKeys.end() ? found->second : std::vector<KeyCode>();
}

} // namespace QZ
