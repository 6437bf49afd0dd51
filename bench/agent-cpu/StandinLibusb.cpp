// A stand-in for libusb-1.0, loaded in place of the real library through LD_LIBRARY_PATH,
// so the real agent can be measured at a full report rate without a tablet. It implements
// only the calls the agent makes, at no less than what libusb 1.0.26 costs on Linux: one
// attached tablet (the first model of the table), its reports arriving as datagrams on a
// socket that stands for the device's usbfs node. As in libusb, the descriptors are an event
// fd, a timer fd and the node; every event handling polls all of them, even with a zero
// timeout, and reaps until the node says EAGAIN (a recv for each REAPURBNDELAY); every
// submission allocates its URB and makes one ioctl (for SUBMITURB); the locks libusb takes
// on these paths are taken here too. Cancellations complete through the event fd.
#include "Latency.h"
#include "core/device/NVModelTable.h"
#include "platform/sim/SimUsbBus.h"

#include <libusb.h>

#include <linux/usbdevice_fs.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/timerfd.h>
#include <sys/un.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

struct libusb_device {
    std::atomic<int> refs = 1;
};

struct libusb_device_handle {
    libusb_device* dev;
};

// libusb's locks on the event and transfer paths; one thread here, so never contended.
class Lock {
public:
    Lock() { pthread_mutex_init(&m_, nullptr); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    ~Lock() { pthread_mutex_destroy(&m_); }
    void lock() { pthread_mutex_lock(&m_); }
    bool tryLock() { return pthread_mutex_trylock(&m_) == 0; }
    void unlock() { pthread_mutex_unlock(&m_); }

private:
    pthread_mutex_t m_;
};

struct libusb_context {
    int eventFd = -1;
    int timerFd = -1; // transfer timeouts; the agent's transfers have none, so it never fires
    int nodeFd = -1; // the report socket, watched while a handle is open
    libusb_pollfd_added_cb added = nullptr;
    libusb_pollfd_removed_cb removed = nullptr;
    void* notifierData = nullptr;
    libusb_hotplug_callback_fn hotplug = nullptr;
    void* hotplugData = nullptr;
    int openHandles = 0;
    std::vector<libusb_transfer*> inFlight;
    std::vector<libusb_transfer*> cancelled;
    Lock eventDataLock;
    Lock eventsLock;
    Lock eventWaitersLock;
    Lock flyingTransfersLock;
    Lock openDevsLock;
    pthread_cond_t eventWaitersCond = PTHREAD_COND_INITIALIZER;
};

namespace {

libusb_device g_tablet;
SimDeviceScript g_script = SimDeviceScript::forModel(nv_maker_models().front());
int64_t g_arrivalNs = 0;
// The context the agent made: a single-context library.
libusb_context* g_context = nullptr;


// The report socket, bound to $NV_STANDIN_SOCKET.
int open_node()
{
    const char* path = std::getenv("NV_STANDIN_SOCKET");
    if (!path)
        return -1;
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path, sizeof addr.sun_path - 1);
    unlink(path);
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0)
        std::abort();
    return fd;
}

// What libusb keeps beside the public transfer: its lock and the URB of the submission.
struct Transfer {
    Lock lock;
    void* urb = nullptr;
    libusb_transfer pub; // last: it ends in the isochronous packets
};

Transfer* of(libusb_transfer* t)
{
    return reinterpret_cast<Transfer*>(reinterpret_cast<char*>(t) - offsetof(Transfer, pub));
}

// The URB's completion handling, then the callback under the event waiters' lock.
void complete(libusb_context* ctx, libusb_transfer* t, libusb_transfer_status status, int length)
{
    Transfer* it = of(t);
    it->lock.lock();
    std::free(std::exchange(it->urb, nullptr));
    it->lock.unlock();
    ctx->flyingTransfersLock.lock();
    ctx->flyingTransfersLock.unlock();
    it->lock.lock();
    it->lock.unlock();
    t->status = status;
    t->actual_length = length;
    ctx->eventWaitersLock.lock();
    t->callback(t);
    ctx->eventWaitersLock.unlock();
}

// One completion per read, then the read that finds nothing: libusb's reap loop.
void reap(libusb_context* ctx)
{
    for (;;) {
        auto it = std::find_if(ctx->inFlight.begin(), ctx->inFlight.end(),
                               [](libusb_transfer* t) { return t->type == LIBUSB_TRANSFER_TYPE_INTERRUPT; });
        unsigned char scratch[64];
        libusb_transfer* t = it == ctx->inFlight.end() ? nullptr : *it;
        // With nothing in flight a report finds no transfer and is lost, as on the wire.
        const ssize_t n = t ? recv(ctx->nodeFd, t->buffer, static_cast<size_t>(t->length), 0)
                            : recv(ctx->nodeFd, scratch, sizeof scratch, 0);
        if (n < 0)
            return;
        if (!t)
            continue;
        g_arrivalNs = nv_now_ns();
        ctx->inFlight.erase(it);
        complete(ctx, t, LIBUSB_TRANSFER_COMPLETED, static_cast<int>(n));
    }
}

} // namespace

extern "C" {

// When the last report was reaped (CLOCK_MONOTONIC, ns): the latency probe reads it.
__attribute__((visibility("default"))) int64_t nv_standin_arrival_ns()
{
    return g_arrivalNs;
}

int LIBUSB_CALL libusb_init(libusb_context** ctx)
{
    auto* c = new libusb_context;
    c->eventFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    c->timerFd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    *ctx = c;
    g_context = c;
    return 0;
}

void LIBUSB_CALL libusb_exit(libusb_context* ctx)
{
    if (!ctx)
        return;
    close(ctx->eventFd);
    close(ctx->timerFd);
    pthread_cond_destroy(&ctx->eventWaitersCond);
    if (ctx->nodeFd >= 0)
        close(ctx->nodeFd);
    if (ctx == g_context)
        g_context = nullptr;
    delete ctx;
}

int LIBUSB_CALL libusb_has_capability(uint32_t capability)
{
    return capability == LIBUSB_CAP_HAS_HOTPLUG;
}

const char* LIBUSB_CALL libusb_error_name(int code)
{
    return code == 0 ? "LIBUSB_SUCCESS" : "LIBUSB_ERROR";
}

void LIBUSB_CALL libusb_set_pollfd_notifiers(libusb_context* ctx, libusb_pollfd_added_cb added,
                                             libusb_pollfd_removed_cb removed, void* user_data)
{
    ctx->added = added;
    ctx->removed = removed;
    ctx->notifierData = user_data;
}

const libusb_pollfd** LIBUSB_CALL libusb_get_pollfds(libusb_context* ctx)
{
    auto** list = static_cast<const libusb_pollfd**>(std::calloc(4, sizeof(libusb_pollfd*)));
    int n = 0;
    list[n++] = new libusb_pollfd{ctx->eventFd, POLLIN};
    list[n++] = new libusb_pollfd{ctx->timerFd, POLLIN};
    if (ctx->openHandles > 0)
        list[n++] = new libusb_pollfd{ctx->nodeFd, POLLIN};
    return list;
}

void LIBUSB_CALL libusb_free_pollfds(const libusb_pollfd** pollfds)
{
    for (const libusb_pollfd** p = pollfds; p && *p; ++p)
        delete *p;
    std::free(pollfds);
}

int LIBUSB_CALL libusb_pollfds_handle_timeouts(libusb_context*)
{
    return 1;
}

int LIBUSB_CALL libusb_hotplug_register_callback(libusb_context* ctx, int, int flags, int vendor_id, int, int,
                                                 libusb_hotplug_callback_fn cb_fn, void* user_data,
                                                 libusb_hotplug_callback_handle* handle)
{
    ctx->hotplug = cb_fn;
    ctx->hotplugData = user_data;
    *handle = 1;
    if ((flags & LIBUSB_HOTPLUG_ENUMERATE) &&
        (vendor_id == LIBUSB_HOTPLUG_MATCH_ANY || vendor_id == g_script.vendor))
        cb_fn(ctx, &g_tablet, LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED, user_data);
    return 0;
}

void LIBUSB_CALL libusb_hotplug_deregister_callback(libusb_context* ctx, libusb_hotplug_callback_handle)
{
    ctx->hotplug = nullptr;
}

libusb_device* LIBUSB_CALL libusb_ref_device(libusb_device* dev)
{
    ++dev->refs;
    return dev;
}

void LIBUSB_CALL libusb_unref_device(libusb_device* dev)
{
    --dev->refs;
}

int LIBUSB_CALL libusb_get_device_descriptor(libusb_device*, libusb_device_descriptor* desc)
{
    *desc = {};
    desc->bLength = LIBUSB_DT_DEVICE_SIZE;
    desc->bDescriptorType = LIBUSB_DT_DEVICE;
    desc->idVendor = g_script.vendor;
    desc->idProduct = g_script.product;
    desc->bNumConfigurations = 1;
    return 0;
}

uint8_t LIBUSB_CALL libusb_get_bus_number(libusb_device*)
{
    return 1;
}

uint8_t LIBUSB_CALL libusb_get_device_address(libusb_device*)
{
    return 2;
}

int LIBUSB_CALL libusb_open(libusb_device* dev, libusb_device_handle** handle)
{
    *handle = new libusb_device_handle{libusb_ref_device(dev)};
    return 0;
}

void LIBUSB_CALL libusb_close(libusb_device_handle* handle)
{
    libusb_unref_device(handle->dev);
    delete handle;
}

int LIBUSB_CALL libusb_set_auto_detach_kernel_driver(libusb_device_handle*, int)
{
    return 0;
}

int LIBUSB_CALL libusb_control_transfer(libusb_device_handle*, uint8_t request_type, uint8_t bRequest,
                                        uint16_t wValue, uint16_t, unsigned char* data, uint16_t wLength,
                                        unsigned int)
{
    if (request_type != LIBUSB_ENDPOINT_IN || bRequest != LIBUSB_REQUEST_GET_DESCRIPTOR ||
        (wValue >> 8) != LIBUSB_DT_STRING)
        return LIBUSB_ERROR_PIPE;
    auto it = g_script.strings.find(static_cast<uint8_t>(wValue & 0xFF));
    if (it == g_script.strings.end())
        return LIBUSB_ERROR_PIPE;
    const size_t total = std::min<size_t>({it->second.size() + 2, wLength, 255});
    data[0] = static_cast<unsigned char>(it->second.size() + 2);
    data[1] = LIBUSB_DT_STRING;
    std::memcpy(data + 2, it->second.data(), total - 2);
    return static_cast<int>(total);
}

// One configuration: one HID interface with one interrupt IN endpoint of 64-byte packets.
int LIBUSB_CALL libusb_get_active_config_descriptor(libusb_device*, libusb_config_descriptor** config)
{
    auto* ep = new libusb_endpoint_descriptor{};
    ep->bEndpointAddress = 0x81;
    ep->bmAttributes = LIBUSB_TRANSFER_TYPE_INTERRUPT;
    ep->wMaxPacketSize = 64;
    ep->bInterval = 1;
    auto* alt = new libusb_interface_descriptor{};
    alt->bInterfaceClass = LIBUSB_CLASS_HID;
    alt->bNumEndpoints = 1;
    alt->endpoint = ep;
    auto* iface = new libusb_interface{alt, 1};
    auto* c = new libusb_config_descriptor{};
    c->bNumInterfaces = 1;
    c->interface = iface;
    *config = c;
    return 0;
}

void LIBUSB_CALL libusb_free_config_descriptor(libusb_config_descriptor* config)
{
    if (!config)
        return;
    delete config->interface->altsetting->endpoint;
    delete config->interface->altsetting;
    delete config->interface;
    delete config;
}

int LIBUSB_CALL libusb_claim_interface(libusb_device_handle*, int)
{
    return 0;
}

int LIBUSB_CALL libusb_release_interface(libusb_device_handle*, int)
{
    return 0;
}

int LIBUSB_CALL libusb_clear_halt(libusb_device_handle*, unsigned char)
{
    return 0;
}

libusb_transfer* LIBUSB_CALL libusb_alloc_transfer(int)
{
    auto* t = new Transfer;
    t->pub = {};
    return &t->pub;
}

void LIBUSB_CALL libusb_free_transfer(libusb_transfer* transfer)
{
    if (!transfer)
        return;
    Transfer* t = of(transfer);
    std::free(t->urb);
    delete t;
}

int LIBUSB_CALL libusb_submit_transfer(libusb_transfer* transfer)
{
    libusb_context* ctx = g_context;
    if (!ctx)
        return LIBUSB_ERROR_NO_DEVICE;
    if (ctx->openHandles == 0) {
        // The first transfer opens the node, as claiming the interface does.
        if (ctx->nodeFd < 0)
            ctx->nodeFd = open_node();
        ++ctx->openHandles;
        if (ctx->added)
            ctx->added(ctx->nodeFd, POLLIN, ctx->notifierData);
    }
    libusb_device* dev = libusb_ref_device(&g_tablet);
    ctx->flyingTransfersLock.lock();
    Transfer* t = of(transfer);
    t->lock.lock();
    ctx->inFlight.push_back(transfer);
    ctx->flyingTransfersLock.unlock();
    // The URB, and the ioctl that hands it to the kernel.
    t->urb = std::calloc(1, sizeof(usbdevfs_urb));
    int queued = 0;
    (void)!ioctl(ctx->nodeFd, FIONREAD, &queued);
    t->lock.unlock();
    libusb_unref_device(dev);
    return 0;
}

int LIBUSB_CALL libusb_cancel_transfer(libusb_transfer* transfer)
{
    libusb_context* ctx = g_context;
    auto it = std::find(ctx->inFlight.begin(), ctx->inFlight.end(), transfer);
    if (it == ctx->inFlight.end())
        return LIBUSB_ERROR_NOT_FOUND;
    ctx->inFlight.erase(it);
    ctx->cancelled.push_back(transfer);
    const uint64_t one = 1;
    (void)!write(ctx->eventFd, &one, sizeof one);
    return 0;
}

int LIBUSB_CALL libusb_handle_events_timeout_completed(libusb_context* ctx, timeval* tv, int*)
{
    // libusb_try_lock_events, then handle_events' look at the event sources.
    ctx->eventDataLock.lock();
    ctx->eventDataLock.unlock();
    if (!ctx->eventsLock.tryLock())
        return 0;
    ctx->eventDataLock.lock();
    ctx->eventDataLock.unlock();
    pollfd fds[3] = {{ctx->eventFd, POLLIN, 0}, {ctx->timerFd, POLLIN, 0}, {ctx->nodeFd, POLLIN, 0}};
    const nfds_t n = ctx->openHandles > 0 ? 3 : 2;
    const int timeout = tv ? static_cast<int>(tv->tv_sec * 1000 + tv->tv_usec / 1000) : -1;
    if (poll(fds, n, timeout) > 0) {
        if (fds[0].revents & POLLIN) {
            ctx->eventDataLock.lock();
            uint64_t count;
            (void)!read(ctx->eventFd, &count, sizeof count);
            ctx->eventDataLock.unlock();
            for (libusb_transfer* t : std::exchange(ctx->cancelled, {}))
                complete(ctx, t, LIBUSB_TRANSFER_CANCELLED, 0);
            if (ctx->inFlight.empty() && ctx->openHandles > 0) {
                --ctx->openHandles;
                if (ctx->removed)
                    ctx->removed(ctx->nodeFd, ctx->notifierData);
            }
        }
        if (n > 2 && (fds[2].revents & POLLIN)) {
            ctx->openDevsLock.lock();
            reap(ctx);
            ctx->openDevsLock.unlock();
        }
    }
    // libusb_unlock_events wakes whoever waits for an event.
    ctx->eventsLock.unlock();
    ctx->eventWaitersLock.lock();
    pthread_cond_broadcast(&ctx->eventWaitersCond);
    ctx->eventWaitersLock.unlock();
    return 0;
}

} // extern "C"
