// Arrival-to-write latencies of one consumer, timed alike in the agent and in the floors:
// from the report's arrival to the frame's write call (the consumer's own work) and to the
// write's return (which adds the wake-up of the reader that the write makes).
#pragma once

#include <time.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

inline int64_t nv_now_ns()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

class LatencyLog {
public:
    LatencyLog()
    {
        toCall_.reserve(kMax);
        toReturn_.reserve(kMax);
    }

    // Past kMax frames the rest are not timed: nothing allocates while measuring.
    void add(int64_t arrival, int64_t called, int64_t returned)
    {
        if (toCall_.size() == kMax)
            return;
        toCall_.push_back(called - arrival);
        toReturn_.push_back(returned - arrival);
    }

    // One line: frames=N p50_us= p99_us= (to the return) call_p50_us= call_p99_us=.
    void write(const char* path)
    {
        if (!path || toCall_.empty())
            return;
        FILE* f = std::fopen(path, "w");
        if (!f)
            return;
        std::fprintf(f, "frames=%zu p50_us=%.2f p99_us=%.2f call_p50_us=%.2f call_p99_us=%.2f\n", toCall_.size(),
                     percentile(toReturn_, 50), percentile(toReturn_, 99), percentile(toCall_, 50),
                     percentile(toCall_, 99));
        std::fclose(f);
    }

private:
    static constexpr size_t kMax = 1 << 20;

    static double percentile(std::vector<int64_t>& v, size_t p)
    {
        std::sort(v.begin(), v.end());
        return v[v.size() * p / 100] / 1e3;
    }

    std::vector<int64_t> toCall_;
    std::vector<int64_t> toReturn_;
};
