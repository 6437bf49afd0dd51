// A downloaded package: whether what arrived is one, and putting it in place in Downloads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Every package begins with the archive signature; an HTML error page or any other body does not.
inline constexpr std::string_view nvPackageMagic = "!<arch>\n";

enum class NVDownloadVerdict { Package, Short, NotAPackage };

// received: bytes written; announced: the length the server gave, if any; head: the first
// bytes of the body (at least the signature's length when there are that many).
NVDownloadVerdict nv_download_verdict(uint64_t received, std::optional<uint64_t> announced, std::string_view head);

enum class NVPlaceResult { Placed, Failed };

struct NVPlacement {
    NVPlaceResult result = NVPlaceResult::Failed;
    std::filesystem::path target; // folder / name
    std::string error;            // what went wrong, for the log
};

// Moves the downloaded file to folder/name, replacing a file of that name in one step
// (the old one stays when the move fails). The folder is made when missing. Across file
// systems the file is copied beside the target first, so that a half-copied package never
// carries the name.
NVPlacement nv_place_download(const std::filesystem::path& downloaded, const std::filesystem::path& folder,
                              const std::string& name);
