#include "settings/ui/NVEkeyValDialog.h"

#include "core/model/NVText.h"
#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVDialogs.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVSubViewController.h"
#include "settings/ui/NVUiCenter.h"
#include "settings/ui/NuvroUtils.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include <cstring>

namespace {

QRadioButton* cell(const char* outlet, const char* title)
{
    return nv_outlet(new QRadioButton(qtTrId(title)), outlet, qtTrId(title));
}

} // namespace

NVEkeyNames nv_ekey_names()
{
    return {
        qtTrId("str_EKV_mouse_left").toStdString(),     qtTrId("str_EKV_mouse_mid").toStdString(),
        qtTrId("str_EKV_mouse_right").toStdString(),    qtTrId("str_EKV_mouse_forward").toStdString(),
        qtTrId("str_EKV_mouse_backward").toStdString(), qtTrId("str_EKV_switch_screen").toStdString(),
        qtTrId("str_EKV_switch_brush").toStdString(),   qtTrId("str_EKV_switch_muxfunc").toStdString()};
}

QString string_from_ekey(const NVEkey* ekey)
{
    return ekey ? QString::fromStdString(string_from_ekey(*ekey, nv_ekey_names())) : QString();
}

NVEkeyValDialog::NVEkeyValDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(qtTrId("str_M_HKeySet"));
    setModal(true);
    _checkFuncKb = nv_outlet(new QCheckBox(qtTrId("str_EKV_func_kb")), "_checkFuncKb", qtTrId("str_EKV_func_kb"));
    _checkFuncMouse =
        nv_outlet(new QCheckBox(qtTrId("str_EKV_func_mouse")), "_checkFuncMouse", qtTrId("str_EKV_func_mouse"));
    _checkFuncSwitch =
        nv_outlet(new QCheckBox(qtTrId("str_EKV_func_switch")), "_checkFuncSwitch", qtTrId("str_EKV_func_switch"));
    _checkFuncRun =
        nv_outlet(new QCheckBox(qtTrId("str_EKV_func_run_app")), "_checkFuncRun", qtTrId("str_EKV_func_run_app"));
    _cellMouseLeft = cell("_cellMouseLeft", "str_EKV_mouse_left");
    _cellMouseMid = cell("_cellMouseMid", "str_EKV_mouse_mid");
    _cellMouseRight = cell("_cellMouseRight", "str_EKV_mouse_right");
    _cellMouseWheelForward = cell("_cellMouseWheelForward", "str_EKV_mouse_forward");
    _cellMouseWheelBackward = cell("_cellMouseWheelBackward", "str_EKV_mouse_backward");
    _cellSwitchScreen = cell("_cellSwitchScreen", "str_EKV_switch_screen");
    _cellSwitchBrush = cell("_cellSwitchBrush", "str_EKV_switch_brush");
    _matrixMouse = new QButtonGroup(this);
    _matrixMouse->setObjectName("_matrixMouse");
    int id = 0;
    for (QRadioButton* b : {_cellMouseLeft, _cellMouseMid, _cellMouseRight, _cellMouseWheelForward,
                            _cellMouseWheelBackward})
        _matrixMouse->addButton(b, id++);
    _matrixSwitch = new QButtonGroup(this);
    _matrixSwitch->setObjectName("_matrixSwitch");
    _matrixSwitch->addButton(_cellSwitchScreen, 0);
    _matrixSwitch->addButton(_cellSwitchBrush, 1);
    _labelPath = nv_outlet(new QLabel(qtTrId("str_EKV_app_path")), "_labelPath", qtTrId("str_EKV_app_path"));
    _labelRunPath = nv_outlet(new QLabel, "_labelRunPath", qtTrId("str_EKV_app_path"));
    _labelRunPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    _labelRunPath->setMinimumWidth(260);
    _btnBrowser = nv_outlet(new QPushButton(qtTrId("str_EKV_browse")), "_btnBrowser", qtTrId("str_EKV_browse"));
    _labelMax = nv_outlet(new QLabel, "_labelMax", qtTrId("str_EKV_string_limit"));
    _labelMax->setStyleSheet("color: #b00020");
    _labelMax->setWordWrap(true);
    _btnOk = nv_outlet(new QPushButton(qtTrId("str_M_ok")), "_btnOk", qtTrId("str_M_ok"));
    _btnCancel = nv_outlet(new QPushButton(qtTrId("str_M_cancel")), "_btnCancel", qtTrId("str_M_cancel"));
    _btnOk->setDefault(true);

    connect(_matrixMouse, &QButtonGroup::idClicked, this, &NVEkeyValDialog::clickMatrixMouse);
    connect(_matrixSwitch, &QButtonGroup::idClicked, this, &NVEkeyValDialog::clickMatrixSwitch);
    for (QCheckBox* box : {_checkFuncKb, _checkFuncMouse, _checkFuncSwitch, _checkFuncRun})
        connect(box, &QCheckBox::clicked, this, [this, box] { clickCheckFunc(box); });
    connect(_btnBrowser, &QPushButton::clicked, this, &NVEkeyValDialog::clickBtnBrowse);
    connect(_btnOk, &QPushButton::clicked, this, &NVEkeyValDialog::clickBtnOk);
    connect(_btnCancel, &QPushButton::clicked, this, &NVEkeyValDialog::clickBtnCancel);
    // A tablet that goes away takes its records with it: the edit ends as by Cancel.
    stateToken_ = nv_ui_center().observe(nvUiTabletStateChangedToSubView, [this](const std::string&, const NVPlistDict&) {
        if (!g_ui.bTabletOpened)
            clickBtnCancel();
    });
}

NVEkeyValDialog::~NVEkeyValDialog()
{
    nv_ui_center().removeObserver(stateToken_);
}

void NVEkeyValDialog::addFunctionRows(QGridLayout* grid, int row)
{
    grid->addWidget(_checkFuncMouse, row++, 0, 1, 4);
    grid->addWidget(_cellMouseLeft, row, 1);
    grid->addWidget(_cellMouseMid, row, 2);
    grid->addWidget(_cellMouseRight, row++, 3);
    grid->addWidget(_cellMouseWheelForward, row, 1);
    grid->addWidget(_cellMouseWheelBackward, row++, 2);
    grid->addWidget(_checkFuncSwitch, row++, 0, 1, 4);
    grid->addWidget(_cellSwitchScreen, row, 1);
    grid->addWidget(_cellSwitchBrush, row++, 2);
    grid->addWidget(_checkFuncRun, row++, 0, 1, 4);
    grid->addWidget(_labelPath, row, 1);
    grid->addWidget(_labelRunPath, row, 2, 1, 2);
    grid->addWidget(_btnBrowser, row++, 4);
    grid->addWidget(_labelMax, row++, 0, 1, 5);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(_btnCancel);
    buttons->addWidget(_btnOk);
    grid->addLayout(buttons, row, 0, 1, 5);
    grid->setColumnMinimumWidth(0, 16);
}

void NVEkeyValDialog::setPekey(NVEkey* pekey)
{
    _pekey = pekey;
    std::memcpy(&_ekey, pekey, sizeof(NVEkey));
    updateNVConfigToView();
}

bool NVEkeyValDialog::checked(QCheckBox* box) const
{
    return box->checkState() == Qt::Checked;
}

void NVEkeyValDialog::updateNVConfigToView()
{
    const uint64_t f = _ekey.funcBit;
    _checkFuncMouse->setChecked(f & kNVAllMouseKinds);
    _checkFuncSwitch->setChecked(f & kNVAllSwitchKinds);
    _checkFuncRun->setChecked(f & 0x08);
    for (QButtonGroup* g : {_matrixMouse, _matrixSwitch}) {
        g->setExclusive(false);
        for (QAbstractButton* b : g->buttons())
            b->setChecked(false);
        g->setExclusive(true);
    }
    for (int i = 0; i < 5; ++i)
        if (f & kNVMouseKinds[i]) {
            _matrixMouse->button(i)->setChecked(true);
            break;
        }
    for (int i = 0; i < 2; ++i)
        if (f & kNVSwitchKinds[i]) {
            _matrixSwitch->button(i)->setChecked(true);
            break;
        }
    _labelRunPath->setText((f & 0x08) ? NuvroUtils::exe2NSString(_ekey.cmdPath) : QString());
    _labelMax->clear();
    showKeyboard();
}

void NVEkeyValDialog::showLimit(const QString& text)
{
    _labelMax->setText(text);
}

void NVEkeyValDialog::clickCheckFunc(QCheckBox* box)
{
    const bool on = checked(box);
    if (box == _checkFuncKb) {
        if (on)
            _ekey.funcBit |= 0x04;
        else
            clearKeyboard();
    } else if (box == _checkFuncMouse) {
        if (on)
            clickMatrixMouse(std::max(0, _matrixMouse->checkedId()));
        else
            _ekey.funcBit &= ~kNVAllMouseKinds;
    } else if (box == _checkFuncSwitch) {
        if (on)
            clickMatrixSwitch(std::max(0, _matrixSwitch->checkedId()));
        else
            _ekey.funcBit &= ~kNVAllSwitchKinds;
    } else if (box == _checkFuncRun) {
        if (on)
            return clickBtnBrowse();
        _ekey.funcBit &= ~uint64_t{0x08};
        std::memset(_ekey.cmdPath, 0, sizeof _ekey.cmdPath);
    }
    updateNVConfigToView();
}

void NVEkeyValDialog::clearKeyboard()
{
    _ekey.funcBit &= ~uint64_t{0x04};
    const int8_t ekid = _ekey.kbtn.ekid;
    std::memset(&_ekey.kbtn, 0, sizeof _ekey.kbtn);
    _ekey.kbtn.ekid = ekid;
}

void NVEkeyValDialog::clickMatrixMouse(int c)
{
    if (c < 0 || c >= 5)
        return;
    // One mouse function at a time.
    _ekey.funcBit = (_ekey.funcBit & ~kNVAllMouseKinds) | kNVMouseKinds[c];
    updateNVConfigToView();
}

void NVEkeyValDialog::clickMatrixSwitch(int c)
{
    if (c < 0 || c >= 2)
        return;
    _ekey.funcBit = (_ekey.funcBit & ~kNVAllSwitchKinds) | kNVSwitchKinds[c];
    updateNVConfigToView();
}

void NVEkeyValDialog::clickBtnBrowse()
{
    const QString path = nv_open_application(this, qtTrId("str_EKV_browse"));
    if (path.isEmpty()) {
        updateNVConfigToView();
        return;
    }
    // The record holds 255 escaped bytes; a longer path is refused rather than cut.
    const QByteArray escaped = QUrl::toPercentEncoding(path);
    if (escaped.size() >= static_cast<qsizetype>(sizeof _ekey.cmdPath)) {
        updateNVConfigToView();
        showLimit(qtTrId("str_EKV_path_too_long"));
        return;
    }
    _ekey.funcBit |= 0x08;
    std::memset(_ekey.cmdPath, 0, sizeof _ekey.cmdPath);
    NuvroUtils::exe2PChar(path, _ekey.cmdPath, sizeof _ekey.cmdPath - 1);
    updateNVConfigToView();
}

void NVEkeyValDialog::clickBtnOk()
{
    if (_pekey) {
        commit();
        NVSubViewController::notifyNVConfigChangedToMainView();
    }
    accept();
}

void NVEkeyValDialog::clickBtnCancel()
{
    reject();
}
