// A key by its virtual key code, and its display name: fixed glyphs and names for the
// special keys, otherwise what the current keyboard layout types for it.
#pragma once

#include <cstdint>
#include <string>

class NVKeys {
public:
    explicit NVKeys(uint16_t keyCode) : keyCode_(keyCode) {}
    uint16_t keyCode() const { return keyCode_; }
    // Empty when the code has no fixed name and the layout types nothing for it.
    std::string description() const;

private:
    uint16_t keyCode_;
};
