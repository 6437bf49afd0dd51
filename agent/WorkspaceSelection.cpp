#include "agent/WorkspaceSelection.h"

#include "core/config/NVConfigPaths.h"
#include "core/log/NVLog.h"
#include "platform/linux/SwayWorkspace.h"
#include "platform/linux/WlrToplevelWorkspace.h"
#include "platform/linux/X11Workspace.h"
#include "platform/qt/GnomeShellWorkspace.h"
#include "platform/qt/KWinWorkspace.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace {

std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

void add(std::vector<NVWorkspaceKind>& kinds, NVWorkspaceKind kind)
{
    if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end())
        kinds.push_back(kind);
}

} // namespace

NVSessionEnv nv_session_env()
{
    return {env("XDG_SESSION_TYPE"), env("XDG_CURRENT_DESKTOP"), env("WAYLAND_DISPLAY"), env("SWAYSOCK")};
}

std::vector<NVWorkspaceKind> nv_workspace_candidates(const NVSessionEnv& e)
{
    const std::string type = lower(e.sessionType);
    const bool wayland = type == "wayland" || (type != "x11" && !e.waylandDisplay.empty());
    std::vector<NVWorkspaceKind> kinds;
    if (!wayland)
        return kinds;
    std::istringstream desktops(e.currentDesktop);
    for (std::string d; std::getline(desktops, d, ':');) {
        d = lower(d);
        if (d == "kde")
            add(kinds, NVWorkspaceKind::KWin);
        else if (d == "gnome")
            add(kinds, NVWorkspaceKind::Gnome);
        else if (d == "sway")
            add(kinds, NVWorkspaceKind::Sway);
    }
    if (!e.swaySock.empty())
        add(kinds, NVWorkspaceKind::Sway);
    // Any other wlroots compositor (and Sway without its socket) lists its toplevels.
    add(kinds, NVWorkspaceKind::Wlroots);
    return kinds;
}

const char* nv_workspace_kind_name(NVWorkspaceKind kind)
{
    switch (kind) {
    case NVWorkspaceKind::X11: return "X11";
    case NVWorkspaceKind::Sway: return "Sway IPC";
    case NVWorkspaceKind::Wlroots: return "wlroots foreign toplevels";
    case NVWorkspaceKind::KWin: return "KWin script";
    case NVWorkspaceKind::Gnome: return "GNOME Shell extension";
    }
    return "";
}

std::unique_ptr<Workspace> nv_open_workspace(const NVSessionEnv& env, const NVWorkspaceOpener& open)
{
    const auto kinds = nv_workspace_candidates(env);
    for (NVWorkspaceKind kind : kinds) {
        if (auto ws = open(kind)) {
            nv_log("frontmost application from the %s", nv_workspace_kind_name(kind));
            return ws;
        }
    }
    if (!kinds.empty())
        nv_log("no frontmost-application adapter of this Wayland desktop (%s) answers: only X11 (XWayland) "
               "windows are followed",
               env.currentDesktop.empty() ? "unnamed" : env.currentDesktop.c_str());
    return open(NVWorkspaceKind::X11);
}

std::unique_ptr<Workspace> nv_open_workspace(const NVSessionEnv& env)
{
    return nv_open_workspace(env, [&env](NVWorkspaceKind kind) -> std::unique_ptr<Workspace> {
        switch (kind) {
        case NVWorkspaceKind::X11: return std::make_unique<X11Workspace>();
        case NVWorkspaceKind::Sway: return SwayWorkspace::open(env.swaySock);
        case NVWorkspaceKind::Wlroots: return WlrToplevelWorkspace::open();
        case NVWorkspaceKind::KWin:
            return KWinWorkspace::open(QString::fromStdString(getResPath() + "/res/kwin/frontmost.js"));
        case NVWorkspaceKind::Gnome: return GnomeShellWorkspace::open();
        }
        return nullptr;
    });
}
