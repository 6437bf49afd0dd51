#include "platform/linux/LibusbBus.h"

#include "core/log/NVLog.h"

#include <QSocketNotifier>
#include <QTimer>

#include <poll.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kReportBuffer = 64; // a whole interrupt packet; the dispatcher keeps only 12-byte reports

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

// One HID layer: a separate handle per device, its HID interfaces claimed, one interrupt
// transfer per interface kept in flight. A released device waits for libusb to hand its
// cancelled transfers back before its interfaces return to the kernel, so the last
// transfer frees it, even after this layer is gone.
class LibusbHid : public HidManager {
public:
    explicit LibusbHid(LibusbBus* bus) : bus_(bus) { bus_->hids_.push_back(this); }
    ~LibusbHid() override
    {
        close();
        if (bus_)
            std::erase(bus_->hids_, this);
    }

    uint32_t open(uint16_t vendor, Callbacks callbacks) override
    {
        callbacks_ = std::move(callbacks);
        vendor_ = vendor;
        open_ = true;
        uint32_t result = 0;
        for (const auto& dev : bus_->attached()) {
            const uint32_t r = adopt(static_cast<LibusbDevice&>(*dev));
            if (r && !result)
                result = r;
        }
        return result;
    }

    void close() override
    {
        open_ = false;
        for (Seized* s : seized_)
            release(s);
        seized_.clear();
    }

    // Claims the HID interfaces of a device of the vendor and starts reading them.
    uint32_t adopt(LibusbDevice& dev)
    {
        if (!open_ || dev.vendorId() != vendor_)
            return 0;
        libusb_device_handle* handle = nullptr;
        if (int rc = libusb_open(dev.device(), &handle); rc != 0)
            return static_cast<uint32_t>(-rc);
        libusb_set_auto_detach_kernel_driver(handle, 1);

        libusb_config_descriptor* config = nullptr;
        if (libusb_get_active_config_descriptor(dev.device(), &config) != 0) {
            libusb_close(handle);
            return static_cast<uint32_t>(-LIBUSB_ERROR_IO);
        }
        auto* s = new Seized{this, &dev, handle, {}, {}, false};
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
            s->claimed.push_back(alt.bInterfaceNumber);
            for (int e = 0; e < alt.bNumEndpoints; ++e) {
                const libusb_endpoint_descriptor& ep = alt.endpoint[e];
                if ((ep.bmAttributes & 0x03) == LIBUSB_TRANSFER_TYPE_INTERRUPT && (ep.bEndpointAddress & 0x80)) {
                    startTransfer(s, alt.bInterfaceNumber, ep.bEndpointAddress);
                    break;
                }
            }
            if (callbacks_.inserted)
                callbacks_.inserted(HidInterfaceRef{&dev, alt.bInterfaceNumber});
        }
        libusb_free_config_descriptor(config);
        seized_.push_back(s);
        return result;
    }

    void deviceLeft(const UsbDevice* dev)
    {
        auto it = std::find_if(seized_.begin(), seized_.end(), [dev](const Seized* s) { return s->device == dev; });
        if (it == seized_.end())
            return;
        Seized* s = *it;
        seized_.erase(it);
        for (int iface : s->claimed)
            if (callbacks_.removed)
                callbacks_.removed(HidInterfaceRef{dev, iface});
        release(s);
    }

    void forgetBus() { bus_ = nullptr; }

private:
    struct Seized {
        LibusbHid* owner;
        const UsbDevice* device;
        libusb_device_handle* handle;
        std::vector<int> claimed;
        std::vector<libusb_transfer*> transfers;
        bool closing;
    };
    struct Transfer {
        Seized* seized;
        int interfaceNumber;
        unsigned char buffer[kReportBuffer];
    };

    static void startTransfer(Seized* s, int iface, unsigned char endpoint)
    {
        libusb_transfer* t = libusb_alloc_transfer(0);
        if (!t)
            return;
        auto* ctx = new Transfer{s, iface, {}};
        libusb_fill_interrupt_transfer(t, s->handle, endpoint, ctx->buffer, kReportBuffer, &LibusbHid::transferDone,
                                       ctx, 0);
        if (libusb_submit_transfer(t) == 0) {
            s->transfers.push_back(t);
        } else {
            delete ctx;
            libusb_free_transfer(t);
        }
    }

    // Runs inside libusb's event handling, on the main loop: reports go straight to
    // the dispatcher, the fastest path from the wire to the posted event.
    static void transferDone(libusb_transfer* t)
    {
        auto* ctx = static_cast<Transfer*>(t->user_data);
        Seized* s = ctx->seized;
        if (t->status == LIBUSB_TRANSFER_COMPLETED && !s->closing) {
            const Callbacks& cb = s->owner->callbacks_;
            if (cb.report)
                cb.report(HidInterfaceRef{s->device, ctx->interfaceNumber}, t->buffer,
                          static_cast<size_t>(t->actual_length));
            if (!s->closing && libusb_submit_transfer(t) == 0)
                return;
        }
        std::erase(s->transfers, t);
        delete ctx;
        libusb_free_transfer(t);
        if (s->closing && s->transfers.empty())
            finish(s);
    }

    static void release(Seized* s)
    {
        s->closing = true;
        if (s->transfers.empty()) {
            finish(s);
            return;
        }
        for (libusb_transfer* t : s->transfers)
            libusb_cancel_transfer(t);
    }

    static void finish(Seized* s)
    {
        for (int iface : s->claimed)
            libusb_release_interface(s->handle, iface);
        libusb_close(s->handle);
        delete s;
    }

    LibusbBus* bus_;
    Callbacks callbacks_;
    uint16_t vendor_ = 0;
    bool open_ = false;
    std::vector<Seized*> seized_;
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
    for (const auto& ref : arrivedBatch)
        for (LibusbHid* h : std::vector<LibusbHid*>(hids_))
            h->adopt(static_cast<LibusbDevice&>(*ref));
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
