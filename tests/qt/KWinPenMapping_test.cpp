// The agent's pen on KWin: a fake KWin on a private bus lists input devices as KWin 6 and
// KWin 5.27 export them (KWin 5.27 has no whole-desktop setting).
#include "platform/qt/KWinPenMapping.h"

#include "core/log/NVLog.h"
#include "tests/qt/QtTestSupport.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using nvtest::spin_until;

constexpr const char* kPen = "Nuvro Tablet Pen";

class FakeManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDeviceManager")
    Q_PROPERTY(QStringList devicesSysNames READ devicesSysNames)
public:
    QStringList names;
    QStringList devicesSysNames() const { return names; }
Q_SIGNALS:
    void deviceAdded(const QString& sysName);
    void deviceRemoved(const QString& sysName);
};

// KWin 6's device: the whole-desktop setting among its properties.
class Device6 : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDevice")
    Q_PROPERTY(QString name READ name)
    Q_PROPERTY(bool mapToWorkspace READ mapToWorkspace WRITE setMapToWorkspace)
public:
    explicit Device6(QString n, bool whole = false) : name_(std::move(n)), whole_(whole) {}
    QString name() const { return name_; }
    bool mapToWorkspace() const { return whole_; }
    void setMapToWorkspace(bool whole)
    {
        whole_ = whole;
        ++writes;
    }
    int writes = 0;

private:
    QString name_;
    bool whole_;
};

// KWin 5.27's device: a tablet is always mapped onto one screen.
class Device5 : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.KWin.InputDevice")
    Q_PROPERTY(QString name READ name)
public:
    explicit Device5(QString n) : name_(std::move(n)) {}
    QString name() const { return name_; }

private:
    QString name_;
};

constexpr auto kExport = QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSignals;

struct FakeKWin : ::testing::Test {
    void SetUp() override
    {
        ASSERT_FALSE(bus.address().isEmpty());
        ASSERT_TRUE(kwin.registerObject(nvKWinInputDevices, &manager, kExport));
    }
    void add(const QString& sysName, QObject* device)
    {
        ASSERT_TRUE(kwin.registerObject(QStringLiteral("%1/%2").arg(nvKWinInputDevices, sysName), device, kExport));
        manager.names << sysName;
    }
    // KWin's name taken last: the mapping may start before or after it.
    void own() { ASSERT_TRUE(kwin.registerService(nvKWinService)); }
    std::unique_ptr<KWinPenMapping> mapping()
    {
        return std::make_unique<KWinPenMapping>(QDBusConnection::connectToBus(bus.address(), "nv-agent " + bus.address()), kPen);
    }

    nvtest::PrivateBus bus;
    QDBusConnection kwin = QDBusConnection::connectToBus(bus.address(), "nv-fake-kwin " + bus.address());
    FakeManager manager;
};

TEST_F(FakeKWin, OnKWin6ThePenAloneIsMappedOverTheWholeDesktopListedOrAddedLater)
{
    Device6 keyboard("AT Translated Set 2 keyboard"), pen(kPen), later(kPen), mapped(kPen, true);
    add("event3", &keyboard);
    add("event7", &pen);
    add("event8", &mapped);
    own();
    NVLogCapture log;
    auto m = mapping();
    ASSERT_TRUE(spin_until([&] { return pen.mapToWorkspace(); }));
    EXPECT_TRUE(spin_until([&] { return log.contains("KWin now maps the pen event7 over the whole desktop"); }));
    EXPECT_TRUE(spin_until([&] { return log.contains("KWin maps the pen event8 over the whole desktop"); }))
        << "event8 was mapped already";

    // The pen made again (a replug) comes as a new device.
    add("event9", &later);
    Q_EMIT manager.deviceAdded("event9");
    // KWin also announces one it listed already: asked once.
    Q_EMIT manager.deviceAdded("event7");
    ASSERT_TRUE(spin_until([&] { return later.mapToWorkspace(); }));
    spin_until([] { return false; }, 200);
    EXPECT_EQ(pen.writes, 1);
    EXPECT_EQ(mapped.writes, 0);
    EXPECT_FALSE(keyboard.mapToWorkspace()) << "another device is left as it is";
    EXPECT_EQ(keyboard.writes, 0);

    // KWin restarted without the saved setting: it removes every device, then lists the pen
    // again under the same name.
    Q_EMIT manager.deviceRemoved("event7");
    pen.setMapToWorkspace(false);
    Q_EMIT manager.deviceAdded("event7");
    ASSERT_TRUE(spin_until([&] { return pen.mapToWorkspace(); }));
    EXPECT_EQ(pen.writes, 3);
}

TEST_F(FakeKWin, OnKWin5ThePenStaysOnOneScreenWithOneLogLine)
{
    Device5 pen(kPen);
    add("event7", &pen);
    own();
    NVLogCapture log;
    auto m = mapping();
    EXPECT_TRUE(spin_until([&] { return log.contains("maps the pen onto one screen only"); }));
    spin_until([] { return false; }, 200);
    EXPECT_EQ(log.count("KWinPenMapping"), 1u);
}

TEST_F(FakeKWin, WithoutKWinNothingHappens)
{
    Device6 pen(kPen);
    add("event7", &pen);
    NVLogCapture log;
    auto m = mapping();
    spin_until([] { return false; }, 300);
    EXPECT_EQ(log.count("KWinPenMapping"), 0u);
    EXPECT_EQ(pen.writes, 0);
}

} // namespace

#include "KWinPenMapping_test.moc"
