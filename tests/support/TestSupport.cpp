#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace nvtest {

TempDir::TempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "nuvro-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

ScopedConfigHome::ScopedConfigHome()
{
    const char* old = std::getenv("XDG_CONFIG_HOME");
    hadSaved_ = old != nullptr;
    if (old)
        saved_ = old;
    setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
}

ScopedConfigHome::~ScopedConfigHome()
{
    if (hadSaved_)
        setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

std::filesystem::path resources_dir()
{
    const char* dir = std::getenv("NV_RESOURCES_DIR");
    return dir ? std::filesystem::path(dir) : std::filesystem::path();
}

std::string read_file(const std::filesystem::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const std::filesystem::path& p, const std::string& content)
{
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << content;
}

} // namespace nvtest
