// The protocol between two processes over a session bus: this test plays the settings
// application, nv_channel_peer the agent.
#include "platform/qt/DBusNotificationCenter.h"
#include "tests/qt/QtTestSupport.h"

#include "core/channel/NVNotificationNames.h"
#include "core/model/NVTypes.h"

#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using nvtest::spin_until;

class CrossProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        nvtest::qt_app();
        if (bus.address().isEmpty())
            GTEST_SKIP() << "dbus-daemon could not be started";
        conn = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus.address(), "settings"));
        center = std::make_unique<DBusNotificationCenter>(*conn);
        for (const char* name : {"nuvro.test.peer.ready", "nuvro.test.peer.config", "nuvro.test.peer.echo",
                                 nvNotificationToUITabletInfo})
            center->observe(name, [this](const std::string& n, const NVPlistDict& d) { inbox.emplace_back(n, d); });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
        peer.setProcessEnvironment(env);
        peer.setProcessChannelMode(QProcess::ForwardedChannels);
        peer.start(NV_CHANNEL_PEER, {});
        ASSERT_TRUE(peer.waitForStarted(5000));
        ASSERT_TRUE(next("nuvro.test.peer.ready"));
    }
    void TearDown() override
    {
        if (center) {
            center->post("nuvro.test.peer.quit", {});
            if (!peer.waitForFinished(5000))
                peer.kill();
            EXPECT_EQ(peer.exitCode(), 0);
        }
        center.reset();
        conn.reset();
        QDBusConnection::disconnectFromBus("settings");
    }

    // Waits for the next notification of that name; the ones before it are dropped.
    bool next(const std::string& name, NVPlistDict* info = nullptr)
    {
        auto find = [&] {
            for (size_t i = 0; i < inbox.size(); ++i)
                if (inbox[i].first == name) {
                    if (info)
                        *info = inbox[i].second;
                    inbox.erase(inbox.begin(), inbox.begin() + long(i) + 1);
                    return true;
                }
            return false;
        };
        return spin_until(find, 10000);
    }

    // What the agent holds after a change notification, and how often its hook ran.
    NVPlistDict agent_config()
    {
        center->post(nvNotificationToDriverConfigChanged, {});
        NVPlistDict d;
        EXPECT_TRUE(next("nuvro.test.peer.config", &d));
        return d;
    }

    void send_config(const NVPlistData& bytes) { center->post(nvNotificationCfgSendByUI, {{nvKeyCfgValFromUI, bytes}}); }

    nvtest::PrivateBus bus;
    std::unique_ptr<QDBusConnection> conn;
    std::unique_ptr<DBusNotificationCenter> center;
    QProcess peer;
    std::vector<std::pair<std::string, NVPlistDict>> inbox;
};

// A record that keeps to the model's limits, with every byte position distinguishable.
NVPlistData patterned_config()
{
    auto cfg = std::make_unique<NVConfig>();
    auto* p = reinterpret_cast<uint8_t*>(cfg.get());
    for (size_t i = 0; i < sizeof(NVConfig); ++i)
        p[i] = uint8_t(i * 131 + (i >> 9));
    for (NVContextEkeys& c : cfg->contexts) {
        c.appName[NV_STR_MAX - 1] = 0;
        c.appPath[NV_STR_MAX - 1] = 0;
        for (NVEkey* keys : {c.hbtns, c.sbtns, c.pbtns})
            for (int k = 0; k < NV_EKEY_MAX; ++k) {
                keys[k].name[NV_STR_MAX - 1] = 0;
                keys[k].cmdPath[NV_STR_MAX - 1] = 0;
            }
        c.mekeyNum = 2;
        for (NVContextMEkey& m : c.mekeys) {
            m.num = 16;
            m.muxFuncNum = 4;
            m.index = 3;
            for (NVMultiEKey& set : m.muxfunc)
                for (NVEkey& e : set.ekeys) {
                    e.name[NV_STR_MAX - 1] = 0;
                    e.cmdPath[NV_STR_MAX - 1] = 0;
                }
        }
    }
    return NVPlistData(p, p + sizeof(NVConfig));
}

TEST_F(CrossProcessTest, ConfigurationImageArrivesByteForByte)
{
    const NVPlistData bytes = patterned_config();
    ASSERT_EQ(bytes.size(), 782104u);
    send_config(bytes);
    const NVPlistDict d = agent_config();
    EXPECT_EQ(nv_plist_int(d, "replaced"), 1);
    EXPECT_TRUE(nv_plist_data(d, "cfg") == bytes);
}

TEST_F(CrossProcessTest, WrongSizedImageIsRefusedAndTheNextWholeOneAccepted)
{
    const NVPlistData bytes = patterned_config();
    send_config(NVPlistData(bytes.begin(), bytes.end() - 8));
    NVPlistDict d = agent_config();
    EXPECT_EQ(nv_plist_int(d, "replaced"), 0);
    EXPECT_TRUE(nv_plist_data(d, "cfg") == NVPlistData(sizeof(NVConfig), 0));

    send_config(bytes);
    d = agent_config();
    EXPECT_EQ(nv_plist_int(d, "replaced"), 1);
    EXPECT_TRUE(nv_plist_data(d, "cfg") == bytes);
}

TEST_F(CrossProcessTest, QueryWithoutTabletIsAnsweredWithZeros)
{
    center->post(nvNotificationToDriverQueryTabletInfo, {});
    NVPlistDict d;
    ASSERT_TRUE(next(nvNotificationToUITabletInfo, &d));
    EXPECT_EQ(d.size(), 12u);
    EXPECT_EQ(nv_plist_int(d, nvKeyMaxX), 0);
    EXPECT_EQ(d.at(nvKeySDevVer), NVPlistValue(""));
}

TEST_F(CrossProcessTest, BatteryAndUpdateNotificationsPassThrough)
{
    const std::vector<std::pair<const char*, NVPlistDict>> sent = {
        {nvNotificationQueryBatteryPower, {}},
        {nvNotificationQueryBatteryPowerForUI, {{nvKeyCurrentPower, "87"}}},
        {nvNotificationCurrentVersion, {{nvKeyCurrentVersion, "1.0.3"}}},
        {nvNotificationConfirmUpdate, {{nvKeyConfirmMessage, "YES"}}},
        {nvNotificationIsNeedUpdate, {{nvKeyIsNeedUpdate, "NO"}}},
        {nvNotificationNetworkErrors, {{nvKeyNetworkError, "NetworkError"}}},
        {nvNotificationMoveFileError, {{nvKeyMoveFileError, "move_saveFileError"}}},
        {nvNotificationConfirmUninstall, {{nvKeyConfirmMessage, "YES"}, {nvKeyInstallPath, "/tmp/Nuvro Driver.pkg"}}},
    };
    for (const auto& [name, info] : sent)
        center->post(name, info);
    for (const auto& [name, info] : sent) {
        NVPlistDict echo;
        ASSERT_TRUE(next("nuvro.test.peer.echo", &echo)) << name;
        EXPECT_EQ(nv_plist_string(echo, "name"), name);
        EXPECT_EQ(nv_plist_dict(echo, "userInfo"), info) << name;
    }
}

} // namespace
