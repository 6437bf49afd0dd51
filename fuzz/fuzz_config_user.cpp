// An arbitrary byte string as the user's config_user.xml, then a load, a save and a
// second load. The first byte picks the tablet model, so every key layout is reached.
#include "core/config/NVConfigIO.h"
#include "core/device/NVModelTable.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

struct Setup {
    Setup()
    {
        char tmpl[] = "/tmp/nuvro-fuzz-XXXXXX";
        home = mkdtemp(tmpl);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        nv_set_res_path(NV_RESOURCES_DIR);
    }
    std::string home;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Setup setup;
    if (size == 0)
        return 0;
    const auto makers = nv_maker_models();
    const auto oems = nv_oem_models();
    const size_t pick = data[0] % (makers.size() + oems.size());
    const NVModelInfo& m = pick < makers.size() ? makers[pick] : oems[pick - makers.size()];
    NVTabletInfo ti{};
    ti.devType = m.devType;
    ti.hbtnNum = m.hbtnNum;
    ti.sbtnNum = m.sbtnNum;
    ti.pbtnNum = m.pbtnNum;

    std::filesystem::create_directories(nv_config_user_dir());
    {
        std::ofstream out(getConfigUserFullPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    auto cfg = std::make_unique<NVConfig>();
    NVConfigIO::readXml({}, cfg.get(), &ti);
    NVConfigIO::saveNVConfig(cfg.get(), {}, &ti);
    NVConfigIO::readXml({}, cfg.get(), &ti);
    return 0;
}
