#include "settings/logic/NVPlistFile.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(PlistFile, WritesAndReadsBackStringsIntegersAndStringArrays)
{
    nvtest::TempDir dir;
    const std::string path = (dir.path() / "a.plist").string();
    const NVPlistDict dict{{"path", "/opt/Nuvro Tablet/<&>\"'"},
                           {"name", "数位板"},
                           {"count", int32_t{-42}},
                           {"list", NVPlistStrings{"a", "", "b"}},
                           {"empty", ""}};
    ASSERT_TRUE(nv_plist_file_write(path, dict));
    EXPECT_EQ(nv_plist_file_read(path), dict);

    ASSERT_TRUE(nv_plist_file_write(path, {{"only", "one"}})); // replaces the whole file
    EXPECT_EQ(nv_plist_file_read(path), (NVPlistDict{{"only", "one"}}));
}

TEST(PlistFile, RefusesWhatIsNotAPropertyList)
{
    nvtest::TempDir dir;
    const auto read = [&](const std::string& text) {
        const std::string path = (dir.path() / "x.plist").string();
        nvtest::write_file(path, text);
        return nv_plist_file_read(path);
    };
    EXPECT_FALSE(nv_plist_file_read((dir.path() / "missing.plist").string()));
    EXPECT_FALSE(read("not xml"));
    EXPECT_FALSE(read("<config><dict/></config>"));
    EXPECT_FALSE(read("<plist><array/></plist>"));
    EXPECT_FALSE(read("<plist><dict><key>a</key></dict></plist>"));          // key without value
    EXPECT_FALSE(read("<plist><dict><string>a</string><key>b</key></dict></plist>"));
    EXPECT_FALSE(read("<!DOCTYPE plist [<!ENTITY e \"x\">]><plist><dict><key>a</key><string>&e;</string></dict></plist>"));

    // Values of other types are left out; the rest is read.
    const auto mixed = read("<plist version=\"1.0\"><dict><key>t</key><true/><key>n</key><integer>7x</integer>"
                            "<key>s</key><string>v</string><key>a</key><array><integer>1</integer></array>"
                            "</dict></plist>");
    ASSERT_TRUE(mixed);
    EXPECT_EQ(*mixed, (NVPlistDict{{"s", "v"}}));
}

TEST(PlistFile, TabletDriverPathRoundTrips)
{
    nvtest::TempDir dir;
    const std::string data = dir.path().string();
    EXPECT_EQ(nv_read_tablet_driver_path(data), "");
    ASSERT_TRUE(nv_write_tablet_driver_path(data, "/opt/NuvroTablet"));
    EXPECT_EQ(nv_tablet_settings_path(data), data + "/tabletSettings.plist");
    EXPECT_EQ(nv_read_tablet_driver_path(data), "/opt/NuvroTablet");
    EXPECT_NE(nvtest::read_file(nv_tablet_settings_path(data)).find("<key>TabletDriverPath</key>"), std::string::npos);
}

} // namespace
