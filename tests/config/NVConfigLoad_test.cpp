// Whole configurations: first start, replacement of unusable files, number formats,
// limits of the record, repairs, the hostile-file refusals and a full round trip.
#include "tests/config/ConfigFixture.h"

#include "core/device/NVModelTable.h"
#include "core/model/NVGlobalInfo.h"

#include <chrono>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A user file of the current layout for NUVRO_T62E with the given Default content.
std::string t62e_file(const std::string& defaultBody, const std::string& preset = "<Other/>",
                      const std::string& moreContexts = "")
{
    return "<NVDevices><Preset>" + preset + "</Preset><NUVRO_T62E><Default>" + defaultBody + "</Default>"
        + moreContexts + "</NUVRO_T62E></NVDevices>";
}

} // namespace

TEST_F(ConfigTest, FirstStartCreatesTheUserFileFromTheDefault)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    ASSERT_FALSE(fs::exists(nv_config_user_dir()));
    auto cfg = load(ti);

    EXPECT_EQ(posts("reset_currentAppIndex_kernel"), 1u);
    ASSERT_TRUE(fs::exists(userFile()));
    EXPECT_TRUE(log_.contains("create NuvroTablet in"));
    EXPECT_EQ(cfg->bEnableHBtn, 1);
    EXPECT_EQ(cfg->bAbsoluteMode, 1);
    EXPECT_EQ(cfg->calibrateFactor[0], 65536);
    EXPECT_EQ(cfg->calibrateFactor[6], 65536);
    EXPECT_FLOAT_EQ(cfg->workarea.right, 1.0f);
    EXPECT_STREQ(cfg->contexts[0].appPath, "Default");
    // Hard key 0 is a reference to the Ctrl preset; pen button 0 a full node.
    EXPECT_EQ(cfg->contexts[0].hbtns[0].funcBit, 4u);
    EXPECT_STREQ(cfg->contexts[0].hbtns[0].name, "Ctrl");
    EXPECT_EQ(cfg->contexts[0].hbtns[0].kbtn.bCtrl, 1);
    EXPECT_EQ(cfg->contexts[0].pbtns[0].funcBit, 0x10u);
    EXPECT_STREQ(cfg->contexts[1].appPath, "");

    const std::string text = userText();
    EXPECT_NE(text.find("<workareaRight>1.000000</workareaRight>"), std::string::npos);
    EXPECT_NE(text.find("<calibrateFactor0>65536</calibrateFactor0>"), std::string::npos);
    // A second load reads the file it left, equal to the first.
    auto again = load(ti);
    EXPECT_EQ(std::memcmp(cfg.get(), again.get(), sizeof(NVConfig)), 0);
    EXPECT_EQ(posts("reset_currentAppIndex_kernel"), 1u);
}

TEST_F(ConfigTest, UnusableUserFilesAreReplacedByTheDefault)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    const std::string olderLayout = "<NVDevices><NUVRO_T62E><bEnableHBtn>0</bEnableHBtn><workarea><left>3</left>"
                                    "</workarea><hbtns/></NUVRO_T62E></NVDevices>";
    for (const std::string& text : {olderLayout, std::string("<NVDevices><Preset>"), std::string("\x01\x02garbage")}) {
        writeUserFile(text);
        nvtest::write_file(fs::path(nv_config_user_dir()) / "other.plist", "x");
        auto cfg = load(ti);
        EXPECT_EQ(cfg->bEnableHBtn, 1);
        EXPECT_STREQ(cfg->contexts[0].hbtns[1].name, "Option");
        EXPECT_NE(userText().find("<Preset>"), std::string::npos);
        // The reset discards the whole per-user folder.
        EXPECT_FALSE(fs::exists(fs::path(nv_config_user_dir()) / "other.plist"));
    }
    EXPECT_EQ(posts("reset_currentAppIndex_kernel"), 3u);
}

TEST_F(ConfigTest, SettingsFallBackToOtherButKeysDoNot)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    writeUserFile(t62e_file("<appPath>Default</appPath><pressFactor>-3</pressFactor>"
                            "<hbtns><ekey0><name>n</name><cmdPath/></ekey0></hbtns>"
                            "<mekeys><num>1</num><mekey0><num>2</num><muxFuncNum>1</muxFuncNum>"
                            "<muxfunc0><ekey0><name>m</name></ekey0></muxfunc0></mekey0></mekeys>",
                            "<Other><bAbsoluteMode>1</bAbsoluteMode><workareaBottom>0.5</workareaBottom>"
                            "<ekType>8</ekType><cmdPath>/bin/x</cmdPath></Other>"));
    auto cfg = load(ti);
    EXPECT_EQ(cfg->pressFactor, -3);
    EXPECT_EQ(cfg->bAbsoluteMode, 1);
    EXPECT_FLOAT_EQ(cfg->workarea.bottom, 0.5f);
    EXPECT_EQ(cfg->bEnableHBtn, 0);
    EXPECT_EQ(cfg->contexts[0].hbtns[0].funcBit, 0u);
    EXPECT_STREQ(cfg->contexts[0].hbtns[0].cmdPath, "");
    // Multi-function keys do take the fallback.
    EXPECT_EQ(cfg->contexts[0].mekeys[0].muxfunc[0].ekeys[0].funcBit, 8u);
    EXPECT_STREQ(cfg->contexts[0].mekeys[0].muxfunc[0].ekeys[0].cmdPath, "/bin/x");
}

TEST_F(ConfigTest, SavedNumbersUseTheFileFormats)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    auto cfg = load(ti);
    cfg->workarea = {0.1f, 0.2f, 0.9f, 0.8f};
    cfg->pressFactor = -3;
    cfg->curScreenIndex = 0xFFFFFFFFu;
    cfg->bImproveLinearity = 1;
    ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), {}, &ti));
    const std::string text = userText();
    for (const char* leaf : {"<workareaLeft>0.100000</workareaLeft>", "<workareaTop>0.200000</workareaTop>",
                             "<workareaRight>0.900000</workareaRight>", "<workareaBottom>0.800000</workareaBottom>",
                             "<pressFactor>-3</pressFactor>", "<curScreenIndex>-1</curScreenIndex>",
                             "<bImproveLinearity>1</bImproveLinearity>"})
        EXPECT_NE(text.find(leaf), std::string::npos) << leaf;
    auto again = load(ti);
    EXPECT_EQ(again->curScreenIndex, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(again->workarea.top, 0.2f);
}

TEST_F(ConfigTest, LeafWritersAppendUnderAnExistingParentOnly)
{
    writeUserFile(t62e_file("<appPath>Default</appPath>"));
    NVConfigIO& io = NVConfigIO::sharedIOInstance();
    ASSERT_TRUE(io.openXml(nv_file_url(userFile())));
    io.writeNodeFloatValue(0.25f, "/NVDevices/NUVRO_T62E/Default/workareaLeft");
    io.writeNodeIntValue(-3, "/NVDevices/NUVRO_T62E/Default/pressFactor");
    io.writeNodeIntValue(7, "/NVDevices/NUVRO_T62E/Missing/pressFactor");
    io.writeNodeStringValue("x", "/NVDevices/NUVRO_T62E/Default/bad name");
    EXPECT_EQ(io.readNodeStringFromXml("/NVDevices/NUVRO_T62E/Default/workareaLeft"), "0.250000");
    EXPECT_EQ(io.readNodeIntFromXml("/NVDevices/NUVRO_T62E/Default/pressFactor"), -3);
    EXPECT_EQ(io.readSupportAppsFromPath("/NVDevices/NUVRO_T62E/Default"),
              (std::vector<std::string>{"appPath", "workareaLeft", "pressFactor"}));
    EXPECT_EQ(io.readSupportAppsFromPath("/NVDevices/NUVRO_T62E"), (std::vector<std::string>{"Default"}));
}

TEST_F(ConfigTest, AnUnusableDefaultLeavesTheRecordClearedWithoutLooping)
{
    nvtest::TempDir res;
    fs::create_directories(res.path() / "res");
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    for (const char* text : std::initializer_list<const char*>{"", "<NVDevices><NUVRO_T62E/></NVDevices>", nullptr}) {
        fs::remove(res.path() / "res" / "config_default.xml");
        if (text)
            nvtest::write_file(res.path() / "res" / "config_default.xml", text);
        nv_set_res_path(res.path().string());
        log_.clear();
        auto cfg = load(ti);
        auto zero = nv_test_config();
        EXPECT_EQ(std::memcmp(cfg.get(), zero.get(), sizeof(NVConfig)), 0);
        EXPECT_EQ(log_.count("is unusable"), 1u);
        EXPECT_FALSE(fs::exists(userFile()));
    }
}

TEST_F(ConfigTest, AChosenFileThatIsNoConfigurationChangesNeitherTheRecordNorTheUserFile)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    auto cfg = load(ti);
    cfg->pressFactor = 4;
    ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), {}, &ti));
    const std::string before = userText();

    nvtest::TempDir dir;
    const std::string secret = (dir.path() / "secret").string();
    nvtest::write_file(secret, "<Preset/>");
    std::string deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<NVDevices>";
    const std::string hostile[] = {
        "<!DOCTYPE NVDevices [<!ENTITY x SYSTEM \"file://" + secret + "\">]><NVDevices>&x;</NVDevices>",
        "<!DOCTYPE NVDevices [<!ENTITY a \"aaaaaaaaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]><NVDevices><Preset/>&c;&c;&c;</NVDevices>",
        deep,
        "<NVDevices><" + std::string(NV_XML_MAX_FILE, 'x') + "/><Preset/></NVDevices>",
        "<NVDevices><NUVRO_T62E/></NVDevices>",
    };
    for (size_t i = 0; i < std::size(hostile); ++i) {
        const std::string file = (dir.path() / "import.xml").string();
        nvtest::write_file(file, hostile[i]);
        log_.clear();
        // The record keeps the edits it held: the caller is told nothing was read.
        EXPECT_FALSE(NVConfigIO::readXml(file, cfg.get(), &ti)) << "case " << i;
        EXPECT_EQ(cfg->pressFactor, 4) << "case " << i;
        EXPECT_STREQ(cfg->contexts[0].appPath, "Default") << "case " << i;
        EXPECT_EQ(userText(), before) << "case " << i;
        EXPECT_EQ(posts("reset_currentAppIndex_kernel"), 1u) << "case " << i;
        EXPECT_TRUE(log_.contains("is not a configuration file")) << "case " << i;
        // Saving into the refused document writes nothing.
        EXPECT_FALSE(NVConfigIO::saveNVConfig(cfg.get(), {}, &ti, file)) << "case " << i;
        EXPECT_EQ(userText(), before) << "case " << i;
    }
    EXPECT_TRUE(NVConfigIO::readXml({}, cfg.get(), &ti));
    EXPECT_EQ(cfg->pressFactor, 4);
}

TEST_F(ConfigTest, ImportTakesTheDocumentAsAPathOrAFileUrl)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    auto cfg = load(ti);
    nvtest::TempDir dir;
    fs::create_directories(dir.path() / "my exports");
    // An exported file with a context of its own, in a folder whose URL needs escapes.
    const std::string exported = (dir.path() / "my exports" / "tablet 1.xml").string();
    NVConfigIO::createAppNodeInXml({}, "/usr/bin/gimp", &ti);
    cfg->rotateAngle = 180;
    ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), exported, &ti));
    NVConfigIO::removeAppNodeInXml({}, "gimp", &ti);
    for (const std::string& doc : {exported, nv_file_url(exported)}) {
        SCOPED_TRACE(doc);
        auto imported = nv_test_config();
        ASSERT_TRUE(NVConfigIO::readXml(exported, imported.get(), &ti));
        EXPECT_EQ(imported->rotateAngle, 180u);
        ASSERT_TRUE(NVConfigIO::saveNVConfig(imported.get(), {}, &ti, doc));
        EXPECT_EQ(NVConfigIO::readAppListWithTabletInfo(&ti), (std::vector<std::string>{"Default", "gimp"}));
        EXPECT_EQ(load(ti)->rotateAngle, 180u);
        NVConfigIO::removeAppNodeInXml({}, "gimp", &ti);
    }
}

TEST_F(ConfigTest, StaleTemporariesBesideTheUserFileGoWhenItIsOpened)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    load(ti);
    const fs::path dir = nv_config_user_dir();
    for (const char* name : {"config_user.xml.Q7w2Ex", "config_user.xml.000000"}) {
        nvtest::write_file(dir / name, "<NVDevices>");
        fs::last_write_time(dir / name, fs::file_time_type::clock::now() - std::chrono::hours(2));
    }
    load(ti);
    for (const auto& e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename(), "config_user.xml");
}

TEST_F(ConfigTest, LimitsOfTheRecordAreEnforcedOnLoad)
{
    NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    ti.hbtnNum = 20;
    std::string contexts;
    for (int i = 1; i < 10; ++i)
        contexts += "<App" + std::to_string(i) + "><appPath>/app" + std::to_string(i) + "</appPath></App"
            + std::to_string(i) + ">";
    std::string keys;
    for (int k = 0; k < 20; ++k)
        keys += "<ekey" + std::to_string(k) + "><ekType>4</ekType><name>k" + std::to_string(k) + "</name></ekey"
            + std::to_string(k) + ">";
    std::string longName;
    for (int i = 0; i < 100; ++i)
        longName += "\xE6\x8C\x89"; // 300 bytes of three-byte characters
    std::string ring;
    for (int k = 0; k < 40; ++k)
        ring += "<ekey" + std::to_string(k) + "><ekType>1</ekType><name>r</name></ekey" + std::to_string(k) + ">";
    writeUserFile(t62e_file("<appPath>" + std::string(300, 'p') + "</appPath><hbtns>" + keys
                                + "</hbtns>"
                                  "<mekeys><num>5</num>"
                                  "<mekey0><num>40</num><muxFuncNum>1</muxFuncNum><index>0</index><muxfunc0>"
                                + ring + "</muxfunc0></mekey0>"
                                  "<mekey1><num>2</num><muxFuncNum>9</muxFuncNum><index>7</index></mekey1>"
                                  "</mekeys>",
                            "<Other/><Long><ekType>8</ekType><name>" + longName + "</name></Long>", contexts));
    auto cfg = load(ti);
    EXPECT_EQ(strlen(cfg->contexts[0].appPath), 255u);
    EXPECT_STREQ(cfg->contexts[7].appPath, "/app7");
    EXPECT_STREQ(cfg->contexts[0].hbtns[15].name, "k15");
    EXPECT_EQ(cfg->contexts[0].mekeyNum, 2);
    const NVContextMEkey& m0 = cfg->contexts[0].mekeys[0];
    EXPECT_EQ(m0.num, 16);
    EXPECT_STREQ(m0.muxfunc[0].ekeys[15].name, "r");
    const NVContextMEkey& m1 = cfg->contexts[0].mekeys[1];
    EXPECT_EQ(m1.muxFuncNum, 4);
    EXPECT_EQ(m1.index, 0);
    for (const char* line : {"10 contexts", "keys of hbtns", "mekeys/num is 5", "mekey0/num is 40",
                             "muxFuncNum is 9", "index 7", "appPath cut to 255"})
        EXPECT_TRUE(log_.contains(line)) << line;

    // A name longer than the record's buffer is cut on a character boundary.
    writeUserFile(t62e_file("<appPath>Default</appPath><hbtns><ekey0><EKID>Long</EKID></ekey0></hbtns>",
                            "<Other/><Long><ekType>8</ekType><name>" + longName + "</name></Long>"));
    ti.hbtnNum = 1;
    cfg = load(ti);
    EXPECT_EQ(strlen(cfg->contexts[0].hbtns[0].name), 255u);
    EXPECT_EQ(std::string(cfg->contexts[0].hbtns[0].name), longName.substr(0, 255));
}

TEST_F(ConfigTest, RepairsAreWrittenOnceAtTheEndOfTheLoad)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    std::string keys;
    for (int k = 0; k < 8; ++k)
        keys += "<ekey" + std::to_string(k) + "><ekType>1</ekType><cmdPath/></ekey" + std::to_string(k) + ">";
    writeUserFile(t62e_file("<pressFactor>2</pressFactor><hbtns>" + keys + "</hbtns>", "<Other/>",
                            "<Krita><hbtns>" + keys + "</hbtns></Krita>"));
    auto cfg = load(ti);
    EXPECT_EQ(log_.count("repaired document written"), 1u);
    EXPECT_STREQ(cfg->contexts[0].appPath, "");
    const std::string text = userText();
    // The name follows the first child; appPath opens the Default context.
    EXPECT_NE(text.find("<ekey3>\n          <ekType>1</ekType>\n          <name></name>"), std::string::npos);
    EXPECT_NE(text.find("<Default>\n      <appPath>Default</appPath>"), std::string::npos);

    // The repaired file is well-formed: loading it again writes nothing.
    log_.clear();
    const auto stamp = fs::last_write_time(userFile());
    cfg = load(ti);
    EXPECT_EQ(log_.count("repaired document written"), 0u);
    EXPECT_FALSE(log_.contains("saveXML"));
    EXPECT_EQ(fs::last_write_time(userFile()), stamp);
    EXPECT_STREQ(cfg->contexts[0].appPath, "Default");
    EXPECT_EQ(cfg->pressFactor, 2);
}

TEST_F(ConfigTest, AFailedSaveKeepsThePreviousFile)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    auto cfg = load(ti);
    const std::string before = userText();
    NVConfigIO& io = NVConfigIO::sharedIOInstance();
    // No document to write: nothing replaces the file.
    io.openXml(nv_file_url("/nonexistent.xml"));
    EXPECT_FALSE(io.saveXML(userFile(), nullptr));
    EXPECT_TRUE(log_.contains("Could not write document out..."));
    EXPECT_EQ(userText(), before);
    // A target that cannot be replaced.
    const std::string blocked = nv_config_user_dir() + "/blocked";
    fs::create_directories(blocked + "/inner");
    log_.clear();
    EXPECT_FALSE(NVConfigIO::saveNVConfig(cfg.get(), blocked, &ti));
    EXPECT_TRUE(log_.contains("Could not write document out..."));
    EXPECT_TRUE(log_.contains("Save ConfigUserFile Error"));
    EXPECT_EQ(userText(), before);
}

TEST_F(ConfigTest, ExportWritesTheUserDocumentElsewhere)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_T62E");
    auto cfg = load(ti);
    const std::string before = userText();
    cfg->rotateAngle = 270;
    nvtest::TempDir dir;
    const std::string target = (dir.path() / "export.xml").string();
    ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), target, &ti));
    EXPECT_EQ(userText(), before);
    EXPECT_EQ(load(ti, target)->rotateAngle, 270u);
}

TEST_F(ConfigTest, TheBroadcastCarriesTheWholeRecord)
{
    auto cfg = nv_test_config();
    cfg->pressFactor = -2;
    std::strcpy(cfg->contexts[7].appPath, "/usr/bin/krita");
    NVPlistData got;
    center_.observe("cfg_SendBy_UI", [&](const std::string&, const NVPlistDict& info) {
        got = nv_plist_data(info, "cfgValFromUI");
    });
    NVConfigIO::synchronousCfgData(cfg.get());
    ASSERT_EQ(got.size(), 782104u);
    EXPECT_EQ(std::memcmp(got.data(), cfg.get(), sizeof(NVConfig)), 0);
}

TEST_F(ConfigTest, RoundTripOfEveryStoredField)
{
    for (const char* model : {"NUVRO_P9A6", "NUVRO_PE23", "NUVRO_P4D9"}) {
        SCOPED_TRACE(model);
        fs::remove_all(nv_config_user_dir());
        const NVTabletInfo ti = nv_test_tablet(model);
        load(ti);
        NVConfigIO::createAppNodeInXml({}, "file:///usr/bin/krita", &ti);
        NVConfigIO::createAppNodeInXml({}, "/opt/My Paint/mypaint", &ti);
        auto cfg = load(ti);
        ASSERT_EQ(NVConfigIO::readAppListWithTabletInfo(&ti).size(), 3u);

        cfg->bEnableHBtn = 0;
        cfg->bEnableSBtn = 0;
        cfg->bEnableMBtn = 0;
        cfg->bCtrlCursor = 0;
        cfg->bCalibrated = 1;
        cfg->curScreenIndex = 3;
        cfg->pressFactor = -4;
        cfg->rotateAngle = 90;
        cfg->workarea = {0.125f, 0.25f, 0.75f, 0.875f};
        cfg->bImproveLinearity = 1;
        cfg->bAbsoluteMode = 0;
        for (int i = 0; i < 7; ++i)
            cfg->calibrateFactor[i] = -1000 * i - 7;
        int seq = 0;
        auto change = [&](NVEkey& k) {
            ++seq;
            k.funcBit = 0x0C | (seq % 2 ? 0x10 : 0x200);
            snprintf(k.name, sizeof k.name, "name %d é", seq);
            snprintf(k.cmdPath, sizeof k.cmdPath, "/usr/bin/app%%20%d", seq);
            k.kbtn.bCtrl = seq & 1;
            k.kbtn.bAlt = (seq >> 1) & 1;
            k.kbtn.bShift = (seq >> 2) & 1;
            k.kbtn.bWin = (seq >> 3) & 1;
            for (int i = 0; i < NV_KBKEYS_MAX; ++i)
                k.kbtn.kbKeys[i] = static_cast<uint8_t>(seq + i * 7);
        };
        for (auto& ctx : cfg->contexts) {
            for (int j = 0; j < ti.hbtnNum; ++j)
                change(ctx.hbtns[j]);
            for (int j = 0; j < ti.sbtnNum; ++j)
                change(ctx.sbtns[j]);
            for (int j = 0; j <= ti.pbtnNum; ++j)
                change(ctx.pbtns[j]);
            for (int m = 0; m < cfg->contexts[0].mekeyNum; ++m)
                for (auto& set : ctx.mekeys[m].muxfunc)
                    for (int p = 0; p < ctx.mekeys[m].num; ++p)
                        change(set.ekeys[p]);
        }
        ASSERT_TRUE(NVConfigIO::saveNVConfig(cfg.get(), {}, &ti));
        auto back = load(ti);

        EXPECT_EQ(std::memcmp(back.get(), cfg.get(), offsetof(NVConfig, contexts)), 0);
        for (int i = 0; i < 3; ++i) {
            const NVContextEkeys& a = cfg->contexts[i];
            const NVContextEkeys& b = back->contexts[i];
            EXPECT_STREQ(a.appPath, b.appPath);
            auto same = [&](const NVEkey& x, const NVEkey& y) {
                EXPECT_EQ(x.funcBit, y.funcBit);
                EXPECT_STREQ(x.name, y.name);
                EXPECT_STREQ(x.cmdPath, y.cmdPath);
                EXPECT_EQ(std::memcmp(&x.kbtn.bCtrl, &y.kbtn.bCtrl, sizeof(NVKbtn) - 1), 0) << x.name;
            };
            for (int j = 0; j < ti.hbtnNum; ++j)
                same(a.hbtns[j], b.hbtns[j]);
            for (int j = 0; j < ti.sbtnNum; ++j)
                same(a.sbtns[j], b.sbtns[j]);
            for (int j = 0; j <= ti.pbtnNum; ++j)
                same(a.pbtns[j], b.pbtns[j]);
            for (int m = 0; m < cfg->contexts[0].mekeyNum; ++m) {
                const NVContextMEkey& x = a.mekeys[m];
                const NVContextMEkey& y = b.mekeys[m];
                EXPECT_EQ(x.num, y.num);
                EXPECT_EQ(x.muxFuncNum, y.muxFuncNum);
                for (int f = 0; f < x.muxFuncNum; ++f)
                    for (int p = 0; p < x.num; ++p)
                        same(x.muxfunc[f].ekeys[p], y.muxfunc[f].ekeys[p]);
            }
        }
        EXPECT_STREQ(back->contexts[1].appPath, "file:///usr/bin/krita");
        EXPECT_STREQ(back->contexts[2].appPath, "file:///opt/My Paint/mypaint");
    }
}
