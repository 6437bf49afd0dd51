#include "agent/RecordingUsbBus.h"

#include "platform/sim/NVRecordingWriter.h"

#include <vector>

namespace {

constexpr uint8_t kStringModel = 201;
constexpr uint8_t kStringBattery = 209;

} // namespace

class RecordingUsbBus::Device : public UsbDevice {
public:
    explicit Device(UsbDeviceRef inner) : inner_(std::move(inner)) {}

    uint16_t vendorId() const override { return inner_->vendorId(); }
    uint16_t productId() const override { return inner_->productId(); }
    uint32_t logId() const override { return inner_->logId(); }
    int open() override { return inner_->open(); }
    void close() override { inner_->close(); }
    bool readStringDescriptor(uint8_t index, uint8_t* buffer) override
    {
        if (!inner_->readStringDescriptor(index, buffer))
            return false;
        keep(index, buffer);
        return true;
    }

    // The battery string, read now when the watcher kept the device open.
    void readBattery()
    {
        uint8_t buffer[NV_USB_STRING_BUFFER] = {};
        if (inner_->readStringDescriptor(kStringBattery, buffer))
            keep(kStringBattery, buffer);
    }

    UsbDevice& inner() const { return *inner_; }
    const std::map<uint8_t, std::vector<uint8_t>>& strings() const { return strings_; }
    bool written = false;

private:
    // The payload: the bytes after the two-byte header, as long as the header says.
    void keep(uint8_t index, const uint8_t* buffer)
    {
        size_t length = buffer[0];
        if (length < 2)
            length = NV_USB_STRING_BUFFER;
        strings_[index].assign(buffer + 2, buffer + length);
    }

    UsbDeviceRef inner_;
    std::map<uint8_t, std::vector<uint8_t>> strings_;
};

class RecordingUsbBus::Hid : public HidManager {
public:
    Hid(std::unique_ptr<HidManager> inner, NVRecordingWriter& writer, std::function<double()> now)
        : inner_(std::move(inner)), writer_(writer), now_(std::move(now))
    {
    }

    // device is one of this bus's wrappers: the inner bus opens what it wraps.
    uint32_t open(UsbDevice& device, Callbacks callbacks) override
    {
        auto report = std::move(callbacks.report);
        callbacks.report = [this, report](HidInterfaceRef ref, const uint8_t* bytes, size_t length) {
            writer_.report(now_(), bytes, length);
            if (report)
                report(ref, bytes, length);
        };
        return inner_->open(static_cast<Device&>(device).inner(), std::move(callbacks));
    }
    void close(std::function<void()> released) override { inner_->close(std::move(released)); }
    bool closeWithin(double seconds) override { return inner_->closeWithin(seconds); }

private:
    std::unique_ptr<HidManager> inner_;
    NVRecordingWriter& writer_;
    std::function<double()> now_;
};

RecordingUsbBus::RecordingUsbBus(UsbBus& inner, NVRecordingWriter& writer, std::function<double()> now)
    : inner_(inner), writer_(writer), now_(std::move(now))
{
}

RecordingUsbBus::~RecordingUsbBus() = default;

bool RecordingUsbBus::listen(uint16_t vendor, DeviceHandler arrived, DeviceHandler removed)
{
    return inner_.listen(
        vendor, [this, arrived](const std::vector<UsbDeviceRef>& d) { this->arrived(d, arrived); },
        [this, removed](const std::vector<UsbDeviceRef>& d) { this->removed(d, removed); });
}

std::unique_ptr<HidManager> RecordingUsbBus::createHidManager()
{
    return std::make_unique<Hid>(inner_.createHidManager(), writer_, now_);
}

void RecordingUsbBus::arrived(const std::vector<UsbDeviceRef>& devices, const DeviceHandler& next)
{
    std::vector<UsbDeviceRef> wrapped;
    std::vector<std::shared_ptr<Device>> fresh;
    for (const UsbDeviceRef& d : devices) {
        auto& w = devices_[d.get()];
        if (!w) {
            w = std::make_shared<Device>(d);
            fresh.push_back(w);
        }
        wrapped.push_back(w);
    }
    if (next)
        next(wrapped);
    // The watcher has read the identity by now and opened the HID layer; reports come
    // later on the loop, so the device line precedes them.
    for (const auto& w : fresh) {
        if (w->strings().count(kStringModel) == 0 || w->written)
            continue;
        w->readBattery();
        writer_.device(w->vendorId(), w->productId(), w->strings());
        w->written = true;
    }
}

void RecordingUsbBus::removed(const std::vector<UsbDeviceRef>& devices, const DeviceHandler& next)
{
    std::vector<UsbDeviceRef> wrapped;
    bool unplugged = false;
    for (const UsbDeviceRef& d : devices) {
        auto it = devices_.find(d.get());
        if (it == devices_.end()) {
            wrapped.push_back(d);
            continue;
        }
        unplugged = unplugged || it->second->written;
        wrapped.push_back(it->second);
        devices_.erase(it);
    }
    if (unplugged)
        writer_.unplug(now_());
    if (next)
        next(wrapped);
}
