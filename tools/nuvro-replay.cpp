// nuvro-replay RECORDING [--resources DIR]: replays a recorded session through the
// agent's core and prints every posted event as one JSON line on standard output.
// XDG_CONFIG_HOME chooses the per-user folder, as for the agent.
#include "core/config/NVConfigPaths.h"
#include "core/log/NVLog.h"
#include "tools/NVReplay.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: nuvro-replay RECORDING [--resources DIR]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string recording;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--resources") == 0 && i + 1 < argc)
            nv_set_res_path(argv[++i]);
        else if (argv[i][0] == '-' || !recording.empty())
            return usage();
        else
            recording = argv[i];
    }
    if (recording.empty())
        return usage();

    std::ifstream in(recording);
    if (!in) {
        std::fprintf(stderr, "nuvro-replay: cannot open %s\n", recording.c_str());
        return 1;
    }
    nv_log_open("nuvro-replay");
    std::string error;
    const bool ok = nv_replay(in, std::cout, error);
    std::cout.flush();
    if (!ok) {
        std::fprintf(stderr, "nuvro-replay: %s: %s\n", recording.c_str(), error.c_str());
        return 1;
    }
    return 0;
}
