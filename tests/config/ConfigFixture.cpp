#include "tests/config/ConfigFixture.h"

#include "core/device/NVModelTable.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

NVTabletInfo nv_test_tablet(const char* identity)
{
    const NVModelInfo* m = nv_model_by_identity(identity);
    return m ? nv_model_tablet_info(*m) : NVTabletInfo{};
}

std::unique_ptr<NVConfig> nv_test_config()
{
    auto cfg = std::make_unique<NVConfig>();
    std::memset(cfg.get(), 0, sizeof(NVConfig));
    return cfg;
}

ConfigTest::ConfigTest()
{
    nv_set_res_path(nvtest::resources_dir().string());
    NVConfigIO::setNotificationCenter(&center_);
    for (const char* name : {"reset_currentAppIndex_kernel", "cfg_SendBy_UI", "removedApp"})
        center_.observe(name, [this](const std::string& n, const NVPlistDict&) { posted_.push_back(n); });
}

ConfigTest::~ConfigTest()
{
    NVConfigIO::setNotificationCenter(nullptr);
    nv_set_res_path({});
}

void ConfigTest::writeUserFile(const std::string& text) const
{
    std::filesystem::create_directories(nv_config_user_dir());
    nvtest::write_file(userFile(), text);
}

std::unique_ptr<NVConfig> ConfigTest::load(const NVTabletInfo& ti, const std::string& path) const
{
    auto cfg = nv_test_config();
    NVConfigIO::readXml(path, cfg.get(), &ti);
    return cfg;
}

size_t ConfigTest::posts(const std::string& name) const
{
    return static_cast<size_t>(std::count(posted_.begin(), posted_.end(), name));
}
