#include "platform/linux/LibusbBus.h"

#include "core/device/libCross/nvParse.h"
#include "core/driver/UsbTransferRecovery.h"
#include "core/log/NVLog.h"

#include <QSocketNotifier>
#include <QTimer>

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace {

// The packet size of a full-speed interrupt endpoint, for one that declares none.
constexpr size_t kDefaultPacket = 64;

class LibusbDevice : public UsbDevice {
public:
    explicit LibusbDevice(libusb_device* dev) : dev_(libusb_ref_device(dev))
    {
        libusb_device_descriptor desc{};
        if (libusb_get_device_descriptor(dev_, &desc) == 0) {
            vendor_ = desc.idVendor;
            product_ = desc.idProduct;
        }
    }
    ~LibusbDevice() override
    {
        close();
        libusb_unref_device(dev_);
    }

    uint16_t vendorId() const override { return vendor_; }
    uint16_t productId() const override { return product_; }
    uint32_t logId() const override
    {
        return static_cast<uint32_t>(libusb_get_bus_number(dev_)) << 8 | libusb_get_device_address(dev_);
    }

    int open() override
    {
        if (handle_)
            return 0;
        return libusb_open(dev_, &handle_);
    }

    void close() override
    {
        if (handle_)
            libusb_close(handle_);
        handle_ = nullptr;
    }

    bool readStringDescriptor(uint8_t index, uint8_t* buffer) override
    {
        if (!handle_)
            return false;
        const int n = libusb_get_string_descriptor(handle_, index, NV_USB_LANG_EN_US, buffer, NV_USB_STRING_BUFFER);
        return n >= 2;
    }

    libusb_device* device() const { return dev_; }

private:
    libusb_device* dev_;
    libusb_device_handle* handle_ = nullptr;
    uint16_t vendor_ = 0;
    uint16_t product_ = 0;
};

} // namespace

namespace {

// Runs work on the loop soon, unless the owner of alive is gone by then.
void post(const std::shared_ptr<int>& alive, std::function<void()> work)
{
    QTimer::singleShot(0, [alive = std::weak_ptr(alive), work = std::move(work)] {
        if (!alive.expired())
            work();
    });
}

UsbTransferError transfer_error(int status)
{
    switch (status) {
    case LIBUSB_TRANSFER_STALL:
        return UsbTransferError::Stall;
    case LIBUSB_TRANSFER_OVERFLOW:
        return UsbTransferError::Overflow;
    case LIBUSB_TRANSFER_TIMED_OUT:
        return UsbTransferError::Timeout;
    case LIBUSB_TRANSFER_NO_DEVICE:
        return UsbTransferError::NoDevice;
    default:
        return UsbTransferError::Error;
    }
}

} // namespace

// One HID layer: its own handle on one device, the HID interfaces claimed, one interrupt
// transfer per interface. A release waits for libusb to hand the cancelled transfers back
// before the interfaces return to the kernel, so the last transfer completes it, even
// after this layer is gone.
class LibusbHid : public HidManager {
public:
    explicit LibusbHid(LibusbBus* bus) : bus_(bus) { bus_->hids_.push_back(this); }
    ~LibusbHid() override
    {
        if (seized_) {
            if (!seized_->closing)
                release(seized_);
            if (seized_)
                seized_->owner = nullptr;
        }
        if (bus_)
            std::erase(bus_->hids_, this);
    }

    uint32_t open(UsbDevice& device, Callbacks callbacks) override
    {
        callbacks_ = std::move(callbacks);
        auto& dev = static_cast<LibusbDevice&>(device);
        libusb_device_handle* handle = nullptr;
        if (!bus_)
            return static_cast<uint32_t>(-LIBUSB_ERROR_NO_DEVICE);
        if (int rc = libusb_open(dev.device(), &handle); rc != 0)
            return static_cast<uint32_t>(-rc);
        // Releasing an interface then binds the kernel's driver again.
        libusb_set_auto_detach_kernel_driver(handle, 1);

        libusb_config_descriptor* config = nullptr;
        if (libusb_get_active_config_descriptor(dev.device(), &config) != 0) {
            libusb_close(handle);
            return static_cast<uint32_t>(-LIBUSB_ERROR_IO);
        }
        seized_ = new Seized{this, bus_->ctx_, &dev, handle, {}, {}, false, {}};
        uint32_t result = 0;
        for (int i = 0; i < config->bNumInterfaces; ++i) {
            const libusb_interface_descriptor& alt = config->interface[i].altsetting[0];
            if (alt.bInterfaceClass != LIBUSB_CLASS_HID)
                continue;
            const int rc = libusb_claim_interface(handle, alt.bInterfaceNumber);
            if (rc != 0) {
                result = rc == LIBUSB_ERROR_BUSY ? (0xE0000000u | kExclusiveAccessError) : static_cast<uint32_t>(-rc);
                continue;
            }
            seized_->claimed.push_back(alt.bInterfaceNumber);
            for (int e = 0; e < alt.bNumEndpoints; ++e) {
                const libusb_endpoint_descriptor& ep = alt.endpoint[e];
                if ((ep.bmAttributes & 0x03) == LIBUSB_TRANSFER_TYPE_INTERRUPT && (ep.bEndpointAddress & 0x80)) {
                    startReader(seized_, alt.bInterfaceNumber, ep.bEndpointAddress, ep.wMaxPacketSize & 0x7FF);
                    break;
                }
            }
            if (callbacks_.inserted)
                callbacks_.inserted(HidInterfaceRef{&dev, alt.bInterfaceNumber});
        }
        libusb_free_config_descriptor(config);
        return result;
    }

    void close(std::function<void()> released) override
    {
        released_ = std::make_shared<std::function<void()>>(std::move(released));
        if (!seized_) {
            postReleased();
            return;
        }
        seized_->released = released_;
        if (!seized_->closing)
            release(seized_);
    }

    bool closeWithin(double seconds) override
    {
        released_.reset();
        if (!seized_)
            return true;
        if (!seized_->closing)
            release(seized_);
        libusb_context* ctx = seized_ ? seized_->ctx : nullptr;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (seized_ && std::chrono::steady_clock::now() < deadline) {
            timeval slice{0, 20000};
            libusb_handle_events_timeout_completed(ctx, &slice, nullptr);
        }
        return seized_ == nullptr;
    }

    void deviceLeft(const UsbDevice* dev)
    {
        Seized* s = seized_;
        if (!s || s->device != dev || s->closing)
            return;
        for (int iface : std::exchange(s->claimed, {}))
            if (callbacks_.removed)
                callbacks_.removed(HidInterfaceRef{dev, iface});
    }

    void forgetBus() { bus_ = nullptr; }

private:
    struct Reader;
    struct Seized {
        LibusbHid* owner; // null once the layer is gone
        libusb_context* ctx;
        const UsbDevice* device;
        libusb_device_handle* handle;
        std::vector<int> claimed;
        std::vector<Reader*> readers;
        bool closing;
        std::weak_ptr<std::function<void()>> released;
    };
    // In flight, delivering a report, waiting to be resubmitted, or stopped for good.
    enum class State { InFlight, Delivering, Waiting, Stopped };
    struct Reader {
        Seized* seized;
        int interfaceNumber;
        unsigned char endpoint;
        std::vector<unsigned char> buffer;
        libusb_transfer* transfer;
        State state;
        UsbTransferRecovery recovery;
        std::unique_ptr<QTimer> retry;
    };

    static void startReader(Seized* s, int iface, unsigned char endpoint, int packetSize)
    {
        libusb_transfer* t = libusb_alloc_transfer(0);
        if (!t)
            return;
        const size_t size = LibusbBus::reportBufferSize(packetSize);
        auto* r = new Reader{s, iface, endpoint, std::vector<unsigned char>(size), t, State::Stopped, {}, {}};
        libusb_fill_interrupt_transfer(t, s->handle, endpoint, r->buffer.data(), static_cast<int>(size),
                                       &LibusbHid::transferDone, r, 0);
        s->readers.push_back(r);
        submit(r);
    }

    static void submit(Reader* r)
    {
        const int rc = libusb_submit_transfer(r->transfer);
        if (rc == 0) {
            r->state = State::InFlight;
            return;
        }
        recover(r, rc == LIBUSB_ERROR_NO_DEVICE ? UsbTransferError::NoDevice : UsbTransferError::Error);
    }

    // Runs inside libusb's event handling, on the main loop: reports go straight to
    // the dispatcher, the fastest path from the wire to the posted event.
    static void transferDone(libusb_transfer* t)
    {
        auto* r = static_cast<Reader*>(t->user_data);
        Seized* s = r->seized;
        if (s->closing) {
            retire(r);
            return;
        }
        if (t->status != LIBUSB_TRANSFER_COMPLETED) {
            r->state = State::Stopped;
            recover(r, transfer_error(t->status));
            return;
        }
        r->recovery.succeeded();
        r->state = State::Delivering;
        if (s->owner && s->owner->callbacks_.report)
            s->owner->callbacks_.report(HidInterfaceRef{s->device, r->interfaceNumber}, t->buffer,
                                        static_cast<size_t>(t->actual_length));
        // The report may have closed the layer.
        if (s->closing)
            retire(r);
        else
            submit(r);
    }

    static void recover(Reader* r, UsbTransferError error)
    {
        const UsbTransferRecovery::Step step = r->recovery.failed(error, r->interfaceNumber);
        r->state = State::Stopped;
        Seized* s = r->seized;
        if (step.action == UsbTransferRecovery::Action::GiveUp) {
            if (LibusbHid* owner = s->owner)
                post(owner->alive_, [owner, s, iface = r->interfaceNumber] {
                    if (owner->seized_ == s && !s->closing && owner->callbacks_.failed)
                        owner->callbacks_.failed(HidInterfaceRef{s->device, iface});
                });
            return;
        }
        if (step.action != UsbTransferRecovery::Action::Resubmit)
            return;
        if (step.pauseSeconds <= 0) {
            submit(r);
            return;
        }
        // A pause on the loop, never a sleep.
        r->state = State::Waiting;
        r->retry = std::make_unique<QTimer>();
        r->retry->setSingleShot(true);
        QObject::connect(r->retry.get(), &QTimer::timeout, [r, halt = step.clearHalt] {
            if (halt)
                libusb_clear_halt(r->seized->handle, r->endpoint);
            submit(r);
        });
        r->retry->start(static_cast<int>(step.pauseSeconds * 1000));
    }

    // Cancels what is in flight and frees the rest; the last reader to come back
    // completes the release.
    static void release(Seized* s)
    {
        s->closing = true;
        for (Reader* r : std::vector<Reader*>(s->readers)) {
            if (r->state == State::InFlight)
                libusb_cancel_transfer(r->transfer);
            else if (r->state != State::Delivering)
                drop(r);
        }
        if (s->readers.empty())
            finish(s);
    }

    // A reader of a closing layer came back.
    static void retire(Reader* r)
    {
        Seized* s = r->seized;
        drop(r);
        if (s->readers.empty())
            finish(s);
    }

    static void drop(Reader* r)
    {
        std::erase(r->seized->readers, r);
        libusb_free_transfer(r->transfer);
        delete r;
    }

    static void finish(Seized* s)
    {
        for (int iface : s->claimed)
            libusb_release_interface(s->handle, iface);
        libusb_close(s->handle);
        if (LibusbHid* owner = s->owner) {
            owner->seized_ = nullptr;
            if (!s->released.expired())
                owner->postReleased();
        }
        delete s;
    }

    // The callback may destroy this layer; a shutdown or the layer's end drops it.
    void postReleased()
    {
        post(alive_, [cb = std::weak_ptr(released_)] {
            if (auto run = cb.lock(); run && *run)
                (*run)();
        });
    }

    LibusbBus* bus_;
    Callbacks callbacks_;
    Seized* seized_ = nullptr;
    std::shared_ptr<std::function<void()>> released_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

std::unique_ptr<LibusbBus> LibusbBus::create()
{
    libusb_context* ctx = nullptr;
    if (int rc = libusb_init(&ctx); rc != 0) {
        nv_log("libusb could not start: %s", libusb_error_name(rc));
        return nullptr;
    }
    if (!libusb_has_capability(LIBUSB_CAP_HAS_HOTPLUG)) {
        nv_log("libusb has no hotplug support on this system");
        libusb_exit(ctx);
        return nullptr;
    }
    return std::unique_ptr<LibusbBus>(new LibusbBus(ctx));
}

LibusbBus::LibusbBus(libusb_context* ctx) : ctx_(ctx)
{
    libusb_set_pollfd_notifiers(ctx_, &LibusbBus::pollfdAdded, &LibusbBus::pollfdRemoved, this);
    if (const libusb_pollfd** fds = libusb_get_pollfds(ctx_)) {
        for (const libusb_pollfd** p = fds; *p; ++p)
            watchFd((*p)->fd, (*p)->events);
        libusb_free_pollfds(fds);
    }
    if (!libusb_pollfds_handle_timeouts(ctx_)) {
        // Without timerfd libusb needs to be called for its timeouts.
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [this] { handleEvents(); });
        timer->start(100);
        timeoutTimer_.reset(timer);
    }
}

LibusbBus::~LibusbBus()
{
    for (LibusbHid* h : hids_)
        h->forgetBus();
    if (armed_)
        libusb_hotplug_deregister_callback(ctx_, hotplugHandle_);
    devices_.clear();
    libusb_set_pollfd_notifiers(ctx_, nullptr, nullptr, nullptr);
    notifiers_.clear();
    timeoutTimer_.reset();
    libusb_exit(ctx_);
}

bool LibusbBus::listen(uint16_t vendor, DeviceHandler arrived, DeviceHandler removed)
{
    if (armed_) {
        libusb_hotplug_deregister_callback(ctx_, hotplugHandle_);
        armed_ = false;
    }
    arrived_ = std::move(arrived);
    removed_ = std::move(removed);
    devices_.clear();
    pending_.clear();
    // ENUMERATE reports the devices already attached from inside this call.
    const int rc = libusb_hotplug_register_callback(
        ctx_, LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED | LIBUSB_HOTPLUG_EVENT_DEVICE_LEFT, LIBUSB_HOTPLUG_ENUMERATE,
        vendor, LIBUSB_HOTPLUG_MATCH_ANY, LIBUSB_HOTPLUG_MATCH_ANY, &LibusbBus::hotplugCallback, this,
        &hotplugHandle_);
    if (rc != LIBUSB_SUCCESS) {
        nv_log("libusb hotplug registration failed: %s", libusb_error_name(rc));
        return false;
    }
    armed_ = true;
    ++arming_;
    deliverPending();
    return true;
}

std::unique_ptr<HidManager> LibusbBus::createHidManager()
{
    return std::make_unique<LibusbHid>(this);
}

size_t LibusbBus::reportBufferSize(int maxPacketSize)
{
    // Whole packets, as many as a report needs: a packet never overflows the buffer, and a
    // report split over small packets still arrives in one piece.
    const size_t packet = maxPacketSize > 0 ? static_cast<size_t>(maxPacketSize) : kDefaultPacket;
    return (NV_REPORT_SIZE + packet - 1) / packet * packet;
}

std::vector<UsbDeviceRef> LibusbBus::attached() const
{
    std::vector<UsbDeviceRef> out;
    for (const auto& [dev, ref] : devices_)
        out.push_back(ref);
    return out;
}

int LibusbBus::hotplugCallback(libusb_context*, libusb_device* dev, libusb_hotplug_event event, void* self)
{
    // No I/O is allowed here: note the event and handle it after libusb returns.
    auto* bus = static_cast<LibusbBus*>(self);
    libusb_ref_device(dev);
    bus->pending_.emplace_back(dev, event == LIBUSB_HOTPLUG_EVENT_DEVICE_ARRIVED);
    return 0;
}

void LibusbBus::deliverPending()
{
    std::vector<UsbDeviceRef> arrivedBatch;
    std::vector<UsbDeviceRef> removedBatch;
    auto pending = std::move(pending_);
    pending_.clear();
    for (auto [dev, arrived] : pending) {
        if (arrived) {
            auto ref = std::make_shared<LibusbDevice>(dev);
            devices_[dev] = ref;
            arrivedBatch.push_back(ref);
        } else if (auto it = devices_.find(dev); it != devices_.end()) {
            removedBatch.push_back(it->second);
            for (LibusbHid* h : std::vector<LibusbHid*>(hids_))
                h->deviceLeft(it->second.get());
            devices_.erase(it);
        }
        libusb_unref_device(dev);
    }
    // The handlers may re-arm the bus, which replaces them and delivers the attached
    // devices itself: call copies, and drop this batch's arrivals once that happened.
    const unsigned arming = arming_;
    if (DeviceHandler removed = removed_; !removedBatch.empty() && removed)
        removed(removedBatch);
    if (arming != arming_)
        return;
    if (DeviceHandler arrived = arrived_; !arrivedBatch.empty() && arrived)
        arrived(arrivedBatch);
}

void LibusbBus::pollfdAdded(int fd, short events, void* self)
{
    static_cast<LibusbBus*>(self)->watchFd(fd, events);
}

void LibusbBus::pollfdRemoved(int fd, void* self)
{
    static_cast<LibusbBus*>(self)->notifiers_.erase(fd);
}

void LibusbBus::watchFd(int fd, short events)
{
    auto& list = notifiers_[fd];
    list.clear();
    auto add = [&](QSocketNotifier::Type type) {
        auto n = std::make_unique<QSocketNotifier>(fd, type);
        QObject::connect(n.get(), &QSocketNotifier::activated, [this] { handleEvents(); });
        list.push_back(std::move(n));
    };
    if (events & POLLIN)
        add(QSocketNotifier::Read);
    if (events & POLLOUT)
        add(QSocketNotifier::Write);
}

void LibusbBus::handleEvents()
{
    timeval zero{0, 0};
    libusb_handle_events_timeout_completed(ctx_, &zero, nullptr);
    if (!pending_.empty())
        deliverPending();
}
