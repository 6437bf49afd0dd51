// Reports for the simulated tablet read from a file descriptor (the agent's standard input
// with --feed-reports), one report a line as hexadecimal bytes ("08 e0 00 00 01 00 ..." or
// "08e0000001..."), so that a test or a person can drive a running agent report by report.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class SimUsbBus;

// The bytes of one line; nothing for a line that is not whole bytes in hexadecimal. Blank
// lines and lines starting with '#' give an empty report.
std::optional<std::vector<uint8_t>> nv_parse_report_line(std::string_view line);

class ReportFeed : public QObject {
public:
    ReportFeed(int fd, SimUsbBus& bus, int device);

private:
    void readable();

    int fd_;
    SimUsbBus& bus_;
    int device_;
    std::string pending_;
    QSocketNotifier notifier_;
};
