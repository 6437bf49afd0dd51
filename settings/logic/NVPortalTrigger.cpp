#include "settings/logic/NVPortalTrigger.h"

#include <map>

namespace {

// Keysym names of the virtual key codes, by their position on a US keyboard.
const std::map<uint16_t, const char*>& keysym_names()
{
    static const std::map<uint16_t, const char*> names = {
        {0, "a"}, {1, "s"}, {2, "d"}, {3, "f"}, {4, "h"}, {5, "g"}, {6, "z"}, {7, "x"}, {8, "c"}, {9, "v"},
        {11, "b"}, {12, "q"}, {13, "w"}, {14, "e"}, {15, "r"}, {16, "y"}, {17, "t"}, {18, "1"}, {19, "2"},
        {20, "3"}, {21, "4"}, {22, "6"}, {23, "5"}, {24, "equal"}, {25, "9"}, {26, "7"}, {27, "minus"},
        {28, "8"}, {29, "0"}, {30, "bracketright"}, {31, "o"}, {32, "u"}, {33, "bracketleft"}, {34, "i"},
        {35, "p"}, {36, "Return"}, {37, "l"}, {38, "j"}, {39, "apostrophe"}, {40, "k"}, {41, "semicolon"},
        {42, "backslash"}, {43, "comma"}, {44, "slash"}, {45, "n"}, {46, "m"}, {47, "period"}, {48, "Tab"},
        {49, "space"}, {50, "grave"}, {51, "BackSpace"}, {53, "Escape"}, {65, "KP_Decimal"},
        {67, "KP_Multiply"}, {69, "KP_Add"}, {71, "Clear"}, {75, "KP_Divide"}, {76, "KP_Enter"},
        {78, "KP_Subtract"}, {81, "KP_Equal"}, {82, "KP_0"}, {83, "KP_1"}, {84, "KP_2"}, {85, "KP_3"},
        {86, "KP_4"}, {87, "KP_5"}, {88, "KP_6"}, {89, "KP_7"}, {91, "KP_8"}, {92, "KP_9"},
        {122, "F1"}, {120, "F2"}, {99, "F3"}, {118, "F4"}, {96, "F5"}, {97, "F6"}, {98, "F7"}, {100, "F8"},
        {101, "F9"}, {109, "F10"}, {103, "F11"}, {111, "F12"}, {105, "F13"}, {107, "F14"}, {113, "F15"},
        {106, "F16"}, {64, "F17"}, {79, "F18"}, {80, "F19"}, {90, "F20"}, {114, "Insert"}, {115, "Home"},
        {116, "Page_Up"}, {117, "Delete"}, {119, "End"}, {121, "Page_Down"}, {123, "Left"}, {124, "Right"},
        {125, "Down"}, {126, "Up"},
    };
    return names;
}

} // namespace

std::string nv_portal_trigger(const NVShortcut& shortcut)
{
    const auto key = keysym_names().find(shortcut.keyCode);
    if (key == keysym_names().end())
        return {};
    std::string text;
    if (shortcut.hasControlKey)
        text += "CTRL+";
    if (shortcut.hasOptionKey)
        text += "ALT+";
    if (shortcut.hasShiftKey)
        text += "SHIFT+";
    if (shortcut.hasCommandKey)
        text += "LOGO+";
    return text + key->second;
}
