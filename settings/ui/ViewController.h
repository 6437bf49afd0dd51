// The main view: four tabs over a page area, the tablet's state, the battery, and the
// bottom buttons. It learns about the tablet only from the agent, through its peer.
#pragma once

#include "core/channel/NVNotificationUIPeer.h"
#include "settings/logic/NVBattery.h"
#include "settings/logic/NVMainViewState.h"
#include "settings/ui/NVSubViewController.h"

#include <QWidget>

#include <array>
#include <vector>

class QDBusConnection;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTimer;
class QToolButton;

class ViewController : public QWidget, public NVProtocolNotificationUIPeer {
    Q_OBJECT
public:
    // bus: the channel to the other programs; it must outlive the view.
    explicit ViewController(NotificationCenter& bus, QWidget* parent = nullptr);
    ~ViewController() override;

    // NVProtocolNotificationUIPeer
    void handleConfigChanged() override;
    void handleTabletInfo(const NVTabletInfo& ti) override;
    void handlePenData(const NVPenData&) override {}
    void handleRemoveApp() override;

    // Follows the agent on that bus: when it goes away the tablet goes with it, and a new
    // agent is asked for its tablet.
    void watchAgent(const QDBusConnection& connection);

    void refreshView();
    void clickSwitch(int tag);
    void clickApply();
    void clickOk();
    void clickClose();
    void clickDefualtConfig();
    void clickImport();
    void clickExport();
    // Starts the helper when it is not running, then offers the update it found, if any.
    void checkForUpdates();

    NVSubViewController* currentPage() const { return _vcCurr; }
    const NVMainViewState& state() const { return state_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Every flavour speaks the system's language; the model is only recorded in the log.
    void setKeltaDomesticVersionLanguage(const char* modelId);
    void onOpenTablet();
    void onCloseTablet();
    void showPage(int tag);
    void applyControls();
    void startBatteryPoll();
    void battery(const NVPlistDict& info);
    void observeMessages();
    void executeUninstall(const NVPlistDict& info);
    void executeClean();

    NotificationCenter& bus_;
    NVMainViewState state_;
    NVBatteryIndicator batteryLevel_;

    QLabel* imageView;
    std::array<QToolButton*, NVTAB_COUNT> _switchBtns{};
    std::array<QLabel*, NVTAB_COUNT> _switchLabel{};
    QWidget* _container;
    QLabel* _labelTabletState;
    QHBoxLayout* statusBox_; // the state label, then the battery
    QLabel* _batteryImageView = nullptr;
    QLabel* _batterylabel = nullptr;
    QTimer* _timer = nullptr;
    QPushButton* _btnImport;
    QPushButton* _btnExport;
    QPushButton* _btnDefault;
    QPushButton* _btnOk;
    QPushButton* _btnApply;
    QPushButton* _btnClose;
    NVSubViewController* _vcCurr = nullptr;

    std::vector<NotificationCenter::Token> localTokens_;
    std::vector<NotificationCenter::Token> messageTokens_; // while shown
    NotificationCenter::Token batteryToken_ = 0;
    // Made last: its observers call back into a complete view.
    std::unique_ptr<NVNotificationUIPeer> _driverNotification;
};
