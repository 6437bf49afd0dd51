// The suite's GNOME Shell extension from the settings application's side: whether the user
// is asked to enable it, and the command that does.
#pragma once

#include <string>
#include <vector>

// True in a GNOME Wayland session (XDG_SESSION_TYPE, XDG_CURRENT_DESKTOP: names separated
// by ':') whose shell does not answer through the extension: only the extension tells the
// agent the focused window there. Under X11 the agent follows the windows itself.
bool nv_gnome_extension_wanted(const std::string& sessionType, const std::string& currentDesktop,
                               bool extensionAnswers);

// "gnome-extensions enable <uuid>".
std::vector<std::string> nv_gnome_extension_enable_command();
