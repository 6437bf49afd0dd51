// The test process's one QApplication, offscreen, made on first use and destroyed after
// the last test, before the process's statics go; and the real agent for the tests that
// talk to it.
#pragma once

#include "core/channel/NVNotificationNames.h"
#include "core/channel/NVPlist.h"
#include "core/channel/NotificationCenter.h"

#include "tests/qt/QtTestSupport.h"

#include <QApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace nvtest {

inline std::unique_ptr<QApplication>& ui_app_holder()
{
    static std::unique_ptr<QApplication> app;
    return app;
}

class UiAppEnvironment : public ::testing::Environment {
public:
    void TearDown() override { ui_app_holder().reset(); }
};

inline QApplication& ui_app()
{
    static int argc = 1;
    static char name[] = "settings-ui-test";
    static char* argv[] = {name, nullptr};
    auto& app = ui_app_holder();
    if (!app) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        ::testing::AddGlobalTestEnvironment(new UiAppEnvironment);
    }
    return *app;
}

// The real agent with a simulated tablet on a test's private bus, Qt offscreen, its log
// and printed events read from one channel; stopped when it goes.
class TestAgent {
public:
    // display: the X server it follows; none by default.
    TestAgent(const QString& busAddress, const QStringList& args, const QString& display = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        if (!display.isEmpty())
            env.insert("DISPLAY", display);
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.start(NV_AGENT_EXE, args);
    }
    ~TestAgent() { stop(); }
    TestAgent(const TestAgent&) = delete;
    TestAgent& operator=(const TestAgent&) = delete;

    bool started() { return process_.waitForStarted(5000); }
    QProcess& process() { return process_; }

    // Asks over the bus for the agent's tablet until it announces one: the agent hears
    // nothing before it is on the bus.
    bool waitForTablet(NotificationCenter& center)
    {
        bool announced = false;
        const auto token = center.observe(nvNotificationToUITabletInfo, [&](const std::string&, const NVPlistDict& info) {
            announced = announced || nv_plist_int(info, nvKeyDevType) != 0;
        });
        const bool ok = spin_until([&] {
            center.post(nvNotificationToDriverQueryTabletInfo, {});
            return spin_until([&] { return announced; }, 200);
        }, 10000);
        center.removeObserver(token);
        return ok;
    }

    // Asks it to quit; true once it has, cleanly.
    bool stop()
    {
        if (process_.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
            if (!spin_until([&] { return process_.state() == QProcess::NotRunning; }, 10000))
                return false;
        }
        return process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    }

private:
    QProcess process_;
};

} // namespace nvtest
