#include "settings/ui/ViewController.h"

#include "agent/AttributeQueryService.h"
#include "core/channel/NVNotificationNames.h"
#include "core/config/NVConfigIO.h"
#include "core/device/NVModelTable.h"
#include "core/device/libCross/nvParse.h"
#include "core/log/NVLog.h"
#include "settings/logic/NVRemovalPlan.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAgentLauncher.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVPages.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/NVUninstaller.h"
#include "settings/ui/NVUpdateOffer.h"
#include "settings/ui/NuvroUtils.h"

#include <QApplication>
#include <QDBusServiceWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kBatteryPollMs = 30000;
constexpr const char* kOlderDriver = "NuvroTabletConsole";
constexpr const char* kCaptionKeys[NVTAB_COUNT] = {"str_M_ekey", "str_M_pen", "str_M_workarea", "str_M_info"};

QPushButton* bottom_button(const char* key, const char* outlet)
{
    auto* b = nv_outlet(new QPushButton(qtTrId(key)), outlet, qtTrId(key));
    b->setMinimumWidth(96);
    return b;
}

const NVFlavourTraits& traits()
{
    return nv_flavour_traits(nv_app_context().bundle.flavour);
}

QString res_format(const char* format, int n)
{
    return QString::asprintf(format, nv_app_context().resPath.c_str(), n);
}

} // namespace

ViewController::ViewController(NotificationCenter& bus, QWidget* parent) : QWidget(parent), bus_(bus)
{
    setObjectName(traits().mainViewId);
    const bool primary = traits().captionsWhiteLeft;
    const QString ink = traits().whiteStateLabel ? "white" : "black";

    imageView = nv_outlet(new QLabel(this), "imageView", qtTrId("str_M_background"));
    if (traits().background)
        imageView->setPixmap(QPixmap(res_format(traits().background, 0)));
    imageView->setScaledContents(true);
    imageView->lower();

    auto* tabs = new QHBoxLayout;
    tabs->setSpacing(18);
    for (int i = 0; i < NVTAB_COUNT; ++i) {
        auto* button = nv_outlet(new QToolButton, QString("_switchBtns%1").arg(i).toLatin1().constData(),
                                 qtTrId(kCaptionKeys[i]));
        button->setIcon(QPixmap(res_format(traits().tabIconFormat, i)));
        button->setIconSize(QSize(48, 48));
        button->setAutoRaise(true);
        button->setProperty("tag", i);
        connect(button, &QToolButton::clicked, this, [this, i] { clickSwitch(i); });
        auto* caption = nv_outlet(new QLabel(qtTrId(kCaptionKeys[i])), QString("_switchLabel%1").arg(i).toLatin1().constData(),
                                  qtTrId(kCaptionKeys[i]));
        QFont font = caption->font();
        font.setPixelSize(12);
        caption->setFont(font);
        caption->setWordWrap(true);
        caption->setAlignment(primary ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        caption->setStyleSheet(QString("color: %1; background: transparent;").arg(primary ? "white" : "black"));
        auto* column = new QVBoxLayout;
        column->setSpacing(2);
        column->addWidget(button, 0, Qt::AlignHCenter);
        column->addWidget(caption, 0, Qt::AlignHCenter);
        tabs->addLayout(column);
        _switchBtns[i] = button;
        _switchLabel[i] = caption;
    }
    tabs->addStretch(1);
    _labelTabletState = nv_outlet(new QLabel, "_labelTabletState", qtTrId("str_I_dev_closed"));
    _labelTabletState->setStyleSheet(QString("color: %1; background: transparent; font-size: 14px;").arg(ink));
    statusBox_ = new QHBoxLayout;
    statusBox_->setSpacing(8);
    statusBox_->addWidget(_labelTabletState);
    tabs->addLayout(statusBox_);

    const char* containerName = traits().keltaContainer ? "_containerKeltaUI" : "_container";
    _container = nv_outlet(new QWidget, containerName, qtTrId("str_M_info"));
    _container->setAttribute(Qt::WA_StyledBackground);
    _container->setStyleSheet(QString("#%1 { background: rgba(255, 255, 255, 240); border-radius: 10px; }")
                                  .arg(containerName));
    auto* pageLayout = new QVBoxLayout(_container);
    pageLayout->setContentsMargins(16, 16, 16, 16);

    _btnImport = bottom_button("str_M_import", "_btnImport");
    _btnExport = bottom_button("str_M_export", "_btnExport");
    _btnDefault = bottom_button("str_M_default", "_btnDefault");
    _btnOk = bottom_button("str_M_ok", "_btnOk");
    _btnApply = bottom_button("str_M_apply", "_btnApply");
    _btnClose = bottom_button("str_M_close", "_btnClose");
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {_btnImport, _btnExport, _btnDefault})
        buttons->addWidget(b);
    buttons->addStretch(1);
    for (QPushButton* b : {_btnOk, _btnApply, _btnClose})
        buttons->addWidget(b);
    connect(_btnImport, &QPushButton::clicked, this, &ViewController::clickImport);
    connect(_btnExport, &QPushButton::clicked, this, &ViewController::clickExport);
    connect(_btnDefault, &QPushButton::clicked, this, &ViewController::clickDefualtConfig);
    connect(_btnOk, &QPushButton::clicked, this, &ViewController::clickOk);
    connect(_btnApply, &QPushButton::clicked, this, &ViewController::clickApply);
    connect(_btnClose, &QPushButton::clicked, this, &ViewController::clickClose);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(24, 18, 24, 18);
    root->setSpacing(14);
    root->addLayout(tabs);
    root->addWidget(_container, 1);
    root->addLayout(buttons);

    localTokens_.push_back(nv_ui_center().observe(nvUiConfigChangeToMainView, [this](const std::string&, const NVPlistDict&) {
        state_.edited();
        applyControls();
    }));
    _driverNotification = std::make_unique<NVNotificationUIPeer>(*this, bus_);
    _driverNotification->notifyQueryTabletInfo();
    refreshView();
    localTokens_.push_back(nv_ui_center().observe(nvUiDidImport, [this](const std::string&, const NVPlistDict&) {
        state_.edited();
        applyControls();
    }));
}

ViewController::~ViewController()
{
    _driverNotification.reset();
    for (auto token : localTokens_)
        nv_ui_center().removeObserver(token);
    for (auto token : messageTokens_)
        bus_.removeObserver(token);
    if (batteryToken_)
        bus_.removeObserver(batteryToken_);
}

void ViewController::handleConfigChanged()
{
    NVSubViewController::notifyNVConfigChangedToSubView();
}

void ViewController::handleTabletInfo(const NVTabletInfo& ti)
{
    g_ui.ti = ti;
    refreshView();
    NVSubViewController::notifyNVConfigChangedToSubView();
}

void ViewController::handleRemoveApp()
{
    NVConfigIO::synchronousCfgData(&g_ui.cfg);
    NVSubViewController::notifyNVConfigChangedToSubView();
    if (state_.page() != NVTAB_INFO || !_vcCurr)
        clickSwitch(NVTAB_INFO);
}

void ViewController::watchAgent(const QDBusConnection& connection)
{
    auto* watcher = new QDBusServiceWatcher(nvAttributeQueryService, connection,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        nv_log("the agent left the bus");
        if (g_ui.ti.devType != NVTT_UNKNOW)
            handleTabletInfo(NVTabletInfo{});
    });
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this,
            [this] { _driverNotification->notifyQueryTabletInfo(); });
}

void ViewController::refreshView()
{
    const uint32_t devType = g_ui.ti.devType;
    const char* modelId = get_dev_type(devType);
    nv_log("refreshView: %s", modelId);
    g_ui.bTabletOpened = nv_flavour_accepts_tablet(nv_app_context().bundle.flavour, devType);
    setKeltaDomesticVersionLanguage(modelId);
    const char* stateKey = g_ui.bTabletOpened ? "str_I_dev_opened" : "str_I_dev_closed";
    _labelTabletState->setText(qtTrId(stateKey));
    _labelTabletState->setAccessibleName(qtTrId(stateKey));
    if (g_ui.bTabletOpened) {
        NVConfigIO::readXml(std::string(), &g_ui.cfg, &g_ui.ti);
        NVConfigIO::readPenLayout(&g_ui.penLayout, get_pen_node_in_xml(devType));
        NVConfigIO::readTabletLayout(&g_ui.tabletLayout, &g_ui.ti, &g_ui.cfg);
        onOpenTablet();
        const NVLayoutTablet& l = g_ui.tabletLayout;
        const float cx = static_cast<float>(l.size.cx), cy = static_cast<float>(l.size.cy);
        if (cx > 0 && cy > 0)
            g_ui.tabletAreaRatio = {static_cast<float>(l.workarea.left) / cx, static_cast<float>(l.workarea.top) / cy,
                                    static_cast<float>(l.workarea.right) / cx, static_cast<float>(l.workarea.bottom) / cy};
    } else {
        onCloseTablet();
    }
    if (nv_has_battery(devType))
        startBatteryPoll();
}

void ViewController::setKeltaDomesticVersionLanguage(const char* modelId)
{
    nv_log("setKeltaDomesticVersionLanguage: %s", modelId);
}

void ViewController::onOpenTablet()
{
    const int shown = _vcCurr ? state_.page() : -1;
    state_.openTablet();
    if (shown != NVTAB_INFO)
        showPage(NVTAB_INFO);
    applyControls();
}

void ViewController::onCloseTablet()
{
    const int shown = _vcCurr ? state_.page() : -1;
    state_.closeTablet();
    if (shown != NVTAB_INFO)
        showPage(NVTAB_INFO);
    applyControls();
    NVSubViewController::notifyTabletStateChangedToSubView();
}

void ViewController::clickSwitch(int tag)
{
    if (!state_.switchTo(tag))
        return;
    showPage(tag);
    applyControls();
}

void ViewController::showPage(int tag)
{
    if (_vcCurr) {
        _container->layout()->removeWidget(_vcCurr);
        delete _vcCurr;
        _vcCurr = nullptr;
    }
    _vcCurr = nv_instantiate_page(nv_tab_page_id(tag), _container);
    _container->layout()->addWidget(_vcCurr);
    _vcCurr->show();
}

void ViewController::applyControls()
{
    const NVMainControls& c = state_.controls();
    for (int i = 0; i < NVTAB_COUNT; ++i)
        _switchBtns[i]->setEnabled(c.tabs[i]);
    _btnImport->setEnabled(c.importBtn);
    _btnExport->setEnabled(c.exportBtn);
    _btnDefault->setEnabled(c.defaultBtn);
    _btnOk->setEnabled(c.ok);
    _btnApply->setEnabled(c.apply);
}

void ViewController::clickApply()
{
    NVConfigIO::synchronousCfgData(&g_ui.cfg);
    _driverNotification->notifyConfigChanged();
    state_.applied();
    applyControls();
}

void ViewController::clickOk()
{
    clickApply();
    clickClose();
    QApplication::quit();
}

void ViewController::clickClose()
{
    window()->close();
}

void ViewController::clickDefualtConfig()
{
    NVConfigIO::readDefaultConfig(&g_ui.cfg, &g_ui.ti);
    NVSubViewController::notifyNVConfigChangedToSubView();
    NVSubViewController::notifyNVConfigChangedToMainView();
}

void ViewController::clickImport()
{
    const QString path = nv_open_xml(this, qtTrId("str_M_import_panel"));
    if (path.isEmpty())
        return;
    if (!NVConfigIO::readXml(path.toStdString(), &g_ui.cfg, &g_ui.ti)) {
        nv_alert(this, {qtTrId("str_M_error"), qtTrId("str_I_XML_file_invalid"), {qtTrId("str_M_ok")}});
        return;
    }
    NVSubViewController::notifyNVConfigChangedToSubView();
}

void ViewController::clickExport()
{
    const QString proposed = QString::asprintf("%s_config.xml", get_dev_type(g_ui.ti.devType));
    const QString path = nv_save_xml(this, qtTrId("str_M_export_panel"), proposed);
    if (path.isEmpty())
        return;
    if (!NVConfigIO::saveNVConfig(&g_ui.cfg, path.toStdString(), &g_ui.ti))
        nv_alert(this, {qtTrId("str_M_error"), qtTrId("str_SET_unknowError"), {qtTrId("str_M_ok")}});
}

void ViewController::checkForUpdates()
{
    nv_check_for_updates(this, &bus_);
}

void ViewController::startBatteryPoll()
{
    bus_.post(nvNotificationQueryBatteryPower, {});
    if (_timer)
        return;
    _timer = new QTimer(this);
    _timer->setInterval(kBatteryPollMs);
    connect(_timer, &QTimer::timeout, this, [this] {
        nv_log("requestBatteryPower");
        bus_.post(nvNotificationQueryBatteryPower, {});
    });
    _timer->start();
    batteryToken_ = bus_.observe(nvNotificationQueryBatteryPowerForUI,
                                 [this](const std::string&, const NVPlistDict& info) { battery(info); });
}

void ViewController::battery(const NVPlistDict& info)
{
    const auto percent = batteryLevel_.report(nv_plist_int(info, nvKeyCurrentPower));
    if (!percent)
        return;
    _batteryImageView = nv_outlet(new QLabel, "_batteryImageView", qtTrId("str_M_battery"));
    _batteryImageView->setPixmap(
        QPixmap(QString::fromStdString(nv_battery_picture(nv_app_context().resPath, *percent))));
    _batterylabel = nv_outlet(new QLabel(QString::fromStdString(nv_battery_text(*percent))), "_batterylabel",
                              qtTrId("str_M_battery"));
    _batterylabel->setStyleSheet("color: white; background: transparent; font-size: 12px;");
    statusBox_->addWidget(_batteryImageView);
    statusBox_->addWidget(_batterylabel);
}

void ViewController::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (nv_program_running(kOlderDriver))
        executeClean();
    observeMessages();
}

void ViewController::hideEvent(QHideEvent* event)
{
    for (auto token : messageTokens_)
        bus_.removeObserver(token);
    messageTokens_.clear();
    nv_ui_center().post(nvUiApplicationTerminate, {});
    QWidget::hideEvent(event);
}

void ViewController::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    imageView->setGeometry(rect());
}

void ViewController::observeMessages()
{
    if (!messageTokens_.empty())
        return;
    messageTokens_.push_back(bus_.observe(nvNotificationIsNeedUpdate, [](const std::string&, const NVPlistDict& info) {
        didNeedUpdate = nv_plist_string(info, nvKeyIsNeedUpdate) == "YES" &&
                        nv_app_context().bundle.flavour != NVFlavour::Second;
        if (didNeedUpdate)
            NuvroUtils::setUpdateTips_New();
        else
            NuvroUtils::setUpdateTips_Nil();
    }));
    messageTokens_.push_back(bus_.observe(nvNotificationNetworkErrors, [this](const std::string&, const NVPlistDict& info) {
        if (!nv_plist_string(info, nvKeyNetworkError).empty())
            nv_alert(this, {qtTrId("str_M_prompt"), qtTrId("str_SET_poorNetWork"), {qtTrId("str_M_ok")}});
    }));
    messageTokens_.push_back(bus_.observe(nvNotificationMoveFileError, [this](const std::string&, const NVPlistDict& info) {
        if (!nv_plist_string(info, nvKeyMoveFileError).empty())
            nv_alert(this, {qtTrId("str_M_error"), qtTrId("str_SET_unknowError"), {qtTrId("str_M_ok")}});
    }));
    messageTokens_.push_back(bus_.observe(nvNotificationConfirmUninstall,
                                          [this](const std::string&, const NVPlistDict& info) { executeUninstall(info); }));
}

void ViewController::executeUninstall(const NVPlistDict& info)
{
    if (!nv_execute_uninstall(QString::fromStdString(nv_plist_string(info, nvKeyInstallPath)))) {
        nv_alert(this, {qtTrId("str_M_error"), qtTrId("str_SET_uninstallFailed"), {qtTrId("str_M_ok")}});
        return;
    }
    window()->close();
    QApplication::quit();
}

void ViewController::executeClean()
{
    const NVRemovalPlan plan = KillOldVersionProcessAndStuffs(NVFsProbe());
    nv_run_privileged(get_cur_path(), plan.privileged);
}
