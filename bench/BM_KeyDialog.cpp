// The key-function dialog opened on a hard key of a connected tablet, offscreen: built,
// filled from the record and shown (the budget is 50 ms); and the text of a key function,
// per key, as the pages render it.
#include "bench/BenchApp.h"
#include "core/config/NVConfigIO.h"
#include "core/config/NVConfigPaths.h"
#include "core/device/NVModelTable.h"
#include "settings/logic/NVEkeyText.h"
#include "settings/logic/NVKeyLayout.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/VControllerEkeyVal.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

void connected_tablet()
{
    nv_bench_app();
    nv_app_context().resPath = NV_RESOURCES_DIR;
    nv_set_res_path(NV_RESOURCES_DIR);
    std::memset(&g_ui, 0, sizeof g_ui);
    nv_ui_globals_init();
    g_ui.ti = nv_model_tablet_info(*nv_model_by_identity("NUVRO_P4D9"));
    NVConfigIO::readDefaultConfig(&g_ui.cfg, &g_ui.ti);
    g_ui.bTabletOpened = true;
}

void BM_KeyDialogOpen(benchmark::State& state)
{
    connected_tablet();
    NVEkey& key = g_ui.cfg.contexts[0].hbtns[0];
    key.funcBit = 0x04 | 0x10 | 0x08;
    key.kbtn.kbKeys[0] = 8;
    key.kbtn.kbKeys[1] = 9;
    std::strcpy(key.cmdPath, "/usr/share/applications/editor.desktop");
    for (auto _ : state) {
        VControllerEkeyVal dialog;
        dialog.setPekey(&key);
        dialog.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dialog.workingCopy().funcBit);
    }
    nv_ui_globals_free();
}
BENCHMARK(BM_KeyDialogOpen)->Unit(benchmark::kMillisecond);

void BM_StringFromEkey(benchmark::State& state)
{
    nv_set_current_key_layout(NVKeyLayout::fromNames("us"));
    NVEkey key{};
    key.funcBit = 0x04 | 0x10 | 0x08 | 0x01;
    key.kbtn.bCtrl = 1;
    key.kbtn.bShift = 1;
    for (int i = 0; i < 4; ++i)
        key.kbtn.kbKeys[i] = static_cast<uint8_t>(8 + i);
    std::strcpy(key.cmdPath, "/opt/My%20Editor/bin/editor");
    const NVEkeyNames names{"Left", "Middle", "Right", "Up", "Down", "Screen", "Brush", "Set"};
    for (auto _ : state)
        benchmark::DoNotOptimize(string_from_ekey(key, names));
}
BENCHMARK(BM_StringFromEkey);

} // namespace
