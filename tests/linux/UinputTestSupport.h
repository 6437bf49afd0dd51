// Frames read back from the devices' ends: each device is a datagram socket pair, so
// every write() arrives as one message.
#pragma once

#include <gtest/gtest.h>

#include <linux/input.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

struct Ev {
    uint16_t type;
    uint16_t code;
    int32_t value;
    bool operator==(const Ev&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Ev& e)
{
    return os << "{" << e.type << "," << e.code << "," << e.value << "}";
}

class Channel {
public:
    Channel()
    {
        EXPECT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds_), 0);
    }
    ~Channel()
    {
        close(fds_[0]);
        close(fds_[1]);
    }
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    int writeEnd() const { return fds_[0]; }

    // Every write() since the last call, each as its events.
    std::vector<std::vector<Ev>> writes()
    {
        std::vector<std::vector<Ev>> out;
        input_event buf[128];
        for (;;) {
            const ssize_t n = recv(fds_[1], buf, sizeof buf, MSG_DONTWAIT);
            if (n <= 0)
                break;
            EXPECT_EQ(n % static_cast<ssize_t>(sizeof(input_event)), 0);
            std::vector<Ev> w;
            for (ssize_t i = 0; i < n / static_cast<ssize_t>(sizeof(input_event)); ++i)
                w.push_back({buf[i].type, buf[i].code, buf[i].value});
            out.push_back(w);
        }
        return out;
    }

private:
    int fds_[2] = {-1, -1};
};

inline Ev syn()
{
    return {EV_SYN, SYN_REPORT, 0};
}
