// The shared store, its documents and the small operations of the per-user file.
#include "core/config/NVConfigIO.h"

#include "core/channel/NVNotificationNames.h"
#include "core/channel/NotificationCenter.h"
#include "core/device/libCross/nvParse.h"
#include "core/log/NVLog.h"
#include "core/model/NVGlobalInfo.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

NotificationCenter* g_center = nullptr;

} // namespace

NVConfigIO& NVConfigIO::sharedIOInstance()
{
    static NVConfigIO* instance = new NVConfigIO; // lives as long as the process
    return *instance;
}

void NVConfigIO::setNotificationCenter(NotificationCenter* center)
{
    g_center = center;
}

void NVConfigIO::postNotification(const char* name)
{
    if (g_center)
        g_center->post(name, NVPlistDict{});
}

xmlDoc* NVConfigIO::openXml(const std::string& url)
{
    paths_.clear();
    doc_.reset();
    repairPending_ = false;
    const std::string path = nv_url_path(url);
    if (path == getConfigUserFullPath())
        nv_remove_stale_temporaries(path);
    doc_ = nv_xml_read_file(path);
    return doc_.get();
}

bool NVConfigIO::saveXML(const std::string& path, xmlDoc* doc)
{
    const std::string dir = nv_config_user_dir();
    std::error_code ec;
    if (!fs::exists(dir, ec)) {
        fs::create_directories(dir, ec);
        nv_log(" create NuvroTablet in %s ", dir.c_str());
    }
    nv_log("saveXML path=%s", path.c_str());
    xmlDoc* d = doc ? doc : doc_.get();
    const std::string bytes = d ? nv_xml_serialise(d) : std::string();
    if (bytes.empty() || !nv_write_file_atomic(path, bytes)) {
        nv_log("Could not write document out...");
        return false;
    }
    return true;
}

void NVConfigIO::flushRepairs()
{
    if (!repairPending_ || !doc_)
        return;
    repairPending_ = false;
    const std::string bytes = nv_xml_serialise(doc_.get());
    const std::string path = getConfigUserFullPath();
    nv_log("readXML: repaired document written to %s", path.c_str());
    if (bytes.empty() || (!nv_write_file_atomic(path, bytes) && !nv_write_file_atomic(path, bytes)))
        nv_log("Could not write document out...");
}

void NVConfigIO::synchronousCfgData(const NVConfig* cfg)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(cfg);
    NVPlistDict info;
    info[nvKeyCfgValFromUI] = NVPlistData(bytes, bytes + sizeof(NVConfig));
    if (g_center)
        g_center->post(nvNotificationCfgSendByUI, info);
}

void NVConfigIO::writeDriverChange(const NVContextMEkey* mekey, const NVTabletInfo* ti)
{
    NVConfigIO& io = sharedIOInstance();
    const std::string path = getConfigUserFullPath();
    const std::string url = nv_file_url(path);
    nv_log("writeDriverChange path:%s", url.c_str());
    if (!io.openXml(url))
        return;
    const std::string model = std::string("/NVDevices/") + get_dev_type(ti->devType);
    const std::vector<std::string> contexts = io.readSupportAppsFromPath(model);
    if (currentAppIndex_kernel < 0 || static_cast<size_t>(currentAppIndex_kernel) >= contexts.size()) {
        nv_log("writeDriverChange: no context %d in the file", currentAppIndex_kernel);
        return;
    }
    io.writeNodeIntValue(mekey->index, model + "/" + contexts[currentAppIndex_kernel] + "/mekeys/mekey0/index");
    io.saveXML(path, nullptr);
}
