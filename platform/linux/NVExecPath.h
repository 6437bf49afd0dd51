// The program an application runs as the agent sees it: the path /proc/PID/exe shows for
// its window's process, which is what a context's appPath must contain.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The arguments of an Exec line: quoting undone, field codes (%f %U %i ...) dropped, "%%"
// kept as "%". Empty when the quoting is broken.
std::vector<std::string> nv_exec_arguments(std::string_view exec);

// Where the lookups search; the defaults are the running system's.
struct NVExecEnv {
    std::string path;                             // $PATH
    std::vector<std::filesystem::path> flatpakDirs; // installations: <dir>/app/<id>/current/active/metadata
    std::filesystem::path snapRoot = "/snap";
};
NVExecEnv nv_exec_env();

enum class NVProgramKind {
    Native,   // an executable of the host
    Flatpak,  // runs as /app/bin/<command> inside its sandbox
    Snap,     // runs from /snap/<name>/<revision>/
    AppImage, // runs from a mount made anew at every start: no path is stable
};

struct NVProgram {
    std::string path; // absolute, symbolic links resolved; empty when not found
    NVProgramKind kind = NVProgramKind::Native;
};

// The program of an Exec line: "env VAR=1 prog" runs prog; a name without "/" is looked
// up in PATH; "flatpak run [options] ID" and /snap/bin/NAME are mapped to the program the
// sandbox runs.
NVProgram nv_resolve_exec(std::string_view exec, const NVExecEnv& env);
// An executable file chosen directly.
NVProgram nv_resolve_program_file(const std::filesystem::path& file, const NVExecEnv& env);
