#include "core/events/NVLaunchPlan.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool ends_with(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Appends the expansion of field code c to the current argument, or adds whole
// arguments for %i. Returns true when the code stood for something.
bool expand_field(char c, const std::string& entryPath, const std::string& name, const std::string& icon,
                  std::string& cur, std::vector<std::string>& argv)
{
    switch (c) {
    case '%': cur += '%'; return true;
    case 'k': cur += entryPath; return true;
    case 'c': cur += name; return true;
    case 'i':
        if (!icon.empty()) {
            argv.push_back("--icon");
            argv.push_back(icon);
        }
        return false;
    default: return false;
    }
}

bool is_executable_file(const std::string& path)
{
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string nv_desktop_unescape(const std::string& v)
{
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\' || i + 1 == v.size()) {
            out += v[i];
            continue;
        }
        switch (v[++i]) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default:
            out += '\\';
            out += v[i];
        }
    }
    return out;
}

bool nv_desktop_exec_split(const std::string& exec, const std::string& entryPath, const std::string& name,
                           const std::string& icon, std::vector<std::string>& argv)
{
    argv.clear();
    std::string cur;
    bool inArg = false;   // cur holds an argument, even an empty quoted one
    bool quoted = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size() && std::string("\"`$\\").find(exec[i + 1]) != std::string::npos) {
                cur += exec[++i];
            } else if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
                // Desktops expand a doubled percent inside quotes too; other codes have no
                // meaning there and stay as written.
                cur += exec[++i];
            } else {
                cur += c;
            }
        } else if (c == ' ' || c == '\t') {
            if (inArg)
                argv.push_back(cur);
            cur.clear();
            inArg = false;
        } else if (c == '"') {
            quoted = true;
            inArg = true;
        } else if (c == '%' && i + 1 < exec.size()) {
            if (expand_field(exec[++i], entryPath, name, icon, cur, argv))
                inArg = true;
        } else {
            cur += c;
            inArg = true;
        }
    }
    if (quoted)
        return false;
    if (inArg)
        argv.push_back(cur);
    return !argv.empty();
}

bool nv_desktop_entry_argv(const std::string& text, const std::string& entryPath, std::vector<std::string>& argv)
{
    std::istringstream in(text);
    std::string line, exec, name, icon;
    bool inEntry = false, haveExec = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        const size_t eq = line.find('=');
        if (!inEntry || eq == std::string::npos)
            continue;
        std::string key = line.substr(0, eq);
        while (!key.empty() && key.back() == ' ')
            key.pop_back();
        size_t vstart = eq + 1;
        while (vstart < line.size() && line[vstart] == ' ')
            ++vstart;
        const std::string value = nv_desktop_unescape(line.substr(vstart));
        if (key == "Exec") {
            exec = value;
            haveExec = true;
        } else if (key == "Name") {
            name = value;
        } else if (key == "Icon") {
            icon = value;
        }
    }
    return haveExec && nv_desktop_exec_split(exec, entryPath, name, icon, argv);
}

std::vector<std::string> nv_launch_argv(const std::string& path)
{
    if (ends_with(path, ".desktop")) {
        std::ifstream f(path, std::ios::binary);
        if (f) {
            std::ostringstream text;
            text << f.rdbuf();
            std::vector<std::string> argv;
            if (nv_desktop_entry_argv(text.str(), path, argv))
                return argv;
        }
    } else if (is_executable_file(path)) {
        return {path};
    }
    return {"xdg-open", path};
}
