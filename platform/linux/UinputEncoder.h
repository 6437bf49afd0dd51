// The events of one core event, gathered into whole frames and written with one write().
#pragma once

#include <cstddef>
#include <cstdint>
#include <linux/input.h>

class UinputFrame {
public:
    static constexpr size_t kCapacity = 48;

    // Events beyond the capacity are dropped (no frame of this suite comes near it).
    void add(uint16_t type, uint16_t code, int32_t value);
    // Ends a frame with SYN_REPORT.
    void syn() { add(EV_SYN, SYN_REPORT, 0); }
    void clear() { count_ = 0; }
    bool empty() const { return count_ == 0; }
    size_t size() const { return count_; }
    const input_event& operator[](size_t i) const { return events_[i]; }
    size_t bytes() const { return count_ * sizeof(input_event); }

    // One write() of everything gathered; true when all of it was written. Nothing is
    // written for an empty frame.
    bool writeTo(int fd) const;

private:
    input_event events_[kCapacity];
    size_t count_ = 0;
};
