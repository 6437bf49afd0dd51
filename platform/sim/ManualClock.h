// A clock that moves only when told: tests and replay.
#pragma once

#include "core/input/Clock.h"

class ManualClock : public Clock {
public:
    double now() const override { return now_; }
    void set(double t) { now_ = t; }
    void advance(double dt) { now_ += dt; }

private:
    double now_ = 0.0;
};
