#include "settings/ui/VControllerPen.h"

#include "core/device/libCross/nvParse.h"
#include "settings/logic/NVPenPicture.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVEkeyValDialog.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVPressViews.h"
#include "settings/ui/NVThirdPartAppListController.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/VControllerEkeyVal.h"
#include "settings/ui/ViewController.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int kButtonX = 160;
constexpr int kButtonWidth = 200;
constexpr int kButtonHeight = 30;
constexpr int kSliderScale = 10; // the slider moves in tenths of a step

NVContextEkeys& context()
{
    const int i = currentAppIndex >= 0 && currentAppIndex < NV_CONTEXT_MAX ? currentAppIndex : 0;
    return g_ui.cfg.contexts[i];
}

} // namespace

// The pen picture and the leader lines from its buttons to their function buttons.
class ViewPen : public QWidget {
public:
    using QWidget::QWidget;
    void setPicture(const QPixmap& picture) { picture_ = picture; relayout(); }
    // Buttons of the pen layout that the pen has (the tip and pbtnNum barrel buttons).
    int buttonCount() const
    {
        const int has = g_ui.bTabletOpened ? g_ui.ti.pbtnNum + 1 : 0;
        return std::min({has, static_cast<int>(g_ui.penLayout.ekNum), 3});
    }
    const NVPenLeader& leader(int i) const { return leaders_[static_cast<size_t>(i)]; }
    void relayout()
    {
        const NVLayoutPen& l = g_ui.penLayout;
        scale_ = l.size.cy > 0 ? std::min(1.0, static_cast<double>(height() - 8) / l.size.cy) : 1.0;
        origin_ = {20, 4};
        for (int i = 0; i < buttonCount(); ++i)
            leaders_[static_cast<size_t>(i)] = nv_pen_leader(l.ekLayouts[i], origin_, scale_, kButtonX, kButtonHeight);
        update();
    }

protected:
    void resizeEvent(QResizeEvent*) override { relayout(); }
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const NVLayoutPen& l = g_ui.penLayout;
        if (!picture_.isNull() && l.size.cx > 0)
            p.drawPixmap(QRect(origin_.x, origin_.y, static_cast<int>(l.size.cx * scale_),
                               static_cast<int>(l.size.cy * scale_)),
                         picture_);
        p.setPen(QPen(Qt::gray, 1));
        for (int i = 0; i < buttonCount(); ++i)
            p.drawLine(QPoint(leaders_[i].from.x, leaders_[i].from.y), QPoint(leaders_[i].to.x, leaders_[i].to.y));
    }

private:
    QPixmap picture_;
    double scale_ = 1.0;
    NVPoint origin_{};
    std::array<NVPenLeader, 3> leaders_{};
};

VControllerPen::VControllerPen(QWidget* parent) : NVSubViewController(parent)
{
    _imgPen = nv_outlet(new ViewPen(this), "_imgPen", qtTrId("str_P_pen_picture"));
    const char* outlets[3] = {"_btnNib", "_btnBelow", "_btnAbove"};
    const char* names[3] = {"str_EKV_mouse_point", "str_P_lower_button", "str_P_upper_button"};
    for (int i = 0; i < 3; ++i) {
        buttons_[static_cast<size_t>(i)] = nv_outlet(new QPushButton(_imgPen), outlets[i], qtTrId(names[i]));
        connect(buttons_[static_cast<size_t>(i)], &QPushButton::clicked, this, [this, i] { clickBtnEkey(i); });
    }
    _labelSetPress = nv_outlet(new QLabel(qtTrId("str_P_set_press_sensive")), "_labelSetPress",
                               qtTrId("str_P_set_press_sensive"));
    _sliderPress = nv_outlet(new QSlider(Qt::Horizontal), "_sliderPress", qtTrId("str_P_set_press_sensive"));
    _sliderPress->setRange(-4 * kSliderScale, 4 * kSliderScale);
    _sliderPress->setSingleStep(kSliderScale);
    _sliderPress->setPageStep(kSliderScale);
    _sliderPress->setTickInterval(kSliderScale);
    _sliderPress->setTickPosition(QSlider::TicksBelow);
    _viewPress = nv_outlet(new ViewPressCurve, "_viewPress", qtTrId("str_P_press_curve"));
    _viewPress->setFixedSize(140, 140);
    _chkMouseMode = nv_outlet(new QCheckBox(qtTrId("str_P_mouse_mode")), "_chkMouseMode", qtTrId("str_P_mouse_mode"));
    labelPressureTestHint = nv_outlet(new QLabel(qtTrId("Pressuretest")), "labelPressureTestHint", qtTrId("Pressuretest"));
    _viewTest = nv_outlet(new ViewPressTest, "_viewTest", qtTrId("Pressuretest"));
    _pressView = nv_outlet(new PressValueView, "_pressView", qtTrId("str_P_press_bar"));
    _pressView->setFixedSize(16, ViewPressTest::kHeight);
    _btnTest = nv_outlet(new QPushButton(qtTrId("str_P_test_end")), "_btnTest", qtTrId("Pressuretest"));
    _btnClear = nv_outlet(new QPushButton(qtTrId("str_P_clear")), "_btnClear", qtTrId("str_P_clear"));
    const QString clean = nv_res_file("clean.png");
    if (QFile::exists(clean))
        _btnClear->setIcon(QIcon(clean));

    auto* press = new QVBoxLayout;
    press->addWidget(_labelSetPress);
    press->addWidget(_sliderPress);
    press->addWidget(_viewPress, 0, Qt::AlignHCenter);
    press->addWidget(_chkMouseMode);
    press->addStretch(1);
    auto* test = new QGridLayout;
    test->addWidget(labelPressureTestHint, 0, 0, 1, 3);
    test->addWidget(_viewTest, 1, 0, 1, 2);
    test->addWidget(_pressView, 1, 2);
    test->addWidget(_btnTest, 2, 0);
    test->addWidget(_btnClear, 2, 1);
    test->setRowStretch(3, 1);
    auto* grid = new QGridLayout(this);
    grid->addWidget(_imgPen, 0, 0);
    grid->addLayout(press, 0, 1);
    grid->addLayout(test, 0, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnMinimumWidth(0, kButtonX + kButtonWidth + 10);
    grid->setColumnMinimumWidth(1, 180);

    connect(_sliderPress, &QSlider::sliderReleased, this, &VControllerPen::clickSlider);
    connect(_sliderPress, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove)
            QMetaObject::invokeMethod(this, &VControllerPen::clickSlider, Qt::QueuedConnection);
    });
    connect(_chkMouseMode, &QCheckBox::clicked, this, &VControllerPen::actionMouseMode);
    connect(_btnTest, &QPushButton::clicked, this, &VControllerPen::clickBtnTest);
    connect(_btnClear, &QPushButton::clicked, this, &VControllerPen::clickBtnClear);
    connect(_viewTest, &ViewPressTest::pressureChanged, _pressView, &PressValueView::setProgressValue);
    connect(_viewTest, &ViewPressTest::strokeEnded, _pressView, [this] { _pressView->setProgressValue(0); });
    appEditToken_ = nv_ui_center().observe(nvUiSelectedAppStartEdit,
                                           [this](const std::string&, const NVPlistDict&) { updateNVConfigToView(); });
    layoutToken_ = nv_ui_center().observe(nvUiKeyLayoutChanged,
                                          [this](const std::string&, const NVPlistDict&) { showButtonFunctions(); });
    loadPicture();
    updateNVConfigToView();
}

VControllerPen::~VControllerPen()
{
    nv_ui_center().removeObserver(appEditToken_);
    nv_ui_center().removeObserver(layoutToken_);
}

void VControllerPen::handleNotificationNTabletStateChangedInSubView()
{
    loadPicture();
    updateNVConfigToView();
}

void VControllerPen::loadPicture()
{
    const bool opened = g_ui.bTabletOpened;
    _imgPen->setPicture(QPixmap(
        opened ? nv_res_file((std::string("pen_") + get_pen_node_in_xml(g_ui.ti.devType) + ".png").c_str()) : QString()));
    _viewTest->setMaxPressure(g_ui.ti.maxP);
    const bool display = g_ui.ti.bMonitor != 0;
    _chkMouseMode->setVisible(!display);
    _chkMouseMode->setEnabled(!display);
    placeButtons();
}

void VControllerPen::resizeEvent(QResizeEvent* event)
{
    NVSubViewController::resizeEvent(event);
    placeButtons();
}

void VControllerPen::placeButtons()
{
    _imgPen->relayout();
    const int n = _imgPen->buttonCount();
    for (int i = 0; i < 3; ++i) {
        QPushButton* b = buttons_[static_cast<size_t>(i)];
        b->setVisible(i < n);
        if (i < n) {
            const NVPoint o = _imgPen->leader(i).buttonOrigin;
            b->setGeometry(o.x, o.y, kButtonWidth, kButtonHeight);
        }
    }
}

void VControllerPen::showButtonFunctions()
{
    NVContextEkeys& c = context();
    for (int i = 0; i < 3; ++i) {
        const QString text = string_from_ekey(&c.pbtns[i]);
        buttons_[static_cast<size_t>(i)]->setText(text);
        buttons_[static_cast<size_t>(i)]->setToolTip(text);
    }
}

void VControllerPen::updateNVConfigToView()
{
    showButtonFunctions();
    _sliderPress->setValue(g_ui.cfg.pressFactor * kSliderScale);
    _viewPress->setPressFactor(g_ui.cfg.pressFactor);
    _chkMouseMode->setChecked(g_ui.cfg.bAbsoluteMode == 0);
    _viewTest->setBTest(false);
    clickBtnTest();
}

void VControllerPen::clickBtnEkey(int i)
{
    if (i < 0 || i >= 3 || !g_ui.bTabletOpened)
        return;
    NVEkey* record = &context().pbtns[i];
    VControllerEkeyVal::openDlgEkeyVal(this, record);
    showButtonFunctions();
}

void VControllerPen::clickSlider()
{
    const int step = static_cast<int>(std::lround(static_cast<double>(_sliderPress->value()) / kSliderScale));
    g_ui.cfg.pressFactor = step;
    _sliderPress->setValue(step * kSliderScale);
    _viewPress->setPressFactor(step);
    notifyNVConfigChangedToMainView();
    // Unlike every other edit, the sensitivity goes to the agent at once.
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* main = qobject_cast<ViewController*>(w)) {
            main->clickApply();
            break;
        }
}

void VControllerPen::actionMouseMode()
{
    g_ui.cfg.bAbsoluteMode = _chkMouseMode->isChecked() ? 0 : 1;
    notifyNVConfigChangedToMainView();
}

void VControllerPen::clickBtnTest()
{
    _viewTest->setBTest(!_viewTest->bTest());
    _btnTest->setText(qtTrId(_viewTest->bTest() ? "str_P_test_end" : "str_P_test_start"));
}

void VControllerPen::clickBtnClear()
{
    _pressView->setProgressValue(0);
    _viewTest->clear();
}
