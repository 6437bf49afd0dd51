#include "settings/logic/NVDdcQueue.h"

NVDdcQueue::NVDdcQueue(std::unique_ptr<NVI2cPort> port)
    : port_(std::move(port)), client_(*port_), thread_([this] { run(); })
{
}

NVDdcQueue::~NVDdcQueue()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        pending_.clear();
    }
    wake_.notify_all();
    thread_.join();
}

void NVDdcQueue::set(uint8_t vcp, uint8_t value, SetDone done)
{
    {
        std::lock_guard lock(mutex_);
        // Only a drag's own previous step is replaced: anything asked after it keeps its order.
        if (!pending_.empty() && pending_.back().isSet && pending_.back().vcp == vcp) {
            pending_.back().value = value;
            pending_.back().setDone = std::move(done);
            return;
        }
        pending_.push_back({true, vcp, value, std::move(done), {}});
    }
    wake_.notify_one();
}

void NVDdcQueue::get(uint8_t vcp, GetDone done)
{
    {
        std::lock_guard lock(mutex_);
        pending_.push_back({false, vcp, 0, {}, std::move(done)});
    }
    wake_.notify_one();
}

void NVDdcQueue::run()
{
    for (;;) {
        Request r;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !pending_.empty(); });
            if (stopping_)
                return;
            r = std::move(pending_.front());
            pending_.pop_front();
        }
        if (r.isSet) {
            const bool ok = client_.setVcp(r.vcp, r.value);
            if (r.setDone)
                r.setDone(ok);
        } else {
            const NVDdcResult result = client_.getVcp(r.vcp);
            if (r.getDone)
                r.getDone(result);
        }
    }
}
