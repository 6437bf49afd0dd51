// Judging a download and putting it in place in Downloads.
#include "helper/logic/NVPackageFile.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace fs = std::filesystem;

TEST(NVPackageFile, ShortBodiesAndErrorPagesAreNotPackages)
{
    const std::string deb = "!<arch>\ndebian-binary";
    EXPECT_EQ(nv_download_verdict(100, 100, deb), NVDownloadVerdict::Package);
    EXPECT_EQ(nv_download_verdict(100, std::nullopt, deb), NVDownloadVerdict::Package);
    EXPECT_EQ(nv_download_verdict(99, 100, deb), NVDownloadVerdict::Short);
    EXPECT_EQ(nv_download_verdict(0, 100, ""), NVDownloadVerdict::Short);
    EXPECT_EQ(nv_download_verdict(60, 60, "<!DOCTYPE html><title>404</title>"), NVDownloadVerdict::NotAPackage);
    EXPECT_EQ(nv_download_verdict(0, 0, ""), NVDownloadVerdict::NotAPackage);
    EXPECT_EQ(nv_download_verdict(7, 7, "!<arch>"), NVDownloadVerdict::NotAPackage);
}

TEST(NVPackageFile, PlacingReplacesAnOlderFileAndMakesTheFolder)
{
    nvtest::TempDir dir;
    const fs::path downloads = dir.path() / "Downloads";
    fs::create_directories(downloads);
    nvtest::write_file(downloads / "NuvroTablet_v3.3.0.deb", "old");
    nvtest::write_file(dir.path() / "fresh", "new package");

    const NVPlacement placed = nv_place_download(dir.path() / "fresh", downloads, "NuvroTablet_v3.3.0.deb");
    EXPECT_EQ(placed.result, NVPlaceResult::Placed);
    EXPECT_EQ(placed.target, downloads / "NuvroTablet_v3.3.0.deb");
    EXPECT_EQ(nvtest::read_file(placed.target), "new package");
    EXPECT_FALSE(fs::exists(dir.path() / "fresh"));

    nvtest::write_file(dir.path() / "fresh", "again");
    const NVPlacement made = nv_place_download(dir.path() / "fresh", dir.path() / "new" / "Downloads", "p.deb");
    EXPECT_EQ(made.result, NVPlaceResult::Placed);
    EXPECT_EQ(nvtest::read_file(dir.path() / "new" / "Downloads" / "p.deb"), "again");
}

TEST(NVPackageFile, AFailedPlacementKeepsTheOldFileAndReportsWhy)
{
    nvtest::TempDir dir;
    nvtest::write_file(dir.path() / "fresh", "new package");
    // A file where the folder should be: nothing can be written under it, even by root.
    nvtest::write_file(dir.path() / "Downloads", "not a folder");
    const NVPlacement blocked = nv_place_download(dir.path() / "fresh", dir.path() / "Downloads", "p.deb");
    EXPECT_EQ(blocked.result, NVPlaceResult::Failed);
    EXPECT_FALSE(blocked.error.empty());

    // A folder in the target's place is not replaced.
    fs::create_directories(dir.path() / "d" / "p.deb");
    const NVPlacement folder = nv_place_download(dir.path() / "fresh", dir.path() / "d", "p.deb");
    EXPECT_EQ(folder.result, NVPlaceResult::Failed);
    EXPECT_TRUE(fs::is_directory(dir.path() / "d" / "p.deb"));
    EXPECT_EQ(nvtest::read_file(dir.path() / "fresh"), "new package");
}

TEST(NVPackageFile, AcrossFileSystemsTheCopyIsCompleteBeforeItTakesTheName)
{
    if (!fs::is_directory("/dev/shm"))
        GTEST_SKIP() << "no second file system";
    const fs::path source = "/dev/shm/nuvro-helper-test-" + std::to_string(getpid());
    nvtest::write_file(source, "!<arch>\nbody");
    nvtest::TempDir dir;
    nvtest::write_file(dir.path() / "p.deb", "old");
    const NVPlacement placed = nv_place_download(source, dir.path(), "p.deb");
    EXPECT_EQ(placed.result, NVPlaceResult::Placed) << placed.error;
    EXPECT_EQ(nvtest::read_file(dir.path() / "p.deb"), "!<arch>\nbody");
    EXPECT_FALSE(fs::exists(source));
    EXPECT_FALSE(fs::exists(dir.path() / ".p.deb.part"));
    std::error_code ec;
    fs::remove(source, ec);
}
