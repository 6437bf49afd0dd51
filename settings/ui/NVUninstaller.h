// The uninstall: the removal plan's privileged part runs once through pkexec with an
// argument vector, the user's own files are removed here, then the package at
// installPath is handed to the desktop's installer.
#pragma once

#include "settings/logic/NVPrivilegedOps.h"

#include <QString>

#include <span>
#include <string>

struct NVCommandResult {
    bool ok = false;
    QString command; // the argument vector, joined for the log and the alert
    int exitCode = -1;
};

// Runs nuvro-remove of binDir with the operations through pkexec ($NV_PKEXEC when set,
// which tests point at a recording stand-in). Nothing to do is success. A refusal or a
// failure is logged with the command and its exit status.
NVCommandResult nv_run_privileged(const std::string& binDir, std::span<const NVPrivilegedOp> ops);

// The whole uninstall of the suite. False when a step failed; the log says which.
bool nv_execute_uninstall(const QString& installPath);
