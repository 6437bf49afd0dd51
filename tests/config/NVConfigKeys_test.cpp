// Key-function nodes: references, templates, the kinds that decide what is read, the
// multi-function layouts and the set index.
#include "tests/config/ConfigFixture.h"

#include "core/model/NVGlobalInfo.h"

#include <cstring>
#include <filesystem>

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

TEST_F(ConfigTest, EveryKeyOfThreeOrMorePositionsIsWrittenWithAllItsSets)
{
    NVTabletInfo ti = nv_test_tablet("NUVRO_TA53");
    const auto positions = [](int count, int sets, const char* tag) {
        std::string s;
        for (int f = 0; f < sets; ++f) {
            s += "<muxfunc" + std::to_string(f) + ">";
            for (int k = 0; k < count; ++k) {
                const std::string n = std::to_string(k);
                s += "<ekey" + n + "><ekType>16</ekType><name>" + tag + std::to_string(f) + n + "</name></ekey" + n + ">";
            }
            s += "</muxfunc" + std::to_string(f) + ">";
        }
        return s;
    };
    // A 13-position key of one set, an 8-position key of four, and a key claiming 40
    // positions: only the 16 the record holds are read and written.
    writeUserFile(std::string("<NVDevices><Preset>") + kPresets
                  + "</Preset><NUVRO_TA53><Default><appPath>Default</appPath><mekeys><num>2</num>"
                    "<mekey0><num>13</num><muxFuncNum>1</muxFuncNum><index>0</index>"
                  + positions(13, 1, "p") + "<muxfunc1><ekey0><name>never</name></ekey0></muxfunc1></mekey0>"
                  + "<mekey1><num>8</num><muxFuncNum>4</muxFuncNum><index>3</index>" + positions(8, 4, "q")
                  + "</mekey1></mekeys></Default>"
                    "<Wide><appPath>/usr/bin/wide</appPath><mekeys><num>1</num><mekey0><num>40</num>"
                    "<muxFuncNum>1</muxFuncNum><index>0</index>"
                  + positions(40, 1, "w") + "</mekey0></mekeys></Wide></NUVRO_TA53></NVDevices>");
    auto cfg = load(ti);
    ASSERT_EQ(cfg->contexts[0].mekeyNum, 2);
    const NVContextMEkey& m0 = cfg->contexts[0].mekeys[0];
    const NVContextMEkey& m1 = cfg->contexts[0].mekeys[1];
    EXPECT_STREQ(m0.muxfunc[0].ekeys[12].name, "p012");
    EXPECT_STREQ(m0.muxfunc[1].ekeys[0].name, "");
    EXPECT_STREQ(m1.muxfunc[0].ekeys[7].name, "q07");
    EXPECT_STREQ(m1.muxfunc[3].ekeys[7].name, "q37");
    EXPECT_EQ(cfg->contexts[1].mekeys[0].num, 16);
    EXPECT_STREQ(cfg->contexts[1].mekeys[0].muxfunc[0].ekeys[15].name, "w015");

    for (auto& ctx : cfg->contexts)
        for (auto& m : ctx.mekeys)
            for (auto& set : m.muxfunc)
                for (auto& e : set.ekeys)
                    std::strcpy(e.name, "new");
    ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), {}, &ti));
    auto back = load(ti);
    EXPECT_STREQ(back->contexts[0].mekeys[0].muxfunc[0].ekeys[12].name, "new");
    EXPECT_STREQ(back->contexts[0].mekeys[1].muxfunc[0].ekeys[7].name, "new");
    EXPECT_STREQ(back->contexts[0].mekeys[1].muxfunc[3].ekeys[7].name, "new");
    EXPECT_EQ(back->contexts[0].mekeys[1].index, 3);
    EXPECT_STREQ(back->contexts[1].mekeys[0].muxfunc[0].ekeys[15].name, "new");
    const std::string text = userText();
    EXPECT_NE(text.find("<name>never</name>"), std::string::npos);
    EXPECT_NE(text.find("<name>w016</name>"), std::string::npos);
}

TEST_F(ConfigTest, SetsMissingFromAnOlderFileAreRepairedAsCopiesOfTheFirst)
{
    // Files of earlier versions hold one set for a 3-position key of four sets.
    const NVTabletInfo ti = nv_test_tablet("NUVRO_TA53");
    writeUserFile(ta53_file("", "<num>3</num><muxFuncNum>4</muxFuncNum><index>0</index><muxfunc0>"
                                "<ekey0><EKID>Undo</EKID></ekey0><ekey1><ekType>32</ekType><name>Mid</name></ekey1>"
                                "<ekey2><ekType>16</ekType><name>Left</name></ekey2></muxfunc0>"));
    auto cfg = load(ti);
    EXPECT_EQ(log_.count("repaired document written"), 1u);
    const NVContextMEkey& m = cfg->contexts[0].mekeys[0];
    for (int f = 1; f < 4; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(std::memcmp(&m.muxfunc[f], &m.muxfunc[0], sizeof m.muxfunc[0]), 0);
    }
    EXPECT_STREQ(m.muxfunc[3].ekeys[0].name, "Undo");

    // The repaired sets take edits like any other.
    std::strcpy(cfg->contexts[0].mekeys[0].muxfunc[2].ekeys[1].name, "Edited");
    ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), {}, &ti));
    log_.clear();
    auto back = load(ti);
    EXPECT_EQ(log_.count("repaired document written"), 0u);
    EXPECT_STREQ(back->contexts[0].mekeys[0].muxfunc[2].ekeys[1].name, "Edited");
    EXPECT_STREQ(back->contexts[0].mekeys[0].muxfunc[1].ekeys[1].name, "Mid");
}

TEST_F(ConfigTest, PenTipAndEveryBarrelButtonAreLoadedAndSaved)
{
    // pbtns holds the tip at 0 and the barrel buttons after it.
    for (const char* model : {"NUVRO_T62E", "NUVRO_M281"}) {
        SCOPED_TRACE(model);
        std::filesystem::remove_all(nv_config_user_dir());
        const NVTabletInfo ti = nv_test_tablet(model);
        auto cfg = load(ti);
        for (int j = 0; j <= ti.pbtnNum; ++j)
            EXPECT_NE(cfg->contexts[0].pbtns[j].funcBit, 0u) << j;
        EXPECT_EQ(cfg->contexts[0].pbtns[ti.pbtnNum + 1].funcBit, 0u);
        std::strcpy(cfg->contexts[0].pbtns[ti.pbtnNum].name, "Top button");
        cfg->contexts[0].pbtns[ti.pbtnNum].funcBit = 0x08;
        ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), {}, &ti));
        auto back = load(ti);
        EXPECT_STREQ(back->contexts[0].pbtns[ti.pbtnNum].name, "Top button");
        EXPECT_EQ(back->contexts[0].pbtns[ti.pbtnNum].funcBit, 0x08u);
    }

    // A file of an earlier version stored the tip and the lower button only: the upper
    // one comes from the pen template, once written into the file.
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    writeUserFile("<NVDevices><Preset><Other/><Mid><ekType>32</ekType><name>Mid</name></Mid>"
                  "<PKey><ekey0><EKID>Mid</EKID></ekey0><ekey1><EKID>Mid</EKID></ekey1><ekey2><EKID>Mid</EKID>"
                  "</ekey2></PKey></Preset><NUVRO_T62E><Default><appPath>Default</appPath><pbtns>"
                  "<ekey0><ekType>16</ekType><name>Tip</name></ekey0><ekey1><ekType>64</ekType><name>Low</name></ekey1>"
                  "</pbtns></Default></NUVRO_T62E></NVDevices>");
    auto cfg = load(ti);
    EXPECT_STREQ(cfg->contexts[0].pbtns[0].name, "Tip");
    EXPECT_STREQ(cfg->contexts[0].pbtns[1].name, "Low");
    EXPECT_STREQ(cfg->contexts[0].pbtns[2].name, "Mid");
    EXPECT_EQ(log_.count("repaired document written"), 1u);
    NVConfigIO& io = NVConfigIO::sharedIOInstance();
    ASSERT_TRUE(io.openXml(nv_file_url(userFile())));
    EXPECT_EQ(io.readSupportAppsFromPath("/NVDevices/NUVRO_T62E/Default/pbtns"),
              (std::vector<std::string>{"ekey0", "ekey1", "ekey2"}));
    log_.clear();
    EXPECT_STREQ(load(ti)->contexts[0].pbtns[2].name, "Mid");
    EXPECT_EQ(log_.count("repaired document written"), 0u);
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
