#include "DeviceControl/GeneratedCode/Engine/Inc/ValueTables.h"

namespace
{

constexpr std::array<std::string_view, kPadColourCount> kPadColourNames{
    "Off",    "Chartreuse", "Green", "Aquamarine", "Cyan",   "Azure",  "Blue",
    "Violet", "Magenta",    "Rose",  "Red",        "Orange", "Yellow", "White"};

constexpr std::array<std::string_view, kButtonColourCount> kButtonColourNames{
    "Off", "Green", "Cyan", "Blue", "Magenta", "Red", "Yellow", "White"};

constexpr std::array<std::string_view, kKeyCount> kKeyNames{
    "0",       "1",      "2",     "3",         "4",          "5",      "6",     "7",      "8",
    "9",       "A",      "B",     "C",         "D",          "E",      "F",     "G",      "H",
    "I",       "J",      "K",     "L",         "M",          "N",      "O",     "P",      "Q",
    "R",       "S",      "T",     "U",         "V",          "W",      "X",     "Y",      "Z",
    "Space",   "F1",     "F2",    "F3",        "F4",         "F5",     "F6",    "F7",     "F8",
    "F9",      "F10",    "F11",   "F12",       "Back Space", "Return", "Up",    "Down",   "Left",
    "Right",   "Tab",    ",",     ".",         "'",          "[",      "]",     "\\",     "/",
    "`",       ";",      "-",     "+",         "*",          "=",      "Esc",   "Insert", "Home",
    "Page Up", "Delete", "End",   "Page Down", "Num 1",      "Num 2",  "Num 3", "Num 4",  "Num 5",
    "Num 6",   "Num 7",  "Num 8", "Num 9",     "Num 0"};

constexpr std::array<std::string_view, kModifierCount> kModifierNames{
    "None",
    "Shift (Windows)",
    "Ctrl (Windows)",
    "Win (Windows)",
    "Alt (Windows)",
    "Shift + Ctrl (Windows)",
    "Shift + Win (Windows)",
    "Ctrl + Win (Windows)",
    "Ctrl + Alt (Windows)",
    "Win + Alt (Windows)",
    "Shift + Ctrl + Win (Windows)",
    "Shift + Ctrl + Alt (Windows)",
    "Shift + Win + Alt (Windows)",
    "Ctrl + Win + Alt (Windows)",
    "Shift (Mac)",
    "Ctrl (Mac)",
    "Cmd (Mac)",
    "Option (Mac)",
    "Shift + Ctrl (Mac)",
    "Shift + Option (Mac)",
    "Shift + Cmd (Mac)",
    "Ctrl + Cmd (Mac)",
    "Ctrl + Option (Mac)",
    "Cmd + Option (Mac)",
    "Cmd + Option (Mac)",
    "Shift + Ctrl + Cmd (Mac)",
    "Shift + Ctrl + Option (Mac)",
    "Shift + Option + Cmd (Mac)",
    "Ctrl + Cmd + Option (Mac)"};

// The MIDI Machine Control command numbers; 12 is not one of them.
constexpr std::array<std::string_view, 14> kMMCCommandNames{"",
                                                            "Stop",
                                                            "Play",
                                                            "Deferred Play",
                                                            "Fast Forward",
                                                            "Rewind",
                                                            "Record Strobe",
                                                            "Record Exit",
                                                            "Record Pause",
                                                            "Pause",
                                                            "Eject",
                                                            "Chase",
                                                            "",
                                                            "MMC Reset"};

template <std::size_t N>
std::string_view NameAt(const std::array<std::string_view, N>& names, std::uint8_t number)
{
    return number < N ? names[number] : std::string_view();
}

} // namespace

std::string_view GetPadColourName(std::uint8_t colour)
{
    return NameAt(kPadColourNames, colour);
}

std::string_view GetButtonColourName(std::uint8_t colour)
{
    return NameAt(kButtonColourNames, colour);
}

std::string_view GetKeyName(std::uint8_t key)
{
    return NameAt(kKeyNames, key);
}

std::string_view GetModifierName(std::uint8_t modifier)
{
    return NameAt(kModifierNames, modifier);
}

std::string_view GetMMCCommandName(std::uint8_t command)
{
    const std::string_view name = NameAt(kMMCCommandNames, command);
    return name.empty() ? std::string_view("Other") : name;
}
