#include "Platform/Window/KeyTranslation.h"
#include "Platform/Window/WindowTypes.h"

#include <SDL_keycode.h>
#include <gtest/gtest.h>

#include <tuple>

namespace Platform
{
namespace
{

TEST(KeyTranslation, KeysGiveWindowsVirtualKeys)
{
    using Case = std::tuple<SDL_Keycode, bool, std::uint32_t>;
    constexpr SDL_Keycode kGermanAUmlaut = 0xE4;
    const Case cases[] = {
        {SDLK_a, true, 0x41},          {SDLK_z, true, 0x5A},      {SDLK_0, true, 0x30},
        {SDLK_9, true, 0x39},          {SDLK_F1, true, 0x70},     {SDLK_F12, true, 0x7B},
        {SDLK_F13, true, 0x7C},        {SDLK_F24, true, 0x87},    {SDLK_LEFT, true, 0x25},
        {SDLK_DOWN, true, 0x28},       {SDLK_TAB, true, 0x09},    {SDLK_RETURN, true, 0x0D},
        {SDLK_KP_ENTER, true, 0x0D},   {SDLK_ESCAPE, true, 0x1B}, {SDLK_DELETE, true, 0x2E},
        {SDLK_BACKSPACE, true, 0x08},  {SDLK_RSHIFT, true, 0x10}, {SDLK_RCTRL, true, 0x11},
        {SDLK_RALT, true, 0x12},       {SDLK_RGUI, true, 0x5C},   {SDLK_SEMICOLON, true, 0xBA},
        {SDLK_QUOTE, true, 0xDE},      {SDLK_LESS, true, 0xE2},   {SDLK_KP_1, true, 0x61},
        {SDLK_KP_1, false, 0x23},      {SDLK_KP_5, false, 0x0C},  {SDLK_KP_PERIOD, false, 0x2E},
        {SDLK_KP_DIVIDE, false, 0x6F}, {SDLK_UNKNOWN, true, 0},   {SDLK_CARET, true, 0},
        {kGermanAUmlaut, true, 0}};
    for (const auto& [key, numLock, virtualKey] : cases)
    {
        EXPECT_EQ(VirtualKeyFromSdlKey(key, numLock), virtualKey)
            << "SDL key " << key << (numLock ? "" : " without Num Lock");
    }
}

TEST(KeyTranslation, EveryVirtualKeyOfTheTableLeadsBackToItself)
{
    int found = 0;
    for (std::uint32_t virtualKey = 1; virtualKey < 256; ++virtualKey)
    {
        const std::int32_t key = SdlKeyFromVirtualKey(virtualKey);
        if (key != 0)
        {
            ++found;
            EXPECT_EQ(VirtualKeyFromSdlKey(key, true), virtualKey) << virtualKey;
        }
    }
    // Letters, digits, the 24 function keys and the keypad at least.
    EXPECT_GT(found, 26 + 10 + 24 + 16);
}

TEST(KeyTranslation, KeyWordsCarryModifiersSidesAndThePress)
{
    struct Case
    {
        std::uint32_t virtualKey;
        std::uint32_t sdlKeymod;
        bool down;
        std::uint32_t word;
        std::uint32_t side;
    };
    const Case cases[] = {{0x25, KMOD_NONE, true, 0x20250000, 0x00},
                          {0x1B, KMOD_NUM | KMOD_CAPS, true, 0x201B0000, 0x00},
                          {0x25, KMOD_NONE, false, 0x00250000, 0x00},
                          {0x53, KMOD_LCTRL | KMOD_RSHIFT, true, 0x23530000, 0x06},
                          {0x43, KMOD_RCTRL, true, 0x21430000, 0x08},
                          {0x70, KMOD_LALT, true, 0x24700000, 0x10},
                          {0x70, KMOD_RALT | KMOD_LGUI, false, 0x0C700000, 0x60},
                          {0x41, KMOD_LSHIFT | KMOD_RSHIFT | KMOD_RGUI, true, 0x2A410000, 0x83}};
    for (const Case& c : cases)
    {
        const std::uint32_t modifiers = ModifiersFromSdlKeymod(c.sdlKeymod);
        EXPECT_EQ(BuildKeyWord(c.virtualKey, modifiers, c.down), c.word) << std::hex << c.word;
        EXPECT_EQ(PackSideModifiers(modifiers), c.side) << std::hex << c.word;
        EXPECT_EQ(SdlKeymodFromModifiers(modifiers), c.sdlKeymod & ~(KMOD_NUM | KMOD_CAPS));
    }
    EXPECT_EQ(ModifiersFromSdlKeymod(KMOD_LCTRL | KMOD_RALT),
              kModCtrl | kModLeftCtrl | kModAlt | kModRightAlt);
    // A side bit without its modifier bit counts for nothing.
    EXPECT_EQ(PackSideModifiers(kModLeftShift | kModRightCtrl | kModWin), 0u);
}

} // namespace
} // namespace Platform
