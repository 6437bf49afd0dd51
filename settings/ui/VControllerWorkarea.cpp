#include "settings/ui/VControllerWorkarea.h"

#include "core/device/libCross/nvParse.h"
#include "core/log/NVLog.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVCalibrationWindow.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVScreens.h"
#include "settings/ui/NVWorkareaView.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

constexpr uint32_t kAngles[4] = {0, 90, 180, 270};
constexpr const char* kRadioOutlets[4] = {"_radioZero", "_radioNinety", "_radioTwoNinety", "_radioThreeNinety"};
constexpr const char* kRadioTitles[4] = {"0°", "90°", "180°", "270°"};
// Left, top, right, bottom, as NVWorkareaEdge counts them.
constexpr const char* kFieldOutlets[4] = {"_textLeft", "_textTop", "_textRight", "_textBottom"};
constexpr const char* kLabelOutlets[4] = {"_labelLeft", "_labelTop", "_labelRight", "_labelBottom"};
constexpr const char* kLabelKeys[4] = {"str_W_left", "str_W_top", "str_W_right", "str_W_bottom"};

double parse_fraction(const QString& text)
{
    bool ok = false;
    double v = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok)
        v = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? v : std::numeric_limits<double>::quiet_NaN();
}

float edge_value(const NVRectRatio& r, int edge)
{
    const float v[4] = {r.left, r.top, r.right, r.bottom};
    return v[edge];
}

} // namespace

VControllerWorkarea::VControllerWorkarea(QWidget* parent) : NVSubViewController(parent)
{
    _workAreaView = nv_outlet(new NVWorkareaView(this), "_workAreaView", qtTrId("str_W_custom_area"));
    _labelSelectScreen = nv_outlet(new QLabel(qtTrId("str_W_select_display")), "_labelSelectScreen",
                                   qtTrId("str_W_select_display"));
    _btnSelectSreen = nv_outlet(new QComboBox, "_btnSelectSreen", qtTrId("str_W_select_display"));
    _boxRotate = nv_outlet(new QGroupBox(qtTrId("str_W_rotate")), "_boxRotate", qtTrId("str_W_rotate"));
    _radios = new QButtonGroup(this);
    auto* radioRow = new QHBoxLayout(_boxRotate);
    for (int i = 0; i < 4; ++i) {
        radios_[i] = nv_outlet(new QRadioButton(QString::fromUtf8(kRadioTitles[i])), kRadioOutlets[i],
                               QString::fromUtf8(kRadioTitles[i]));
        _radios->addButton(radios_[i], static_cast<int>(kAngles[i]));
        radioRow->addWidget(radios_[i]);
    }
    _constumBoardLabel = nv_outlet(new QLabel(qtTrId("str_W_custom_area")), "_constumBoardLabel",
                                   qtTrId("str_W_custom_area"));
    auto* fields = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        edgeLabels_[i] = nv_outlet(new QLabel(qtTrId(kLabelKeys[i])), kLabelOutlets[i], qtTrId(kLabelKeys[i]));
        edgeFields_[i] = nv_outlet(new QLineEdit, kFieldOutlets[i], qtTrId(kLabelKeys[i]));
        edgeFields_[i]->setMaximumWidth(90);
        edgeLabels_[i]->setBuddy(edgeFields_[i]);
        fields->addWidget(edgeLabels_[i], i / 2, (i % 2) * 2);
        fields->addWidget(edgeFields_[i], i / 2, (i % 2) * 2 + 1);
        const auto edge = static_cast<NVWorkareaEdge>(i);
        connect(edgeFields_[i], &QLineEdit::editingFinished, this, [this, edge] { actionTextChanged(edge); });
    }
    _btnWhileBoard = nv_outlet(new QPushButton(qtTrId("str_W_full_area")), "_btnWhileBoard", qtTrId("str_W_full_area"));
    _btnScreenRatio =
        nv_outlet(new QPushButton(qtTrId("str_W_screen_ratio")), "_btnScreenRatio", qtTrId("str_W_screen_ratio"));
    _btnCalibration =
        nv_outlet(new QPushButton(qtTrId("str_W_calibrate")), "_btnCalibration", qtTrId("str_W_calibrate"));

    auto* side = new QVBoxLayout;
    side->addWidget(_labelSelectScreen);
    side->addWidget(_btnSelectSreen);
    side->addSpacing(10);
    side->addWidget(_boxRotate);
    side->addSpacing(10);
    side->addWidget(_constumBoardLabel);
    side->addLayout(fields);
    side->addWidget(_btnWhileBoard);
    side->addWidget(_btnScreenRatio);
    side->addStretch();
    side->addWidget(_btnCalibration);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(_workAreaView, 1);
    row->addLayout(side);

    connect(_btnSelectSreen, &QComboBox::activated, this, &VControllerWorkarea::actionPopBtn);
    connect(_radios, &QButtonGroup::idClicked, this, [this](int id) { actionRadio(static_cast<uint32_t>(id)); });
    connect(_btnWhileBoard, &QPushButton::clicked, this, &VControllerWorkarea::actionBtnWhileBoard);
    connect(_btnScreenRatio, &QPushButton::clicked, this, &VControllerWorkarea::actionBtnScreenRatio);
    connect(_btnCalibration, &QPushButton::clicked, this, &VControllerWorkarea::actionBtnCalibreation);
    connect(_workAreaView, &NVWorkareaView::didChangeWorkArea, this, &VControllerWorkarea::didChangeWorkArea);
    connect(_workAreaView, &NVWorkareaView::framesChanged, this, [this] {
        refreshScreenSnapshot();
        recomputeWorkareaRect(false);
    });

    _tabletRotateAngle = 0;
    displays_ = nv_open_display_source();
    displays_->setReconfigurationHandler([this] {
        refreshScreens();
        recomputeWorkareaRect(false);
    });
    loadTabletPicture();
    updateNVConfigToView();
}

VControllerWorkarea::~VControllerWorkarea()
{
    displays_->setReconfigurationHandler({});
}

void VControllerWorkarea::loadTabletPicture()
{
    tabletPicture_ = QImage();
    if (g_ui.bTabletOpened)
        tabletPicture_.load(nv_res_file((std::string("tablet_") + get_dev_type(g_ui.ti.devType) + ".png").c_str()));
}

void VControllerWorkarea::handleNotificationNTabletStateChangedInSubView()
{
    loadTabletPicture();
    updateNVConfigToView();
}

void VControllerWorkarea::updateNVConfigToView()
{
    // Without a tablet there is no area to edit.
    const bool opened = g_ui.bTabletOpened;
    for (QWidget* w : std::initializer_list<QWidget*>{_workAreaView, _btnSelectSreen, _boxRotate, _btnWhileBoard,
                                                      _btnScreenRatio})
        w->setEnabled(opened);
    for (QLineEdit* f : edgeFields_)
        f->setEnabled(opened);
    refreshScreens();
    refreshTextValue();
    for (int i = 0; i < 4; ++i)
        radios_[i]->setChecked(kAngles[i] == g_ui.cfg.rotateAngle);
    turnTabletPicture();
    recomputeWorkareaRect(false);
}

void VControllerWorkarea::refreshCalibrationButton()
{
    // Only a pen display has a screen of its own to calibrate.
    _btnCalibration->setVisible(g_ui.ti.bMonitor != 0);
    _btnCalibration->setEnabled(g_ui.bTabletOpened && g_ui.ti.bMonitor && g_ui.cfg.bAbsoluteMode && g_ui.cfg.curScreenIndex < _screenNum);
}

void VControllerWorkarea::refreshScreens()
{
    constexpr size_t kMaxScreens = 8;
    if (!displays_->activeDisplays(_screens))
        _screens.clear();
    if (_screens.size() > kMaxScreens)
        _screens.resize(kMaxScreens);
    _screenNum = _screens.size();
    _btnSelectSreen->clear();
    const std::string word = qtTrId("str_W_screen").toStdString();
    for (size_t i = 0; i < _screenNum; ++i) {
        const NVScreenRect& b = _screens[i].bounds;
        _btnSelectSreen->addItem(
            QString::fromStdString(nv_screen_item_title(word, static_cast<int>(i) + 1, b.width, b.height)));
    }
    if (nv_screen_menu_count(_screenNum) > _screenNum)
        _btnSelectSreen->addItem(qtTrId("str_W_all_screen"));
    g_ui.cfg.curScreenIndex = nv_normalize_screen_index(g_ui.cfg.curScreenIndex, _screenNum);
    _btnSelectSreen->setCurrentIndex(static_cast<int>(g_ui.cfg.curScreenIndex));
    refreshCalibrationButton();
    refreshScreenSnapshot();
}

void VControllerWorkarea::refreshScreenSnapshot()
{
    _imageScreen = nv_snapshot(_screens, g_ui.cfg.curScreenIndex);
    const NVViewRect rect =
        nv_fit_picture(_workAreaView->screenFrame(), _imageScreen.width(), _imageScreen.height(), NVFitVertical::Top);
    _workAreaView->setSnapshot(_imageScreen, rect);
}

void VControllerWorkarea::turnTabletPicture()
{
    const uint32_t turn = nv_compute_rotate_angle(&_tabletRotateAngle, g_ui.cfg.rotateAngle);
    pictureTurn_ = (pictureTurn_ + turn) % 360;
    _workAreaView->setTablet(tabletPicture_, static_cast<int>((360 - pictureTurn_) % 360));
}

void VControllerWorkarea::recomputeWorkareaRect(bool notify)
{
    NVRectRatio area = g_ui.tabletAreaRatio;
    if (!(area.right > area.left) || !(area.bottom > area.top))
        area = kNVFullWorkarea; // no layout: the picture is all active area
    double w = tabletPicture_.width();
    double h = tabletPicture_.height();
    if (tabletPicture_.isNull()) {
        w = g_ui.ti.maxX ? g_ui.ti.maxX : 16;
        h = g_ui.ti.maxY ? g_ui.ti.maxY : 10;
    }
    rects_ = nv_workarea_rects(area, g_ui.cfg.workarea, g_ui.cfg.rotateAngle, _workAreaView->tabletFrame(), w, h);
    _workAreaView->setRects(rects_.picture, rects_.penArea, rects_.workarea);
    if (notify)
        notifyNVConfigChangedToMainView();
}

void VControllerWorkarea::didChangeWorkArea(const NVViewRect& rect)
{
    g_ui.cfg.workarea = nv_workarea_from_rect(rect, rects_.penArea, g_ui.cfg.rotateAngle);
    refreshTextValue();
    recomputeWorkareaRect(true);
}

QLineEdit* VControllerWorkarea::field(NVWorkareaEdge edge) const
{
    return edgeFields_[static_cast<int>(edge)];
}

void VControllerWorkarea::refreshTextValue()
{
    for (int i = 0; i < 4; ++i)
        edgeFields_[i]->setText(QString::fromStdString(nv_format_fraction(edge_value(g_ui.cfg.workarea, i))));
}

void VControllerWorkarea::actionPopBtn(int index)
{
    if (index < 0)
        return;
    g_ui.cfg.curScreenIndex = static_cast<uint32_t>(index);
    refreshScreenSnapshot();
    recomputeWorkareaRect(true);
    refreshCalibrationButton();
}

void VControllerWorkarea::actionRadio(uint32_t tag)
{
    if (tag == g_ui.cfg.rotateAngle)
        return;
    g_ui.cfg.rotateAngle = tag;
    turnTabletPicture();
    recomputeWorkareaRect(true);
}

void VControllerWorkarea::actionTextChanged(NVWorkareaEdge edge)
{
    // Only a changed field is read back: the others show rounded values.
    const int i = static_cast<int>(edge);
    const QString shown = QString::fromStdString(nv_format_fraction(edge_value(g_ui.cfg.workarea, i)));
    if (field(edge)->text() == shown)
        return;
    nv_type_workarea_edge(&g_ui.cfg.workarea, edge, parse_fraction(field(edge)->text()));
    refreshTextValue();
    recomputeWorkareaRect(true);
}

void VControllerWorkarea::actionBtnWhileBoard()
{
    g_ui.cfg.workarea = kNVFullWorkarea;
    recomputeWorkareaRect(true);
    refreshTextValue();
}

void VControllerWorkarea::actionBtnScreenRatio()
{
    const NVViewRect& s = _workAreaView->snapshotRect();
    g_ui.cfg.workarea = nv_screen_ratio_workarea(g_ui.ti.maxX, g_ui.ti.maxY, g_ui.cfg.rotateAngle, s.width, s.height);
    recomputeWorkareaRect(true);
    refreshTextValue();
}

void VControllerWorkarea::actionBtnCalibreation()
{
    const uint32_t index = g_ui.cfg.curScreenIndex;
    NotificationCenter* bus = nv_app_context().bus;
    if (index >= _screenNum || !bus || calibration_)
        return;
    QScreen* screen = nv_qscreen_for(_screens, index);
    const NVScreenRect& f = _screens[index].bounds;
    nv_log("Screen Index:%u,%f %f %f %f  ", index, f.x, f.y, f.width, f.height);
    calibration_ = new NVCalibrationWindow(screen, *bus);
    calibration_->setWindowModality(Qt::ApplicationModal);
    connect(calibration_, &NVCalibrationWindow::finished, this, [this] {
        refreshScreenSnapshot();
        recomputeWorkareaRect(true);
        updateNVConfigToView();
    });
    calibration_->showFullScreen();
}
