// nuvro-remove: ends the suite's processes and removes its folders with administrator
// rights, started by the settings application through pkexec with an argument vector.
#include "settings/privileged/NVPrivilegedRunner.h"

#include <unistd.h>

int main(int argc, char** argv)
{
    const NVProcFsTable table;
    NVPosixProcessControl control;
    NVPrivilegedEnv env;
    env.table = &table;
    env.control = &control;
    env.spared = {static_cast<int32_t>(getpid()), static_cast<int32_t>(getppid())};
    return nv_privileged_run(std::vector<std::string>(argv + 1, argv + argc), env);
}
