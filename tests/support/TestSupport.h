// Helpers shared by the test executables.
#pragma once

#include <filesystem>
#include <string>

namespace nvtest {

// A fresh folder under the system temp folder, removed with its contents at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Points XDG_CONFIG_HOME at a private temp folder for the life of the object.
class ScopedConfigHome {
public:
    ScopedConfigHome();
    ~ScopedConfigHome();
    const std::filesystem::path& path() const { return dir_.path(); }

private:
    TempDir dir_;
    std::string saved_;
    bool hadSaved_;
};

// The build tree's resource folder (holds res/).
std::filesystem::path resources_dir();

std::string read_file(const std::filesystem::path& p);
void write_file(const std::filesystem::path& p, const std::string& content);

} // namespace nvtest
