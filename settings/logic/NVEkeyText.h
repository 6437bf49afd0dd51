// A key function as text: its key combination, mouse functions, application and switches.
#pragma once

#include "core/model/NVTypes.h"

#include <string>

// The localised names of the functions that have one.
struct NVEkeyNames {
    std::string mouseLeft, mouseMid, mouseRight, mouseForward, mouseBackward;
    std::string switchScreen, switchBrush, switchMuxfunc;
};

// Combination, " ", mouse names, " ", the application path (escapes undone), switch names;
// then the function-set switch, and kinds no name is known for as "#<hex bits>", so that no
// function a file carries is shown as nothing.
std::string string_from_ekey(const NVEkey& ekey, const NVEkeyNames& names);

// The kinds the key-function dialogs edit; other bits are kept as they are.
constexpr uint64_t NV_EKEY_KNOWN_KINDS = 0x1FF;
