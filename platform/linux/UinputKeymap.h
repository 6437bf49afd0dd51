// Virtual key codes of the configuration files (as the settings application captured
// them) to evdev key codes.
#pragma once

#include <cstdint>
#include <span>

struct NVKeyMapping {
    uint16_t vk;
    uint16_t evdev;
};

// Every mapped key, in virtual key code order.
std::span<const NVKeyMapping> nv_vk_keymap();
// The evdev code of a virtual key code; 0 when it has none.
uint16_t nv_vk_to_evdev(uint16_t vk);
// The virtual key code of an evdev code; -1 when it has none.
int nv_evdev_to_vk(uint16_t evdev);
