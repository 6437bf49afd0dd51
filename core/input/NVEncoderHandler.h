// Dial: every report with a direction is one press of the default context's
// multi-function key position for that direction.
#pragma once

#include <cstdint>

class NVDataHandler;

class NVEncoderHandler {
public:
    explicit NVEncoderHandler(NVDataHandler& handler) : handler_(handler) {}

    void handleData(const uint8_t* report);
    void resetState() {}

private:
    NVDataHandler& handler_;
    uint8_t direction_ = 0;
};
