// Feeds arbitrary UTF-16 text (the input's bytes read as little-endian units, up to the first NUL)
// to the key-text parser: a virtual key never carries a character, a character key never carries
// Ctrl, Shift or the key-down flag, no side or repeat bits appear, and every result formats.
#include "QZFramework/Controls/KeyNames.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace
{

void Check(bool condition)
{
    if (!condition)
    {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
    {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (unit == 0)
        {
            break;
        }
        text += unit;
    }
    const QZ::KeyCode key = QZ::KeyNames::ParseKeyCode(QZ::WideString(text.c_str()));
    Check(key.sideModifiers == 0 && key.extra == 0);
    Check((key.key & ~0x27FFFFFFu) == 0);
    const std::uint32_t virtualKey = (key.key >> 16) & 0xFF;
    if ((key.key & QZ::KeyCode::kKeyDown) != 0)
    {
        Check((key.key & 0xFFFF) == 0);
        Check(virtualKey == 0 ||
              !QZ::KeyNames::ToDisplayName(static_cast<int>(virtualKey)).IsEmpty() ||
              virtualKey == 8 || virtualKey == 9);
    }
    else
    {
        Check(virtualKey == 0 && (key.key & (QZ::KeyCode::kCtrl | QZ::KeyCode::kShift)) == 0);
    }
    Check(QZ::KeyNames::FormatKeyCode(key.key).GetLength() < 64);
    return 0;
}
