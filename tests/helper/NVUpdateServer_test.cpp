// The update server's address from the helper's Info.plist and its override.
#include "helper/logic/NVUpdateServer.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

TEST(NVUpdateServer, InfoPlistNamesTheServerAndTheOverrideReplacesItsBase)
{
    const NVUpdateServer shipped = nv_read_update_server(nvtest::resources_dir().string(), nullptr);
    EXPECT_TRUE(shipped.base.starts_with("https://")) << shipped.base;
    EXPECT_NE(shipped.base.back(), '/');
    EXPECT_TRUE(shipped.pagePath.starts_with("/")) << shipped.pagePath;

    const NVUpdateServer mirror = nv_read_update_server(nvtest::resources_dir().string(), "http://127.0.0.1:8000//");
    EXPECT_EQ(mirror.base, "http://127.0.0.1:8000");
    EXPECT_EQ(mirror.pageAddress(), "http://127.0.0.1:8000" + shipped.pagePath);
    EXPECT_EQ(mirror.downloadAddress("/driver/a_v1.0.0.deb"), "http://127.0.0.1:8000/driver/a_v1.0.0.deb");
    EXPECT_EQ(nv_read_update_server(nvtest::resources_dir().string(), "").base, shipped.base);
}

TEST(NVUpdateServer, AMissingFileLeavesTheAddressEmpty)
{
    nvtest::TempDir dir;
    const NVUpdateServer none = nv_read_update_server(dir.path().string(), nullptr);
    EXPECT_TRUE(none.base.empty());
    EXPECT_TRUE(none.pagePath.empty());
}
