// Start and end of the settings application, and its small services.
#include "core/config/NVConfigIO.h"
#include "core/device/NVModelTable.h"
#include "platform/linux/XdgAutostart.h"
#include "settings/logic/NVPlistFile.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/AppDelegate.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/NuvroUtils.h"

#include "tests/settings_ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QSystemTrayIcon>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class AppShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        nvtest::ui_app();
        NVAppContext& ctx = nv_app_context();
        ctx.resPath = nvtest::resources_dir().string();
        ctx.bundle = nv_read_bundle_info(ctx.resPath);
        nv_set_res_path(ctx.resPath);
        std::memset(&g_ui, 0, sizeof g_ui);
    }
    void TearDown() override { nv_set_res_path({}); }

    nvtest::ScopedConfigHome home;
    nvtest::TempDir bin; // holds neither the agent nor the helper
};

} // namespace

TEST_F(AppShellTest, StartMakesTheDataFolderTheUserFileAndThePlistAndStartsWhatExists)
{
    QObject owner;
    AppDelegate delegate(bin.path().string(), {});
    QSystemTrayIcon* item = delegate.applicationWillFinishLaunching(&owner);
    ASSERT_TRUE(fs::is_directory(nv_config_user_dir()));
    EXPECT_EQ(nvtest::read_file(getConfigUserFullPath()), nvtest::read_file(nv_config_default_path()));
    EXPECT_EQ(nv_read_tablet_driver_path(nv_config_user_dir()), nv_bundle_path());
    ASSERT_NE(item, nullptr) << "the primary flavour has a status item";
    EXPECT_EQ(item->parent(), &owner);

    bool raised = false;
    const auto token = nv_ui_center().observe(nvUiHotkeyChanged, [&](const std::string&, const NVPlistDict&) { raised = true; });
    emit item->activated(QSystemTrayIcon::Trigger);
    nv_ui_center().removeObserver(token);
    EXPECT_TRUE(raised);

    // A second start keeps the user's file.
    nvtest::write_file(getConfigUserFullPath(), "mine");
    delegate.applicationWillFinishLaunching(&owner);
    EXPECT_EQ(nvtest::read_file(getConfigUserFullPath()), "mine");
}

TEST_F(AppShellTest, QuitSavesTheRecordOnlyWhenATabletIsOpen)
{
    AppDelegate delegate(bin.path().string(), {});
    QObject owner;
    delegate.applicationWillFinishLaunching(&owner);
    const std::string stored = nvtest::read_file(getConfigUserFullPath());

    delegate.applicationWillTerminate();
    EXPECT_EQ(nvtest::read_file(getConfigUserFullPath()), stored) << "no tablet: nothing was read, nothing is written";

    g_ui.ti.devType = NVTT_NUVRO_T62E;
    g_ui.bTabletOpened = true;
    ASSERT_TRUE(NVConfigIO::readXml(std::string(), &g_ui.cfg, &g_ui.ti));
    g_ui.cfg.rotateAngle = 270;
    delegate.applicationWillTerminate();
    NVConfig saved{};
    ASSERT_TRUE(NVConfigIO::readXml(std::string(), &saved, &g_ui.ti));
    EXPECT_EQ(saved.rotateAngle, 270u);
}

TEST(NuvroUtils, StartAtLoginEntryIsWrittenOnceAndRemoved)
{
    nvtest::ScopedConfigHome home;
    EXPECT_FALSE(NuvroUtils::isDaemon());
    NuvroUtils::installDaemon();
    ASSERT_TRUE(NuvroUtils::isDaemon());
    const auto program = nv_autostart_program(NuvroUtils::daemonPath());
    ASSERT_TRUE(program);
    EXPECT_EQ(fs::path(*program).filename(), "NuvroAgent");

    nvtest::write_file(NuvroUtils::daemonPath(), "[Desktop Entry]\nExec=/elsewhere\n");
    NuvroUtils::installDaemon();
    EXPECT_EQ(nvtest::read_file(NuvroUtils::daemonPath()), "[Desktop Entry]\nExec=/elsewhere\n")
        << "an existing entry is left as it is";

    NuvroUtils::unInstallDaemon();
    EXPECT_FALSE(NuvroUtils::isDaemon());
    fs::create_directories(NuvroUtils::daemonPath());
    EXPECT_FALSE(NuvroUtils::isDaemon()) << "a folder is no entry";
}

TEST(NuvroUtils, PercentEscapes)
{
    EXPECT_EQ(NuvroUtils::exe2NSString("/opt/Nuvro%20Tablet/%E6%95%B0"), QString::fromUtf8("/opt/Nuvro Tablet/数"));
    EXPECT_EQ(NuvroUtils::exe2NSString(nullptr), QString());
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(NuvroUtils::exe2PChar("a b", buf, sizeof buf), 5u);
    EXPECT_EQ(std::string(buf, 6), "a%20b#") << "no terminator is written";
    EXPECT_EQ(NuvroUtils::exe2PChar("abcdefghij", buf, 4), 4u) << "never beyond the buffer";
}
