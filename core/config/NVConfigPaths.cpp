#include "core/config/NVConfigPaths.h"

#include "core/model/NVText.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

std::string& res_override()
{
    static std::string path;
    return path;
}

// Characters a file URL's path keeps as they are.
bool url_plain(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || (c != 0 && std::strchr("/-._~!$&'()*+,;=:@", c) != nullptr);
}

} // namespace

std::string get_cur_path()
{
    // The loader's path in a zero-filled 256-byte buffer: a longer path does not fit.
    char buf[256] = {};
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
    if (n <= 0 || n >= static_cast<ssize_t>(sizeof buf))
        return {};
    std::string exe(buf, static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

std::string getResPath()
{
    if (!res_override().empty())
        return res_override();
    return get_cur_path() + "/../Resources";
}

void nv_set_res_path(const std::string& path)
{
    res_override() = path;
}

std::string nv_xdg_config_home()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/.config";
}

std::string nv_config_user_dir()
{
    return nv_xdg_config_home() + "/NuvroTablet";
}

std::string getConfigUserFullPath()
{
    return nv_config_user_dir() + "/config_user.xml";
}

std::string nv_config_default_path()
{
    return getResPath() + "/res/config_default.xml";
}

std::string nv_file_url(const std::string& path)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : path) {
        if (url_plain(c)) {
            url += static_cast<char>(c);
        } else {
            url += '%';
            url += hex[c >> 4];
            url += hex[c & 15];
        }
    }
    return url;
}

std::string nv_url_path(const std::string& url)
{
    static const std::string scheme = "file://";
    if (url.compare(0, scheme.size(), scheme) != 0)
        return url;
    std::string path;
    return nv_percent_decode(std::string_view(url).substr(scheme.size()), path) ? path : url.substr(scheme.size());
}
