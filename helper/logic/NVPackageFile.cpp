#include "helper/logic/NVPackageFile.h"

#include <system_error>

namespace fs = std::filesystem;

NVDownloadVerdict nv_download_verdict(uint64_t received, std::optional<uint64_t> announced, std::string_view head)
{
    if (announced && received < *announced)
        return NVDownloadVerdict::Short;
    if (!head.starts_with(nvPackageMagic))
        return NVDownloadVerdict::NotAPackage;
    return NVDownloadVerdict::Package;
}

NVPlacement nv_place_download(const fs::path& downloaded, const fs::path& folder, const std::string& name)
{
    NVPlacement placement;
    placement.target = folder / name;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        placement.error = ec.message();
        return placement;
    }
    fs::rename(downloaded, placement.target, ec);
    if (!ec) {
        placement.result = NVPlaceResult::Placed;
        return placement;
    }
    if (ec != std::errc::cross_device_link) {
        placement.error = ec.message();
        return placement;
    }
    const fs::path part = folder / ("." + name + ".part");
    if (fs::copy_file(downloaded, part, fs::copy_options::overwrite_existing, ec))
        fs::rename(part, placement.target, ec);
    if (ec) {
        placement.error = ec.message();
        std::error_code ignored;
        fs::remove(part, ignored);
        return placement;
    }
    fs::remove(downloaded, ec);
    placement.result = NVPlaceResult::Placed;
    return placement;
}
