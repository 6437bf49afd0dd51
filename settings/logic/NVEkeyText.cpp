#include "settings/logic/NVEkeyText.h"

#include "core/model/NVText.h"
#include "settings/logic/NVShortcut.h"

#include <cstdio>

std::string string_from_ekey(const NVEkey& ekey, const NVEkeyNames& names)
{
    const uint64_t f = ekey.funcBit;
    std::string s;
    if (f & 0x04)
        s += NVShortcut::NSStringFromNVkbtns(ekey.kbtn);
    s += ' ';
    const std::pair<uint64_t, const std::string*> mouse[] = {
        {0x10, &names.mouseLeft}, {0x20, &names.mouseMid}, {0x40, &names.mouseRight},
        {0x80, &names.mouseForward}, {0x100, &names.mouseBackward}};
    for (const auto& [bit, name] : mouse)
        if (f & bit)
            s += *name;
    s += ' ';
    if (f & 0x08)
        s += nv_percent_decode_lenient(nv_buffer_text(ekey.cmdPath));
    if (f & 0x01)
        s += names.switchScreen;
    if (f & 0x02)
        s += names.switchBrush;
    if (f & 0x200)
        s += names.switchMuxfunc;
    if (const uint64_t unknown = f & ~(NV_EKEY_KNOWN_KINDS | 0x200)) {
        char hex[24];
        std::snprintf(hex, sizeof hex, "#%llx", static_cast<unsigned long long>(unknown));
        s += hex;
    }
    return s;
}
