// Key-function encoding: funcBit is the set of kinds a key performs, funcEvent holds a
// two-bit event per kind bit (kind bit i at bits 2i and 2i+1).
#pragma once

#include <cstdint>

enum : uint32_t {
    NVEKT_SWITCH_SCREEN = 0x01,
    NVEKT_SWITCH_BRUSH = 0x02,
    NVEKT_KBTN = 0x04,
    NVEKT_EXEC = 0x08,
    NVEKT_MOUSE_LEFT = 0x10,
    NVEKT_MOUSE_MID = 0x20,
    NVEKT_MOUSE_RIGHT = 0x40,
    NVEKT_MOUSE_FORWARD = 0x80,
    NVEKT_MOUSE_BACKWARD = 0x100,
    NVEKT_SWITCH_MUXFUNC = 0x200,
};

enum : uint32_t {
    NVEKEVT_NONE = 0,
    NVEKEVT_UP = 1,
    NVEKEVT_DOWN = 2,
    NVEKEVT_CLICK = 3, // down and up at once
};

void set_NVEkeyFuncType_event(uint32_t funcBit, uint64_t* funcEvent, uint32_t event);
void set_NVEkeyFuncType_all_event(uint64_t* funcEvent, uint32_t event);
uint32_t get_NVEkeyFuncType_event(uint32_t funcBit, uint64_t funcEvent);
