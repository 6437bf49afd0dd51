// A scripted monitor on a DDC/CI bus, as strict as a real one: it checks every packet's
// length byte and checksum and ignores a bad one, answers a Get only after it had time to
// prepare the reply and only once, is busy (NAK) when commands come too close together,
// and can be told to NAK, stay silent, send a short reply, garbage or a wrong checksum.
// Time is the bus's own: pause() advances it. A gate can hold a write until the test
// releases it, to see what a queue does meanwhile.
#pragma once

#include "settings/logic/NVDdcClient.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace nvtest {

class FakeDdcMonitor {
public:
    enum class Fault { None, Nak, Silent, ShortReply, WrongChecksum, OtherCode };

    struct Set {
        uint8_t vcp;
        uint8_t value;
        bool operator==(const Set&) const = default;
    };

    std::map<uint8_t, uint8_t> values{{0x10, 40}, {0x12, 60}, {0x14, 5}, {0x16, 50}, {0x18, 51}, {0x1A, 52}};
    uint8_t maxValue = 100;
    Fault fault = Fault::None;

    // Settings that took effect, in order; packets refused for their form.
    std::vector<Set> sets() const
    {
        std::lock_guard lock(m_);
        return sets_;
    }
    int badPackets() const
    {
        std::lock_guard lock(m_);
        return badPackets_;
    }
    int busyRefusals() const
    {
        std::lock_guard lock(m_);
        return busy_;
    }

    // The next write waits in the port until release(); waitHeld() returns once it does.
    void hold()
    {
        std::lock_guard lock(m_);
        holding_ = true;
    }
    void waitHeld()
    {
        std::unique_lock lock(m_);
        cv_.wait(lock, [this] { return held_; });
    }
    void release()
    {
        {
            std::lock_guard lock(m_);
            holding_ = false;
            held_ = false;
        }
        cv_.notify_all();
    }

    std::unique_ptr<NVI2cPort> port();

private:
    friend class FakeDdcPort;
    using ms = std::chrono::milliseconds;
    static constexpr ms kReplyReady{40};
    static constexpr ms kCommandGap{50};

    bool write(std::span<const uint8_t> b)
    {
        std::unique_lock lock(m_);
        if (holding_) {
            held_ = true;
            cv_.notify_all();
            cv_.wait(lock, [this] { return !holding_; });
        }
        if (fault == Fault::Nak || fault == Fault::Silent)
            return false;
        if (lastCommand_ && now_ - *lastCommand_ < kCommandGap) {
            ++busy_;
            return false;
        }
        lastCommand_ = now_;
        pending_.reset();
        // 51, 0x80 | length, opcode..., checksum over the destination address 6E and all.
        uint8_t sum = 0x6E;
        for (uint8_t x : b.first(b.size() - 1))
            sum ^= x;
        if (b.size() < 4 || b[0] != 0x51 || b[1] != (0x80 | (b.size() - 3)) || b.back() != sum) {
            ++badPackets_;
            return true; // acknowledged on the bus, ignored by the monitor
        }
        if (b[2] == 0x03 && b.size() == 7) {
            values[b[3]] = b[5];
            sets_.push_back({b[3], b[5]});
        } else if (b[2] == 0x01 && b.size() == 5) {
            pending_ = b[3];
        } else {
            ++badPackets_;
        }
        return true;
    }

    bool read(std::span<uint8_t> out)
    {
        std::lock_guard lock(m_);
        if (fault == Fault::Silent || fault == Fault::Nak || !pending_ || now_ - *lastCommand_ < kReplyReady)
            return false;
        const uint8_t vcp = fault == Fault::OtherCode ? static_cast<uint8_t>(*pending_ + 1) : *pending_;
        pending_.reset();
        const uint8_t v = values.count(vcp) ? values[vcp] : 0;
        uint8_t r[11] = {0x6E, 0x88, 0x02, 0x00, vcp, 0x00, 0x00, maxValue, 0x00, v, 0};
        r[10] = 0x6F ^ 0x51;
        for (int i = 1; i <= 9; ++i)
            r[10] ^= r[i];
        if (fault == Fault::WrongChecksum)
            r[10] ^= 0x01;
        const size_t n = fault == Fault::ShortReply ? 6 : out.size();
        for (size_t i = 0; i < n && i < sizeof r; ++i)
            out[i] = r[i];
        return n == out.size();
    }

    void pause(ms d)
    {
        std::lock_guard lock(m_);
        now_ += d;
    }

    mutable std::mutex m_;
    std::condition_variable cv_;
    bool holding_ = false;
    bool held_ = false;
    ms now_{0};
    std::optional<ms> lastCommand_;
    std::optional<uint8_t> pending_;
    std::vector<Set> sets_;
    int badPackets_ = 0;
    int busy_ = 0;
};

class FakeDdcPort : public NVI2cPort {
public:
    explicit FakeDdcPort(FakeDdcMonitor& m) : m_(m) {}
    bool write(std::span<const uint8_t> bytes) override { return m_.write(bytes); }
    bool read(std::span<uint8_t> bytes) override { return m_.read(bytes); }
    void pause(std::chrono::milliseconds d) override { m_.pause(d); }

private:
    FakeDdcMonitor& m_;
};

inline std::unique_ptr<NVI2cPort> FakeDdcMonitor::port()
{
    return std::make_unique<FakeDdcPort>(*this);
}

} // namespace nvtest
