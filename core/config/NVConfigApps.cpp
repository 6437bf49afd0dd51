// Per-application contexts: the child elements of a model element after Default.
#include "core/config/NVConfigIO.h"

#include "core/channel/NVNotificationNames.h"
#include "core/model/NVText.h"
#include "core/device/libCross/nvParse.h"
#include "core/log/NVLog.h"

#include <libxml/parser.h>

namespace {

std::string model_path(const NVTabletInfo* ti)
{
    return std::string("/NVDevices/") + get_dev_type(ti->devType);
}

std::string file_or_user(const std::string& path)
{
    return path.empty() ? getConfigUserFullPath() : path;
}

// The absolute URL of an application with its escapes removed.
std::string unescaped_url(const std::string& appURL)
{
    const std::string url = appURL.starts_with("/") ? nv_file_url(appURL) : appURL;
    std::string out;
    return nv_percent_decode(url, out) ? out : url;
}

bool name_start(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool name_char(unsigned char c)
{
    return name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool is_valid_name(const std::string& s)
{
    return !s.empty() && s.find(':') == std::string::npos
        && xmlValidateName(reinterpret_cast<const xmlChar*>(s.c_str()), 0) == 0;
}

} // namespace

std::string nv_valid_node_name(const std::string& s)
{
    if (is_valid_name(s))
        return s;
    std::string out;
    for (unsigned char c : s)
        out += name_char(c) ? static_cast<char>(c) : '_';
    if (out.empty() || !name_start(static_cast<unsigned char>(out[0])))
        out.insert(out.begin(), '_');
    if (is_valid_name(out))
        return out;
    // Characters beyond ASCII that XML does not allow in names: each becomes "_".
    std::string ascii;
    for (unsigned char c : out) {
        if (c < 0x80)
            ascii += static_cast<char>(c);
        else if ((c & 0xC0) != 0x80)
            ascii += '_';
    }
    return ascii;
}

std::string NVConfigIO::appNodeName(const std::string& appURL)
{
    std::string path = unescaped_url(appURL);
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    std::string name = path.substr(path.rfind('/') + 1);
    name = name.substr(0, name.find('.'));
    std::erase(name, ' ');
    return nv_valid_node_name(name);
}

void NVConfigIO::createAppNodeInXml(const std::string& path, const std::string& appURL, const NVTabletInfo* ti)
{
    NVConfigIO& io = sharedIOInstance();
    const std::string file = file_or_user(path);
    io.openXml(nv_file_url(file));
    const std::string name = appNodeName(appURL);
    const std::string model = model_path(ti);
    io.createAppNodeWithAppName(name, model);
    io.writeNodeStringValue(unescaped_url(appURL), model + "/" + name + "/appPath");
    if (!io.saveXML(file, nullptr))
        nv_log("Save ConfigUserFile Error");
}

void NVConfigIO::removeAppNodeInXml(const std::string& path, const std::string& appName, const NVTabletInfo* ti)
{
    NVConfigIO& io = sharedIOInstance();
    const std::string file = file_or_user(path);
    io.openXml(nv_file_url(file));
    if (!io.removeAppNodeWithAppName(nv_valid_node_name(appName), model_path(ti)))
        return;
    if (!io.saveXML(file, nullptr)) {
        nv_log("Save ConfigUserFile Error");
        return;
    }
    postNotification(nvNotificationRemovedApp);
}

bool NVConfigIO::queryAppNodeInXml(const std::string& path, const std::string& appName, const NVTabletInfo* ti)
{
    NVXmlDocPtr doc = nv_xml_read_file(file_or_user(path));
    return isXmlContainTheApp(nv_valid_node_name(appName), model_path(ti), doc.get());
}

std::vector<std::string> NVConfigIO::readAppListWithTabletInfo(const NVTabletInfo* ti)
{
    NVConfigIO& io = sharedIOInstance();
    const std::string url = nv_file_url(getConfigUserFullPath());
    nv_log("readAppList-path:%s", url.c_str());
    io.openXml(url);
    return io.readSupportAppsFromPath(model_path(ti));
}

std::vector<std::string> NVConfigIO::obtainAppPathFromXml(const std::string& path, const NVConfig*,
                                                          const NVTabletInfo* ti)
{
    NVConfigIO& io = sharedIOInstance();
    io.openXml(nv_file_url(file_or_user(path)));
    const std::string model = model_path(ti);
    std::vector<std::string> paths;
    for (const std::string& name : io.readSupportAppsFromPath(model)) {
        if (auto appPath = io.readNodeStringFromXml(model + "/" + name + "/appPath"))
            paths.push_back(std::move(*appPath));
        else
            io.repairMissingAppPath(model);
    }
    io.flushRepairs();
    return paths;
}
