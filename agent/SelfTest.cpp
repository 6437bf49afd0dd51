#include "agent/SelfTest.h"

#include "platform/sim/SimUsbBus.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint8_t kReportId = 0x08;
constexpr uint8_t kPenHover = 0x80;
constexpr uint8_t kPenTip = 0x81;
constexpr uint8_t kExpressKeys = 0xE0;

void pen_report(uint8_t (&r)[12], uint8_t type, uint32_t x, uint32_t y, uint16_t pressure)
{
    const uint8_t bytes[12] = {kReportId,       type,           uint8_t(x),          uint8_t(x >> 8),
                               uint8_t(y),      uint8_t(y >> 8), uint8_t(pressure),  uint8_t(pressure >> 8),
                               uint8_t(x >> 16), uint8_t(y >> 16), 10,                 uint8_t(-12)};
    std::memcpy(r, bytes, sizeof r);
}

} // namespace

long nv_resident_kib()
{
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long kib = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmRSS: %ld kB", &kib) == 1)
            break;
    std::fclose(f);
    return kib;
}

void nv_self_test_strokes(SimUsbBus& bus, int device, long reports)
{
    // A stroke of 260 reports: 30 hovering in, 200 drawing, 30 hovering away.
    uint8_t r[12];
    for (long i = 0; i < reports; ++i) {
        const uint32_t k = static_cast<uint32_t>(i % 260);
        if (k < 30 || k >= 230)
            pen_report(r, kPenHover, 10000 + 40 * k, 12000 + 25 * k, 0);
        else
            pen_report(r, kPenTip, 11200 + 90 * (k - 30), 12750 + (k * k) % 5000,
                       static_cast<uint16_t>(200 + 35 * (k - 30)));
        bus.sendReport(device, r, sizeof r);
    }
}

void nv_self_test_hold(SimUsbBus& bus, int device)
{
    uint8_t r[12];
    pen_report(r, kPenHover, 20000, 15000, 0);
    bus.sendReport(device, r, sizeof r);
    pen_report(r, kPenTip, 20000, 15000, 3000);
    bus.sendReport(device, r, sizeof r);
    const uint8_t key[12] = {kReportId, kExpressKeys, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    bus.sendReport(device, key, sizeof key);
}
