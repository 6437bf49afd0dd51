#include "settings/logic/NVGnomeExtension.h"

#include "platform/linux/GnomeFocusExtension.h"

#include <strings.h>

#include <sstream>

bool nv_gnome_extension_wanted(const std::string& sessionType, const std::string& currentDesktop,
                               bool extensionAnswers)
{
    if (extensionAnswers || strcasecmp(sessionType.c_str(), "wayland") != 0)
        return false;
    std::istringstream desktops(currentDesktop);
    for (std::string d; std::getline(desktops, d, ':');)
        if (strcasecmp(d.c_str(), "gnome") == 0)
            return true;
    return false;
}

std::vector<std::string> nv_gnome_extension_enable_command()
{
    return {"gnome-extensions", "enable", nvGnomeExtensionUuid};
}
