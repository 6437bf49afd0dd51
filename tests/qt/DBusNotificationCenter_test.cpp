#include "platform/qt/DBusNotificationCenter.h"
#include "tests/qt/QtTestSupport.h"

#include "core/channel/NVNotificationNames.h"
#include "core/log/NVLog.h"
#include "core/model/NVEkeyFunc.h"
#include "tests/input/InputTestSupport.h"

#include <QDBusVariant>
#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <set>

namespace {

using nvtest::spin_until;

struct Inbox {
    std::vector<std::pair<std::string, NVPlistDict>> got;
    NotificationCenter::Observer observer()
    {
        return [this](const std::string& n, const NVPlistDict& d) { got.emplace_back(n, d); };
    }
};

class DBusCenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        nvtest::qt_app();
        if (bus.address().isEmpty())
            GTEST_SKIP() << "dbus-daemon could not be started";
        conn1 = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "one"));
        conn2 = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "two"));
        ASSERT_TRUE(conn1->isConnected());
        ASSERT_TRUE(conn2->isConnected());
    }
    void TearDown() override
    {
        conn1.reset();
        conn2.reset();
        QDBusConnection::disconnectFromBus("one");
        QDBusConnection::disconnectFromBus("two");
    }

    nvtest::PrivateBus bus;
    std::unique_ptr<QDBusConnection> conn1;
    std::unique_ptr<QDBusConnection> conn2;
};

TEST_F(DBusCenterTest, EveryObservingCentreHearsAPostThePosterIncluded)
{
    DBusNotificationCenter a(*conn1), b(*conn2), c(*conn1);
    Inbox ia, ib, ic;
    a.observe("n", ia.observer());
    b.observe("n", ib.observer());
    c.observe("n", ic.observer());

    a.post("n", {{"k", 1}});
    EXPECT_TRUE(ia.got.empty()) << "observers run on the event loop, not inside post";

    ASSERT_TRUE(spin_until([&] { return ia.got.size() + ib.got.size() + ic.got.size() >= 3; }));
    spin_until([] { return false; }, 100);
    EXPECT_EQ(ia.got.size(), 1u);
    EXPECT_EQ(ib.got.size(), 1u);
    EXPECT_EQ(ic.got.size(), 1u);
    EXPECT_EQ(ib.got[0].first, "n");
    EXPECT_EQ(ib.got[0].second, (NVPlistDict{{"k", 1}}));
}

TEST_F(DBusCenterTest, ValuesKeepTheirTypesAcrossTheBus)
{
    DBusNotificationCenter poster(*conn1), receiver(*conn2);
    Inbox in;
    receiver.observe("types", in.observer());
    NVPlistData bytes(256);
    for (int i = 0; i < 256; ++i)
        bytes[i] = uint8_t(i);
    const NVPlistDict sent{
        {"s", "caf\xc3\xa9 | x"},
        {"empty", ""},
        {"min", std::numeric_limits<int32_t>::min()},
        {"max", std::numeric_limits<int32_t>::max()},
        {"names", NVPlistStrings{"A|B", "", "C"}},
        {"none", NVPlistStrings{}},
        {"data", bytes},
        {"nodata", NVPlistData{}},
        {"dict", NVPlistDict{{"inner", NVPlistDict{{"deep", 7}}}, {"t", "u"}}},
    };
    poster.post("types", sent);
    ASSERT_TRUE(spin_until([&] { return !in.got.empty(); }));
    EXPECT_EQ(in.got[0].second, sent);
}

TEST_F(DBusCenterTest, OnlyObservedNamesArriveAndRemovedObserversHearNothing)
{
    DBusNotificationCenter poster(*conn1), receiver(*conn2);
    Inbox a, b, b2;
    const auto ta = receiver.observe("a", a.observer());
    receiver.observe("b", b.observer());
    const auto tb2 = receiver.observe("b", b2.observer());
    receiver.removeObserver(ta);
    receiver.removeObserver(tb2);

    poster.post("a", {});
    poster.post("c", {});
    poster.post("b", {});
    ASSERT_TRUE(spin_until([&] { return !b.got.empty(); }));
    spin_until([] { return false; }, 100);
    EXPECT_TRUE(a.got.empty());
    EXPECT_TRUE(b2.got.empty());
    EXPECT_EQ(b.got.size(), 1u);
}

TEST_F(DBusCenterTest, ForeignBusTypesReadAsMissingKeys)
{
    DBusNotificationCenter receiver(*conn2);
    Inbox in;
    receiver.observe("foreign", in.observer());
    auto raw = [&](const QList<QVariant>& args) {
        QDBusMessage m = QDBusMessage::createSignal(nvDBusNotificationPath, nvDBusNotificationInterface, "Post");
        m.setArguments(args);
        ASSERT_TRUE(conn1->send(m));
    };
    QVariantMap odd;
    odd["u"] = QVariant::fromValue(uint(5));
    odd["d"] = 2.5;
    odd["b"] = true;
    odd["ints"] = QVariant::fromValue(QList<int>{1, 2});
    odd["v"] = QVariant::fromValue(QDBusVariant(QVariant(3)));
    odd["ok"] = 4;
    raw({QString("foreign")});
    raw({QString("foreign"), 1});
    raw({QString("foreign"), odd});

    ASSERT_TRUE(spin_until([&] { return !in.got.empty(); }));
    spin_until([] { return false; }, 100);
    ASSERT_EQ(in.got.size(), 1u);
    EXPECT_EQ(in.got[0].second, (NVPlistDict{{"ok", 4}}));
    EXPECT_EQ(nv_plist_int(in.got[0].second, "u"), 0);
}

// Keys still down after the recorded events, modifiers as NVKC codes.
std::set<uint16_t> held_keys(const RecordingWindowSystem& ws)
{
    std::set<uint16_t> down;
    uint64_t flags = 0;
    for (const NVRecordedEvent& e : ws.events()) {
        if (!e.isHID)
            continue;
        if (e.hid.type == NVHID_FLAGS_CHANGED)
            flags = e.hid.eventFlags;
        else if (e.hid.type == NVHID_KEY_DOWN)
            down.insert(e.hid.keyCode);
        else
            down.erase(e.hid.keyCode);
    }
    if (flags & NVMF_CONTROL)
        down.insert(NVKC_CONTROL);
    return down;
}

// Posts go to ws while it lives.
struct PostingTo {
    explicit PostingTo(RecordingWindowSystem& ws)
    {
        NVMacFunc::setWindowSystem(&ws);
        g_gi.hidConnect = ws.connectKeyboard();
    }
    ~PostingTo()
    {
        NVMacFunc::setWindowSystem(nullptr);
        g_gi.hidConnect = 0;
    }
};

// The agent's two driver peers on one bus centre: the USB watcher's (no delegate) and the
// dispatcher's. Apply arrives from the settings application while a hard key is held.
TEST_F(DBusCenterTest, ApplyWhileAKeyIsHeldReleasesItWithItsOldFunctionWhicheverPeerCameFirst)
{
    constexpr uint8_t kZ = 6, kC = 8;
    for (const bool watcherFirst : {true, false}) {
        SCOPED_TRACE(watcherFirst ? "watcher's peer first" : "dispatcher's peer first");
        nvtest::reset_globals();
        nvtest::reset_input_statics();
        ManualClock clock;
        clock.set(100);
        FakeDisplays displays{{{1, {0, 0, 1000, 800}}}};
        RecordingWindowSystem ws{&clock};
        PostingTo posting(ws);
        g_gi.ti.devType = 1;
        g_gi.ti.hbtnNum = 8;
        g_gi.cfg.bEnableHBtn = 1;
        NVEkey& undo = g_gi.cfg.contexts[0].hbtns[0];
        nvtest::set_key(undo, NVEKT_KBTN, "Undo");
        undo.kbtn.bCtrl = 1;
        undo.kbtn.kbKeys[0] = kZ;

        DBusNotificationCenter agent(*conn1), settings(*conn2);
        std::unique_ptr<NVNotificationDriverPeer> watcher;
        std::unique_ptr<NVDataHandler> dispatcher;
        if (watcherFirst)
            watcher = std::make_unique<NVNotificationDriverPeer>(nullptr, agent, nullptr);
        dispatcher = std::make_unique<NVDataHandler>(displays, clock, &agent);
        if (!watcherFirst)
            watcher = std::make_unique<NVNotificationDriverPeer>(nullptr, agent, nullptr);

        dispatcher->handleData(nvtest::hbtn_report(1).data());
        ASSERT_EQ(held_keys(ws), (std::set<uint16_t>{kZ, NVKC_CONTROL}));

        auto next = std::make_unique<NVConfig>(g_gi.cfg);
        nvtest::set_key(next->contexts[0].hbtns[0], NVEKT_KBTN, "C");
        next->contexts[0].hbtns[0].kbtn.kbKeys[0] = kC;
        const auto* bytes = reinterpret_cast<const uint8_t*>(next.get());
        settings.post(nvNotificationCfgSendByUI, {{nvKeyCfgValFromUI, NVPlistData(bytes, bytes + sizeof(NVConfig))}});
        ASSERT_TRUE(spin_until([] { return g_gi.cfg.contexts[0].hbtns[0].kbtn.kbKeys[0] == kC; }));
        spin_until([] { return false; }, 100);

        std::vector<std::string> events;
        for (const NVRecordedEvent& e : ws.events())
            events.push_back(nvtest::describe(e));
        EXPECT_NE(std::find(events.begin(), events.end(), "kup6"), events.end());
        EXPECT_NE(std::find(events.begin(), events.end(), "kup59"), events.end());
        EXPECT_EQ(std::find(events.begin(), events.end(), "kup8"), events.end()) << "released with the new function";
        EXPECT_TRUE(held_keys(ws).empty()) << ::testing::PrintToString(events);
        EXPECT_EQ(gModifierKeyEventFlag, 0u);
    }
}

TEST(DBusCenterWithoutBus, SaysSoAndDropsPosts)
{
    nvtest::qt_app();
    NVLogCapture log;
    DBusNotificationCenter center(QDBusConnection("nuvro-no-such-connection"));
    EXPECT_FALSE(center.isConnected());
    EXPECT_TRUE(log.contains("DBusNotificationCenter: no session bus"));
    Inbox in;
    center.observe("x", in.observer());
    center.post("x", {});
    spin_until([] { return false; }, 50);
    EXPECT_TRUE(in.got.empty());
}

} // namespace
