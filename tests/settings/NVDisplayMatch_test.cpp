// The monitor page's displays: the display source's list matched to DRM connectors read
// from a made-up sysfs tree, by EDID, and by output name where one side has none.
#include "settings/logic/NVDisplayMatch.h"

#include "tests/settings/DrmSysfsTree.h"
#include "tests/settings/EdidBlock.h"

#include <gtest/gtest.h>

using nvtest::edid_block;

namespace {

struct Shown {
    int bus;
    std::string name;
    std::string serial;
    bool operator==(const Shown&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Shown& s)
{
    return os << "{" << s.bus << ", " << s.name << ", " << s.serial << "}";
}

std::vector<Shown> shown(const std::vector<DDCDisplay>& list)
{
    std::vector<Shown> out;
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].displayID, i);
        out.push_back({list[i].bus, list[i].screenName, list[i].seriaNumber});
    }
    return out;
}

} // namespace

TEST(NVDisplayMatch, TheSourcesOrderWithEachDisplaysBusByEdidAndADisplayWithoutDdc)
{
    nvtest::DrmSysfsTree sys;
    const auto left = edid_block("NV Left", "L-1", 0);
    const auto panel = edid_block("NV Panel", nullptr, 77);
    sys.add("card0-DP-1", left, 5);
    sys.add("card0-eDP-1", panel, -1);
    // The window system lists the panel first, and names its outputs in its own way.
    std::vector<NVDisplayIdentity> displays{{"eDP1", panel}, {"DP1", left}};
    EXPECT_EQ(shown(nv_match_ddc_displays(displays, sys.connectors())),
              (std::vector<Shown>{{-1, "NV Panel", "77"}, {5, "NV Left", "L-1"}}));

    // Some drivers' properties hold the base block only; the kernel gives the extensions too.
    std::vector<uint8_t> extended = left;
    extended.resize(256, 0x5A);
    nvtest::DrmSysfsTree sys2;
    sys2.add("card1-DP-3", extended, 9);
    EXPECT_EQ(shown(nv_match_ddc_displays({{"DP-3", left}}, sys2.connectors())),
              (std::vector<Shown>{{9, "NV Left", "L-1"}}));
}

TEST(NVDisplayMatch, IdenticalMonitorsAreToldApartBySerialThenByOutput)
{
    nvtest::DrmSysfsTree sys;
    const auto a = edid_block("NV Twin", "A1", 0);
    const auto b = edid_block("NV Twin", "B2", 0);
    sys.add("card0-DP-1", a, 3);
    sys.add("card0-DP-2", b, 4);
    // Output names that say the opposite do not outweigh the EDID.
    EXPECT_EQ(shown(nv_match_ddc_displays({{"DP-1", b}, {"DP-2", a}}, sys.connectors())),
              (std::vector<Shown>{{4, "NV Twin", "B2"}, {3, "NV Twin", "A1"}}));

    // Monitors without any serial send the same EDID: the output decides, one connector each.
    nvtest::DrmSysfsTree same;
    const auto anon = edid_block("NV Plain", nullptr, 0);
    same.add("card0-HDMI-A-1", anon, 7);
    same.add("card0-HDMI-A-2", anon, 8);
    EXPECT_EQ(shown(nv_match_ddc_displays({{"HDMI-2", anon}, {"HDMI-1", anon}, {"HDMI-3", anon}}, same.connectors())),
              (std::vector<Shown>{{8, "NV Plain", ""}, {7, "NV Plain", ""}, {-1, "NV Plain", ""}}));
}

TEST(NVDisplayMatch, WithoutAnEdidOnOneSideTheOutputNameDecides)
{
    nvtest::DrmSysfsTree sys;
    const auto hdmi = edid_block("NV Wide", "W-9", 0);
    sys.add("card0-HDMI-A-1", hdmi, 7);
    sys.add("card0-DP-1", {}, 8);                             // the monitor sent no EDID
    sys.add("card0-DVI-D-1", edid_block("NV Old", "O", 0), 9); // an EDID no display shows
    const std::vector<NVDisplayIdentity> displays{
        {"HDMI-1", {}},                              // Qt's screens carry no EDID
        {"DP-1", edid_block("NV Dock", "D-2", 0)},   // the connector has none
        {"DVI-D-1", edid_block("NV New", "N", 0)},   // both have one, and they differ
        {"XWAYLAND0", {}},                           // no connector of that name
        {"", {}},                                    // a monitor made by hand, on no output
    };
    EXPECT_EQ(shown(nv_match_ddc_displays(displays, sys.connectors())),
              (std::vector<Shown>{{7, "NV Wide", "W-9"},
                                  {8, "NV Dock", "D-2"},
                                  {-1, "NV New", "N"},
                                  {-1, "XWAYLAND0", ""},
                                  {-1, "", ""}}));

    // A monitor that names no product, on an output the window system does not name, is
    // called by its connector.
    nvtest::DrmSysfsTree bare;
    const auto nameless = edid_block(nullptr, nullptr, 5);
    bare.add("card2-VGA-1", nameless, 2);
    EXPECT_EQ(shown(nv_match_ddc_displays({{"", nameless}}, bare.connectors())), (std::vector<Shown>{{2, "VGA-1", "5"}}));
}
