// A private per-user folder, the build's resources and a local notification centre for
// each configuration test.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "core/config/NVConfigIO.h"
#include "core/log/NVLog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

NVTabletInfo nv_test_tablet(const char* identity);
std::unique_ptr<NVConfig> nv_test_config();

class ConfigTest : public ::testing::Test {
protected:
    ConfigTest();
    ~ConfigTest() override;

    std::string userFile() const { return getConfigUserFullPath(); }
    std::string userText() const { return nvtest::read_file(userFile()); }
    // Writes text as the user file, creating its folder.
    void writeUserFile(const std::string& text) const;
    // Loads the user file into a fresh record.
    std::unique_ptr<NVConfig> load(const NVTabletInfo& ti, const std::string& path = {}) const;
    size_t posts(const std::string& name) const;

    nvtest::ScopedConfigHome home_;
    LocalNotificationCenter center_;
    std::vector<std::string> posted_;
    NVLogCapture log_;
};
