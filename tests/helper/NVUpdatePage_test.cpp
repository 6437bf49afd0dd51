// Reading the update page and comparing versions.
#include "helper/logic/NVUpdatePage.h"

#include "core/log/NVLog.h"

#include <gtest/gtest.h>

namespace {

std::string page_linking(const std::string& href)
{
    return "<html><body><h1>Downloads</h1>\n<p><a href=\"" + href + "\" target=\"_blank\">Get it</a></p></body></html>";
}

} // namespace

TEST(NVUpdatePage, TheExampleLinkGivesLinkNameAndVersion)
{
    const std::string page = page_linking("/driver/NuvroTablet_v3.3.0.deb");
    EXPECT_EQ(nv_update_link(page), "/driver/NuvroTablet_v3.3.0.deb");
    EXPECT_EQ(nv_update_package_name(page), "NuvroTablet_v3.3.0.deb");
    EXPECT_EQ(nv_update_server_version("NuvroTablet_v3.3.0.deb"), "3.3.0");
    EXPECT_TRUE(nv_page_announces_newer(page, "v3.2.1"));
    EXPECT_FALSE(nv_page_announces_newer(page, "v3.3.0"));
}

TEST(NVUpdatePage, VersionArithmeticWeighsMajorMinorAndPatch)
{
    EXPECT_TRUE(nv_server_is_newer("3.2.2", "v3.2.1"));
    EXPECT_TRUE(nv_server_is_newer("4.0.0", "v3.2.1"));
    EXPECT_FALSE(nv_server_is_newer("3.2.1", "v3.2.1"));
    EXPECT_FALSE(nv_server_is_newer("3.1.9", "v3.2.0"));
    EXPECT_TRUE(nv_server_is_newer("3.3.0", "v3.2.99")) << "a minor step outweighs 99 patches";
    // The weights overlap past their range: 10001 patches outweigh one minor step.
    EXPECT_TRUE(nv_server_is_newer("3.0.10001", "v3.1.0"));
    EXPECT_FALSE(nv_server_is_newer("3.0.9999", "v3.1.0"));
}

TEST(NVUpdatePage, ComponentsReadAsTheIntegerTheirTextBeginsWith)
{
    using C = std::array<int64_t, 3>;
    EXPECT_EQ(nv_version_components("3.2.1"), (C{3, 2, 1}));
    EXPECT_EQ(nv_version_components("3.2.1.7"), (C{3, 2, 1}));
    EXPECT_EQ(nv_version_components(" 3.2b.x"), (C{3, 2, 0}));
    EXPECT_EQ(nv_version_components("3..-1"), (C{3, 0, -1}));
    EXPECT_EQ(nv_version_components("3.2."), (C{3, 2, 0}));
    // Huge components are capped: no overflow in the weighted difference.
    const auto huge = nv_version_components("99999999999999999999999.1.1");
    ASSERT_TRUE(huge);
    EXPECT_EQ((*huge)[0], 999'999'999'999);
    EXPECT_TRUE(nv_server_is_newer("99999999999999999999999.0.0", "v-99999999999999999999999.0.0"));
}

// Left open by the algorithm: fewer than three components is "not newer", logged once,
// and nothing is read past the text's end.
TEST(NVUpdatePage, FewerThanThreeComponentsIsNotNewerWithOneLogLine)
{
    NVLogCapture log;
    EXPECT_FALSE(nv_version_components("3.2"));
    EXPECT_FALSE(nv_version_components(""));
    EXPECT_FALSE(nv_server_is_newer("4.0", "v3.2.1"));
    EXPECT_EQ(log.count("fewer than three components"), 1u);
    log.clear();
    EXPECT_FALSE(nv_server_is_newer("4.0.0", "v3"));
    EXPECT_FALSE(nv_server_is_newer("4.0.0", "v"));
    EXPECT_FALSE(nv_server_is_newer("4.0.0", ""));
    EXPECT_EQ(log.count("fewer than three components"), 3u);
}

TEST(NVUpdatePage, MalformedPagesAreNotNewerAndNeverReadOutOfRange)
{
    NVLogCapture log;
    const char* pages[] = {
        "",
        "target",
        "driver",
        "<a href=\"/driver/NuvroTablet_v9.0.0.deb\">Linux</a>",                        // no "target"
        "<a href=\"/x/NuvroTablet_v9.0.0.deb\" target=\"_blank\">no driver marker</a>",
        "target= first, then <a href=\"/driver/NuvroTablet_v9.0.0.deb\">",       // wrong order
        "<a href=\"/driver/NuvroTablet_9.0.0.deb\" target=\"_blank\">",          // no "_v"
        "<a href=\"/driver/NuvroTablet_v9.0.0.rpm\" target=\"_blank\">",         // no suffix
        "<a href=\"/driver/NuvroTablet.deb_v9.0.0\" target=\"_blank\">",         // suffix before "_v"
        "drivertarget",
        "driver target",
    };
    for (const char* page : pages) {
        SCOPED_TRACE(page);
        log.clear();
        EXPECT_FALSE(nv_page_announces_newer(page, "v1.0.0"));
        EXPECT_EQ(log.count("not newer"), 1u);
    }
    EXPECT_FALSE(nv_update_link("target=\"x\" <a href=\"/driver/a_v1.0.0.deb\""));
    EXPECT_FALSE(nv_update_link("<a href=\"/driver/a_v1.0.0.deb\""));
    EXPECT_EQ(nv_update_link("<a href=\"\" target"), "") << "the two characters before target are the quote and blank";
}

TEST(NVUpdatePage, BytesThatAreNotUtf8AndHugePagesAreReadByTheirMarkers)
{
    std::string page = "\xff\xfe\x80 junk \xc3(";
    page += std::string(1 << 20, '\xa0');
    page += page_linking("/driver/NuvroTablet_v3.3.0.deb");
    page += std::string(1 << 20, 'x');
    EXPECT_EQ(nv_update_package_name(page), "NuvroTablet_v3.3.0.deb");
    EXPECT_TRUE(nv_page_announces_newer(page, "v3.2.1"));
    EXPECT_FALSE(nv_page_announces_newer(std::string(1 << 20, '\x80'), "v3.2.1"));
}

TEST(NVUpdatePage, LinksStayOnTheServerAndNamesArePlainFileNames)
{
    EXPECT_TRUE(nv_update_link_stays_on_server("/driver/NuvroTablet_v3.3.0.deb"));
    EXPECT_TRUE(nv_update_link_stays_on_server("/a"));
    for (const char* link : {"", "/", "//evil.example/x.deb", "http://evil.example/x.deb", "https:/x.deb",
                             "driver/x.deb", "/x y.deb", "/x\n.deb", "/x\\..\\y.deb", "@evil.example/x.deb"}) {
        SCOPED_TRACE(link);
        EXPECT_FALSE(nv_update_link_stays_on_server(link));
    }
    EXPECT_TRUE(nv_package_name_is_plain("NuvroTablet_v3.3.0.deb"));
    EXPECT_TRUE(nv_package_name_is_plain("nuvro-tablet_3.3.0+1~b1_amd64.deb"));
    for (const char* name : {"", ".", "..", ".hidden.deb", "../x.deb", "a/b.deb", "a b.deb", "\xc3\xa9.deb"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(nv_package_name_is_plain(name));
    }
    EXPECT_FALSE(nv_package_name_is_plain(std::string_view("a\0b.deb", 7)));
}

TEST(NVUpdatePage, ConfirmationTextsReadAsTruth)
{
    for (const char* yes : {"YES", "yes", "Y", "true", "T", "1", "  +007", "9"})
        EXPECT_TRUE(nv_message_is_yes(yes)) << yes;
    for (const char* no : {"", "NO", "false", "0", "000", " ", "-", "x"})
        EXPECT_FALSE(nv_message_is_yes(no)) << no;
}
