#include "settings/ui/NVDrmDisplaySource.h"

#include "platform/linux/DrmConnectors.h"
#include "platform/linux/I2cDevice.h"
#include "settings/logic/NVEdid.h"

#include <thread>

namespace {

class I2cDevPort : public NVI2cPort {
public:
    explicit I2cDevPort(std::unique_ptr<I2cDevice> device) : device_(std::move(device)) {}
    bool write(std::span<const uint8_t> bytes) override { return device_->write(bytes.data(), bytes.size()); }
    bool read(std::span<uint8_t> bytes) override { return device_->read(bytes.data(), bytes.size()); }
    void pause(std::chrono::milliseconds ms) override { std::this_thread::sleep_for(ms); }

private:
    std::unique_ptr<I2cDevice> device_;
};

} // namespace

std::vector<DDCDisplay> NVDrmDisplaySource::displays()
{
    std::vector<DDCDisplay> out;
    for (const DrmConnector& c : drm_connectors(sysRoot_)) {
        DDCDisplay d;
        d.displayID = static_cast<uint32_t>(out.size());
        d.bus = c.i2cBus;
        const auto names = nv_edid_names(c.edid);
        d.screenName = names && !names->productName.empty() ? names->productName : c.name;
        if (names)
            d.seriaNumber = names->serialNumber;
        out.push_back(std::move(d));
    }
    return out;
}

std::unique_ptr<NVI2cPort> NVDrmDisplaySource::open(const DDCDisplay& display)
{
    if (display.bus < 0)
        return nullptr;
    auto device = I2cDevice::open(display.bus, nvDdcI2cSlave, devDir_);
    if (!device)
        return nullptr;
    return std::make_unique<I2cDevPort>(std::move(device));
}
