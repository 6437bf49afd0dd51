#include "settings/logic/NVImport.h"

#include "core/config/NVConfigIO.h"
#include "core/config/NVXmlDoc.h"
#include "core/device/libCross/nvParse.h"
#include "core/log/NVLog.h"

bool nv_import_has_app_paths(const std::string& path, const std::string& modelId)
{
    const NVXmlDocPtr doc = nv_xml_read_file(path);
    return doc && !nv_xml_all(doc.get(), "/NVDevices/" + modelId + "/Default/appPath").empty();
}

NVImportResult nv_import_configuration(const std::string& path, NVConfig* cfg, const NVTabletInfo* ti,
                                       NVAgentRestarter& agent)
{
    const bool appPaths = nv_import_has_app_paths(path, get_dev_type(ti->devType));
    if (!NVConfigIO::readXml(path, cfg, ti)) {
        nv_log("import: %s is not a configuration, nothing imported", path.c_str());
        return NVImportResult::NotAConfiguration;
    }
    if (!appPaths)
        agent.restartAgent();
    if (!NVConfigIO::saveNVConfig(cfg, std::string(), ti, path))
        nv_log("import: the imported configuration could not be stored");
    return NVImportResult::Imported;
}
