// An arbitrary byte string as the user's config_user.xml, then a load, a save and a
// second load. The first byte picks the tablet model, so every key layout is reached.
#include "core/config/NVConfigIO.h"
#include "core/config/NVXmlDoc.h"
#include "fuzz/FuzzSupport.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include <libxml/tree.h>

namespace {

// A resource folder whose default file holds the presets and the model's own node only:
// a load reads nothing else, and the whole file's parse on every reset would cost most of
// each run. Made once per model.
const std::string& model_resources(const NVTabletInfo& ti)
{
    static const std::string whole = nv_config_default_path();
    static std::map<uint32_t, std::string> made;
    std::string& dir = made[ti.devType];
    if (!dir.empty())
        return dir;
    dir = nvfuzz::config_home() + "/res-" + ti.sDevVer;
    NVXmlDocPtr doc = nv_xml_read_file(whole);
    xmlNode* root = doc ? xmlDocGetRootElement(doc.get()) : nullptr;
    if (!root)
        std::abort();
    for (xmlNode* n = root->children; n;) {
        xmlNode* next = n->next;
        const std::string name = n->name ? reinterpret_cast<const char*>(n->name) : "";
        if (n->type == XML_ELEMENT_NODE && name != "Preset" && name != ti.sDevVer) {
            xmlUnlinkNode(n);
            xmlFreeNode(n);
        }
        n = next;
    }
    std::filesystem::create_directories(dir + "/res");
    if (!nv_write_file_atomic(dir + "/res/config_default.xml", nv_xml_serialise(doc.get())))
        std::abort();
    return dir;
}

} // namespace

// Each run allocates and frees the nodes of several documents; with the default 256 MB
// quarantine every allocation lands on fresh pages. 64 MB still holds many runs' frees.
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=64";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    nvfuzz::use_private_config_home();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const NVTabletInfo ti = nvfuzz::model_tablet(data[0]);
    nv_set_res_path(model_resources(ti));
    std::filesystem::create_directories(nv_config_user_dir());
    {
        std::ofstream out(getConfigUserFullPath(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    }
    // One record for the whole run: a fresh one each time costs more than the load does.
    static const auto cfg = std::make_unique<NVConfig>();
    NVConfigIO::readXml({}, cfg.get(), &ti);
    NVConfigIO::saveNVConfig(cfg.get(), {}, &ti);
    NVConfigIO::readXml({}, cfg.get(), &ti);
    return 0;
}
