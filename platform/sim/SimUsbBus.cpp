#include "platform/sim/SimUsbBus.h"

#include "core/device/NVModelTable.h"
#include "core/driver/UsbTransferRecovery.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// What a claim or an open answers for a device that is no longer attached.
constexpr uint32_t kNoDevice = 0xE00002C0u;
// The claim of an interface that another program holds.
constexpr int kHeldElsewhere = -1;

} // namespace

class SimUsbBus::Device : public UsbDevice {
public:
    Device(int id, SimDeviceScript script)
        : id_(id), script_(std::move(script)),
          claimedBy_(static_cast<size_t>(std::max(script_.hidInterfaces, 0)),
                     script_.heldElsewhere ? kHeldElsewhere : 0),
          kernel_(claimedBy_.size(), !script_.heldElsewhere)
    {
    }

    uint16_t vendorId() const override { return script_.vendor; }
    uint16_t productId() const override { return script_.product; }
    uint32_t logId() const override { return static_cast<uint32_t>(id_); }

    int open() override
    {
        if (!attached_)
            return -4;
        if (script_.openError)
            return script_.openError;
        open_ = true;
        return 0;
    }
    void close() override { open_ = false; }

    bool readStringDescriptor(uint8_t index, uint8_t* buffer) override
    {
        if (!open_ || !attached_)
            return false;
        const auto& failing = script_.failingStrings;
        if (std::find(failing.begin(), failing.end(), index) != failing.end())
            return false;
        auto it = script_.strings.find(index);
        if (it == script_.strings.end())
            return false;
        const size_t n = std::min<size_t>(it->second.size(), NV_USB_STRING_BUFFER - 2);
        buffer[0] = static_cast<uint8_t>(n + 2);
        buffer[1] = 3;
        std::memcpy(buffer + 2, it->second.data(), n);
        return true;
    }

    int id() const { return id_; }
    const SimDeviceScript& script() const { return script_; }
    bool isOpen() const { return open_; }
    bool attached() const { return attached_; }
    int interfaces() const { return static_cast<int>(claimedBy_.size()); }
    void detach()
    {
        attached_ = false;
        open_ = false;
        std::fill(claimedBy_.begin(), claimedBy_.end(), 0);
        std::fill(kernel_.begin(), kernel_.end(), false);
    }

    // Claiming detaches the kernel's driver; an interface claimed on another handle is BUSY.
    bool claim(int iface, int handle)
    {
        if (!attached_ || claimedBy_[iface] != 0)
            return false;
        claimedBy_[iface] = handle;
        kernel_[iface] = false;
        return true;
    }
    // A proper release gives each interface back to the kernel's driver.
    void release(int handle)
    {
        for (size_t i = 0; i < claimedBy_.size(); ++i)
            if (claimedBy_[i] == handle) {
                claimedBy_[i] = 0;
                kernel_[i] = attached_;
            }
    }
    // A handle closed while still claiming: the claims go, the driver stays unbound.
    void dropClaims(int handle) { std::replace(claimedBy_.begin(), claimedBy_.end(), handle, 0); }
    bool claimed(int iface, int handle) const { return claimedBy_[iface] == handle; }
    bool claimedByLayer() const
    {
        return std::any_of(claimedBy_.begin(), claimedBy_.end(), [](int h) { return h > 0; });
    }
    bool kernelAttached(int iface) const
    {
        return iface >= 0 && iface < interfaces() && kernel_[static_cast<size_t>(iface)];
    }
    void clearHalt() { ++clearedHalts_; }
    int clearedHalts() const { return clearedHalts_; }

private:
    int id_;
    SimDeviceScript script_;
    bool open_ = false;
    bool attached_ = true;
    std::vector<int> claimedBy_; // 0: free, kHeldElsewhere, else the claiming handle
    std::vector<bool> kernel_;
    int clearedHalts_ = 0;
};

class SimUsbBus::Hid : public HidManager {
public:
    explicit Hid(SimUsbBus* bus) : bus_(bus), handle_(bus->nextHandle_++) { bus_->hids_.push_back(this); }
    ~Hid() override
    {
        // Closing the handle without a release: the claims go, the driver stays unbound.
        if (dev_ && !closing_)
            dev_->dropClaims(handle_);
        if (bus_)
            std::erase(bus_->hids_, this);
    }

    uint32_t open(UsbDevice& device, Callbacks callbacks) override
    {
        callbacks_ = std::move(callbacks);
        if (!bus_)
            return kNoDevice;
        auto it = bus_->devices_.find(static_cast<Device&>(device).id());
        if (it == bus_->devices_.end())
            return kNoDevice;
        dev_ = it->second;
        reading_.assign(static_cast<size_t>(dev_->interfaces()), false);
        held_ = reading_;
        recovery_.assign(reading_.size(), {});
        uint32_t result = 0;
        for (int i = 0; i < dev_->interfaces(); ++i) {
            if (!dev_->claim(i, handle_)) {
                result = 0xE0000000u | kExclusiveAccessError;
                continue;
            }
            held_[static_cast<size_t>(i)] = true;
            submit(i);
            if (callbacks_.inserted)
                callbacks_.inserted(HidInterfaceRef{dev_.get(), i});
        }
        return result;
    }

    void close(std::function<void()> released) override
    {
        stopReading();
        closing_ = true;
        released_ = std::make_shared<std::function<void()>>(std::move(released));
        if (!bus_ || (dev_ && dev_->script().releaseHangs))
            return;
        // Completes even when this layer is gone by then; only the callback is dropped.
        bus_->defer([dev = dev_, handle = handle_, cb = std::weak_ptr(released_)] {
            if (dev)
                dev->release(handle);
            // The callback may destroy this layer: hold it while it runs.
            if (auto run = cb.lock(); run && *run)
                (*run)();
        });
    }

    bool closeWithin(double) override
    {
        stopReading();
        closing_ = true;
        released_.reset();
        if (!dev_)
            return true;
        if (dev_->script().releaseHangs)
            return false;
        dev_->release(handle_);
        return true;
    }

    void report(Device& dev, int iface, const uint8_t* bytes, size_t length)
    {
        if (!reads(dev, iface))
            return;
        recovery_[static_cast<size_t>(iface)].succeeded();
        if (callbacks_.report)
            callbacks_.report(HidInterfaceRef{&dev, iface}, bytes, length);
    }

    void transferFailed(Device& dev, int iface, UsbTransferError error)
    {
        if (!reads(dev, iface))
            return;
        const size_t i = static_cast<size_t>(iface);
        reading_[i] = false;
        const UsbTransferRecovery::Step step = recovery_[i].failed(error, iface);
        if (step.action == UsbTransferRecovery::Action::Resubmit) {
            defer([this, iface, halt = step.clearHalt] {
                if (closing_ || !dev_->claimed(iface, handle_))
                    return;
                if (halt)
                    dev_->clearHalt();
                submit(iface);
            });
        } else if (step.action == UsbTransferRecovery::Action::GiveUp) {
            defer([this, iface] {
                if (!closing_ && callbacks_.failed)
                    callbacks_.failed(HidInterfaceRef{dev_.get(), iface});
            });
        }
    }

    void removed(Device& dev)
    {
        if (dev_.get() != &dev || closing_)
            return;
        stopReading();
        const std::vector<bool> held = std::exchange(held_, {});
        for (size_t i = 0; i < held.size(); ++i)
            if (held[i] && callbacks_.removed)
                callbacks_.removed(HidInterfaceRef{&dev, static_cast<int>(i)});
    }

    void forgetBus() { bus_ = nullptr; }

private:
    bool reads(const Device& dev, int iface) const
    {
        return dev_.get() == &dev && iface >= 0 && static_cast<size_t>(iface) < reading_.size() &&
               reading_[static_cast<size_t>(iface)];
    }
    // Puts a transfer in flight; on a device whose transfers fail it ends on the loop.
    void submit(int iface)
    {
        reading_[static_cast<size_t>(iface)] = true;
        if (const std::optional<UsbTransferError> error = dev_->script().failingTransfers)
            defer([this, iface, error = *error] { transferFailed(*dev_, iface, error); });
    }
    void stopReading() { std::fill(reading_.begin(), reading_.end(), false); }
    // Work for the loop that no longer runs once this layer is gone.
    void defer(std::function<void()> work)
    {
        if (bus_)
            bus_->defer([alive = std::weak_ptr(alive_), work = std::move(work)] {
                if (!alive.expired())
                    work();
            });
    }

    SimUsbBus* bus_;
    int handle_;
    Callbacks callbacks_;
    std::shared_ptr<Device> dev_;
    std::vector<bool> reading_; // a transfer is in flight
    std::vector<bool> held_;    // claimed and reported inserted
    std::vector<UsbTransferRecovery> recovery_;
    bool closing_ = false;
    std::shared_ptr<std::function<void()>> released_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

SimUsbBus::SimUsbBus() = default;

SimUsbBus::~SimUsbBus()
{
    for (Hid* h : hids_)
        h->forgetBus();
}

bool SimUsbBus::listen(uint16_t, DeviceHandler arrived, DeviceHandler removed)
{
    if (listenFails_)
        return false;
    ++listenCount_;
    arrived_ = std::move(arrived);
    removed_ = std::move(removed);
    std::vector<UsbDeviceRef> present;
    for (auto& [id, dev] : devices_)
        present.push_back(dev);
    // A copy runs: the handler may arm the bus again and so replace arrived_.
    if (DeviceHandler deliver = arrived_; !present.empty() && deliver)
        deliver(present);
    return true;
}

std::unique_ptr<HidManager> SimUsbBus::createHidManager()
{
    return std::make_unique<Hid>(this);
}

int SimUsbBus::attach(SimDeviceScript script)
{
    const int id = nextId_++;
    auto dev = std::make_shared<Device>(id, std::move(script));
    devices_[id] = dev;
    if (DeviceHandler arrived = arrived_)
        arrived({dev});
    return id;
}

void SimUsbBus::detach(int id)
{
    auto it = devices_.find(id);
    if (it == devices_.end())
        return;
    auto dev = it->second;
    devices_.erase(it);
    dev->detach();
    for (Hid* h : std::vector<Hid*>(hids_))
        h->removed(*dev);
    if (DeviceHandler removed = removed_)
        removed({dev});
}

void SimUsbBus::sendReport(int id, const uint8_t* bytes, size_t length, int interfaceNumber)
{
    auto it = devices_.find(id);
    if (it == devices_.end())
        return;
    for (Hid* h : std::vector<Hid*>(hids_))
        h->report(*it->second, interfaceNumber, bytes, length);
}

void SimUsbBus::failTransfer(int id, UsbTransferError error, int interfaceNumber)
{
    auto it = devices_.find(id);
    if (it == devices_.end())
        return;
    for (Hid* h : std::vector<Hid*>(hids_))
        h->transferFailed(*it->second, interfaceNumber, error);
}

void SimUsbBus::defer(std::function<void()> work)
{
    deferred_.push_back(std::move(work));
    if (deferred_.size() == 1 && wake_)
        wake_();
}

int SimUsbBus::pump(int rounds)
{
    int ran = 0;
    for (; rounds > 0 && !deferred_.empty(); --rounds) {
        auto batch = std::move(deferred_);
        deferred_.clear();
        for (auto& work : batch) {
            work();
            ++ran;
        }
    }
    return ran;
}

int SimUsbBus::openDevices() const
{
    return static_cast<int>(std::count_if(devices_.begin(), devices_.end(),
                                          [](const auto& d) { return d.second->isOpen(); }));
}

bool SimUsbBus::hidOpen() const
{
    return std::any_of(devices_.begin(), devices_.end(), [](const auto& d) { return d.second->claimedByLayer(); });
}

bool SimUsbBus::kernelDriverAttached(int id, int interfaceNumber) const
{
    auto it = devices_.find(id);
    return it != devices_.end() && it->second->kernelAttached(interfaceNumber);
}

int SimUsbBus::clearedHalts(int id) const
{
    auto it = devices_.find(id);
    return it == devices_.end() ? 0 : it->second->clearedHalts();
}

std::vector<uint8_t> nv_utf16le_payload(const std::string& text)
{
    std::vector<uint8_t> out;
    for (unsigned char c : text) {
        out.push_back(c);
        out.push_back(0);
    }
    return out;
}

SimDeviceScript SimDeviceScript::forModel(const NVModelInfo& m, uint8_t battery)
{
    SimDeviceScript s;
    s.product = static_cast<uint16_t>(m.devType);
    s.strings[201] = nv_utf16le_payload(m.identity);
    const uint8_t rateDiv = static_cast<uint8_t>(m.rate / 4);
    s.strings[200] = {
        static_cast<uint8_t>(m.maxX), static_cast<uint8_t>(m.maxX >> 8), static_cast<uint8_t>(m.maxX >> 16),
        static_cast<uint8_t>(m.maxY), static_cast<uint8_t>(m.maxY >> 8), static_cast<uint8_t>(m.maxY >> 16),
        static_cast<uint8_t>(m.maxP), static_cast<uint8_t>(m.maxP >> 8),
        static_cast<uint8_t>(m.lpi), static_cast<uint8_t>(m.lpi >> 8),
        m.pbtnNum, m.hbtnNum, m.sbtnNum, 0,
        static_cast<uint8_t>(m.bMonitor ? 0x02 : 0x00), 0, rateDiv};
    s.strings[209] = {battery, 0};
    return s;
}
