#include "settings/ui/VControllerEkey.h"

#include "core/channel/NVNotificationNames.h"
#include "core/device/libCross/nvParse.h"
#include "core/model/NVText.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVMouseImageView.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVThirdPartAppListController.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/VControllerEkeyVal.h"
#include "settings/ui/VControllerNewEkeyVal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace {

constexpr int kColumn = 250; // the controls' column at the right of the picture
constexpr int kMargin = 12;

NVContextEkeys& context()
{
    const int i = currentAppIndex >= 0 && currentAppIndex < NV_CONTEXT_MAX ? currentAppIndex : 0;
    return g_ui.cfg.contexts[i];
}

// The hard or soft key of picture index i; null past the record's 16 of either.
NVEkey* key_record(int i)
{
    const int h = g_ui.ti.hbtnNum, s = g_ui.ti.sbtnNum;
    if (i < 0 || i >= h + s)
        return nullptr;
    if (i < h)
        return i < NV_EKEY_MAX ? &context().hbtns[i] : nullptr;
    return i - h < NV_EKEY_MAX ? &context().sbtns[i - h] : nullptr;
}

QString item_title(const NVMEkeyMenuItem& item)
{
    return QString::fromStdString(item.first) + "\t\t" + QString::fromStdString(item.second);
}

} // namespace

VControllerEkey::VControllerEkey(QWidget* parent) : NVSubViewController(parent)
{
    _imgTablet = nv_outlet(new NVMouseImageView(this), "_imgTablet", qtTrId("str_M_tablet_picture"));
    _btnEkeyVal = nv_outlet(new QPushButton(_imgTablet), "_btnEkeyVal", qtTrId("str_M_HKeySet"));
    _btnMEkey = nv_outlet(new QComboBox(_imgTablet), "_btnMEkey", qtTrId("str_EK_mbtn"));
    _chkHEkey = nv_outlet(new QCheckBox(qtTrId("str_EK_hbtn"), _imgTablet), "_chkHEkey", qtTrId("str_EK_hbtn"));
    _chkSEkey = nv_outlet(new QCheckBox(qtTrId("str_EK_sbtn"), _imgTablet), "_chkSEkey", qtTrId("str_EK_sbtn"));
    _chkMEkey = nv_outlet(new QCheckBox(qtTrId("str_EK_mbtn"), _imgTablet), "_chkMEkey", qtTrId("str_EK_mbtn"));
    _chkOptimize = nv_outlet(new QCheckBox(qtTrId("str_EK_linear_optimize"), _imgTablet), "_chkOptimize",
                             qtTrId("str_EK_linear_optimize"));
    _btnMEkey->hide();

    for (QCheckBox* box : {_chkHEkey, _chkSEkey, _chkMEkey, _chkOptimize})
        connect(box, &QCheckBox::clicked, this, &VControllerEkey::clickCheck);
    connect(_btnEkeyVal, &QPushButton::clicked, this, &VControllerEkey::clickBtn);
    connect(_btnMEkey, &QComboBox::activated, this, &VControllerEkey::clickBtnMEkey);
    connect(_imgTablet, &NVMouseImageView::curEkeyChanged, this, [this] {
        showCurEkeyVal();
        refreshMEkeyList(0);
    });
    appEditToken_ = nv_ui_center().observe(nvUiSelectedAppStartEdit, [this](const std::string&, const NVPlistDict&) {
        updateNVConfigToView();
        showCurEkeyVal();
    });
    layoutToken_ = nv_ui_center().observe(nvUiKeyLayoutChanged,
                                          [this](const std::string&, const NVPlistDict&) { keyLayoutChanged(); });
    loadPicture();
    updateNVConfigToView();
}

VControllerEkey::~VControllerEkey()
{
    nv_ui_center().removeObserver(appEditToken_);
    nv_ui_center().removeObserver(layoutToken_);
    if (muxToken_ && nv_app_context().bus)
        nv_app_context().bus->removeObserver(muxToken_);
}

void VControllerEkey::handleNotificationNTabletStateChangedInSubView()
{
    loadPicture();
    updateNVConfigToView();
}

void VControllerEkey::loadPicture()
{
    const bool opened = g_ui.bTabletOpened;
    const QPixmap picture(opened ? nv_res_file((std::string("tablet_") + get_dev_type(g_ui.ti.devType) + ".png").c_str())
                                 : QString());
    _imgTablet->setPicture(picture, opened ? &g_ui.tabletLayout : nullptr);
    const int set = nv_mekey_initial_set(g_ui.ti.devType, _imgTablet->curEkeyIndex(), g_ui.ti.hbtnNum, g_ui.ti.sbtnNum);
    refreshMEkeyList(g_ui.cfg.bEnableMBtn == 1 ? set : 0);
    showCurEkeyVal();
}

void VControllerEkey::resizeEvent(QResizeEvent* event)
{
    NVSubViewController::resizeEvent(event);
    _imgTablet->setGeometry(rect());
    placeControls();
    // The keys are placed now: the value button can show the key's function.
    showCurEkeyVal();
}

void VControllerEkey::placeControls()
{
    const int x = width() - kColumn;
    const int w = kColumn - kMargin;
    _imgTablet->setPictureArea(QRect(kMargin, kMargin, x - 2 * kMargin, height() - 2 * kMargin));
    int y = height() / 2 - 90;
    _btnEkeyVal->setGeometry(x, y, w, 32);
    _btnMEkey->setGeometry(x, y, w, 32);
    y += 60;
    for (QCheckBox* box : {_chkHEkey, _chkSEkey, _chkMEkey, _chkOptimize}) {
        box->setGeometry(x, y, w, 26);
        y += 30;
    }
    _imgTablet->setEndPoint(QPoint(x + 10, _btnEkeyVal->y() + _btnEkeyVal->height() / 2));
}

void VControllerEkey::showEvent(QShowEvent* event)
{
    NVSubViewController::showEvent(event);
    NotificationCenter* bus = nv_app_context().bus;
    if (bus && !muxToken_)
        muxToken_ = bus->observe(nvNotificationContextMEkeyChanged, [this](const std::string&, const NVPlistDict& info) {
            const auto it = info.find(nvKeyMuxIndex);
            if (it == info.end())
                return;
            currentMMKeyFuncIndex = it->second.asInt();
            refreshMEkeyList(currentMMKeyFuncIndex);
        });
}

void VControllerEkey::hideEvent(QHideEvent* event)
{
    if (muxToken_ && nv_app_context().bus)
        nv_app_context().bus->removeObserver(muxToken_);
    muxToken_ = 0;
    NVSubViewController::hideEvent(event);
}

void VControllerEkey::updateNVConfigToView()
{
    const NVTabletInfo& ti = g_ui.ti;
    const bool h = ti.hbtnNum != 0, s = ti.sbtnNum != 0, m = context().mekeyNum != 0;
    _chkHEkey->setEnabled(h);
    _chkHEkey->setVisible(h);
    _chkSEkey->setEnabled(s);
    _chkSEkey->setVisible(s);
    _chkMEkey->setEnabled(m);
    _chkMEkey->setVisible(m);
    _chkHEkey->setChecked(g_ui.cfg.bEnableHBtn);
    _chkSEkey->setChecked(g_ui.cfg.bEnableSBtn);
    _chkMEkey->setChecked(g_ui.cfg.bEnableMBtn);
    _chkOptimize->setChecked(false);
    _chkOptimize->hide();
    showCurEkeyVal();
}

void VControllerEkey::clickCheck()
{
    NVConfig& c = g_ui.cfg;
    c.bEnableHBtn = _chkHEkey->isChecked();
    c.bEnableSBtn = _chkSEkey->isChecked();
    c.bEnableMBtn = _chkMEkey->isChecked();
    c.bImproveLinearity = _chkOptimize->isChecked();
    // The soft-key strip at the top of the active area is left out of the work area.
    c.workarea.top = c.bEnableSBtn ? 0.08f : 0.0f;
    notifyNVConfigChangedToMainView();
}

int VControllerEkey::currentMEkey() const
{
    return _imgTablet->curEkeyIndex() - g_ui.ti.hbtnNum - g_ui.ti.sbtnNum;
}

void VControllerEkey::showCurEkeyVal()
{
    const int i = _imgTablet->curEkeyIndex();
    const int h = g_ui.ti.hbtnNum, s = g_ui.ti.sbtnNum;
    if (!g_ui.bTabletOpened || _imgTablet->keys().empty()) {
        _btnEkeyVal->setText({});
        _btnEkeyVal->setEnabled(false);
        _btnMEkey->hide();
        return;
    }
    if (nv_ekey_index_unshown(g_ui.ti.devType, i))
        return;
    _btnEkeyVal->setEnabled(true);
    if (i < h + s) {
        _btnEkeyVal->setText(string_from_ekey(key_record(i)));
        _btnEkeyVal->setAccessibleDescription(_btnEkeyVal->text());
        _btnEkeyVal->show();
        _btnMEkey->hide();
    } else {
        _btnEkeyVal->hide();
        _btnMEkey->show();
    }
}

void VControllerEkey::clickBtn()
{
    NVEkey* record = key_record(_imgTablet->curEkeyIndex());
    if (!record)
        return;
    VControllerEkeyVal::openDlgEkeyVal(this, record);
    _btnEkeyVal->setText(string_from_ekey(record));
}

void VControllerEkey::keyLayoutChanged()
{
    const int item = _btnMEkey->currentIndex();
    refreshMEkeyList(menuSet_);
    if (item < _btnMEkey->count())
        _btnMEkey->setCurrentIndex(item);
    showCurEkeyVal();
}

void VControllerEkey::refreshMEkeyList(int set)
{
    menuSet_ = set;
    _btnMEkey->clear();
    menu_.clear();
    if (!g_ui.bTabletOpened)
        return;
    menu_ = nv_mekey_menu({g_ui.ti.devType, &context(), &g_ui.tabletLayout, currentMEkey(), set}, nv_ekey_names());
    for (size_t n = 0; n < menu_.size(); ++n) {
        if (menu_[n].separator)
            _btnMEkey->insertSeparator(_btnMEkey->count());
        else
            _btnMEkey->addItem(item_title(menu_[n]), static_cast<int>(n));
    }
}

void VControllerEkey::clickBtnMEkey(int item)
{
    if (item < 0 || item >= _btnMEkey->count())
        return;
    const int n = _btnMEkey->itemData(item).toInt();
    if (n < 0 || n >= static_cast<int>(menu_.size()))
        return;
    NVEkey* record = nv_mekey_record(context(), menu_[static_cast<size_t>(n)].target);
    if (!record)
        return;
    VControllerNewEkeyVal::openDlgEkeyVal(this, record);
    menu_[static_cast<size_t>(n)].first = string_from_ekey(record).toStdString();
    menu_[static_cast<size_t>(n)].second = nv_percent_decode_lenient(nv_buffer_text(record->name));
    _btnMEkey->setItemText(item, item_title(menu_[static_cast<size_t>(n)]));
    _btnMEkey->setCurrentIndex(item);
}
