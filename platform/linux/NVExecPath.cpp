#include "platform/linux/NVExecPath.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool is_executable_file(const fs::path& p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0;
}

// Symbolic links resolved, as the kernel shows an executable.
std::string canonical_or_empty(const fs::path& p)
{
    std::error_code ec;
    const fs::path c = fs::canonical(p, ec);
    return ec || !is_executable_file(c) ? std::string() : c.string();
}

fs::path search_path(const std::string& name, const std::string& path)
{
    std::istringstream dirs(path);
    std::string d;
    while (std::getline(dirs, d, ':')) {
        const fs::path candidate = fs::path(d.empty() ? "." : d) / name;
        if (!d.empty() && d.front() == '/' && is_executable_file(candidate))
            return candidate;
    }
    return {};
}

bool ends_with_nocase(std::string_view s, std::string_view suffix)
{
    if (s.size() < suffix.size())
        return false;
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - suffix.size() + i])) != suffix[i])
            return false;
    return true;
}

// The type-2 image magic "AI\x02" at offset 8, or the usual file name.
bool is_appimage(const fs::path& p)
{
    if (ends_with_nocase(p.filename().string(), ".appimage"))
        return true;
    std::ifstream in(p, std::ios::binary);
    char head[11] = {};
    in.read(head, sizeof head);
    return in.gcount() == sizeof head && head[8] == 'A' && head[9] == 'I' && (head[10] == 1 || head[10] == 2);
}

std::string read_text(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string trimmed(std::string s)
{
    const size_t b = s.find_first_not_of(" \t\r\"'");
    const size_t e = s.find_last_not_of(" \t\r\"'");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// "command=" of the [Application] group of a flatpak's metadata.
std::string flatpak_command(const std::string& id, const NVExecEnv& env)
{
    for (const fs::path& dir : env.flatpakDirs) {
        std::istringstream in(read_text(dir / "app" / id / "current" / "active" / "metadata"));
        std::string line;
        bool inApp = false;
        while (std::getline(in, line)) {
            line = trimmed(line);
            if (!line.empty() && line.front() == '[')
                inApp = line == "[Application]";
            else if (inApp && line.starts_with("command="))
                return trimmed(line.substr(8));
        }
    }
    return {};
}

NVProgram flatpak_program(const std::vector<std::string>& args, size_t run, const NVExecEnv& env)
{
    std::string command;
    std::string id;
    for (size_t i = run + 1; i < args.size(); ++i) {
        if (args[i].starts_with("--command="))
            command = args[i].substr(10);
        else if (!args[i].starts_with("-")) {
            id = args[i];
            break;
        }
    }
    if (command.empty() && !id.empty())
        command = flatpak_command(id, env);
    if (command.empty())
        return {{}, NVProgramKind::Flatpak};
    return {command.front() == '/' ? command : "/app/bin/" + command, NVProgramKind::Flatpak};
}

// apps: <app>: command: of meta/snap.yaml, read by indentation.
std::string snap_command(const std::string& yaml, const std::string& app)
{
    std::istringstream in(yaml);
    std::string line;
    int level = 0; // 1 in apps:, 2 in the app
    size_t appIndent = 0;
    while (std::getline(in, line)) {
        const size_t indent = line.find_first_not_of(' ');
        if (indent == std::string::npos || line[indent] == '#')
            continue;
        const std::string item = trimmed(line.substr(indent));
        if (indent == 0) {
            level = item == "apps:" ? 1 : 0;
            continue;
        }
        if (level >= 1 && item == app + ":") {
            level = 2;
            appIndent = indent;
            continue;
        }
        if (level == 2 && indent <= appIndent)
            level = 1;
        if (level == 2 && item.starts_with("command:"))
            return trimmed(item.substr(8));
    }
    return {};
}

NVProgram snap_program(const std::string& launcher, const NVExecEnv& env)
{
    const size_t dot = launcher.find('.');
    const std::string snap = launcher.substr(0, dot);
    const std::string app = dot == std::string::npos ? launcher : launcher.substr(dot + 1);
    const fs::path current = env.snapRoot / snap / "current";
    std::string command = snap_command(read_text(current / "meta" / "snap.yaml"), app);
    command = command.substr(0, command.find(' '));
    for (const char* prefix : {"$SNAP/", "${SNAP}/"})
        if (command.starts_with(prefix))
            command = command.substr(std::string_view(prefix).size());
    if (command.empty())
        return {{}, NVProgramKind::Snap};
    return {canonical_or_empty(current / command), NVProgramKind::Snap};
}

NVProgram classify(const fs::path& program, const NVExecEnv& env)
{
    if (program.empty())
        return {};
    const fs::path snapBin = env.snapRoot / "bin";
    if (program.parent_path() == snapBin)
        return snap_program(program.filename().string(), env);
    const std::string path = canonical_or_empty(program);
    if (!path.empty() && is_appimage(path))
        return {path, NVProgramKind::AppImage};
    return {path, NVProgramKind::Native};
}

} // namespace

std::vector<std::string> nv_exec_arguments(std::string_view exec)
{
    std::vector<std::string> args;
    std::string cur;
    bool inArg = false;
    bool quoted = false;
    bool fieldOnly = false; // the argument so far is a single field code
    for (size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"')
                quoted = false;
            else if (c == '\\' && i + 1 < exec.size() && std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos)
                cur += exec[++i];
            else
                cur += c;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inArg && !(fieldOnly && cur.empty()))
                args.push_back(cur);
            cur.clear();
            inArg = fieldOnly = false;
            continue;
        }
        if (!inArg)
            fieldOnly = true;
        inArg = true;
        if (c == '"') {
            quoted = true;
            fieldOnly = false;
        } else if (c == '%' && i + 1 < exec.size()) {
            const char code = exec[++i];
            if (code == '%') {
                cur += '%';
                fieldOnly = false;
            }
        } else {
            cur += c;
            fieldOnly = false;
        }
    }
    if (quoted)
        return {};
    if (inArg && !(fieldOnly && cur.empty()))
        args.push_back(cur);
    return args;
}

NVExecEnv nv_exec_env()
{
    NVExecEnv env;
    const char* path = std::getenv("PATH");
    env.path = path ? path : "/usr/local/bin:/usr/bin:/bin";
    if (const char* home = std::getenv("HOME"); home && *home)
        env.flatpakDirs.push_back(fs::path(home) / ".local/share/flatpak");
    env.flatpakDirs.emplace_back("/var/lib/flatpak");
    return env;
}

NVProgram nv_resolve_exec(std::string_view exec, const NVExecEnv& env)
{
    const std::vector<std::string> args = nv_exec_arguments(exec);
    size_t i = 0;
    if (i < args.size() && fs::path(args[i]).filename() == "env") {
        ++i;
        while (i < args.size() && (args[i].find('=') != std::string::npos || args[i].starts_with("-"))) {
            if (args[i] == "-u" || args[i] == "--unset")
                ++i; // its variable name
            ++i;
        }
    }
    if (i >= args.size())
        return {};
    const std::string& prog = args[i];
    const fs::path program = prog.find('/') == std::string::npos ? search_path(prog, env.path) : fs::path(prog);
    if (!program.is_absolute())
        return {};
    if (program.filename() == "flatpak") {
        for (size_t r = i + 1; r < args.size(); ++r)
            if (args[r] == "run")
                return flatpak_program(args, r, env);
    }
    return classify(program, env);
}

NVProgram nv_resolve_program_file(const fs::path& file, const NVExecEnv& env)
{
    return file.is_absolute() ? classify(file, env) : NVProgram{};
}
