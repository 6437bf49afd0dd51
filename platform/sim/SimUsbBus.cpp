#include "platform/sim/SimUsbBus.h"

#include "core/device/NVModelTable.h"

#include <algorithm>
#include <cstring>

class SimUsbBus::Device : public UsbDevice {
public:
    Device(int id, SimDeviceScript script) : id_(id), script_(std::move(script)) {}

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
    void detach() { attached_ = false; open_ = false; }

private:
    int id_;
    SimDeviceScript script_;
    bool open_ = false;
    bool attached_ = true;
};

class SimUsbBus::Hid : public HidManager {
public:
    explicit Hid(SimUsbBus* bus) : bus_(bus) { bus_->hids_.push_back(this); }
    ~Hid() override
    {
        if (bus_)
            std::erase(bus_->hids_, this);
    }

    uint32_t open(uint16_t vendor, Callbacks callbacks) override
    {
        callbacks_ = std::move(callbacks);
        vendor_ = vendor;
        open_ = true;
        uint32_t result = 0;
        for (auto& [id, dev] : bus_->devices_)
            if (!adopt(*dev) && matches(*dev))
                result = 0xE0000000u | kExclusiveAccessError;
        return result;
    }

    // Seizes a matching device's interfaces; false when it does not match or another
    // program holds them.
    bool adopt(Device& dev)
    {
        if (!matches(dev) || dev.script().heldElsewhere)
            return false;
        seized_.push_back(dev.id());
        for (int i = 0; i < dev.script().hidInterfaces; ++i)
            if (callbacks_.inserted)
                callbacks_.inserted(HidInterfaceRef{&dev, i});
        return true;
    }

    void close() override
    {
        open_ = false;
        seized_.clear();
    }

    bool matches(const Device& dev) const { return open_ && dev.vendorId() == vendor_; }
    bool holds(int id) const { return std::find(seized_.begin(), seized_.end(), id) != seized_.end(); }

    void report(Device& dev, int iface, const uint8_t* bytes, size_t length)
    {
        if (holds(dev.id()) && callbacks_.report)
            callbacks_.report(HidInterfaceRef{&dev, iface}, bytes, length);
    }

    void removed(Device& dev)
    {
        if (!holds(dev.id()))
            return;
        std::erase(seized_, dev.id());
        for (int i = 0; i < dev.script().hidInterfaces; ++i)
            if (callbacks_.removed)
                callbacks_.removed(HidInterfaceRef{&dev, i});
    }

    bool isOpen() const { return open_; }
    void forgetBus() { bus_ = nullptr; }

private:
    SimUsbBus* bus_;
    Callbacks callbacks_;
    uint16_t vendor_ = 0;
    bool open_ = false;
    std::vector<int> seized_;
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
    // A HID layer that is open picks up the new device's interfaces, as a manager
    // matching by vendor would.
    for (Hid* h : std::vector<Hid*>(hids_))
        h->adopt(*dev);
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

int SimUsbBus::openDevices() const
{
    return static_cast<int>(std::count_if(devices_.begin(), devices_.end(),
                                          [](const auto& d) { return d.second->isOpen(); }));
}

bool SimUsbBus::hidOpen() const
{
    return std::any_of(hids_.begin(), hids_.end(), [](const Hid* h) { return h->isOpen(); });
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
