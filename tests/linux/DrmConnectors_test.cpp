// DRM connectors on a made-up sysfs tree: the DDC bus as a link or a child, a connector
// without DDC, one disconnected, one without EDID.
#include "platform/linux/DrmConnectors.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

void connector(const fs::path& root, const std::string& name, const std::string& status, const std::string& edid)
{
    fs::create_directories(root / name);
    nvtest::write_file(root / name / "status", status + "\n");
    nvtest::write_file(root / name / "edid", edid);
}

} // namespace

TEST(DrmConnectors, ConnectedConnectorsWithTheirBusAndEdid)
{
    nvtest::TempDir sys;
    const fs::path root = sys.path();
    fs::create_directories(root / "card0");
    connector(root, "card0-HDMI-A-1", "connected", "EDID-A");
    fs::create_directories(root / "devices" / "i2c-7");
    fs::create_symlink(root / "devices" / "i2c-7", root / "card0-HDMI-A-1" / "ddc");
    connector(root, "card0-DP-1", "connected", "EDID-B");
    fs::create_directories(root / "card0-DP-1" / "i2c-12");
    connector(root, "card0-eDP-1", "connected", "EDID-C"); // a laptop panel: no DDC bus
    connector(root, "card0-VGA-1", "disconnected", "");
    connector(root, "card1-DVI-D-1", "connected", ""); // no EDID read: still a display
    nvtest::write_file(root / "version", "drm 1.1.0\n");

    const auto list = drm_connectors(root.string());
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].name, "card0-DP-1");
    EXPECT_EQ(list[0].i2cBus, 12);
    EXPECT_EQ(std::string(list[0].edid.begin(), list[0].edid.end()), "EDID-B");
    EXPECT_EQ(list[1].name, "card0-HDMI-A-1");
    EXPECT_EQ(list[1].i2cBus, 7);
    EXPECT_EQ(list[2].name, "card0-eDP-1");
    EXPECT_EQ(list[2].i2cBus, -1);
    EXPECT_EQ(list[3].name, "card1-DVI-D-1");
    EXPECT_TRUE(list[3].edid.empty());

    EXPECT_TRUE(drm_connectors((root / "missing").string()).empty());
}
