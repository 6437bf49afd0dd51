#include "settings/logic/NVKeys.h"

#include "platform/linux/UinputKeymap.h"
#include "settings/logic/NVKeyLayout.h"

namespace {

struct FixedName {
    uint16_t code;
    const char* name;
};

constexpr FixedName kFixed[] = {
    {36, "\u21A9"}, {48, "\u21E5"}, {49, " Space "}, {51, "\u232B"}, {53, "\u238B"}, {71, "\u2327"},
    {76, "\u2305"}, {114, "?"}, {115, "\u2196"}, {116, "\u21DE"}, {117, "\u2326"}, {119, "\u2198"},
    {121, "\u21DF"}, {123, "\u2190"}, {124, "\u2192"}, {125, "\u2193"}, {126, "\u2191"},
    {65, "."}, {67, "*"}, {69, "+"}, {75, "/"}, {78, "-"}, {81, "="},
    {82, "0"}, {83, "1"}, {84, "2"}, {85, "3"}, {86, "4"}, {87, "5"}, {88, "6"}, {89, "7"}, {91, "8"}, {92, "9"},
    {122, "F1"}, {120, "F2"}, {99, "F3"}, {118, "F4"}, {96, "F5"}, {97, "F6"}, {98, "F7"}, {100, "F8"},
    {101, "F9"}, {109, "F10"}, {103, "F11"}, {111, "F12"},
    {105, "F13"}, {107, "F14"}, {113, "F15"}, {106, "F16"}, {64, "F17"}, {79, "F18"}, {80, "F19"}, {90, "F20"},
};

} // namespace

std::string NVKeys::description() const
{
    for (const FixedName& f : kFixed)
        if (f.code == keyCode_)
            return f.name;
    const uint16_t evdev = nv_vk_to_evdev(keyCode_);
    const NVKeyLayout* layout = nv_current_key_layout();
    if (evdev == 0 || !layout)
        return {};
    return layout->keyText(evdev);
}
