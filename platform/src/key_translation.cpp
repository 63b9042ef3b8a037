// SDL keys to Windows virtual keys, and virtual keys to characters.
#include "key_translation.h"

#include <array>
#include <cstring>

namespace platform {
namespace {

struct KeyName {
    SDL_Keycode key;
    WPARAM virtualKey;
};

constexpr std::array<KeyName, 52> namedKeys{{
    {SDLK_ESCAPE, VK_ESCAPE},     {SDLK_RETURN, VK_RETURN},     {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_BACKSPACE, VK_BACK},    {SDLK_TAB, VK_TAB},           {SDLK_SPACE, VK_SPACE},
    {SDLK_LSHIFT, VK_SHIFT},      {SDLK_RSHIFT, VK_SHIFT},      {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL},     {SDLK_LALT, VK_MENU},         {SDLK_RALT, VK_MENU},
    {SDLK_PAUSE, VK_PAUSE},       {SDLK_CAPSLOCK, VK_CAPITAL},  {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},     {SDLK_END, VK_END},           {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},         {SDLK_UP, VK_UP},             {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},         {SDLK_INSERT, VK_INSERT},     {SDLK_DELETE, VK_DELETE},
    {SDLK_KP_0, VK_NUMPAD0},      {SDLK_KP_1, VK_NUMPAD0 + 1},  {SDLK_KP_2, VK_NUMPAD0 + 2},
    {SDLK_KP_3, VK_NUMPAD0 + 3},  {SDLK_KP_4, VK_NUMPAD0 + 4},  {SDLK_KP_5, VK_NUMPAD0 + 5},
    {SDLK_KP_6, VK_NUMPAD0 + 6},  {SDLK_KP_7, VK_NUMPAD0 + 7},  {SDLK_KP_8, VK_NUMPAD0 + 8},
    {SDLK_KP_9, VK_NUMPAD0 + 9},  {SDLK_KP_MULTIPLY, VK_MULTIPLY}, {SDLK_KP_PLUS, VK_ADD},
    {SDLK_KP_MINUS, VK_SUBTRACT}, {SDLK_KP_PERIOD, VK_DECIMAL}, {SDLK_KP_DIVIDE, VK_DIVIDE},
    {SDLK_SEMICOLON, VK_OEM_1},   {SDLK_EQUALS, VK_OEM_PLUS},   {SDLK_COMMA, VK_OEM_COMMA},
    {SDLK_MINUS, VK_OEM_MINUS},   {SDLK_PERIOD, VK_OEM_PERIOD}, {SDLK_SLASH, VK_OEM_2},
    {SDLK_BACKQUOTE, VK_OEM_3},   {SDLK_LEFTBRACKET, VK_OEM_4}, {SDLK_BACKSLASH, VK_OEM_5},
    {SDLK_RIGHTBRACKET, VK_OEM_6}, {SDLK_QUOTE, VK_OEM_7},      {SDLK_F11, VK_F1 + 10},
    {SDLK_F12, VK_F12},
}};

// Punctuation keys of the US layout: the virtual key, its character, and the
// character with Shift.
struct Punctuation {
    WPARAM virtualKey;
    char plain;
    char shifted;
};

constexpr std::array<Punctuation, 11> punctuation{{
    {VK_OEM_1, ';', ':'},   {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'}, {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},  {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},
}};

constexpr char shiftedDigits[] = ")!@#$%^&*(";

} // namespace

WPARAM virtualKeyFor(SDL_Keycode key)
{
    // SDL names letter and digit keys by the character they type, as Windows
    // does with upper-case letters and digits.
    if (key >= SDLK_a && key <= SDLK_z)
        return static_cast<WPARAM>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9)
        return static_cast<WPARAM>(key);
    if (key >= SDLK_F1 && key <= SDLK_F10)
        return static_cast<WPARAM>(VK_F1 + (key - SDLK_F1));
    for (const KeyName& k : namedKeys)
        if (k.key == key)
            return k.virtualKey;
    return 0;
}

char characterFor(WPARAM virtualKey, Uint16 modifiers)
{
    const bool shift = (modifiers & KMOD_SHIFT) != 0;
    const bool control = (modifiers & KMOD_CTRL) != 0;
    const bool caps = (modifiers & KMOD_CAPS) != 0;
    const bool numLock = (modifiers & KMOD_NUM) != 0;

    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        if (control)
            return static_cast<char>(virtualKey - 'A' + 1); // Ctrl+A is 1 ... Ctrl+Z is 26
        const bool upper = shift != caps;
        return static_cast<char>(upper ? virtualKey : virtualKey - 'A' + 'a');
    }
    if (control)
        return virtualKey == VK_ESCAPE ? 27 : 0;
    if (virtualKey >= '0' && virtualKey <= '9')
        return shift ? shiftedDigits[virtualKey - '0'] : static_cast<char>(virtualKey);
    switch (virtualKey) {
    case VK_ESCAPE:
        return 27;
    case VK_RETURN:
        return 13;
    case VK_BACK:
        return 8;
    case VK_TAB:
        return 9;
    case VK_SPACE:
        return ' ';
    case VK_MULTIPLY:
        return '*';
    case VK_ADD:
        return '+';
    case VK_SUBTRACT:
        return '-';
    case VK_DIVIDE:
        return '/';
    case VK_DECIMAL:
        return numLock ? '.' : 0;
    default:
        break;
    }
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD0 + 9)
        return static_cast<char>('0' + (virtualKey - VK_NUMPAD0));
    for (const Punctuation& p : punctuation)
        if (p.virtualKey == virtualKey)
            return shift ? p.shifted : p.plain;
    return 0;
}

} // namespace platform
