// Key-function nodes: references, templates, the kinds that decide what is read, the
// multi-function layouts and the set index.
#include "tests/config/ConfigFixture.h"

#include "core/model/NVGlobalInfo.h"

#include <cstring>

namespace {

const char* kPresets = "<Other/>"
                       "<Undo><ekType>4</ekType><name>Undo</name><cmdPath>/ignored</cmdPath>"
                       "<kbtn><bAlt>0</bAlt><bCtrl>0</bCtrl><bShift>0</bShift><bWin>1</bWin><kbkey0>6</kbkey0></kbtn></Undo>"
                       "<Open><ekType>8</ekType><name>Open</name><cmdPath>/usr/bin/gimp</cmdPath>"
                       "<kbtn><bCtrl>1</bCtrl><kbkey0>9</kbkey0></kbtn></Open>"
                       "<Both><ekType>12</ekType><name>Both</name><cmdPath>/usr/bin/both</cmdPath>"
                       "<kbtn><bShift>1</bShift><kbkey0>3</kbkey0><kbkey1>4</kbkey1></kbtn></Both>"
                       "<Left><ekType>16</ekType><name>Left</name></Left>"
                       "<HKey><ekey5><EKID>Both</EKID></ekey5><ekey6><ekType>64</ekType><name>Right</name>"
                       "<cmdPath/></ekey6></HKey>"
                       "<SetA><ekey0><EKID>Undo</EKID></ekey0><ekey1><EKID>Left</EKID></ekey1></SetA>";

// NUVRO_TA53: 8 hard keys, 2 pen buttons, one multi-function key of 2 positions × 4 sets.
std::string ta53_file(const std::string& hbtns, const std::string& mekey0)
{
    return std::string("<NVDevices><Preset>") + kPresets + "</Preset><NUVRO_TA53><Default><appPath>Default</appPath>"
        + "<hbtns>" + hbtns + "</hbtns><sbtns/><pbtns/><mekeys><num>1</num><mekey0>" + mekey0
        + "</mekey0></mekeys></Default></NUVRO_TA53></NVDevices>";
}

} // namespace

TEST_F(ConfigTest, KindDecidesWhichLeavesAreRead)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_TA53");
    writeUserFile(ta53_file("<ekey0><EKID>Undo</EKID></ekey0><ekey1><EKID>Open</EKID></ekey1>"
                            "<ekey2><EKID>Both</EKID></ekey2><ekey3><ekType>-1</ekType><name>All</name></ekey3>",
                            "<num>0</num>"));
    auto cfg = load(ti);
    const NVEkey* k = cfg->contexts[0].hbtns;
    EXPECT_EQ(k[0].funcBit, 4u);
    EXPECT_STREQ(k[0].cmdPath, "");
    EXPECT_EQ(k[0].kbtn.bWin, 1);
    EXPECT_EQ(k[0].kbtn.kbKeys[0], 6);
    EXPECT_EQ(k[1].funcBit, 8u);
    EXPECT_STREQ(k[1].cmdPath, "/usr/bin/gimp");
    EXPECT_EQ(k[1].kbtn.bCtrl, 0);
    EXPECT_EQ(k[1].kbtn.kbKeys[0], 0);
    EXPECT_EQ(k[2].funcBit, 12u);
    EXPECT_STREQ(k[2].cmdPath, "/usr/bin/both");
    EXPECT_EQ(k[2].kbtn.bShift, 1);
    EXPECT_EQ(k[2].kbtn.kbKeys[1], 4);
    // ekType is sign-extended.
    EXPECT_EQ(k[3].funcBit, 0xFFFFFFFFFFFFFFFFull);
    EXPECT_EQ(k[3].funcEvent, 0u);
}

TEST_F(ConfigTest, ReferencesAndTemplatesAreReadAndExpandedOnSave)
{
    NVTabletInfo ti = nv_test_tablet("NUVRO_TA53");
    writeUserFile(ta53_file("<ekey3><EKID>Undo</EKID></ekey3><ekey4><EKID>Nowhere</EKID></ekey4>", "<num>0</num>"));
    auto cfg = load(ti);
    const NVEkey* k = cfg->contexts[0].hbtns;
    EXPECT_STREQ(k[3].name, "Undo");
    EXPECT_STREQ(k[4].name, "");
    EXPECT_EQ(k[4].funcBit, 0u);
    // Missing nodes read their template: a reference (5) or a full node (6).
    EXPECT_STREQ(k[5].name, "Both");
    EXPECT_EQ(k[6].funcBit, 64u);
    EXPECT_STREQ(k[7].name, "");

    std::strcpy(cfg->contexts[0].hbtns[3].name, "My Undo");
    ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), {}, &ti));
    NVConfigIO& io = NVConfigIO::sharedIOInstance();
    ASSERT_TRUE(io.openXml(nv_file_url(userFile())));
    const std::string hb = "/NVDevices/NUVRO_TA53/Default/hbtns";
    // The reference became a full node with the key's own values.
    EXPECT_FALSE(io.readNodeStringFromXml(hb + "/ekey3/EKID"));
    EXPECT_EQ(io.readNodeStringFromXml(hb + "/ekey3/name"), "My Undo");
    EXPECT_EQ(io.readNodeIntFromXml(hb + "/ekey3/kbtn/kbkey0"), 6);
    // The preset itself is untouched.
    EXPECT_EQ(io.readNodeStringFromXml("/NVDevices/Preset/Undo/name"), "Undo");
    // A reference to nothing keeps only the leaves whose parent exists.
    EXPECT_EQ(io.readSupportAppsFromPath(hb + "/ekey4"), (std::vector<std::string>{"ekType", "name", "cmdPath"}));
    // Missing nodes are created from the templates, in key order.
    EXPECT_EQ(io.readSupportAppsFromPath(hb),
              (std::vector<std::string>{"ekey3", "ekey4", "ekey5", "ekey6"}));
    EXPECT_EQ(io.readNodeStringFromXml(hb + "/ekey5/name"), "Both");
    EXPECT_EQ(io.readNodeIntFromXml(hb + "/ekey5/kbtn/bShift"), 1);
    EXPECT_EQ(io.readNodeIntFromXml(hb + "/ekey6/ekType"), 64);
    EXPECT_FALSE(io.readNodeStringFromXml(hb + "/ekey6/kbtn/bAlt"));
}

TEST_F(ConfigTest, TwoPositionKeysReadAndExpandSetReferences)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_TA53");
    writeUserFile(ta53_file("", "<num>2</num><muxFuncNum>3</muxFuncNum><index>2</index>"
                                "<muxfunc0><ekey0><EKID>Open</EKID></ekey0><ekey1><ekType>32</ekType><name>Mid</name>"
                                "</ekey1></muxfunc0>"
                                "<muxfunc1><ID>SetA</ID></muxfunc1>"
                                "<muxfunc2><ekey0><ekType>1</ekType><name>z</name></ekey0><ekey1><ekType>1</ekType><name>y</name></ekey1></muxfunc2>"));
    auto cfg = load(ti);
    NVContextMEkey& m = cfg->contexts[0].mekeys[0];
    EXPECT_EQ(cfg->contexts[0].mekeyNum, 1);
    EXPECT_EQ(m.num, 2);
    EXPECT_EQ(m.muxFuncNum, 3);
    EXPECT_EQ(m.index, 2);
    EXPECT_STREQ(m.muxfunc[0].ekeys[0].cmdPath, "/usr/bin/gimp");
    EXPECT_EQ(m.muxfunc[0].ekeys[1].funcBit, 32u);
    EXPECT_STREQ(m.muxfunc[1].ekeys[0].name, "Undo");
    EXPECT_EQ(m.muxfunc[1].ekeys[1].funcBit, 16u);
    EXPECT_STREQ(m.muxfunc[2].ekeys[0].name, "z");

    // A save expands the set reference and never writes the index.
    m.index = 0;
    std::strcpy(m.muxfunc[1].ekeys[1].name, "Click");
    ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), {}, &ti));
    NVConfigIO& io = NVConfigIO::sharedIOInstance();
    ASSERT_TRUE(io.openXml(nv_file_url(userFile())));
    const std::string key = "/NVDevices/NUVRO_TA53/Default/mekeys/mekey0";
    EXPECT_EQ(io.readSupportAppsFromPath(key + "/muxfunc1"), (std::vector<std::string>{"ekey0", "ekey1"}));
    EXPECT_EQ(io.readNodeStringFromXml(key + "/muxfunc1/ekey1/name"), "Click");
    EXPECT_EQ(io.readNodeIntFromXml(key + "/muxfunc1/ekey0/kbtn/bWin"), 1);
    EXPECT_EQ(io.readNodeIntFromXml(key + "/index"), 2);
    auto back = load(ti);
    EXPECT_EQ(back->contexts[0].mekeys[0].index, 2);
    EXPECT_STREQ(back->contexts[0].mekeys[0].muxfunc[1].ekeys[1].name, "Click");
    EXPECT_STREQ(back->contexts[0].mekeys[0].muxfunc[1].ekeys[0].name, "Undo");
}

TEST_F(ConfigTest, OnlyThirteenPositionSingleSetsAreWritten)
{
    NVTabletInfo ti = nv_test_tablet("NUVRO_TA53");
    std::string positions13, positions8;
    for (int k = 0; k < 13; ++k) {
        const std::string n = std::to_string(k);
        positions13 += "<ekey" + n + "><ekType>16</ekType><name>p" + n + "</name></ekey" + n + ">";
        if (k < 8)
            positions8 += "<ekey" + n + "><ekType>16</ekType><name>q" + n + "</name></ekey" + n + ">";
    }
    const std::string base = std::string("<NVDevices><Preset>") + kPresets
        + "</Preset><NUVRO_TA53><Default><appPath>Default</appPath><mekeys><num>2</num>"
          "<mekey0><num>13</num><muxFuncNum>1</muxFuncNum><index>0</index><muxfunc0>"
        + positions13 + "</muxfunc0><muxfunc1><ekey0><name>never</name></ekey0></muxfunc1></mekey0>"
          "<mekey1><num>8</num><muxFuncNum>1</muxFuncNum><index>0</index><muxfunc0>"
        + positions8 + "</muxfunc0></mekey1></mekeys></Default></NUVRO_TA53></NVDevices>";
    writeUserFile(base);
    auto cfg = load(ti);
    ASSERT_EQ(cfg->contexts[0].mekeyNum, 2);
    EXPECT_STREQ(cfg->contexts[0].mekeys[0].muxfunc[0].ekeys[12].name, "p12");
    EXPECT_STREQ(cfg->contexts[0].mekeys[0].muxfunc[1].ekeys[0].name, "");
    EXPECT_STREQ(cfg->contexts[0].mekeys[1].muxfunc[0].ekeys[7].name, "q7");
    for (int m = 0; m < 2; ++m)
        for (auto& e : cfg->contexts[0].mekeys[m].muxfunc[0].ekeys)
            std::strcpy(e.name, "new");
    ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), {}, &ti));
    auto back = load(ti);
    EXPECT_STREQ(back->contexts[0].mekeys[0].muxfunc[0].ekeys[12].name, "new");
    EXPECT_STREQ(back->contexts[0].mekeys[1].muxfunc[0].ekeys[7].name, "q7");
}

TEST_F(ConfigTest, DriverChangeStoresOnlyTheIndexOfTheContextInForce)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_TA53");
    load(ti);
    NVConfigIO::createAppNodeInXml({}, "/usr/bin/krita", &ti);
    auto cfg = load(ti);
    NVContextMEkey m = cfg->contexts[1].mekeys[0];
    m.index = 3;
    std::strcpy(m.muxfunc[0].ekeys[0].name, "not stored");
    currentAppIndex_kernel = 1;
    NVConfigIO::writeDriverChange(&m, &ti);
    EXPECT_TRUE(log_.contains("writeDriverChange path:file://"));
    auto back = load(ti);
    EXPECT_EQ(back->contexts[1].mekeys[0].index, 3);
    EXPECT_EQ(back->contexts[0].mekeys[0].index, 0);
    EXPECT_STREQ(back->contexts[1].mekeys[0].muxfunc[0].ekeys[0].name, cfg->contexts[1].mekeys[0].muxfunc[0].ekeys[0].name);

    // A context index beyond the file writes nothing.
    const std::string before = userText();
    currentAppIndex_kernel = 5;
    NVConfigIO::writeDriverChange(&m, &ti);
    EXPECT_EQ(userText(), before);
    currentAppIndex_kernel = 0;
}
