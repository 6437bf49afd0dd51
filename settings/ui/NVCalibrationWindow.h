// The pen-display calibration window: frameless and full screen on one display, nine
// crosses one after the other, one contact per cross from the agent's pen samples; the fit
// is saved and the agent told. The agent posts samples instead of moving the pointer from
// the window's opening until it closes, however it closes.
#pragma once

#include "core/channel/NVNotificationUIPeer.h"
#include "settings/logic/NVCalibrationFit.h"

#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QScreen;

// Draws the current cross.
class NVCalibrateView : public QWidget {
    Q_OBJECT
public:
    explicit NVCalibrateView(QWidget* parent = nullptr);
    void NextPoint(int n);
    int pointCount() const { return m_CalibratePointCount; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_CalibratePointCount = 0;
};

class NVCalibrationWindow : public QWidget, public NVProtocolNotificationUIPeer {
    Q_OBJECT
public:
    enum class Result { Cancelled, Calibrated, Restored };

    // screen: where the window shows (null: where Qt puts it); bus: the channel to the
    // agent, which must outlive the window.
    NVCalibrationWindow(QScreen* screen, NotificationCenter& bus, QWidget* parent = nullptr);
    ~NVCalibrationWindow() override;

    void handleConfigChanged() override {}
    void handleTabletInfo(const NVTabletInfo& ti) override;
    void handlePenData(const NVPenData& pd) override;
    void handleRemoveApp() override {}

    void RestoreButtonClick();
    void CancelButtonClick();

    int pointCount() const { return collector_.count(); }
    NVCalibrateView* view() const { return m_ViewCalibrate; }

signals:
    // Once, when the window has closed for good.
    void finished(NVCalibrationWindow::Result result);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void do_carlibration();
    void saveAndNotify();
    void finish(Result result);

    NVCalibrationCollector collector_;
    NVCalibrateView* m_ViewCalibrate;
    QPushButton* restoreBtn;
    QPushButton* cancelBtn;
    QLabel* calibtateLabel;
    std::unique_ptr<NVNotificationUIPeer> _driverNotification;
    bool finished_ = false;
};
