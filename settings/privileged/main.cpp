// nuvro-remove: ends the suite's processes and removes its folders with administrator
// rights, started by the settings application through pkexec with an argument vector.
// "nuvro-remove --list" only prints the paths it may ever remove.
#include "settings/privileged/NVPrivilegedRunner.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const std::string& path : nv_privileged_paths())
            std::printf("%s\n", path.c_str());
        return NVPX_DONE;
    }
    const NVProcFsTable table;
    NVPosixProcessControl control;
    NVDpkg packages;
    NVPrivilegedEnv env;
    env.table = &table;
    env.control = &control;
    env.packages = &packages;
    env.spared = {static_cast<int32_t>(getpid()), static_cast<int32_t>(getppid())};
    return nv_privileged_run(std::vector<std::string>(argv + 1, argv + argc), env);
}
