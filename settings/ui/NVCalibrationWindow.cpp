#include "settings/ui/NVCalibrationWindow.h"

#include "core/config/NVConfigIO.h"
#include "core/log/NVLog.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVOutlet.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

NVCalibrateView::NVCalibrateView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void NVCalibrateView::NextPoint(int n)
{
    m_CalibratePointCount = n;
    update();
}

void NVCalibrateView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const NVCrossPoint c = nv_cross_center(m_CalibratePointCount, width(), height());
    const QPointF centre(c.x, c.y);
    p.setPen(QPen(Qt::black, 2));
    for (const QPointF dir : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
        p.drawLine(centre + dir * 10, centre + dir * 40);
    p.fillRect(QRectF(centre - QPointF(3, 3), QSizeF(6, 6)), Qt::red);
}

NVCalibrationWindow::NVCalibrationWindow(QScreen* screen, NotificationCenter& bus, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName("WCCalibrate");
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setFocusPolicy(Qt::StrongFocus);

    m_ViewCalibrate = nv_outlet(new NVCalibrateView(this), "m_ViewCalibrate", qtTrId("str_Calibrate_label"));
    calibtateLabel = nv_outlet(new QLabel(qtTrId("str_Calibrate_label")), "calibtateLabel", qtTrId("str_Calibrate_label"));
    calibtateLabel->setAlignment(Qt::AlignCenter);
    QFont big = calibtateLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    calibtateLabel->setFont(big);
    restoreBtn = nv_outlet(new QPushButton(qtTrId("str_Calibrate_Restore")), "restoreBtn", qtTrId("str_Calibrate_Restore"));
    cancelBtn = nv_outlet(new QPushButton(qtTrId("str_Calibrate_Cancel")), "cancelBtn", qtTrId("str_Calibrate_Cancel"));
    restoreBtn->setFocusPolicy(Qt::NoFocus);
    cancelBtn->setFocusPolicy(Qt::NoFocus);
    connect(restoreBtn, &QPushButton::clicked, this, &NVCalibrationWindow::RestoreButtonClick);
    connect(cancelBtn, &QPushButton::clicked, this, &NVCalibrationWindow::CancelButtonClick);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(restoreBtn);
    buttons->addWidget(cancelBtn);
    buttons->addStretch();
    auto* column = new QVBoxLayout(this);
    // Between the middle row of crosses (50 %) and the last (90 %).
    column->addStretch(13);
    column->addWidget(calibtateLabel);
    column->addSpacing(16);
    column->addLayout(buttons);
    column->addStretch(6);

    if (screen) {
        setScreen(screen);
        setGeometry(screen->geometry());
        // A display unplugged under the window ends the run as a cancel.
        connect(qApp, &QGuiApplication::screenRemoved, this, [this, screen](QScreen* gone) {
            if (gone == screen)
                CancelButtonClick();
        });
    }
    collector_.restart();
    _driverNotification = std::make_unique<NVNotificationUIPeer>(*this, bus);
    _driverNotification->notifyStartCalibrate();
}

NVCalibrationWindow::~NVCalibrationWindow()
{
    finish(Result::Cancelled);
}

void NVCalibrationWindow::handleTabletInfo(const NVTabletInfo& ti)
{
    nv_log("VControllerCalibrate handleTabletInfo:%s", ti.sDevVer);
}

void NVCalibrationWindow::handlePenData(const NVPenData& pd)
{
    if (finished_)
        return;
    switch (collector_.handlePenData(pd.pt.x, pd.pt.y)) {
    case NVCalibrationCollector::Step::Ignored: return;
    case NVCalibrationCollector::Step::Next: m_ViewCalibrate->NextPoint(collector_.count()); return;
    case NVCalibrationCollector::Step::Complete: do_carlibration(); return;
    case NVCalibrationCollector::Step::Close: finish(Result::Cancelled); return;
    }
}

void NVCalibrationWindow::do_carlibration()
{
    const auto factors =
        nv_calibration_fit(collector_.contacts(), g_ui.ti.maxX, g_ui.ti.maxY, g_ui.cfg.rotateAngle);
    if (!factors) {
        // The previous calibration stays in force; the user starts again from cross 0.
        calibtateLabel->setText(qtTrId("str_Calibrate_again"));
        collector_.restart();
        m_ViewCalibrate->NextPoint(0);
        return;
    }
    nv_store_calibration(&g_ui.cfg, factors);
    saveAndNotify();
    finish(Result::Calibrated);
}

void NVCalibrationWindow::RestoreButtonClick()
{
    nv_store_calibration(&g_ui.cfg, std::nullopt);
    saveAndNotify();
    finish(Result::Restored);
}

void NVCalibrationWindow::CancelButtonClick()
{
    finish(Result::Cancelled);
}

void NVCalibrationWindow::saveAndNotify()
{
    if (!NVConfigIO::saveNVConfig(&g_ui.cfg, "", &g_ui.ti))
        nv_alert(this, {qtTrId("str_M_error"), qtTrId("str_SET_unknowError"), {qtTrId("str_M_ok")}});
    // The agent reads the file only when a tablet arrives: it gets the record itself.
    NVConfigIO::synchronousCfgData(&g_ui.cfg);
    _driverNotification->notifyConfigChanged();
}

void NVCalibrationWindow::finish(Result result)
{
    if (finished_)
        return;
    finished_ = true;
    collector_.restart();
    _driverNotification->notifyEndCalibrate();
    _driverNotification.reset();
    emit finished(result);
    if (isVisible())
        close();
}

void NVCalibrationWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        CancelButtonClick();
    else
        QWidget::keyPressEvent(event);
}

void NVCalibrationWindow::closeEvent(QCloseEvent* event)
{
    finish(Result::Cancelled);
    QWidget::closeEvent(event);
}

void NVCalibrationWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_ViewCalibrate->setGeometry(rect());
}
