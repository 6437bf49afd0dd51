// Starting and ending the suite's other programs.
#include "settings/ui/NVAgentLauncher.h"

#include "tests/support/TestSupport.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>

TEST(NVAgentLauncher, StopAsksFirstAndKillsOnlyWhatIgnoresTheAsking)
{
    QProcess polite;
    polite.start("sleep", {"30"});
    ASSERT_TRUE(polite.waitForStarted());
    EXPECT_EQ(nv_stop_process(static_cast<int>(polite.processId()), 5000), NVStopped::Terminated);
    polite.waitForFinished();
    EXPECT_EQ(polite.exitStatus(), QProcess::CrashExit);

    QProcess stubborn;
    stubborn.start("sh", {"-c", "trap '' TERM; echo ready; while :; do sleep 0.05; done"});
    ASSERT_TRUE(stubborn.waitForStarted());
    ASSERT_TRUE(stubborn.waitForReadyRead(5000)) << "the trap is set";
    EXPECT_EQ(nv_stop_process(static_cast<int>(stubborn.processId()), 100), NVStopped::Killed);
    stubborn.waitForFinished();

    EXPECT_EQ(nv_stop_process(0, 10), NVStopped::Gone);
}

TEST(NVAgentLauncher, AMissingProgramIsNotStartedAndVendorDevicesAreFound)
{
    nvtest::TempDir dir;
    EXPECT_FALSE(nv_launch_program(dir.path().string(), "NuvroHelper", {}));

    EXPECT_FALSE(nv_vendor_device_attached((dir.path() / "none").string()));
    std::filesystem::create_directories(dir.path() / "1-1");
    std::filesystem::create_directories(dir.path() / "1-2");
    nvtest::write_file(dir.path() / "1-1" / "idVendor", "1d6b\n");
    EXPECT_FALSE(nv_vendor_device_attached(dir.path().string()));
    nvtest::write_file(dir.path() / "1-2" / "idVendor", "3a7e\n");
    EXPECT_TRUE(nv_vendor_device_attached(dir.path().string()));
}
