// Sway's IPC socket ($SWAYSOCK): requests answered in order and, once subscribed, events.
// A message is "i3-ipc", the payload's length and the message type (both 32 bits in the
// host's byte order), then the payload, JSON.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct NVSwayMessage {
    uint32_t type;
    std::string payload;
};

enum NVSwayType : uint32_t {
    NV_SWAY_RUN_COMMAND = 0,
    NV_SWAY_SUBSCRIBE = 2,
    NV_SWAY_GET_TREE = 4,
    // Events carry the high bit.
    NV_SWAY_EVENT_WORKSPACE = 0x80000000,
    NV_SWAY_EVENT_WINDOW = 0x80000003,
};

std::string nv_sway_encode(uint32_t type, std::string_view payload);
// Moves every whole message off the front of buffer into out; false when the buffer does
// not start with a message header (a broken stream).
bool nv_sway_take_messages(std::string& buffer, std::vector<NVSwayMessage>& out);

class SwayIpc {
public:
    // Null when nothing listens on path.
    static std::unique_ptr<SwayIpc> connect(const std::string& path);
    ~SwayIpc();
    SwayIpc(const SwayIpc&) = delete;
    SwayIpc& operator=(const SwayIpc&) = delete;

    int fd() const { return fd_; }
    // Sends a request and waits (2 s at most) for its reply; events arriving meanwhile are
    // kept for read(). Empty when the connection fails.
    std::optional<std::string> request(NVSwayType type, std::string_view payload);
    // Every whole message received, without waiting. False once the connection is lost
    // (closed by the compositor, or a broken stream); the socket then stays readable.
    bool read(std::vector<NVSwayMessage>& out);

private:
    explicit SwayIpc(int fd) : fd_(fd) {}
    // Receives what the socket holds; false on end of stream or an error.
    bool receive();

    int fd_;
    std::string buffer_;
    std::vector<NVSwayMessage> pending_;
    bool lost_ = false;
};
