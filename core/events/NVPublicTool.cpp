#include "core/events/NVPublicTool.h"

#include <cctype>
#include <sys/utsname.h>

std::string NVPublicTool::systemVersionString(const std::string& release)
{
    long parts[3] = {0, 0, 0};
    size_t i = 0;
    for (int n = 0; n < 3; ++n) {
        if (i >= release.size() || !std::isdigit(static_cast<unsigned char>(release[i])))
            break;
        long v = 0;
        while (i < release.size() && std::isdigit(static_cast<unsigned char>(release[i])) && v < 100000000)
            v = v * 10 + (release[i++] - '0');
        parts[n] = v;
        if (i >= release.size() || release[i] != '.')
            break;
        ++i;
    }
    return std::to_string(parts[0]) + std::to_string(parts[1]) + std::to_string(parts[2]);
}

std::string NVPublicTool::systemVersionString()
{
    struct utsname u {};
    if (uname(&u) != 0)
        return systemVersionString(std::string());
    return systemVersionString(u.release);
}

NVComparisonResult NVPublicTool::compareVersionWithVersion(const std::string& version)
{
    const int c = systemVersionString().compare(version);
    return c < 0 ? NVOrderedAscending : (c > 0 ? NVOrderedDescending : NVOrderedSame);
}
