#include "platform/linux/XdgAutostart.h"

#include "core/config/NVConfigPaths.h"
#include "core/events/NVLaunchPlan.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::string nv_autostart_dir()
{
    return nv_xdg_config_home() + "/autostart";
}

std::string nv_autostart_path(const std::string& appId)
{
    return nv_autostart_dir() + "/" + appId + ".desktop";
}

std::string nv_desktop_exec_quote(const std::string& arg)
{
    const bool plain = !arg.empty() && arg.find_first_of(" \t\n\"'\\><~|&;$*?#()`%=") == std::string::npos;
    if (plain)
        return arg;
    std::string q = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            q += '\\';
        if (c == '%')
            q += '%'; // a literal percent is doubled, or it would read as a field code
        q += c;
    }
    q += '"';
    // The value itself is a string of the key file: its backslashes are escaped again.
    std::string out;
    for (char c : q) {
        if (c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

bool nv_autostart_write(const std::string& path, const std::string& name, const std::vector<std::string>& argv)
{
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    std::string exec;
    for (const auto& a : argv)
        exec += (exec.empty() ? "" : " ") + nv_desktop_exec_quote(a);
    std::ofstream out(path, std::ios::trunc);
    out << "[Desktop Entry]\n"
        << "Type=Application\n"
        << "Name=" << name << "\n"
        << "Exec=" << exec << "\n"
        << "NoDisplay=true\n"
        << "X-GNOME-Autostart-enabled=true\n";
    out.flush();
    return static_cast<bool>(out);
}

std::optional<std::string> nv_autostart_program(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<std::string> argv;
    if (!nv_desktop_entry_argv(text.str(), path, argv) || argv.empty())
        return std::nullopt;
    return argv.front();
}
