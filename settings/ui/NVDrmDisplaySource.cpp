#include "settings/ui/NVDrmDisplaySource.h"

#include "platform/linux/DrmConnectors.h"
#include "platform/linux/I2cDevice.h"
#include "settings/logic/NVDisplayMatch.h"

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

NVDrmDisplaySource::NVDrmDisplaySource(std::unique_ptr<DisplayList> screens, std::string sysRoot, std::string devDir)
    : screens_(std::move(screens)), sysRoot_(std::move(sysRoot)), devDir_(std::move(devDir))
{
}

std::vector<DDCDisplay> NVDrmDisplaySource::displays()
{
    std::vector<NVDisplayIdentity> identities;
    if (!screens_->displayIdentities(identities))
        return {};
    return nv_match_ddc_displays(identities, drm_connectors(sysRoot_));
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

void NVDrmDisplaySource::setChangeHandler(std::function<void()> handler)
{
    screens_->setReconfigurationHandler(std::move(handler));
}
