#include "settings/logic/NVKeyMaskUtils.h"

const char* const NSStringControlKey = "\u2303";
const char* const NSStringOptionKey = "\u2325";
const char* const NSStringShiftKey = "\u21E7";
const char* const NSStringCommandKey = "\u2318";

uint32_t NVKeyMaskUtils::NVCarbonModifiersFromCocoaModifiers(uint32_t flags)
{
    uint32_t carbon = 0;
    if (flags & NV_MOD_OPTION)
        carbon |= 0x800;
    if (flags & NV_MOD_COMMAND)
        carbon |= 0x100;
    if (flags & NV_MOD_CONTROL)
        carbon |= 0x1000;
    if (flags & NV_MOD_SHIFT)
        carbon |= 0x200;
    return carbon;
}

std::string NVKeyMaskUtils::NSString4CocoaModifiers(uint32_t flags)
{
    std::string s;
    if (flags & NV_MOD_CONTROL)
        s += NSStringControlKey;
    if (flags & NV_MOD_OPTION)
        s += NSStringOptionKey;
    if (flags & NV_MOD_SHIFT)
        s += NSStringShiftKey;
    if (flags & NV_MOD_COMMAND)
        s += NSStringCommandKey;
    return s;
}

uint32_t NVKeyMaskUtils::CreateModifiersFlags(bool control, bool option, bool shift, bool command)
{
    return (control ? NV_MOD_CONTROL : 0) | (option ? NV_MOD_OPTION : 0) | (shift ? NV_MOD_SHIFT : 0) |
           (command ? NV_MOD_COMMAND : 0);
}

NVModifierKeys NVKeyMaskUtils::ModifiersFlags2Keys(uint32_t flags)
{
    return {(flags & NV_MOD_CONTROL) != 0, (flags & NV_MOD_OPTION) != 0, (flags & NV_MOD_SHIFT) != 0,
            (flags & NV_MOD_COMMAND) != 0};
}
