#include "QZFramework/Controls/KeyNames.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace QZ
{
namespace
{

constexpr std::uint32_t kModifiersOnly = 0x80000000;

struct KeyTables
{
    KeyNames::NameTable names;
    std::map<int, std::u16string> displayNames;
};

std::u16string Decimal(int value)
{
    std::u16string text;
    for (const char digit : std::to_string(value))
    {
        text += static_cast<char16_t>(digit);
    }
    return text;
}

// prefix + text, written so that g++ does not see an overlapping copy where there is none.
std::u16string Join(const char16_t* prefix, const std::u16string& text)
{
    std::u16string joined(prefix);
    joined += text;
    return joined;
}

// The unit offset units after first, as a text.
std::u16string Unit(char16_t first, int offset)
{
    return std::u16string(1, static_cast<char16_t>(first + offset));
}

// Enters count consecutive keys from firstKey, key firstKey + i with the text makeText(i).
template <class Table, class MakeText>
void AddRun(Table& table, int firstKey, int count, MakeText makeText)
{
    for (int i = 0; i < count; ++i)
    {
        if constexpr (std::is_same_v<Table, KeyNames::NameTable>)
        {
            table.emplace(makeText(i), firstKey + i);
        }
        else
        {
            table.emplace(firstKey + i, makeText(i));
        }
    }
}

KeyNames::NameTable BuildNames()
{
    KeyNames::NameTable names;
    // clang-format off
    const std::pair<const char16_t*, int> rows[] = {
        {u"BACK", 8},                   {u"TAB", 9},                    {u"CLEAR", 12},
        {u"RETURN", 13},                {u"SHIFT", 16},                 {u"CONTROL", 17},
        {u"MENU", 18},                  {u"PAUSE", 19},                 {u"CAPITAL", 20},
        {u"KANA", 21},                  {u"HANGEUL", 21},               {u"HANGUL", 21},
        {u"JUNJA", 23},                 {u"FINAL", 24},                 {u"HANJA", 25},
        {u"KANJI", 25},                 {u"ESCAPE", 27},                {u"CONVERT", 28},
        {u"NONCONVERT", 29},            {u"ACCEPT", 30},                {u"MODECHANGE", 31},
        {u"SPACE", 32},                 {u"PAGEUP", 33},                {u"PAGEDN", 34},
        {u"END", 35},                   {u"HOME", 36},                  {u"LEFT", 37},
        {u"UP", 38},                    {u"RIGHT", 39},                 {u"DOWN", 40},
        {u"SELECT", 41},                {u"PRINT", 42},                 {u"EXECUTE", 43},
        {u"SNAPSHOT", 44},              {u"INSERT", 45},                {u"DELETE", 46},
        {u"HELP", 47},                  {u"LWIN", 91},                  {u"RWIN", 92},
        {u"APPS", 93},                  {u"SLEEP", 95},                 {u"MULTIPLY", 106},
        {u"ADD", 107},                  {u"SEPARATOR", 108},            {u"SUBTRACT", 109},
        {u"DECIMAL", 110},              {u"DIVIDE", 111},               {u"NUMLOCK", 144},
        {u"SCROLL", 145},               {u"OEM_NEC_EQUAL", 146},        {u"OEM_FJ_JISHO", 146},
        {u"OEM_FJ_MASSHOU", 147},       {u"OEM_FJ_TOUROKU", 148},       {u"OEM_FJ_LOYA", 149},
        {u"OEM_FJ_ROYA", 150},          {u"LSHIFT", 160},               {u"RSHIFT", 161},
        {u"LCONTROL", 162},             {u"RCONTROL", 163},             {u"LMENU", 164},
        {u"RMENU", 165},                {u"BROWSER_BACK", 166},         {u"BROWSER_FORWARD", 167},
        {u"BROWSER_REFRESH", 168},      {u"BROWSER_STOP", 169},         {u"BROWSER_SEARCH", 170},
        {u"BROWSER_FAVORITES", 171},    {u"BROWSER_HOME", 172},         {u"VOLUME_MUTE", 173},
        {u"VOLUME_DOWN", 174},          {u"VOLUME_UP", 175},            {u"MEDIA_NEXT_TRACK", 176},
        {u"MEDIA_PREV_TRACK", 177},     {u"MEDIA_STOP", 178},           {u"MEDIA_PLAY_PAUSE", 179},
        {u"LAUNCH_MAIL", 180},          {u"LAUNCH_MEDIA_SELECT", 181},  {u"LAUNCH_APP1", 182},
        {u"LAUNCH_APP2", 183}};
    // clang-format on
    for (const auto& [name, key] : rows)
    {
        names.emplace(Join(u"VKEY_", name), key);
    }
    AddRun(names, '0', 10, [](int i) { return Join(u"VKEY_", Unit(u'0', i)); });
    AddRun(names, 'A', 26, [](int i) { return Join(u"VKEY_", Unit(u'A', i)); });
    AddRun(names, 96, 10, [](int i) { return Join(u"VKEY_NUMPAD", Decimal(i)); });
    AddRun(names, 112, 24, [](int i) { return Join(u"VKEY_F", Decimal(i + 1)); });
    return names;
}

// Keys without a display name (back space and tab among them) format as their prefixes alone.
std::map<int, std::u16string> BuildDisplayNames()
{
    // clang-format off
    std::map<int, std::u16string> displayNames = {
        {12, u"Clear"},                 {13, u"Return"},                {16, u"Shift"},
        {17, u"Control"},               {18, u"Menu"},                  {19, u"Pause"},
        {20, u"Capital"},               {21, u"Kana"},                  {23, u"Junja"},
        {24, u"Final"},                 {25, u"Hanja"},                 {27, u"Escape"},
        {28, u"Convert"},               {29, u"Non-convert"},           {30, u"Accept"},
        {31, u"Mode Change"},           {32, u"Space"},                 {33, u"Page Up"},
        {34, u"Page Down"},             {35, u"End"},                   {36, u"Home"},
        {37, u"Left Arrow"},            {38, u"Up Arrow"},              {39, u"Right Arrow"},
        {40, u"Down Arrow"},            {41, u"Select"},                {42, u"Print"},
        {43, u"Execute"},               {44, u"Snapshot"},              {45, u"Insert"},
        {46, u"Del"},                   {47, u"Help"},                  {91, u"Left Win"},
        {92, u"Right Win"},             {93, u"Apps"},                  {95, u"Sleep"},
        {106, u"*"},                    {107, u"+"},                    {108, u"Separator"},
        {109, u"-"},                    {110, u"."},                    {111, u"/"},
        {144, u"Numlock"},              {145, u"Scroll"},               {146, u"NEC Equal"},
        {147, u"Masshou"},              {148, u"Touroku"},              {149, u"Loya"},
        {150, u"Roya"},                 {160, u"Left Shift"},           {161, u"Right Shift"},
        {162, u"Left Control"},         {163, u"Right Control"},        {164, u"Left Menu"},
        {165, u"Right Menu"},           {166, u"Browser Back"},         {167, u"Browser Forward"},
        {168, u"Browser Refresh"},      {169, u"Browser Stop"},         {170, u"Browser Search"},
        {171, u"Browser Favorites"},    {172, u"Browser Home"},         {173, u"Volume Mute"},
        {174, u"Volume Down"},          {175, u"Volume Up"},            {176, u"Media Next Track"},
        {177, u"Media Prev Track"},     {178, u"Media Stop"},           {179, u"Media Play Pause"},
        {180, u"Launch Mail"},          {181, u"Launch Media Select"},  {182, u"Launch App 1"},
        {183, u"Launch App 2"}};
    // clang-format on
    AddRun(displayNames, '0', 10, [](int i) { return Unit(u'0', i); });
    AddRun(displayNames, 'A', 26, [](int i) { return Unit(u'A', i); });
    AddRun(displayNames, 96, 10, [](int i) { return Join(u"Numpad ", Decimal(i)); });
    AddRun(displayNames, 112, 24, [](int i) { return Join(u"F", Decimal(i + 1)); });
    return displayNames;
}

const KeyTables& GetTables()
{
    static const KeyTables tables{BuildNames(), BuildDisplayNames()};
    return tables;
}

int FindVirtualKey(std::u16string_view name)
{
    const KeyNames::NameTable& names = GetTables().names;
    const auto found = names.find(name);
    return found != names.end() ? found->second : 0;
}

constexpr std::u16string_view kModifierWords[] = {u"CTRL", u"ALT", u"SHIFT"};

// Whether anything but the modifier words (each with one "+" after it) is left of the text.
bool HasKeyBesideModifiers(std::u16string_view upper)
{
    std::size_t at = 0;
    while (at < upper.size())
    {
        const std::u16string_view rest = upper.substr(at);
        std::size_t skipped = 0;
        for (const std::u16string_view word : kModifierWords)
        {
            skipped = rest.starts_with(word) ? word.size() : skipped;
        }
        if (skipped == 0)
        {
            return true;
        }
        at += skipped;
        at += at < upper.size() && upper[at] == u'+' ? 1 : 0;
    }
    return false;
}

bool IsBlank(char16_t unit)
{
    return unit == u' ' || (unit >= u'\t' && unit <= u'\r');
}

// Blanks, an optional sign and decimal digits; 0 without digits. Saturates at the limits of a
// 32-bit integer instead of overflowing.
std::int32_t ReadNumber(std::u16string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at]))
    {
        ++at;
    }
    const bool negative = at < text.size() && text[at] == u'-';
    at += at < text.size() && (text[at] == u'-' || text[at] == u'+') ? 1 : 0;
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at)
    {
        value = std::min<std::int64_t>(value * 10 + (text[at] - u'0'), std::int64_t{INT_MAX} + 1);
    }
    value = negative ? -value : std::min<std::int64_t>(value, INT_MAX);
    return static_cast<std::int32_t>(value);
}

} // namespace

int KeyNames::ToVirtualKey(const WideString& name)
{
    return FindVirtualKey(std::u16string_view(name.GetString(), name.GetLength()));
}

WideString KeyNames::ToDisplayName(int virtualKey)
{
    const std::map<int, std::u16string>& displayNames = GetTables().displayNames;
    const auto found = displayNames.find(virtualKey);
    return found != displayNames.end() ? WideString(found->second.c_str()) : WideString();
}

const KeyNames::NameTable& KeyNames::GetNameTable()
{
    return GetTables().names;
}

KeyCode KeyNames::ParseKeyCode(const WideString& text)
{
    const KeyCode noKey{KeyCode::kKeyDown, 0, 0};
    // Upper-casing maps unit for unit, so positions in the copy are positions in the text.
    const WideString upperText = text.ToUpper();
    const std::u16string_view upper(upperText.GetString(), upperText.GetLength());
    const bool ctrl = upper.find(u"CTRL") != std::u16string_view::npos;
    const bool alt = upper.find(u"ALT") != std::u16string_view::npos;
    const bool shift = upper.find(u"SHIFT") != std::u16string_view::npos;

    const std::size_t name = upper.find(u"VKEY_");
    if (name != std::u16string_view::npos)
    {
        // The parser sets no side bit, so the side byte stays 0.
        const auto virtualKey = static_cast<std::uint32_t>(FindVirtualKey(upper.substr(name)));
        return {((virtualKey & 0xFF) << 16) | KeyCode::kKeyDown | (shift ? KeyCode::kShift : 0) |
                    (ctrl ? KeyCode::kCtrl : 0) | (alt ? KeyCode::kAlt : 0),
                0, 0};
    }

    // Ctrl and Shift are part of a character already, so a character key keeps only Alt.
    const std::uint32_t modifiers = alt ? KeyCode::kModifierAlt : 0;
    const std::size_t open = upper.find(u'[');
    if (open == std::u16string_view::npos)
    {
        return HasKeyBesideModifiers(upper)
                   ? KeyCode::FromChar(text.GetString()[upper.size() - 1], modifiers)
                   : noKey;
    }
    const std::size_t close = upper.find(u']', open + 1);
    if (close == std::u16string_view::npos)
    {
        return noKey;
    }
    const std::int32_t number = ReadNumber(upper.substr(open + 1, close - open - 1));
    return KeyCode::FromChar(static_cast<char16_t>(number & 0xFFFF), modifiers);
}

WideString KeyNames::FormatKeyCode(std::uint32_t key)
{
    std::u16string text;
    const std::pair<std::uint32_t, const char16_t*> prefixes[] = {{KeyCode::kCtrl, u"Ctrl+"},
                                                                  {KeyCode::kAlt, u"Alt+"},
                                                                  {KeyCode::kShift, u"Shift+"},
                                                                  {KeyCode::kWin, u"Cmd+"}};
    for (const auto& [flag, prefix] : prefixes)
    {
        text += (key & flag) != 0 ? prefix : u"";
    }
    const int virtualKey = static_cast<int>((key >> 16) & 0xFF);
    const auto character = static_cast<char16_t>(key & 0xFFFF);
    if ((key & kModifiersOnly) != 0)
    {
        return WideString(text.c_str());
    }
    if (virtualKey != 0)
    {
        return WideString(text.c_str()) + ToDisplayName(virtualKey);
    }
    if (character >= 1 && character <= 26)
    {
        // A control character is what Ctrl and a letter type.
        text += u"Ctrl+";
        text += static_cast<char16_t>(character + 64);
    }
    else if (character >= 33 && character <= 126)
    {
        text += character;
    }
    return WideString(text.c_str());
}

} // namespace QZ
