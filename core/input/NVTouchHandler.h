// Touch keys: a held key acts once; lifting it (index -1) re-arms it.
#pragma once

#include <cstdint>

class NVDataHandler;

class NVTouchHandler {
public:
    // Previous touch-key index, -1 when none (process-wide).
    static int32_t lastIndex;

    explicit NVTouchHandler(NVDataHandler& handler) : handler_(handler) {}

    void handleData(const uint8_t* report);
    void resetState() {}

private:
    NVDataHandler& handler_;
};
