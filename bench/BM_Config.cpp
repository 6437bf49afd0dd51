// The configuration store on the largest configuration the record holds: 8 contexts of
// 16 hard keys, 16 soft keys, the pen tip and 2 barrel buttons and 2 multi-function keys
// of 4 sets × 16 positions, every key a full node, inside the default file's other models.
#include "core/config/NVConfigIO.h"
#include "core/device/NVModelTable.h"
#include "core/model/NVLayoutAlloc.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr const char* kModel = "NUVRO_P4D9";

std::string full_key(int k, int seq)
{
    std::string s = "<ekey" + std::to_string(k) + "><ekType>12</ekType><name>Key function " + std::to_string(seq)
        + "</name><cmdPath>/usr/bin/app" + std::to_string(seq) + "</cmdPath><kbtn><bAlt>0</bAlt><bCtrl>1</bCtrl>"
        "<bShift>0</bShift><bWin>1</bWin>";
    for (int i = 0; i < 16; ++i)
        s += "<kbkey" + std::to_string(i) + ">" + std::to_string((seq + i) % 120) + "</kbkey" + std::to_string(i) + ">";
    return s + "</kbtn></ekey" + std::to_string(k) + ">";
}

std::string collection(const char* name, int count, int& seq)
{
    std::string s = std::string("<") + name + ">";
    for (int k = 0; k < count; ++k)
        s += full_key(k, seq++);
    return s + "</" + name + ">";
}

std::string max_model()
{
    int seq = 0;
    std::string s = std::string("<") + kModel + ">";
    for (int c = 0; c < NV_CONTEXT_MAX; ++c) {
        const std::string name = c == 0 ? "Default" : "App" + std::to_string(c);
        s += "<" + name + "><appPath>" + (c == 0 ? std::string("Default") : "/usr/bin/app" + std::to_string(c))
            + "</appPath>";
        if (c == 0)
            s += "<bEnableHBtn>1</bEnableHBtn><bEnableSBtn>1</bEnableSBtn><bEnableMBtn>1</bEnableMBtn>"
                 "<bCtrlCursor>1</bCtrlCursor><bCalibrated>1</bCalibrated><curScreenIndex>1</curScreenIndex>"
                 "<pressFactor>2</pressFactor><rotateAngle>90</rotateAngle><workareaLeft>0.100000</workareaLeft>"
                 "<workareaTop>0.100000</workareaTop><workareaRight>0.900000</workareaRight>"
                 "<workareaBottom>0.900000</workareaBottom><bImproveLinearity>1</bImproveLinearity>"
                 "<bAbsoluteMode>1</bAbsoluteMode><calibrateFactor0>65536</calibrateFactor0>"
                 "<calibrateFactor1>0</calibrateFactor1><calibrateFactor2>0</calibrateFactor2>"
                 "<calibrateFactor3>0</calibrateFactor3><calibrateFactor4>65536</calibrateFactor4>"
                 "<calibrateFactor5>0</calibrateFactor5><calibrateFactor6>65536</calibrateFactor6>";
        s += collection("hbtns", 16, seq) + collection("sbtns", 16, seq) + collection("pbtns", 3, seq);
        s += "<mekeys><num>2</num>";
        for (int m = 0; m < 2; ++m) {
            s += "<mekey" + std::to_string(m) + "><num>16</num><muxFuncNum>4</muxFuncNum><index>1</index>";
            for (int f = 0; f < 4; ++f)
                s += collection(("muxfunc" + std::to_string(f)).c_str(), 16, seq);
            s += "</mekey" + std::to_string(m) + ">";
        }
        s += "</mekeys></" + name + ">";
    }
    return s + "</" + kModel + ">";
}

// A private per-user folder holding the maximal user file; the default file's other
// models stay in it, as they do in every user file.
class MaxConfig {
public:
    MaxConfig()
    {
        char tmpl[] = "/tmp/nuvro-bench-XXXXXX";
        home_ = mkdtemp(tmpl);
        setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
        nv_set_res_path(NV_RESOURCES_DIR);
        NVXmlDocPtr doc = nv_xml_read_file(nv_config_default_path());
        xmlNode* old = nv_xml_first(doc.get(), std::string("/NVDevices/") + kModel);
        const std::string text = max_model();
        NVXmlDocPtr model = nv_xml_read_memory(text.data(), text.size());
        xmlNode* fresh = xmlDocCopyNode(xmlDocGetRootElement(model.get()), doc.get(), 1);
        xmlReplaceNode(old, fresh);
        xmlFreeNode(old);
        std::filesystem::create_directories(nv_config_user_dir());
        nv_write_file_atomic(getConfigUserFullPath(), nv_xml_serialise(doc.get()));
        ti_.devType = nv_model_by_identity(kModel)->devType;
        ti_.hbtnNum = 16;
        ti_.sbtnNum = 16;
        ti_.pbtnNum = 2;
    }
    ~MaxConfig()
    {
        std::error_code ec;
        std::filesystem::remove_all(home_, ec);
        nv_set_res_path({});
    }
    const NVTabletInfo* ti() const { return &ti_; }

private:
    std::string home_;
    NVTabletInfo ti_{};
};

void BM_ConfigLoadMax(benchmark::State& state)
{
    MaxConfig max;
    auto cfg = std::make_unique<NVConfig>();
    const auto stamp = std::filesystem::last_write_time(getConfigUserFullPath());
    for (auto _ : state) {
        NVConfigIO::readXml({}, cfg.get(), max.ti());
        benchmark::DoNotOptimize(cfg->contexts[7].mekeys[1].muxfunc[0].ekeys[15].kbtn.kbKeys[15]);
    }
    if (cfg->contexts[7].mekeys[1].num != 16 || cfg->contexts[7].sbtns[15].name[0] == '\0')
        state.SkipWithError("the maximal configuration did not load");
    // Loading a well-formed file must not write any file.
    if (std::filesystem::last_write_time(getConfigUserFullPath()) != stamp)
        state.SkipWithError("a load of a well-formed file wrote the user file");
}
BENCHMARK(BM_ConfigLoadMax)->Unit(benchmark::kMillisecond);

void BM_ConfigSaveMax(benchmark::State& state)
{
    MaxConfig max;
    auto cfg = std::make_unique<NVConfig>();
    NVConfigIO::readXml({}, cfg.get(), max.ti());
    for (auto _ : state) {
        if (!NVConfigIO::saveNVConfig(cfg.get(), {}, max.ti()))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_ConfigSaveMax)->Unit(benchmark::kMillisecond);

void BM_LayoutLoad(benchmark::State& state)
{
    MaxConfig max;
    auto cfg = std::make_unique<NVConfig>();
    NVConfigIO::readXml({}, cfg.get(), max.ti());
    NVLayoutTablet layout{};
    NVLayoutPen pen{};
    for (auto _ : state) {
        NVConfigIO::readTabletLayout(&layout, max.ti(), cfg.get());
        NVConfigIO::readPenLayout(&pen, "NUVRO_PF01");
        benchmark::DoNotOptimize(layout.ekLayouts);
    }
    free_NVTabletLayout(&layout);
    free_NVPenLayout(&pen);
}
BENCHMARK(BM_LayoutLoad)->Unit(benchmark::kMillisecond);

} // namespace
