#include "core/config/NVConfigPaths.h"

#include "core/model/NVText.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unistd.h>

namespace {

constexpr std::string_view kFileScheme = "file://";

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
    std::string url(kFileScheme);
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
    if (!url.starts_with(kFileScheme))
        return url;
    std::string path;
    const std::string_view rest = std::string_view(url).substr(kFileScheme.size());
    return nv_percent_decode(rest, path) ? path : std::string(rest);
}

std::string nv_as_file_url(const std::string& pathOrUrl)
{
    return pathOrUrl.starts_with(kFileScheme) ? pathOrUrl : nv_file_url(pathOrUrl);
}
