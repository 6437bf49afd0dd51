// Which adapter reports the frontmost application, decided once at start from the session:
// X11 in an X11 session; under Wayland the desktop's own adapter where it answers, else the
// X11 path, which then sees XWayland windows only.
#pragma once

#include "core/channel/Workspace.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

enum class NVWorkspaceKind { X11, Sway, Wlroots, KWin, Gnome };

// The variables the choice reads.
struct NVSessionEnv {
    std::string sessionType;    // XDG_SESSION_TYPE
    std::string currentDesktop; // XDG_CURRENT_DESKTOP: names separated by ':'
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string swaySock;       // SWAYSOCK
};
NVSessionEnv nv_session_env();

// The Wayland adapters to try, most specific first; empty in an X11 session. A session of
// no declared type ("tty" when the compositor was started from a console) is Wayland when
// WAYLAND_DISPLAY is set.
std::vector<NVWorkspaceKind> nv_workspace_candidates(const NVSessionEnv& env);

const char* nv_workspace_kind_name(NVWorkspaceKind kind);

// Opens one adapter; null when its desktop does not answer.
using NVWorkspaceOpener = std::function<std::unique_ptr<Workspace>(NVWorkspaceKind)>;

// The first candidate that answers, else X11; logs the choice in one line.
std::unique_ptr<Workspace> nv_open_workspace(const NVSessionEnv& env, const NVWorkspaceOpener& open);
// The same with the suite's adapters.
std::unique_ptr<Workspace> nv_open_workspace(const NVSessionEnv& env);
