// The monitor page's displays on Linux: the DRM connectors with an EDID, named from it,
// and their DDC/CI buses through i2c-dev.
#pragma once

#include "settings/logic/DDCCIControl.h"

#include <string>

class NVDrmDisplaySource : public NVDdcDisplaySource {
public:
    explicit NVDrmDisplaySource(std::string sysRoot = "/sys/class/drm", std::string devDir = "/dev")
        : sysRoot_(std::move(sysRoot)), devDir_(std::move(devDir))
    {
    }
    std::vector<DDCDisplay> displays() override;
    std::unique_ptr<NVI2cPort> open(const DDCDisplay& display) override;

private:
    std::string sysRoot_;
    std::string devDir_;
};
