#include "settings/ui/NVGnomeExtensionNotice.h"

#include "core/log/NVLog.h"
#include "platform/linux/GnomeFocusExtension.h"
#include "platform/linux/PosixProcessLauncher.h"
#include "settings/logic/NVGnomeExtension.h"
#include "settings/ui/NVOutlet.h"

#include <QDBusConnectionInterface>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

NVGnomeExtensionNotice::NVGnomeExtensionNotice(QDBusConnection bus, QWidget* parent)
    : QWidget(parent), watcher_(nvGnomeFocusService, bus, QDBusServiceWatcher::WatchForRegistration)
{
    gnomeExtensionTip = nv_outlet(new QLabel(qtTrId("str_SET_gnomeExtension")), "gnomeExtensionTip",
                                  qtTrId("str_SET_gnomeExtension"));
    gnomeExtensionTip->setWordWrap(true);
    btnEnableGnomeExtension = nv_outlet(new QPushButton(qtTrId("str_SET_gnomeExtensionEnable")),
                                        "btnEnableGnomeExtension", qtTrId("str_SET_gnomeExtensionEnable"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(gnomeExtensionTip, 1);
    row->addWidget(btnEnableGnomeExtension, 0, Qt::AlignTop);
    connect(btnEnableGnomeExtension, &QPushButton::clicked, this, &NVGnomeExtensionNotice::onBtnEnableClicked);
    connect(&watcher_, &QDBusServiceWatcher::serviceRegistered, this, &QWidget::hide);

    const bool answers = bus.isConnected() && bus.interface()->isServiceRegistered(nvGnomeFocusService);
    if (!nv_gnome_extension_wanted(qEnvironmentVariable("XDG_SESSION_TYPE").toStdString(),
                                   qEnvironmentVariable("XDG_CURRENT_DESKTOP").toStdString(), answers))
        hide();
}

bool NVGnomeExtensionNotice::onBtnEnableClicked()
{
    if (PosixProcessLauncher().spawnDetached(nv_gnome_extension_enable_command()))
        return true;
    nv_log("GNOME Shell extension: gnome-extensions cannot be started");
    return false;
}
