// What every window of the settings application reads about the running application.
#pragma once

#include "settings/logic/NVBundle.h"
#include "settings/logic/NVImport.h"

#include <QString>

#include <string>

class NotificationCenter;

struct NVAppContext {
    NVBundleInfo bundle;
    std::string resPath;                   // the resource folder (holds res/ and Info.plist)
    NVAgentRestarter* restarter = nullptr; // ends and starts the agent; not owned
    NotificationCenter* bus = nullptr;     // the channel to the other programs; not owned
    std::string binDir;                    // the suite's programs; empty: this executable's folder
};

NVAppContext& nv_app_context();
// "<resources>/res/<name>"
QString nv_res_file(const char* name);
