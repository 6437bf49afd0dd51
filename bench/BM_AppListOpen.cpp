// The per-application list window opened with eight contexts, offscreen: the user file read,
// the rows built and shown, the icons left loading in the background.
#include "bench/BenchApp.h"
#include "core/config/NVConfigIO.h"
#include "core/config/NVConfigPaths.h"
#include "core/device/NVModelTable.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVAppIconLoader.h"
#include "settings/ui/NVThirdPartAppListController.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

void BM_AppListOpen(benchmark::State& state)
{
    nv_bench_app();

    char tmpl[] = "/tmp/nuvro-bench-XXXXXX";
    const fs::path home = ::mkdtemp(tmpl);
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    nv_app_context().resPath = NV_RESOURCES_DIR;
    nv_set_res_path(NV_RESOURCES_DIR);
    std::memset(&g_ui, 0, sizeof g_ui);
    nv_ui_globals_init();
    g_ui.ti = nv_model_tablet_info(*nv_model_by_identity("NUVRO_T62E"));
    NVConfigIO::readXml({}, &g_ui.cfg, &g_ui.ti);
    for (int i = 1; i < NV_CONTEXT_MAX; ++i) {
        const fs::path program = home / "bin" / ("program" + std::to_string(i));
        fs::create_directories(program.parent_path());
        std::ofstream(program) << "#!/bin/sh\n";
        fs::permissions(program, fs::perms::owner_all);
        NVConfigIO::createAppNodeInXml({}, program.string(), &g_ui.ti);
    }
    NVConfigIO::readXml({}, &g_ui.cfg, &g_ui.ti);

    for (auto _ : state) {
        NVThirdPartAppListController list;
        list.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(list.rowCount());
    }
    NVAppIconLoader::waitForDone(10000);
    QCoreApplication::processEvents();
    nv_ui_globals_free();
    nv_set_res_path({});
    fs::remove_all(home);
}
BENCHMARK(BM_AppListOpen)->Unit(benchmark::kMillisecond);

} // namespace
