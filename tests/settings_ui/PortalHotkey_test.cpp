// The open-driver hotkey through the desktop portal, as in a Wayland session: a fake portal
// on the private bus answers each request only later, through its Request object's Response
// signal, as the real one does after the user's approval dialog.
#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigPaths.h"
#include "settings/logic/NVOpenDriverHotkey.h"
#include "settings/ui/HotkeysSettingViewController.h"
#include "settings/ui/HotkeysUtil.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVUiCenter.h"
#include "tests/qt/QtTestSupport.h"
#include "tests/settings_ui/UiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

class FakePortal : public QDBusVirtualObject {
public:
    explicit FakePortal(bool hasInterface = true) : hasInterface_(hasInterface)
    {
        bus_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal")));
        bus_->registerVirtualObject(kPath, this, QDBusConnection::SubPath);
        registered_ = bus_->registerService(kService);
    }
    ~FakePortal() override
    {
        bus_->unregisterService(kService);
        bus_->unregisterObject(kPath, QDBusConnection::UnregisterTree);
        bus_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    }

    bool registered() const { return registered_; }
    uint createAnswer = 0;
    uint bindAnswer = 0;
    QString lastId, lastTrigger, lastSession;
    int sessions = 0;
    QStringList closed; // session paths

    void activate(const QString& id)
    {
        QDBusMessage s = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("Activated"));
        s << QVariant::fromValue(QDBusObjectPath(lastSession)) << id << qulonglong(1) << QVariantMap{};
        bus_->send(s);
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& m, const QDBusConnection& connection) override
    {
        QDBusConnection c = connection;
        if (m.interface() == QStringLiteral("org.freedesktop.portal.Session") && m.member() == QStringLiteral("Close")) {
            closed << m.path();
            c.send(m.createReply());
            return true;
        }
        if (!hasInterface_ || m.interface() != kInterface || m.path() != kPath) {
            c.send(m.createErrorReply(QDBusError::UnknownInterface, QStringLiteral("no such interface")));
            return true;
        }
        QString sender = m.service().mid(1).replace(u'.', u'_');
        const QVariantList args = m.arguments();
        if (m.member() == QStringLiteral("CreateSession")) {
            const QVariantMap options = qdbus_cast<QVariantMap>(args.value(0));
            const QString request = kPath + "/request/" + sender + "/" + options.value("handle_token").toString();
            const QString session =
                kPath + "/session/" + sender + "/" + options.value("session_handle_token").toString();
            ++sessions;
            lastSession = session;
            c.send(m.createReply(QVariant::fromValue(QDBusObjectPath(request))));
            respond(request, createAnswer, {{"session_handle", session}});
            return true;
        }
        if (m.member() == QStringLiteral("BindShortcuts") && m.signature() == QStringLiteral("oa(sa{sv})sa{sv}")) {
            lastSession = qvariant_cast<QDBusObjectPath>(args[0]).path();
            const QDBusArgument shortcuts = qvariant_cast<QDBusArgument>(args[1]);
            shortcuts.beginArray();
            while (!shortcuts.atEnd()) {
                QVariantMap props;
                shortcuts.beginStructure();
                shortcuts >> lastId >> props;
                shortcuts.endStructure();
                lastTrigger = props.value("preferred_trigger").toString();
            }
            shortcuts.endArray();
            const QVariantMap options = qdbus_cast<QVariantMap>(args[3]);
            const QString request = kPath + "/request/" + sender + "/" + options.value("handle_token").toString();
            c.send(m.createReply(QVariant::fromValue(QDBusObjectPath(request))));
            respond(request, bindAnswer, {});
            return true;
        }
        c.send(m.createErrorReply(QDBusError::InvalidArgs, m.signature()));
        return true;
    }

private:
    // After the method's reply, as the real portal answers once the user has chosen.
    void respond(const QString& request, uint code, const QVariantMap& results)
    {
        QTimer::singleShot(50, [this, request, code, results] {
            QDBusMessage s = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"),
                                                        QStringLiteral("Response"));
            s << code << results;
            bus_->send(s);
        });
    }

    bool hasInterface_;
    bool registered_ = false;
    std::unique_ptr<QDBusConnection> bus_;
};

class PortalHotkeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        nvtest::ui_app();
        nv_app_context().resPath = nvtest::resources_dir().string();
        nv_set_res_path(nv_app_context().resPath);
        savedSession_ = qgetenv("XDG_SESSION_TYPE");
        qputenv("XDG_SESSION_TYPE", "wayland");
        token_ = nv_ui_center().observe(nvUiHotkeyChanged, [this](const std::string&, const NVPlistDict&) { ++raised; });
    }
    void TearDown() override
    {
        HotkeysUtil::unregisterOpenDriverHotkeys();
        nv_ui_center().removeObserver(token_);
        nv_set_res_path({});
        if (savedSession_.isNull())
            qunsetenv("XDG_SESSION_TYPE");
        else
            qputenv("XDG_SESSION_TYPE", savedSession_);
    }

    static bool settlesOn(HotkeysUtil::Registration r)
    {
        return nvtest::spin_until([r] { return HotkeysUtil::registration() == r; });
    }

    nvtest::ScopedConfigHome home;
    int raised = 0;

private:
    QByteArray savedSession_;
    NotificationCenter::Token token_ = 0;
};

TEST_F(PortalHotkeyTest, BoundThroughThePortalAndActivatedPostsTheHotkey)
{
    FakePortal portal;
    ASSERT_TRUE(portal.registered());
    EXPECT_EQ(HotkeysUtil::registerOpenDriverHotkeys(), HotkeysUtil::Registration::Unavailable)
        << "nothing is bound before the portal answers";
    ASSERT_TRUE(settlesOn(HotkeysUtil::Registration::Registered));
    EXPECT_EQ(portal.lastId, "open-driver");
    EXPECT_EQ(portal.lastTrigger, "CTRL+LOGO+h");
    const QString first = portal.lastSession;

    portal.activate("open-driver");
    EXPECT_TRUE(nvtest::spin_until([&] { return raised == 1; }));
    portal.activate("another-shortcut");
    nvtest::spin_until([] { return false; }, 200);
    EXPECT_EQ(raised, 1) << "only our shortcut of our session";

    // Released while the page records: presses are not posted; registering again reuses
    // the session that is bound with the same trigger.
    HotkeysUtil::unregisterOpenDriverHotkeys();
    EXPECT_EQ(HotkeysUtil::registration(), HotkeysUtil::Registration::None);
    portal.activate("open-driver");
    nvtest::spin_until([] { return false; }, 200);
    EXPECT_EQ(raised, 1);
    EXPECT_EQ(HotkeysUtil::registerOpenDriverHotkeys(), HotkeysUtil::Registration::Registered);
    EXPECT_EQ(portal.sessions, 1);
    {
        HotkeysSettingViewController page;
        EXPECT_FALSE(page.findChild<QLabel*>("labelUnavailable")->isVisibleTo(&page))
            << "the desktop offers global shortcuts through its portal";
        EXPECT_EQ(HotkeysUtil::registration(), HotkeysUtil::Registration::None) << "released while recording";
    }

    // A new shortcut is bound in a new session, the old one closed.
    HotkeysUtil::unregisterOpenDriverHotkeys();
    HotkeysUtil::saveOpenDriverShortcut(NVShortcut::shortcutWithKeyCode(96, false, true, true, false));
    HotkeysUtil::registerOpenDriverHotkeys();
    ASSERT_TRUE(settlesOn(HotkeysUtil::Registration::Registered));
    EXPECT_EQ(portal.sessions, 2);
    EXPECT_TRUE(nvtest::spin_until([&] { return portal.closed.contains(first); }));
    EXPECT_EQ(portal.lastTrigger, "ALT+SHIFT+F5");
    portal.activate("open-driver");
    EXPECT_TRUE(nvtest::spin_until([&] { return raised == 2; }));
}

TEST_F(PortalHotkeyTest, ARefusedOrCancelledRequestLeavesItUnavailable)
{
    FakePortal portal;
    ASSERT_TRUE(portal.registered());
    portal.bindAnswer = 1; // the user cancelled the dialog
    HotkeysUtil::saveOpenDriverShortcut(NVShortcut::shortcutWithKeyCode(4, true, false, true, false));
    EXPECT_EQ(HotkeysUtil::registerOpenDriverHotkeys(), HotkeysUtil::Registration::Unavailable);
    ASSERT_TRUE(nvtest::spin_until([&] { return portal.sessions == 1 && portal.closed.contains(portal.lastSession); }))
        << "the session is closed";
    EXPECT_EQ(HotkeysUtil::registration(), HotkeysUtil::Registration::Unavailable);
    portal.activate("open-driver");
    nvtest::spin_until([] { return false; }, 200);
    EXPECT_EQ(raised, 0);

    portal.bindAnswer = 0;
    portal.createAnswer = 2; // ended another way
    HotkeysUtil::registerOpenDriverHotkeys();
    ASSERT_TRUE(nvtest::spin_until([&] { return portal.sessions == 2; }));
    nvtest::spin_until([] { return false; }, 300);
    EXPECT_EQ(HotkeysUtil::registration(), HotkeysUtil::Registration::Unavailable);

    portal.createAnswer = 0;
    HotkeysUtil::registerOpenDriverHotkeys();
    EXPECT_TRUE(settlesOn(HotkeysUtil::Registration::Registered)) << "a later attempt may succeed";
}

TEST_F(PortalHotkeyTest, WithoutThePortalOrItsInterfaceItStaysUnavailable)
{
    ASSERT_FALSE(QDBusConnection::sessionBus().interface()->isServiceRegistered(kService));
    EXPECT_EQ(HotkeysUtil::registerOpenDriverHotkeys(), HotkeysUtil::Registration::Unavailable);
    nvtest::spin_until([] { return false; }, 300);
    EXPECT_EQ(HotkeysUtil::registration(), HotkeysUtil::Registration::Unavailable);

    FakePortal portal(false);
    ASSERT_TRUE(portal.registered());
    HotkeysUtil::registerOpenDriverHotkeys();
    nvtest::spin_until([] { return false; }, 300);
    EXPECT_EQ(HotkeysUtil::registration(), HotkeysUtil::Registration::Unavailable);
    HotkeysSettingViewController page;
    EXPECT_TRUE(page.findChild<QLabel*>("labelUnavailable")->isVisibleTo(&page)) << "the page keeps its message";
}

} // namespace
