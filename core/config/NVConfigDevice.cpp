// Whole configurations: the load, the save and the reset to the default file.
#include "core/config/NVConfigIO.h"

#include "core/channel/NVNotificationNames.h"
#include "core/config/NVLeafText.h"
#include "core/model/NVText.h"
#include "core/device/libCross/nvParse.h"
#include "core/log/NVLog.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

enum class Kind { U8, U32, I32, F32 };

struct DeviceLeaf {
    const char* name;
    size_t offset;
    Kind kind;
};

// The device settings of the Default context, in the order they are read and written.
constexpr DeviceLeaf kDeviceLeaves[] = {
    {"bEnableHBtn", offsetof(NVConfig, bEnableHBtn), Kind::U8},
    {"bEnableSBtn", offsetof(NVConfig, bEnableSBtn), Kind::U8},
    {"bEnableMBtn", offsetof(NVConfig, bEnableMBtn), Kind::U8},
    {"bCtrlCursor", offsetof(NVConfig, bCtrlCursor), Kind::U8},
    {"bCalibrated", offsetof(NVConfig, bCalibrated), Kind::U8},
    {"curScreenIndex", offsetof(NVConfig, curScreenIndex), Kind::U32},
    {"pressFactor", offsetof(NVConfig, pressFactor), Kind::I32},
    {"rotateAngle", offsetof(NVConfig, rotateAngle), Kind::U32},
    {"workareaLeft", offsetof(NVConfig, workarea.left), Kind::F32},
    {"workareaTop", offsetof(NVConfig, workarea.top), Kind::F32},
    {"workareaRight", offsetof(NVConfig, workarea.right), Kind::F32},
    {"workareaBottom", offsetof(NVConfig, workarea.bottom), Kind::F32},
    {"bImproveLinearity", offsetof(NVConfig, bImproveLinearity), Kind::U8},
    {"bAbsoluteMode", offsetof(NVConfig, bAbsoluteMode), Kind::U8},
    {"calibrateFactor0", offsetof(NVConfig, calibrateFactor) + 0 * sizeof(int32_t), Kind::I32},
    {"calibrateFactor1", offsetof(NVConfig, calibrateFactor) + 1 * sizeof(int32_t), Kind::I32},
    {"calibrateFactor2", offsetof(NVConfig, calibrateFactor) + 2 * sizeof(int32_t), Kind::I32},
    {"calibrateFactor3", offsetof(NVConfig, calibrateFactor) + 3 * sizeof(int32_t), Kind::I32},
    {"calibrateFactor4", offsetof(NVConfig, calibrateFactor) + 4 * sizeof(int32_t), Kind::I32},
    {"calibrateFactor5", offsetof(NVConfig, calibrateFactor) + 5 * sizeof(int32_t), Kind::I32},
    {"calibrateFactor6", offsetof(NVConfig, calibrateFactor) + 6 * sizeof(int32_t), Kind::I32},
};

struct Collection {
    const char* name;
    NVEkey (NVContextEkeys::*keys)[NV_EKEY_MAX];
    uint8_t NVTabletInfo::*count;
    int extra; // entries before those the tablet counts
};

// pbtns holds the pen tip at 0, then the barrel buttons that pbtnNum counts.
constexpr Collection kCollections[] = {
    {"hbtns", &NVContextEkeys::hbtns, &NVTabletInfo::hbtnNum, 0},
    {"sbtns", &NVContextEkeys::sbtns, &NVTabletInfo::sbtnNum, 0},
    {"pbtns", &NVContextEkeys::pbtns, &NVTabletInfo::pbtnNum, 1},
};

std::string model_path(const NVTabletInfo* ti)
{
    return std::string("/NVDevices/") + get_dev_type(ti->devType);
}

// Entries of a collection for the tablet, within the record's arrays.
int key_count(const NVTabletInfo* ti, const Collection& c)
{
    const int n = ti->*c.count + c.extra;
    if (n <= NV_EKEY_MAX)
        return n;
    nv_log("readXML: the tablet reports %d keys of %s, only %d are kept", n, c.name, NV_EKEY_MAX);
    return NV_EKEY_MAX;
}

void limit_contexts(std::vector<std::string>& names, const std::string& model)
{
    if (names.size() <= NV_CONTEXT_MAX)
        return;
    nv_log("readXML: %s has %zu contexts, only the first %d are used", model.c_str(), names.size(), NV_CONTEXT_MAX);
    names.resize(NV_CONTEXT_MAX);
}

bool is_user_file(const std::string& path)
{
    return path.empty() || path == getConfigUserFullPath();
}

} // namespace

bool NVConfigIO::loadDocument(const std::string& path, NVConfig* cfg, const NVTabletInfo* ti)
{
    const std::string url = nv_file_url(path);
    nv_log("readXML : %s", url.c_str());
    openXml(url);
    if (!readNodeStringFromXml("/NVDevices/Preset"))
        return false;

    std::memset(cfg, 0, sizeof(NVConfig));
    const std::string model = model_path(ti);
    auto* base = reinterpret_cast<unsigned char*>(cfg);
    for (const DeviceLeaf& leaf : kDeviceLeaves) {
        const std::string p = model + "/Default/" + leaf.name;
        void* field = base + leaf.offset;
        switch (leaf.kind) {
        case Kind::U8:
            *static_cast<uint8_t*>(field) = static_cast<uint8_t>(readNodeIntFromXml(p));
            break;
        case Kind::U32:
            *static_cast<uint32_t*>(field) = static_cast<uint32_t>(readNodeIntFromXml(p));
            break;
        case Kind::I32:
            *static_cast<int32_t*>(field) = readNodeIntFromXml(p);
            break;
        case Kind::F32:
            *static_cast<float*>(field) = readNodeFloatFromXml(p);
            break;
        }
    }

    std::vector<std::string> contexts = readSupportAppsFromPath(model);
    limit_contexts(contexts, model);
    for (size_t i = 0; i < contexts.size(); ++i) {
        const std::string p = model + "/" + contexts[i] + "/appPath";
        if (const auto appPath = readNodeStringFromXml(p)) {
            if (!nv_copy_text(cfg->contexts[i].appPath, NV_STR_MAX, *appPath))
                nv_log("readXML: text of %s cut to %d bytes", p.c_str(), NV_STR_MAX - 1);
        } else {
            repairMissingAppPath(model);
        }
    }
    for (const Collection& c : kCollections) {
        const int n = key_count(ti, c);
        for (size_t i = 0; i < contexts.size(); ++i)
            for (int j = 0; j < n; ++j)
                readNVEkeysInXml(&(cfg->contexts[i].*c.keys)[j], j, model + "/" + contexts[i] + "/" + c.name);
    }

    const std::string numPath = model + "/Default/mekeys/num";
    int mekeys = static_cast<uint8_t>(readNodeIntFromXml(numPath));
    if (mekeys > NV_MEKEY_MAX) {
        nv_log("readXML: %s is %d, only %d are kept", numPath.c_str(), mekeys, NV_MEKEY_MAX);
        mekeys = NV_MEKEY_MAX;
    }
    cfg->contexts[0].mekeyNum = static_cast<uint8_t>(mekeys);
    for (size_t i = 0; i < contexts.size(); ++i)
        for (int j = 0; j < mekeys; ++j)
            readNVMEkeysInXml(&cfg->contexts[i].mekeys[j], j, model + "/" + contexts[i] + "/mekeys");
    flushRepairs();
    return true;
}

void NVConfigIO::repairMissingAppPath(const std::string& modelPath)
{
    const std::string text = "Default";
    for (xmlNode* def : nv_xml_all(doc_.get(), modelPath + "/Default")) {
        if (nv_xml_child(def, "appPath"))
            continue;
        xmlNode* appPath = nv_xml_new_element(doc_.get(), "appPath", &text);
        if (!appPath)
            continue;
        if (def->children)
            xmlAddPrevSibling(def->children, appPath);
        else
            xmlAddChild(def, appPath);
        paths_.clear();
        repairPending_ = true;
    }
}

bool NVConfigIO::resetToDefault(NVConfig* cfg, const NVTabletInfo* ti)
{
    nv_log("readDefaultConfig..");
    std::error_code ec;
    const std::string dir = nv_config_user_dir();
    if (fs::is_directory(dir, ec))
        fs::remove_all(dir, ec);
    postNotification(nvNotificationResetCurrentAppIndex);
    // The default file is read as it is: an unusable one must not reset again.
    if (!loadDocument(nv_config_default_path(), cfg, ti)) {
        std::memset(cfg, 0, sizeof(NVConfig));
        nv_log("readDefaultConfig: the default configuration %s is unusable", nv_config_default_path().c_str());
        return false;
    }
    saveNVConfig(cfg, std::string(), ti);
    return true;
}

void NVConfigIO::readDefaultConfig(NVConfig* cfg, const NVTabletInfo* ti)
{
    sharedIOInstance().resetToDefault(cfg, ti);
}

bool NVConfigIO::readXml(const std::string& path, NVConfig* cfg, const NVTabletInfo* ti)
{
    NVConfigIO& io = sharedIOInstance();
    const std::string user = getConfigUserFullPath();
    if (is_user_file(path)) {
        std::error_code ec;
        if (!fs::exists(user, ec) && !io.resetToDefault(cfg, ti))
            return false;
        return io.loadDocument(user, cfg, ti) || io.resetToDefault(cfg, ti);
    }
    if (io.loadDocument(path, cfg, ti))
        return true;
    // A chosen file that is no configuration (an import of the wrong file) must cost the
    // user neither the stored configuration nor the record being edited.
    nv_log("readXML: %s is not a configuration file, nothing is read", path.c_str());
    return false;
}

bool NVConfigIO::saveNVConfig(const NVConfig* cfg, const std::string& path, const NVTabletInfo* ti)
{
    return saveNVConfig(cfg, path, ti, std::string());
}

bool NVConfigIO::saveNVConfig(const NVConfig* cfg, const std::string& path, const NVTabletInfo* ti,
                              const std::string& docPath)
{
    NVConfigIO& io = sharedIOInstance();
    const std::string dir = nv_config_user_dir();
    nv_log("%s", fs::path(dir).parent_path().c_str());
    const std::string user = getConfigUserFullPath();
    std::error_code ec;
    const std::string toOpen = nv_file_url(fs::exists(user, ec) ? user : nv_config_default_path());
    nv_log("xmlFilePathToOpen:%s", toOpen.c_str());
    io.openXml(docPath.empty() ? toOpen : nv_as_file_url(docPath));
    // A document without the preset tree would be replaced by the default on the next
    // load; saving it as the user file would only lose the file it replaces.
    if (!io.readNodeStringFromXml("/NVDevices/Preset")) {
        nv_log("saveNVConfig: no configuration document to write into");
        nv_log("Save ConfigUserFile Error");
        return false;
    }

    const std::string model = model_path(ti);
    const auto* base = reinterpret_cast<const unsigned char*>(cfg);
    for (const DeviceLeaf& leaf : kDeviceLeaves) {
        const std::string p = model + "/Default/" + leaf.name;
        const void* field = base + leaf.offset;
        switch (leaf.kind) {
        case Kind::U8:
            io.writeNodeIntValue(*static_cast<const uint8_t*>(field), p);
            break;
        case Kind::U32:
            io.writeNodeIntValue(static_cast<int32_t>(*static_cast<const uint32_t*>(field)), p);
            break;
        case Kind::I32:
            io.writeNodeIntValue(*static_cast<const int32_t*>(field), p);
            break;
        case Kind::F32:
            io.writeNodeFloatValue(*static_cast<const float*>(field), p);
            break;
        }
    }

    std::vector<std::string> contexts = io.readSupportAppsFromPath(model);
    limit_contexts(contexts, model);
    for (const Collection& c : kCollections) {
        const int n = key_count(ti, c);
        for (size_t i = 0; i < contexts.size(); ++i)
            for (int j = 0; j < n; ++j)
                io.writeNodeNVEkeysValue(&(cfg->contexts[i].*c.keys)[j], j, model + "/" + contexts[i] + "/" + c.name);
    }
    for (size_t i = 0; i < contexts.size(); ++i) {
        const std::string mekeys = model + "/" + contexts[i] + "/mekeys";
        const int n = std::min<int>(static_cast<uint8_t>(io.readNodeIntFromXml(mekeys + "/num")), NV_MEKEY_MAX);
        for (int j = 0; j < n; ++j)
            io.writeNodeNVMEkeysValue(cfg->contexts[i].mekeys[j], j, mekeys + "/mekey" + std::to_string(j));
    }

    if (!io.saveXML(path.empty() ? user : path, nullptr)) {
        nv_log("Save ConfigUserFile Error");
        return false;
    }
    return true;
}
