// The monitor page's displays on Linux: the suite's display source in its order, each on
// the DRM connector whose EDID it shares, named from the EDID, and its DDC/CI bus through
// i2c-dev.
#pragma once

#include "core/input/DisplayList.h"
#include "settings/logic/DDCCIControl.h"

#include <memory>
#include <string>

class NVDrmDisplaySource : public NVDdcDisplaySource {
public:
    explicit NVDrmDisplaySource(std::unique_ptr<DisplayList> screens, std::string sysRoot = "/sys/class/drm",
                                std::string devDir = "/dev");
    std::vector<DDCDisplay> displays() override;
    std::unique_ptr<NVI2cPort> open(const DDCDisplay& display) override;
    // Follows the display source's reconfigurations.
    void setChangeHandler(std::function<void()> handler) override;

private:
    std::unique_ptr<DisplayList> screens_;
    std::string sysRoot_;
    std::string devDir_;
};
