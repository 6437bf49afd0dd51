// Application contexts: node names, adding, removing, querying and listing.
#include "tests/config/ConfigFixture.h"

#include <cstring>

TEST(AppNodeName, FollowsTheBundleNameAndIsAlwaysAValidElementName)
{
    EXPECT_EQ(NVConfigIO::appNodeName("file:///Applications/Krita.app/"), "Krita");
    EXPECT_EQ(NVConfigIO::appNodeName("file:///Applications/Corel%20Painter%202019.app/"), "CorelPainter2019");
    EXPECT_EQ(NVConfigIO::appNodeName("file:///Applications/Photo.Editor.app/"), "Photo");
    EXPECT_EQ(NVConfigIO::appNodeName("/usr/bin/krita"), "krita");
    EXPECT_EQ(NVConfigIO::appNodeName("/opt/3D Coat/3D Coat.app"), "_3DCoat");
    EXPECT_EQ(NVConfigIO::appNodeName("/usr/bin/g++"), "g__");
    EXPECT_EQ(nv_valid_node_name("Krita"), "Krita");
    EXPECT_EQ(nv_valid_node_name("Über-Paint_2"), "Über-Paint_2");
    EXPECT_EQ(nv_valid_node_name("a:b"), "a_b");
    EXPECT_EQ(nv_valid_node_name(""), "_");
    EXPECT_EQ(nv_valid_node_name("-x"), "_-x");
    EXPECT_EQ(nv_valid_node_name("a\xC3\x97" "b"), "a_b"); // U+00D7 is no name character
}

TEST_F(ConfigTest, AddingCopiesTheDefaultContext)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_P4D9");
    load(ti);
    NVConfigIO::createAppNodeInXml({}, "file:///Applications/Krita.app/", &ti);
    EXPECT_EQ(NVConfigIO::readAppListWithTabletInfo(&ti), (std::vector<std::string>{"Default", "Krita"}));
    EXPECT_TRUE(NVConfigIO::queryAppNodeInXml({}, "Krita", &ti));
    EXPECT_FALSE(NVConfigIO::queryAppNodeInXml({}, "Gimp", &ti));
    auto cfg = load(ti);
    EXPECT_STREQ(cfg->contexts[1].appPath, "file:///Applications/Krita.app/");
    const NVContextEkeys& def = cfg->contexts[0];
    const NVContextEkeys& app = cfg->contexts[1];
    EXPECT_EQ(std::memcmp(def.hbtns, app.hbtns, sizeof def.hbtns), 0);
    EXPECT_EQ(std::memcmp(def.sbtns, app.sbtns, sizeof def.sbtns), 0);
    EXPECT_EQ(std::memcmp(def.pbtns, app.pbtns, sizeof def.pbtns), 0);
    EXPECT_EQ(std::memcmp(def.mekeys, app.mekeys, sizeof def.mekeys), 0);
}

TEST_F(ConfigTest, NamesThatAreNoElementNamesStillMakeContexts)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    load(ti);
    NVConfigIO::createAppNodeInXml({}, "/opt/3D Coat/3DCoat", &ti);
    // Lookup and removal map the name as adding did.
    EXPECT_TRUE(NVConfigIO::queryAppNodeInXml({}, "_3DCoat", &ti));
    EXPECT_TRUE(NVConfigIO::queryAppNodeInXml({}, "3DCoat", &ti));
    auto cfg = load(ti);
    EXPECT_STREQ(cfg->contexts[1].appPath, "file:///opt/3D Coat/3DCoat");
    EXPECT_FALSE(log_.contains("refused"));
    NVConfigIO::removeAppNodeInXml({}, "3DCoat", &ti);
    EXPECT_FALSE(NVConfigIO::queryAppNodeInXml({}, "3DCoat", &ti));
    EXPECT_EQ(NVConfigIO::readAppListWithTabletInfo(&ti), (std::vector<std::string>{"Default"}));
    EXPECT_EQ(posts("removedApp"), 1u);
}

TEST_F(ConfigTest, RemovingShiftsLaterContextsDown)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    load(ti);
    NVConfigIO::createAppNodeInXml({}, "/usr/bin/a", &ti);
    NVConfigIO::createAppNodeInXml({}, "/usr/bin/b", &ti);
    NVConfigIO::removeAppNodeInXml({}, "Nothing", &ti);
    NVConfigIO::removeAppNodeInXml({}, "Default/hbtns", &ti);
    EXPECT_EQ(NVConfigIO::readAppListWithTabletInfo(&ti), (std::vector<std::string>{"Default", "a", "b"}));
    // Only a removal that took place is announced.
    EXPECT_EQ(posts("removedApp"), 0u);
    NVConfigIO::removeAppNodeInXml({}, "a", &ti);
    EXPECT_EQ(posts("removedApp"), 1u);
    EXPECT_EQ(NVConfigIO::readAppListWithTabletInfo(&ti), (std::vector<std::string>{"Default", "b"}));
    EXPECT_STREQ(load(ti)->contexts[1].appPath, "file:///usr/bin/b");
    EXPECT_EQ(NVConfigIO::obtainAppPathFromXml({}, nullptr, &ti),
              (std::vector<std::string>{"Default", "file:///usr/bin/b"}));
}

TEST_F(ConfigTest, ListingPathsRepairsAMissingDefaultAppPath)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    writeUserFile("<NVDevices><Preset><Other/></Preset><NUVRO_T62E><Default><hbtns/></Default>"
                  "<Gimp><appPath>file:///usr/bin/gimp</appPath></Gimp></NUVRO_T62E></NVDevices>");
    EXPECT_EQ(NVConfigIO::obtainAppPathFromXml({}, nullptr, &ti), (std::vector<std::string>{"file:///usr/bin/gimp"}));
    EXPECT_EQ(log_.count("repaired document written"), 1u);
    EXPECT_EQ(NVConfigIO::obtainAppPathFromXml({}, nullptr, &ti),
              (std::vector<std::string>{"Default", "file:///usr/bin/gimp"}));
    EXPECT_TRUE(NVConfigIO::queryAppNodeInXml({}, "Gimp", &ti));
}

TEST_F(ConfigTest, MissingModelAddsNothing)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    writeUserFile("<NVDevices><Preset><Other/></Preset></NVDevices>");
    NVConfigIO::createAppNodeInXml({}, "/usr/bin/a", &ti);
    EXPECT_TRUE(NVConfigIO::readAppListWithTabletInfo(&ti).empty());
    EXPECT_FALSE(NVConfigIO::queryAppNodeInXml({}, "a", &ti));
}
