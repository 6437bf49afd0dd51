// Layout files: counts and views of the tablet layout, position names by language, the
// pen layout, and the agreement of every data file with the model table.
#include "tests/config/ConfigFixture.h"

#include "core/config/NVLanguage.h"
#include "core/device/NVModelTable.h"
#include "core/device/libCross/nvParse.h"
#include "core/model/NVLayoutAlloc.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class ScopedLocale {
public:
    explicit ScopedLocale(const char* lang)
    {
        for (const char* v : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* old = std::getenv(v);
            saved_.emplace_back(v, old ? std::optional<std::string>(old) : std::nullopt);
            unsetenv(v);
        }
        setenv("LANG", lang, 1);
    }
    ~ScopedLocale()
    {
        for (const auto& [v, old] : saved_) {
            if (old)
                setenv(v, old->c_str(), 1);
            else
                unsetenv(v);
        }
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

} // namespace

TEST(Language, ElementFollowsTheLocalePrefix)
{
    EXPECT_STREQ(nv_language_element("pt_BR"), "portugal");
    EXPECT_STREQ(nv_language_element("fr_FR"), "english");
    EXPECT_STREQ(nv_language_element("zh-Hans_CN"), "chinese");
    EXPECT_STREQ(nv_language_element("it_IT.UTF-8"), "itailian");
    EXPECT_STREQ(nv_language_element("ar_EG"), "arab");
    EXPECT_STREQ(nv_language_element(""), "english");
}

TEST_F(ConfigTest, EveryModelAgreesAcrossTableConfigurationAndLayouts)
{
    ScopedLocale locale("en_US.UTF-8");
    for (auto list : {nv_maker_models(), nv_oem_models()}) {
        for (const NVModelInfo& m : list) {
            SCOPED_TRACE(m.identity);
            const NVTabletInfo ti = nv_test_tablet(m.identity);
            auto cfg = load(ti, nv_config_default_path());
            const NVContextEkeys& def = cfg->contexts[0];
            ASSERT_EQ(def.mekeyNum, m.mekeyNum);
            for (int j = 0; j < m.mekeyNum; ++j) {
                EXPECT_EQ(def.mekeys[j].num, m.mekeyPositions[j]);
                EXPECT_EQ(def.mekeys[j].muxFuncNum, m.mekeySets[j]);
                // Every set the key switches through holds a function at every position.
                for (int f = 0; f < m.mekeySets[j]; ++f)
                    for (int k = 0; k < m.mekeyPositions[j]; ++k)
                        EXPECT_NE(def.mekeys[j].muxfunc[f].ekeys[k].funcBit, 0u) << j << " " << f << " " << k;
            }
            for (int j = 0; j < m.hbtnNum; ++j)
                EXPECT_NE(def.hbtns[j].name[0], '\0');
            for (int j = 0; j < m.sbtnNum; ++j)
                EXPECT_NE(def.sbtns[j].name[0], '\0');
            // The pen tip, then each barrel button.
            for (int j = 0; j <= m.pbtnNum; ++j)
                EXPECT_NE(def.pbtns[j].funcBit, 0u);

            NVLayoutTablet layout{};
            NVConfigIO::readTabletLayout(&layout, &ti, cfg.get());
            EXPECT_EQ(layout.hbtnNum, m.hbtnNum);
            EXPECT_EQ(layout.sbtnNum, m.sbtnNum);
            EXPECT_EQ(layout.mekeyNum, m.mekeyNum);
            EXPECT_EQ(layout.mekeyNamesAlloc, m.mekeyNum);
            EXPECT_GT(layout.size.cx, layout.workarea.right);
            for (uint32_t j = 0; j < layout.mekeyNamesAlloc; ++j) {
                ASSERT_EQ(layout.mekeyNames[j].num, m.mekeyPositions[j]);
                EXPECT_STREQ(layout.mekeyNames[j].names[0], "Key 1");
            }
            free_NVTabletLayout(&layout);

            NVLayoutPen pen{};
            NVConfigIO::readPenLayout(&pen, get_pen_node_in_xml(m.devType));
            EXPECT_GE(pen.ekNum, m.pbtnNum + 1u);
            free_NVPenLayout(&pen);
        }
    }
    EXPECT_FALSE(log_.contains("repaired"));
}

TEST_F(ConfigTest, TabletLayoutViewsFollowTheCounts)
{
    // NUVRO_TA53: 8 hard keys, no soft keys, one multi-function key.
    const NVTabletInfo ti = nv_test_tablet("NUVRO_TA53");
    auto cfg = load(ti);
    NVLayoutTablet layout{};
    NVConfigIO::readTabletLayout(&layout, &ti, cfg.get());
    EXPECT_EQ(layout.ekNum, 9u);
    EXPECT_EQ(layout.hbtns, layout.ekLayouts);
    EXPECT_EQ(layout.sbtns, layout.ekLayouts + 8);
    EXPECT_EQ(layout.mekeys, layout.ekLayouts + 8);
    EXPECT_EQ(layout.sbtnInRect.right, 0);
    EXPECT_EQ(layout.hbtns[0].inRect.right, 0);
    EXPECT_GT(layout.mekeys[0].inRect.right, layout.mekeys[0].inRect.left);
    EXPECT_EQ(layout.mekeys[0].centerX, (layout.mekeys[0].rect.left + layout.mekeys[0].rect.right) / 2);

    // NUVRO_P4D9: soft keys sit after the hard keys, the multi-function key after them.
    const NVTabletInfo ti2 = nv_test_tablet("NUVRO_P4D9");
    cfg = load(ti2);
    NVConfigIO::readTabletLayout(&layout, &ti2, cfg.get());
    EXPECT_EQ(layout.ekNum, 31u);
    EXPECT_EQ(layout.sbtns, layout.ekLayouts + 14);
    EXPECT_EQ(layout.mekeys, layout.ekLayouts + 30);
    EXPECT_GT(layout.sbtnInRect.bottom, layout.sbtnInRect.top);
    EXPECT_GT(layout.sbtns[15].rect.left, layout.sbtns[0].rect.left);
    free_NVTabletLayout(&layout);
}

TEST_F(ConfigTest, PositionNamesComeFromTheLanguageElement)
{
    const NVTabletInfo ti = nv_test_tablet("NUVRO_PE23");
    auto cfg = load(ti);
    const std::pair<const char*, const char*> cases[] = {
        {"pt_BR", "Tecla 13"}, {"fr_FR", "Key 13"}, {"zh-Hans_CN", "按键 13"}};
    for (const auto& [lang, name] : cases) {
        ScopedLocale locale(lang);
        NVLayoutTablet layout{};
        NVConfigIO::readTabletLayout(&layout, &ti, cfg.get());
        ASSERT_EQ(layout.mekeyNamesAlloc, 1u);
        ASSERT_EQ(layout.mekeyNames[0].num, 13u);
        EXPECT_STREQ(layout.mekeyNames[0].names[12], name);
        free_NVTabletLayout(&layout);
    }
}

TEST_F(ConfigTest, ALayoutBeyondTheConfigurationIsClamped)
{
    nvtest::TempDir res;
    fs::create_directories(res.path() / "with space" / "res");
    const fs::path dir = res.path() / "with space";
    std::string key = "<Left>1</Left><num>40</num>";
    for (int k = 0; k < 40; ++k)
        key += "<ekey" + std::to_string(k) + "><name><english>" + std::string(k == 1 ? 400 : 3, 'n')
            + "</english></name></ekey" + std::to_string(k) + ">";
    nvtest::write_file(dir / "res" / "layout_tablet.xml",
                       "<NVDevices><NUVRO_TA53><HBtnNum>40</HBtnNum><SBtnNum>-3</SBtnNum><MEKeyNum>5</MEKeyNum>"
                       "<Size><Width>800</Width><Height>500</Height></Size>"
                       "<MEKey0>" + key + "</MEKey0><MEKey1>" + key + "</MEKey1></NUVRO_TA53></NVDevices>");
    nvtest::write_file(dir / "res" / "layout_pen.xml",
                       "<NVPens><P><BtnNum>2</BtnNum><Size><Width>10</Width><Height>90</Height></Size>"
                       "<Btn1><Top>7</Top><CenterY>9</CenterY></Btn1></P><Q><BtnNum>99</BtnNum></Q></NVPens>");
    const NVTabletInfo ti = nv_test_tablet("NUVRO_TA53");
    auto cfg = load(ti);
    nv_set_res_path(dir.string());
    ScopedLocale locale("en_GB");
    NVLayoutTablet layout{};
    NVConfigIO::readTabletLayout(&layout, &ti, cfg.get());
    EXPECT_EQ(layout.size.cx, 800);
    EXPECT_EQ(layout.hbtnNum, 16u);
    EXPECT_EQ(layout.sbtnNum, 0u);
    EXPECT_EQ(layout.mekeyNum, 2u);
    EXPECT_EQ(layout.ekNum, 18u);
    EXPECT_EQ(layout.mekeys[1].rect.left, 1);
    // Names for the one key of two positions that the configuration sized.
    ASSERT_EQ(layout.mekeyNamesAlloc, 1u);
    ASSERT_EQ(layout.mekeyNames[0].num, 2u);
    EXPECT_STREQ(layout.mekeyNames[0].names[0], "nnn");
    EXPECT_EQ(strlen(layout.mekeyNames[0].names[1]), 255u);
    free_NVTabletLayout(&layout);

    NVLayoutPen pen{};
    NVConfigIO::readPenLayout(&pen, "P");
    EXPECT_EQ(pen.ekNum, 2u);
    EXPECT_EQ(pen.size.cy, 90);
    EXPECT_EQ(pen.ekLayouts[1].rect.top, 7);
    EXPECT_EQ(pen.ekLayouts[1].centerY, 9);
    NVConfigIO::readPenLayout(&pen, "Q");
    EXPECT_EQ(pen.ekNum, 16u);
    NVConfigIO::readPenLayout(&pen, "Missing");
    EXPECT_EQ(pen.ekNum, 0u);
    EXPECT_EQ(pen.ekLayouts, nullptr);
    free_NVPenLayout(&pen);
}
