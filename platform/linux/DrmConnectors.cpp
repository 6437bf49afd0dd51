#include "platform/linux/DrmConnectors.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::string read_text(const fs::path& p)
{
    std::ifstream in(p);
    std::string s;
    std::getline(in, s);
    return s;
}

// "i2c-7" → 7; anything else → -1.
int bus_number(const std::string& name)
{
    if (name.rfind("i2c-", 0) != 0 || name.size() == 4)
        return -1;
    int n = 0;
    for (char c : name.substr(4)) {
        if (c < '0' || c > '9' || n > 100000)
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

int ddc_bus(const fs::path& connector)
{
    std::error_code ec;
    const fs::path link = fs::read_symlink(connector / "ddc", ec);
    if (!ec)
        return bus_number(link.filename().string());
    for (const auto& child : fs::directory_iterator(connector, ec))
        if (int n = bus_number(child.path().filename().string()); n >= 0)
            return n;
    return -1;
}

} // namespace

std::vector<DrmConnector> drm_connectors(const std::string& sysRoot)
{
    std::vector<DrmConnector> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(sysRoot, ec)) {
        const fs::path dir = entry.path();
        const std::string name = dir.filename().string();
        // Connectors are "cardN-<type>-<index>"; "cardN" itself is the device.
        if (name.rfind("card", 0) != 0 || name.find('-') == std::string::npos)
            continue;
        if (read_text(dir / "status") != "connected")
            continue;
        std::ifstream in(dir / "edid", std::ios::binary);
        std::vector<uint8_t> edid((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        out.push_back({name, ddc_bus(dir), std::move(edid)});
    }
    std::sort(out.begin(), out.end(), [](const DrmConnector& a, const DrmConnector& b) { return a.name < b.name; });
    return out;
}
