#include "agent/AppDelegate.h"

#include "agent/AgentPorts.h"
#include "agent/AgentUtils.h"
#include "agent/AttributeQueryService.h"
#include "agent/TipWindow.h"
#include "core/channel/NVNotificationNames.h"
#include "core/driver/NVDevUSB.h"
#include "core/log/NVLog.h"

#include <QDBusConnection>

AppDelegate::AppDelegate(AgentPorts& ports) : ports_(ports) {}

AppDelegate::~AppDelegate()
{
    applicationWillTerminate();
    if (tipToken_)
        ports_.center().removeObserver(tipToken_);
}

void AppDelegate::applicationDidFinishLaunching()
{
    if (AgentUtils::isDaemon())
        nv_log("startup file exist");
    else
        AgentUtils::installDaemon();

    attributes_ = std::make_unique<AttributeQueryService>();
    attributes_->registerOn(QDBusConnection::sessionBus());

    usb_ = std::make_unique<NVDevUSB>(ports_.services());
    usb_->listen();

    tipToken_ = ports_.center().observe(nvNotificationContextMEkeyChanged,
                                        [this](const std::string&, const NVPlistDict& userInfo) {
                                            if (tip_)
                                                tip_->showTipPanal(userInfo);
                                        });

    // The agent has no window to hide: it never shows one but the tip.
    tip_ = std::make_unique<TipWindow>();
}

void AppDelegate::applicationWillTerminate()
{
    if (terminated_ || !usb_)
        return;
    terminated_ = true;
    usb_->close();
}
