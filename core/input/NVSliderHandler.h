// Touch strip or ring: each step between two finger positions is one press of the
// multi-function key's position for that direction.
#pragma once

#include <cstdint>

class NVDataHandler;

class NVSliderHandler {
public:
    // Previous strip position, 0 when the finger is lifted (process-wide).
    static uint16_t last_slider_id;

    explicit NVSliderHandler(NVDataHandler& handler) : handler_(handler) {}

    void handleData1(const uint8_t* report);
    void resetState() {}

private:
    NVDataHandler& handler_;
};
