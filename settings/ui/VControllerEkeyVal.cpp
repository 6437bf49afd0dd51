#include "settings/ui/VControllerEkeyVal.h"

#include "settings/logic/NVUIGlobals.h"
#include "settings/ui/NVOutlet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <cstring>

namespace {

int row_of_code(uint8_t code)
{
    for (int i = 0; i < NV_KBTABLE_ROWS; ++i)
        if (g_ui.kbTable[i].code == code)
            return i;
    return -1;
}

} // namespace

bool VControllerEkeyVal::openDlgEkeyVal(QWidget* parent, NVEkey* record)
{
    VControllerEkeyVal dialog(parent);
    dialog.setPekey(record);
    return dialog.exec() == QDialog::Accepted;
}

VControllerEkeyVal::VControllerEkeyVal(QWidget* parent) : NVEkeyValDialog(parent)
{
    setObjectName("WCEkeyVal");
    // Linux names of the four modifiers the record holds.
    _chkCtrl = nv_outlet(new QCheckBox("Ctrl"), "_chkCtrl", "Ctrl");
    _chkAlt = nv_outlet(new QCheckBox("Alt"), "_chkAlt", "Alt");
    _chkShift = nv_outlet(new QCheckBox("Shift"), "_chkShift", "Shift");
    _chkCmd = nv_outlet(new QCheckBox("Super"), "_chkCmd", "Super");
    _radioChar = nv_outlet(new QRadioButton(qtTrId("str_EKV_kbchar")), "_radioChar", qtTrId("str_EKV_kbchar"));
    _radioStr = nv_outlet(new QRadioButton(qtTrId("str_EKV_kbstr")), "_radioStr", qtTrId("str_EKV_kbstr"));
    auto* radios = new QButtonGroup(this);
    radios->addButton(_radioChar);
    radios->addButton(_radioStr);
    _pbtnKey = nv_outlet(new QComboBox, "_pbtnKey", qtTrId("str_EKV_kbchar"));
    for (const KBTable& row : g_ui.kbTable)
        _pbtnKey->addItem(QString::fromUtf8(row.name));
    _btnJoin = nv_outlet(new QPushButton(qtTrId("str_EKV_join_str")), "_btnJoin", qtTrId("str_EKV_join_str"));
    _btnClear = nv_outlet(new QPushButton(qtTrId("str_EKV_clear_str")), "_btnClear", qtTrId("str_EKV_clear_str"));
    _labelStr = nv_outlet(new QLabel, "_labelStr", qtTrId("str_EKV_kbstr"));
    _labelStr->setWordWrap(true);
    _labelStr->setMinimumWidth(260);

    auto* grid = new QGridLayout(this);
    grid->addWidget(_checkFuncKb, 0, 0, 1, 5);
    grid->addWidget(_chkCtrl, 1, 1);
    grid->addWidget(_chkAlt, 1, 2);
    grid->addWidget(_chkShift, 1, 3);
    grid->addWidget(_chkCmd, 1, 4);
    grid->addWidget(_radioChar, 2, 1);
    grid->addWidget(_pbtnKey, 2, 2);
    grid->addWidget(_radioStr, 3, 1);
    grid->addWidget(_btnJoin, 3, 2);
    grid->addWidget(_btnClear, 3, 3);
    grid->addWidget(_labelStr, 4, 2, 1, 3);
    addFunctionRows(grid, 5);

    for (QCheckBox* m : {_chkCtrl, _chkAlt, _chkShift, _chkCmd})
        connect(m, &QCheckBox::clicked, this, [this, m] { clickCheck(m); });
    connect(_pbtnKey, &QComboBox::activated, this, &VControllerEkeyVal::clickBtnKey);
    connect(_radioChar, &QRadioButton::clicked, this, [this] { clickRadioCharOrStr(false); });
    connect(_radioStr, &QRadioButton::clicked, this, [this] { clickRadioCharOrStr(true); });
    connect(_btnJoin, &QPushButton::clicked, this, &VControllerEkeyVal::clickBtnJoin);
    connect(_btnClear, &QPushButton::clicked, this, &VControllerEkeyVal::clickBtnClearStr);
}

int VControllerEkeyVal::storedKeys() const
{
    int n = 0;
    while (n < NV_KBKEYS_MAX && _ekey.kbtn.kbKeys[n] != 0)
        ++n;
    return n;
}

void VControllerEkeyVal::showKeyboard()
{
    const NVKbtn& k = _ekey.kbtn;
    const bool kb = _ekey.funcBit & 0x04;
    _checkFuncKb->setChecked(kb);
    _chkCtrl->setChecked(kb && k.bCtrl);
    _chkAlt->setChecked(kb && k.bAlt);
    _chkShift->setChecked(kb && k.bShift);
    _chkCmd->setChecked(kb && k.bWin);
    const int n = storedKeys();
    const bool string = n > 1;
    _kbstrIndex = string ? n : _kbstrIndex;
    _btnJoin->setEnabled(string || _radioStr->isChecked());
    _btnClear->setEnabled(string || _radioStr->isChecked());
    QString label;
    if (string)
        for (int i = 0; i < n; ++i) {
            const int row = row_of_code(k.kbKeys[i]);
            label += QString::fromUtf8(row >= 0 ? g_ui.kbTable[row].name : "?") + ", ";
        }
    _labelStr->setText(label);
    if (string) {
        _radioStr->setChecked(true);
    } else if (kb && n == 1) {
        _radioChar->setChecked(true);
        const int row = row_of_code(k.kbKeys[0]);
        if (row >= 0)
            _pbtnKey->setCurrentIndex(row);
    }
}

void VControllerEkeyVal::clickCheck(QCheckBox* m)
{
    const uint8_t on = checked(m) ? 1 : 0;
    if (on)
        _ekey.funcBit |= 0x04;
    if (m == _chkCtrl)
        _ekey.kbtn.bCtrl = on;
    else if (m == _chkAlt)
        _ekey.kbtn.bAlt = on;
    else if (m == _chkShift)
        _ekey.kbtn.bShift = on;
    else
        _ekey.kbtn.bWin = on;
    updateNVConfigToView();
}

void VControllerEkeyVal::clickBtnKey(int row)
{
    if (row < 0 || row >= NV_KBTABLE_ROWS)
        return;
    _ekey.funcBit |= 0x04;
    // One key: the slots after it are emptied, or a former string would go on playing.
    std::memset(_ekey.kbtn.kbKeys, 0, sizeof _ekey.kbtn.kbKeys);
    _ekey.kbtn.kbKeys[0] = g_ui.kbTable[row].code;
    _kbstrIndex = 0;
    _radioChar->setChecked(true);
    updateNVConfigToView();
}

void VControllerEkeyVal::clickRadioCharOrStr(bool string)
{
    if (!string)
        return clickBtnKey(_pbtnKey->currentIndex());
    _btnJoin->setEnabled(true);
    _btnClear->setEnabled(true);
}

void VControllerEkeyVal::clickBtnJoin()
{
    _radioStr->setChecked(true);
    if (_kbstrIndex >= NV_KBKEYS_MAX) {
        showLimit(qtTrId("str_EKV_string_limit"));
        return;
    }
    const int row = _pbtnKey->currentIndex();
    if (row < 0 || row >= NV_KBTABLE_ROWS)
        return;
    _ekey.funcBit |= 0x04;
    _ekey.kbtn.kbKeys[_kbstrIndex++] = g_ui.kbTable[row].code;
    _labelStr->setText(_labelStr->text() + QString::fromUtf8(g_ui.kbTable[row].name) + ", ");
    _checkFuncKb->setChecked(true);
    _btnJoin->setEnabled(true);
    _btnClear->setEnabled(true);
}

void VControllerEkeyVal::clickBtnClearStr()
{
    _kbstrIndex = 0;
    std::memset(_ekey.kbtn.kbKeys, 0, sizeof _ekey.kbtn.kbKeys);
    _labelStr->clear();
    _radioChar->group()->setExclusive(false);
    _radioChar->setChecked(false);
    _radioStr->setChecked(false);
    _radioChar->group()->setExclusive(true);
    showLimit({});
}

void VControllerEkeyVal::commit()
{
    std::memcpy(_pekey, &_ekey, sizeof(NVEkey));
}
