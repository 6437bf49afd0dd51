#include "helper/logic/NVUpdateServer.h"

#include "settings/logic/NVPlistFile.h"

NVUpdateServer nv_read_update_server(const std::string& resPath, const char* override)
{
    NVUpdateServer server;
    if (const auto dict = nv_plist_file_read(resPath + "/NuvroHelper/Info.plist")) {
        server.base = nv_plist_string(*dict, nvUpdateServerKey);
        server.pagePath = nv_plist_string(*dict, nvUpdatePagePathKey);
    }
    if (override && *override)
        server.base = override;
    while (!server.base.empty() && server.base.back() == '/')
        server.base.pop_back();
    return server;
}
