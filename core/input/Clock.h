// Monotonic time in seconds: every "now" of the input interpretation comes from here.
#pragma once

class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

// The steady clock of the programs.
class SteadyClock : public Clock {
public:
    double now() const override;
};
