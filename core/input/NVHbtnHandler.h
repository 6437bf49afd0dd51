// Hard express keys: a key code (one bit per key) per report, 0 when all are released.
#pragma once

#include <cstdint>

class NVDataHandler;

class NVHbtnHandler {
public:
    explicit NVHbtnHandler(NVDataHandler& handler) : handler_(handler) {}

    void handleData(const uint8_t* report);
    // Performs the key of code (down) or of the last held key (code 0: up). False when
    // the code names no key of this tablet.
    bool handleHBtn(uint32_t code);
    // Releases a held key.
    void resetState();

    uint32_t lastKey() const { return lastKey_; }

private:
    NVDataHandler& handler_;
    uint32_t lastKey_ = 0;
};

// The hbtns position of key i under the configured rotation; negative when none.
int32_t nv_rotated_hbtn_index(int32_t i);
