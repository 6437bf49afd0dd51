// What several fuzz targets share: a private configuration folder and a tablet model
// picked by one input byte.
#pragma once

#include "core/config/NVConfigPaths.h"
#include "core/device/NVModelTable.h"
#include "core/model/NVTypes.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include <unistd.h>

namespace nvfuzz {

inline std::string& config_home()
{
    static std::string home;
    return home;
}

inline void remove_config_home()
{
    std::error_code ec;
    std::filesystem::remove_all(config_home(), ec);
}

// The configuration folder goes on tmpfs where the machine has one: every save ends in an
// fsync, a disk flush elsewhere and next to nothing in memory. Call from
// LLVMFuzzerInitialize so it holds however the target is started.
inline void use_private_config_home()
{
    const bool shm = std::filesystem::is_directory("/dev/shm") && access("/dev/shm", W_OK) == 0;
    std::string tmpl = std::string(shm ? "/dev/shm" : "/tmp") + "/nuvro-fuzz-XXXXXX";
    if (!mkdtemp(tmpl.data()))
        std::abort();
    config_home() = tmpl;
    std::atexit(remove_config_home);
    setenv("XDG_CONFIG_HOME", tmpl.c_str(), 1);
    nv_set_res_path(NV_RESOURCES_DIR);
}

// The maker's models then the OEM models, so every key layout is reachable.
inline NVTabletInfo model_tablet(uint8_t pick)
{
    const auto makers = nv_maker_models();
    const auto oems = nv_oem_models();
    const size_t i = pick % (makers.size() + oems.size());
    const NVModelInfo& m = i < makers.size() ? makers[i] : oems[i - makers.size()];
    NVTabletInfo ti = nv_model_tablet_info(m);
    std::strncpy(ti.sDevVer, m.identity, sizeof ti.sDevVer - 1);
    return ti;
}

} // namespace nvfuzz
