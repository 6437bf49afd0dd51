#include "platform/linux/SwayIpc.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::string_view kMagic = "i3-ipc";
constexpr size_t kHeader = kMagic.size() + 8;
constexpr int kReplyWaitMs = 2000;

} // namespace

std::string nv_sway_encode(uint32_t type, std::string_view payload)
{
    std::string m(kMagic);
    const auto length = uint32_t(payload.size());
    m.append(reinterpret_cast<const char*>(&length), 4);
    m.append(reinterpret_cast<const char*>(&type), 4);
    m.append(payload);
    return m;
}

bool nv_sway_take_messages(std::string& buffer, std::vector<NVSwayMessage>& out)
{
    size_t at = 0;
    while (buffer.size() - at >= kHeader) {
        if (std::string_view(buffer).substr(at, kMagic.size()) != kMagic)
            return false;
        uint32_t length = 0;
        uint32_t type = 0;
        std::memcpy(&length, buffer.data() + at + kMagic.size(), 4);
        std::memcpy(&type, buffer.data() + at + kMagic.size() + 4, 4);
        if (buffer.size() - at - kHeader < length)
            break;
        out.push_back({type, buffer.substr(at + kHeader, length)});
        at += kHeader + length;
    }
    buffer.erase(0, at);
    return buffer.empty() || std::string_view(buffer).substr(0, kMagic.size()) ==
                                 std::string_view(kMagic).substr(0, std::min(buffer.size(), kMagic.size()));
}

std::unique_ptr<SwayIpc> SwayIpc::connect(const std::string& path)
{
    sockaddr_un addr{};
    if (path.empty() || path.size() >= sizeof addr.sun_path)
        return nullptr;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.data(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return nullptr;
    // A local socket connects at once or not at all.
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SwayIpc>(new SwayIpc(fd));
}

SwayIpc::~SwayIpc()
{
    ::close(fd_);
}

std::optional<std::string> SwayIpc::request(NVSwayType type, std::string_view payload)
{
    if (lost_)
        return std::nullopt;
    const std::string message = nv_sway_encode(type, payload);
    for (size_t sent = 0; sent < message.size();) {
        const ssize_t n = ::send(fd_, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        pollfd p{fd_, POLLOUT, 0};
        if (n < 0 && errno == EAGAIN && ::poll(&p, 1, kReplyWaitMs) > 0)
            continue;
        return std::nullopt;
    }
    for (;;) {
        std::vector<NVSwayMessage> got;
        if (!nv_sway_take_messages(buffer_, got)) {
            lost_ = true;
            return std::nullopt;
        }
        std::optional<std::string> reply;
        for (auto& m : got) {
            if (!reply && m.type == type)
                reply = std::move(m.payload);
            else
                pending_.push_back(std::move(m));
        }
        if (reply)
            return reply;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, kReplyWaitMs) <= 0 || !receive())
            return std::nullopt;
    }
}

bool SwayIpc::read(std::vector<NVSwayMessage>& out)
{
    for (auto& m : pending_)
        out.push_back(std::move(m));
    pending_.clear();
    if (lost_)
        return false;
    const bool open = receive();
    if (!nv_sway_take_messages(buffer_, out) || !open)
        lost_ = true;
    return !lost_;
}

bool SwayIpc::receive()
{
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
        if (n > 0) {
            buffer_.append(chunk, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return true;
        lost_ = true;
        return false;
    }
}
