// A made-up /sys/class/drm: connected connectors with an EDID and a DDC bus of the test's
// choosing.
#pragma once

#include "platform/linux/DrmConnectors.h"

#include "tests/support/TestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

namespace nvtest {

class DrmSysfsTree {
public:
    // A connected connector with that EDID (none when empty) and DDC bus (none when < 0).
    void add(const std::string& name, const std::vector<uint8_t>& edid, int bus)
    {
        namespace fs = std::filesystem;
        const fs::path dir = dir_.path() / name;
        fs::create_directories(dir);
        write_file(dir / "status", "connected\n");
        write_file(dir / "edid", std::string(edid.begin(), edid.end()));
        if (bus >= 0) {
            const fs::path adapter = dir_.path() / "devices" / ("i2c-" + std::to_string(bus));
            fs::create_directories(adapter);
            fs::create_symlink(adapter, dir / "ddc");
        }
    }
    std::string root() const { return dir_.path().string(); }
    std::vector<DrmConnector> connectors() const { return drm_connectors(root()); }

private:
    TempDir dir_;
};

} // namespace nvtest
