#include "settings/ui/NVGnomeExtensionNotice.h"
#include "tests/settings_ui/UiTestSupport.h"

#include "core/log/NVLog.h"
#include "platform/linux/GnomeFocusExtension.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

using nvtest::spin_until;

// Session variables for the length of a test.
class SessionEnv {
public:
    SessionEnv(const char* type, const char* desktop, const QString& path)
        : type_(qgetenv("XDG_SESSION_TYPE")), desktop_(qgetenv("XDG_CURRENT_DESKTOP")), path_(qgetenv("PATH"))
    {
        set(type, desktop, path.toLocal8Bit());
    }
    ~SessionEnv() { set(type_, desktop_, path_); }
    static void set(const QByteArray& type, const QByteArray& desktop, const QByteArray& path)
    {
        qputenv("XDG_SESSION_TYPE", type);
        qputenv("XDG_CURRENT_DESKTOP", desktop);
        qputenv("PATH", path);
    }

private:
    QByteArray type_, desktop_, path_;
};

TEST(GnomeExtensionNotice, ShownInAGnomeWaylandSessionUntilTheExtensionAnswersAndItsButtonEnablesIt)
{
    nvtest::ui_app();
    nvtest::PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty());
    QTemporaryDir bin;
    const QString record = bin.filePath("argv");
    QFile fake(bin.filePath("gnome-extensions"));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write(QString("#!/bin/sh\necho \"$@\" > '%1'\n").arg(record).toUtf8());
    fake.close();
    fake.setPermissions(fake.permissions() | QFileDevice::ExeOwner);
    SessionEnv session("wayland", "ubuntu:GNOME", bin.path() + ":" + qgetenv("PATH"));
    QDBusConnection agentSide = QDBusConnection::connectToBus(bus.address(), "nv-notice");

    QWidget page;
    auto* notice = new NVGnomeExtensionNotice(agentSide, &page);
    page.show();
    EXPECT_TRUE(notice->isVisible());
    auto* button = notice->findChild<QPushButton*>("btnEnableGnomeExtension");
    ASSERT_TRUE(button);
    EXPECT_EQ(button->accessibleName(), qtTrId("str_SET_gnomeExtensionEnable"));
    button->click();
    QFile argv(record);
    ASSERT_TRUE(spin_until([&] { return argv.exists() && argv.size() > 0; }));
    ASSERT_TRUE(argv.open(QIODevice::ReadOnly));
    EXPECT_EQ(argv.readAll().trimmed(), QByteArray("enable ") + nvGnomeExtensionUuid);

    // The shell enables it: the notice goes.
    QDBusConnection shell = QDBusConnection::connectToBus(bus.address(), "nv-notice-shell");
    ASSERT_TRUE(shell.registerService(nvGnomeFocusService));
    EXPECT_TRUE(spin_until([&] { return notice->isHidden(); }));
    // Once it answers, a page opened later shows none.
    EXPECT_TRUE((new NVGnomeExtensionNotice(agentSide, &page))->isHidden());
}

TEST(GnomeExtensionNotice, AMissingCommandIsLoggedAndTheNoticeStays)
{
    nvtest::ui_app();
    nvtest::PrivateBus bus;
    ASSERT_FALSE(bus.address().isEmpty());
    QTemporaryDir empty;
    SessionEnv session("wayland", "GNOME", empty.path());
    QWidget page;
    auto* notice = new NVGnomeExtensionNotice(QDBusConnection::connectToBus(bus.address(), "nv-notice-other"), &page);
    page.show();
    NVLogCapture log;
    EXPECT_FALSE(notice->onBtnEnableClicked());
    EXPECT_EQ(log.count("gnome-extensions cannot be started"), 1u);
    EXPECT_TRUE(notice->isVisible());
}

} // namespace
