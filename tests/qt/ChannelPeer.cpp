// The other process of the cross-process channel tests. It runs an agent driver peer on
// the session bus and tells the test what it received:
//   "nuvro.test.peer.ready"   once it observes everything;
//   "nuvro.test.peer.config"  on each change notification: {"cfg": g_gi.cfg image,
//                             "replaced": times the reset hook ran};
//   "nuvro.test.peer.echo"    for each battery or update notification: {"name", "userInfo"}.
// "nuvro.test.peer.quit" ends it.
#include "core/channel/NVNotificationDriverPeer.h"
#include "core/channel/NVNotificationNames.h"
#include "core/model/NVGlobalInfo.h"
#include "platform/qt/DBusNotificationCenter.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

struct Reporter : NVProtocolNotificationDriverPeer {
    explicit Reporter(NotificationCenter& center) : center(center) {}
    void handleConfigChanged() override
    {
        const auto* p = reinterpret_cast<const uint8_t*>(&g_gi.cfg);
        center.post("nuvro.test.peer.config", {{"cfg", NVPlistData(p, p + sizeof g_gi.cfg)}, {"replaced", replaced}});
    }
    void handleCalibrateStart() override {}
    void handleCalibrateEnd() override {}
    void willReplaceConfig() override { ++replaced; }

    NotificationCenter& center;
    int32_t replaced = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    DBusNotificationCenter center;
    if (!center.isConnected())
        return 2;
    Reporter reporter(center);
    NVNotificationDriverPeer peer(&reporter, center, nullptr);
    for (const char* name : {nvNotificationQueryBatteryPower, nvNotificationQueryBatteryPowerForUI,
                             nvNotificationCurrentVersion, nvNotificationConfirmUpdate, nvNotificationIsNeedUpdate,
                             nvNotificationNetworkErrors, nvNotificationMoveFileError,
                             nvNotificationConfirmUninstall})
        center.observe(name, [&center](const std::string& n, const NVPlistDict& info) {
            center.post("nuvro.test.peer.echo", {{"name", n}, {"userInfo", info}});
        });
    center.observe("nuvro.test.peer.quit", [](const std::string&, const NVPlistDict&) { QCoreApplication::quit(); });
    // Never outlive a test that failed to stop us.
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    center.post("nuvro.test.peer.ready", {});
    return app.exec();
}
