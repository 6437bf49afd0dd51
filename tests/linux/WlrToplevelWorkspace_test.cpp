#include "platform/linux/WlrToplevelWorkspace.h"
#include "tests/linux/SwayTestSupport.h"

#include "core/log/NVLog.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>

namespace {

using nvtest::spin_until;

// Sway lists its toplevels as every wlroots compositor does; its IPC only focuses them.
class WlrToplevelWorkspaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!nvtest::HeadlessSway::installed())
            GTEST_SKIP() << "sway is not installed";
        nvtest::qt_app();
        sway = std::make_unique<nvtest::HeadlessSway>();
        ASSERT_TRUE(sway->ok()) << "headless sway did not start";
        ASSERT_TRUE(programs.isValid());
        for (const char* name : {"nuvro-paint", "nuvro-sketch"}) {
            const QString copy = programs.filePath(name);
            ASSERT_TRUE(QFile::copy(NV_WAYLAND_WINDOW, copy));
            QFile::setPermissions(copy, QFile::permissions(NV_WAYLAND_WINDOW));
        }
        // Only the first program is an installed application.
        nvtest::write_file(apps.path() / "nuvro-paint.desktop",
                           "[Desktop Entry]\nType=Application\nName=Paint\nExec=" +
                               programs.filePath("nuvro-paint").toStdString() + " %F\n");
    }

    QProcess* start(const char* name)
    {
        clients.push_back(sway->client(programs.filePath(name), {name}));
        return clients.back().get();
    }
    std::string program(const char* name) const
    {
        return std::filesystem::canonical(programs.filePath(name).toStdString()).string();
    }
    std::unique_ptr<WlrToplevelWorkspace> open()
    {
        return WlrToplevelWorkspace::open(sway->waylandDisplay().toLocal8Bit().constData(),
                                          NVAppIdPrograms({apps.path()}, nv_exec_env()));
    }

    std::unique_ptr<nvtest::HeadlessSway> sway;
    QTemporaryDir programs;
    nvtest::TempDir apps;
    std::vector<std::unique_ptr<QProcess>> clients;
};

TEST_F(WlrToplevelWorkspaceTest, TheActivatedToplevelsDesktopEntryNamesTheProgram)
{
    QProcess* paint = start("nuvro-paint");
    ASSERT_TRUE(spin_until([&] { return sway->command(QString("[pid=%1] focus").arg(paint->processId())); }, 10000));
    NVLogCapture log;
    auto ws = open();
    ASSERT_TRUE(ws);
    EXPECT_EQ(ws->frontmostOwnerName(), "nuvro-paint");
    std::vector<std::string> reports;
    ws->setActivationHandler([&](const std::string& path) { reports.push_back(path); });
    ASSERT_TRUE(spin_until([&] { return reports.size() == 1; })) << "the toplevel active at the start";
    EXPECT_EQ(reports[0], program("nuvro-paint"));

    // No desktop entry: no program, the default profile, and one line however often.
    QProcess* sketch = start("nuvro-sketch");
    ASSERT_TRUE(spin_until([&] { return reports.size() == 2; }, 10000));
    EXPECT_EQ(reports[1], "");
    EXPECT_EQ(ws->frontmostOwnerName(), "nuvro-sketch");
    ASSERT_TRUE(sway->command(QString("[pid=%1] focus").arg(paint->processId())));
    ASSERT_TRUE(spin_until([&] { return reports.size() == 3; }));
    EXPECT_EQ(reports[2], program("nuvro-paint"));
    ASSERT_TRUE(sway->command(QString("[pid=%1] focus").arg(sketch->processId())));
    ASSERT_TRUE(spin_until([&] { return reports.size() == 4; }));
    EXPECT_EQ(reports[3], "");
    EXPECT_EQ(log.count("app_id \"nuvro-sketch\": no desktop entry names its program"), 1u);

    // A window of the adapter's own program (the agent's tip) leaves the frontmost as it is.
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).baseName();
    ASSERT_TRUE(QFile::copy(NV_WAYLAND_WINDOW, programs.filePath(self)));
    QFile::setPermissions(programs.filePath(self), QFile::permissions(NV_WAYLAND_WINDOW));
    clients.push_back(sway->client(programs.filePath(self)));
    ASSERT_TRUE(spin_until([&] { return sway->command(QString("[app_id=%1] focus").arg(self)); }, 10000));
    spin_until([] { return false; }, 200);
    EXPECT_EQ(reports.size(), 4u);
    EXPECT_EQ(ws->frontmostOwnerName(), "nuvro-sketch");

    // Nothing activated on an empty workspace.
    ASSERT_TRUE(sway->command(QString("[pid=%1] focus").arg(paint->processId())));
    ASSERT_TRUE(spin_until([&] { return reports.size() == 5; }));
    ASSERT_TRUE(sway->command("workspace 2"));
    ASSERT_TRUE(spin_until([&] { return reports.size() == 6; }));
    EXPECT_EQ(reports[5], "");
    EXPECT_EQ(ws->frontmostOwnerName(), "");
}

TEST_F(WlrToplevelWorkspaceTest, ACompositorThatDisappearsIsSaidOnceAndNotWatched)
{
    auto ws = open();
    ASSERT_TRUE(ws);
    int reports = 0;
    ws->setActivationHandler([&](const std::string&) { ++reports; });
    ASSERT_TRUE(spin_until([&] { return reports == 1; }));
    NVLogCapture log;

    sway->kill();
    ASSERT_TRUE(spin_until([&] { return log.contains("WlrToplevelWorkspace: the Wayland connection was lost"); }));
    EXPECT_FALSE(ws->isConnected());
    EXPECT_LT(nvtest::cpu_seconds_of_event_loop(1000), 0.15);
    EXPECT_EQ(log.count("WlrToplevelWorkspace: the Wayland connection was lost"), 1u);
    EXPECT_EQ(reports, 1);
}

TEST(WlrToplevelWorkspace, NoCompositorIsNoWorkspace)
{
    nvtest::qt_app();
    QTemporaryDir dir;
    EXPECT_FALSE(WlrToplevelWorkspace::open(dir.filePath("wayland-9").toLocal8Bit().constData()));
}

} // namespace
