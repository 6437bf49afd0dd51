// The smallest consumer of the tablet through libusb, beside the agent in the same run:
//   nv-agent-cpu-libusb-floor FIFO OUT
// It waits in libusb's own event handling, writes one frame for every report from inside
// the transfer's callback and resubmits it. On the stand-in library ($NV_STANDIN_SOCKET) its
// cost is what libusb itself makes a report cost; the agent's above it is its own. At
// SIGTERM the arrival-to-write latency, timed as the agent's is, goes to OUT.
#include "Latency.h"

#include <libusb.h>

#include <linux/input.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

extern "C" int64_t nv_standin_arrival_ns();

namespace {

constexpr unsigned char kEndpoint = 0x81;
constexpr int kPacket = 64;

volatile sig_atomic_t g_stop = 0;

struct Consumer {
    int out = -1;
    libusb_device* device = nullptr;
    LatencyLog latencies;
};

int arrived(libusb_context*, libusb_device* dev, libusb_hotplug_event, void* self)
{
    static_cast<Consumer*>(self)->device = libusb_ref_device(dev);
    return 0;
}

void report(libusb_transfer* t)
{
    auto* c = static_cast<Consumer*>(t->user_data);
    if (t->status != LIBUSB_TRANSFER_COMPLETED)
        return;
    if (t->actual_length >= 12) {
        const unsigned char* r = t->buffer;
        input_event frame[3]{};
        frame[0].type = EV_ABS;
        frame[0].code = ABS_X;
        frame[0].value = r[2] | r[3] << 8 | r[8] << 16;
        frame[1].type = EV_ABS;
        frame[1].code = ABS_Y;
        frame[1].value = r[4] | r[5] << 8 | r[9] << 16;
        frame[2].type = EV_SYN;
        frame[2].code = SYN_REPORT;
        const int64_t called = nv_now_ns();
        (void)!write(c->out, frame, sizeof frame);
        c->latencies.add(nv_standin_arrival_ns(), called, nv_now_ns());
    }
    libusb_submit_transfer(t);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: nv-agent-cpu-libusb-floor FIFO OUT\n");
        return 2;
    }
    signal(SIGTERM, [](int) { g_stop = 1; });
    Consumer c;
    libusb_context* ctx = nullptr;
    libusb_hotplug_callback_handle hotplug = 0;
    if (libusb_init(&ctx) != 0 ||
        libusb_hotplug_register_callback(ctx, LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED, LIBUSB_HOTPLUG_ENUMERATE,
                                         LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY,
                                         LIBUSB_HOTPLUG_MATCH_ANY, &arrived, &c, &hotplug) != 0 ||
        !c.device)
        return 1;
    libusb_device_handle* handle = nullptr;
    if (libusb_open(c.device, &handle) != 0 || libusb_claim_interface(handle, 0) != 0)
        return 1;
    c.out = open(argv[1], O_WRONLY | O_CLOEXEC);
    unsigned char buffer[kPacket];
    libusb_transfer* t = libusb_alloc_transfer(0);
    libusb_fill_interrupt_transfer(t, handle, kEndpoint, buffer, kPacket, &report, &c, 0);
    if (c.out < 0 || libusb_submit_transfer(t) != 0)
        return 1;
    // A bounded wait, so that a SIGTERM just before it cannot keep the loop waiting.
    while (!g_stop) {
        timeval wait{0, 200000};
        libusb_handle_events_timeout_completed(ctx, &wait, nullptr);
    }
    c.latencies.write(argv[2]);
    return 0;
}
