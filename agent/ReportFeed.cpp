#include "agent/ReportFeed.h"

#include "core/log/NVLog.h"
#include "core/model/NVText.h"
#include "platform/sim/SimUsbBus.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

std::optional<std::vector<uint8_t>> nv_parse_report_line(std::string_view line)
{
    std::vector<uint8_t> bytes;
    int high = -1;
    for (char c : line) {
        if (c == '#' && bytes.empty() && high < 0)
            return bytes;
        if (c == ' ' || c == '\t' || c == '\r') {
            if (high >= 0)
                return std::nullopt;
            continue;
        }
        const int d = nv_hex_digit(c);
        if (d < 0)
            return std::nullopt;
        if (high < 0) {
            high = d;
        } else {
            bytes.push_back(static_cast<uint8_t>(high << 4 | d));
            high = -1;
        }
    }
    if (high >= 0)
        return std::nullopt;
    return bytes;
}

ReportFeed::ReportFeed(int fd, SimUsbBus& bus, int device)
    : fd_(fd), bus_(bus), device_(device), notifier_(fd, QSocketNotifier::Read)
{
    connect(&notifier_, &QSocketNotifier::activated, this, &ReportFeed::readable);
}

void ReportFeed::readable()
{
    char buffer[4096];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n <= 0) {
        // The writer is gone: the tablet stays attached, silent.
        notifier_.setEnabled(false);
        return;
    }
    pending_.append(buffer, static_cast<size_t>(n));
    size_t start = 0;
    for (size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string_view line(pending_.data() + start, end - start);
        const auto report = nv_parse_report_line(line);
        if (!report)
            nv_log("report feed: not a report: %.*s", static_cast<int>(line.size()), line.data());
        else if (!report->empty())
            bus_.sendReport(device_, report->data(), report->size());
    }
    pending_.erase(0, start);
}
