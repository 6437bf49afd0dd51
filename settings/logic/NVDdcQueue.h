// The requests to one display, run one at a time on a thread of their own so that a slow
// or silent monitor never holds up the window. The last setting waiting is replaced by a
// newer value of the same code, so a slider drag sends its latest value, not every step.
#pragma once

#include "settings/logic/NVDdcClient.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class NVDdcQueue {
public:
    // Callbacks run on the queue's thread.
    using SetDone = std::function<void(bool ok)>;
    using GetDone = std::function<void(const NVDdcResult&)>;

    explicit NVDdcQueue(std::unique_ptr<NVI2cPort> port);
    // Waits for the request under way; those still waiting are dropped.
    ~NVDdcQueue();
    NVDdcQueue(const NVDdcQueue&) = delete;
    NVDdcQueue& operator=(const NVDdcQueue&) = delete;

    void set(uint8_t vcp, uint8_t value, SetDone done = {});
    void get(uint8_t vcp, GetDone done);

private:
    struct Request {
        bool isSet;
        uint8_t vcp;
        uint8_t value;
        SetDone setDone;
        GetDone getDone;
    };
    void run();

    std::unique_ptr<NVI2cPort> port_;
    NVDdcClient client_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Request> pending_;
    bool stopping_ = false;
    std::thread thread_; // last: starts once the rest is ready
};
