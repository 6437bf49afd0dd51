#include "settings/ui/VControllerNewEkeyVal.h"

#include "core/model/NVText.h"
#include "settings/logic/NVEkeyText.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/NVUiCenter.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cstring>

bool VControllerNewEkeyVal::openDlgEkeyVal(QWidget* parent, NVEkey* record)
{
    VControllerNewEkeyVal dialog(parent);
    dialog.setPekey(record);
    return dialog.exec() == QDialog::Accepted;
}

VControllerNewEkeyVal::VControllerNewEkeyVal(QWidget* parent)
    : NVEkeyValDialog(parent), _keyboardListener(NVKeyboardListener::CreateInstanceWithControlKey(false, false, false, false))
{
    setObjectName("WCEkeyValMulti");
    textFuncName = nv_outlet(new QLineEdit, "textFuncName", qtTrId("str_SET_FuncName"));
    textFuncName->setMaxLength(NV_STR_MAX - 1);
    textHotkeys = nv_outlet(new QLineEdit, "textHotkeys", qtTrId("str_EKV_func_kb"));
    textHotkeys->setReadOnly(true);
    textHotkeys->setPlaceholderText(qtTrId("str_EKV_record_keys"));
    _btnReset = nv_outlet(new QPushButton(qtTrId("str_EKV_reset")), "_btnReset", qtTrId("str_EKV_reset"));
    _chkCtrl = nv_outlet(new QCheckBox(NSStringControlKey), "_chkCtrl", "Ctrl");
    _chkAlt = nv_outlet(new QCheckBox(NSStringOptionKey), "_chkAlt", "Alt");
    _chkShift = nv_outlet(new QCheckBox(NSStringShiftKey), "_chkShift", "Shift");
    _chkCmd = nv_outlet(new QCheckBox(NSStringCommandKey), "_chkCmd", "Super");

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(qtTrId("str_SET_FuncName")), 0, 0, 1, 2);
    grid->addWidget(textFuncName, 0, 2, 1, 3);
    grid->addWidget(_checkFuncKb, 1, 0, 1, 5);
    grid->addWidget(_chkCtrl, 2, 1);
    grid->addWidget(_chkAlt, 2, 2);
    grid->addWidget(_chkShift, 2, 3);
    grid->addWidget(_chkCmd, 2, 4);
    grid->addWidget(textHotkeys, 3, 1, 1, 3);
    grid->addWidget(_btnReset, 3, 4);
    addFunctionRows(grid, 4);

    NVKeyboardListener& l = *_keyboardListener;
    l.onUpdateText = [this](const std::string& text) { textHotkeys->setText(QString::fromStdString(text)); };
    l.onShortcutChanged = [this](const NVShortcut&) {
        // A seventeenth key is refused with a word, never dropped silently.
        if (_keyboardListener->KeyEvents().size() >= NVKeyboardListener::kCapacity) {
            showLimit(qtTrId("str_EKV_string_limit"));
            return false;
        }
        _ekey.funcBit |= 0x04;
        _checkFuncKb->setChecked(true);
        return true;
    };
    for (QCheckBox* m : {_chkCtrl, _chkAlt, _chkShift, _chkCmd})
        connect(m, &QCheckBox::clicked, this, &VControllerNewEkeyVal::clickModifier);
    connect(_btnReset, &QPushButton::clicked, this, &VControllerNewEkeyVal::clickBtnReset);
    connect(textFuncName, &QLineEdit::editingFinished, this, &VControllerNewEkeyVal::controlTextDidEndEditing);
    textHotkeys->installEventFilter(this);
    textFuncName->installEventFilter(this);
    layoutToken_ = nv_ui_center().observe(nvUiKeyLayoutChanged, [this](const std::string&, const NVPlistDict&) {
        _keyboardListener->updateText();
    });
}

VControllerNewEkeyVal::~VControllerNewEkeyVal()
{
    nv_ui_center().removeObserver(layoutToken_);
    _keyboardListener->stopListenKeyboard();
}

bool VControllerNewEkeyVal::eventFilter(QObject* watched, QEvent* event)
{
    // Keys are recorded while the hotkey field has the focus; the name field types text.
    if (event->type() == QEvent::FocusIn)
        watched == textHotkeys ? clickHotKeyTextField() : clickFuncNameTextField();
    else if (event->type() == QEvent::FocusOut && watched == textHotkeys)
        _keyboardListener->stopListenKeyboard();
    return NVEkeyValDialog::eventFilter(watched, event);
}

void VControllerNewEkeyVal::clickHotKeyTextField()
{
    _keyboardListener->startListenKeyboard();
}

void VControllerNewEkeyVal::clickFuncNameTextField()
{
    _keyboardListener->stopListenKeyboard();
}

void VControllerNewEkeyVal::controlTextDidEndEditing()
{
    if (textHotkeys->hasFocus())
        _keyboardListener->startListenKeyboard();
}

void VControllerNewEkeyVal::clickBtnReset()
{
    _keyboardListener->clearKeyEvents();
    showLimit({});
}

void VControllerNewEkeyVal::clickModifier()
{
    NVKbtn& k = _ekey.kbtn;
    k.bCtrl = checked(_chkCtrl);
    k.bAlt = checked(_chkAlt);
    k.bShift = checked(_chkShift);
    k.bWin = checked(_chkCmd);
    NVKeyboardListener& l = *_keyboardListener;
    l.setHasControlKey(k.bCtrl);
    l.setHasOptionKey(k.bAlt);
    l.setHasShiftKey(k.bShift);
    l.setHasCommandKey(k.bWin);
    if (checked(_chkCtrl) || checked(_chkAlt) || checked(_chkShift) || checked(_chkCmd)) {
        _ekey.funcBit |= 0x04;
        _checkFuncKb->setChecked(true);
    }
    l.updateText();
}

void VControllerNewEkeyVal::showKeyboard()
{
    const NVKbtn& k = _ekey.kbtn;
    const bool kb = _ekey.funcBit & 0x04;
    _checkFuncKb->setChecked(kb);
    NVKeyboardListener& l = *_keyboardListener;
    const bool first = !loaded_;
    loaded_ = true;
    if (first)
        textFuncName->setText(QString::fromUtf8(std::string(nv_buffer_text(_ekey.name))));
    if (!kb) {
        l.clearKeyEvents();
        for (QCheckBox* m : {_chkCtrl, _chkAlt, _chkShift, _chkCmd})
            m->setChecked(false);
        clickModifier();
        return;
    }
    _chkCtrl->setChecked(k.bCtrl);
    _chkAlt->setChecked(k.bAlt);
    _chkShift->setChecked(k.bShift);
    _chkCmd->setChecked(k.bWin);
    clickModifier();
    if (!first)
        return;
    // The stored keys, 255 being key code 0 (it is a key like any other).
    for (uint8_t code : k.kbKeys) {
        if (code == 0)
            break;
        l.addShortcut(NVShortcut::shortcutWithKeyCode(code == 255 ? 0 : code, 0));
    }
}

void VControllerNewEkeyVal::clearKeyboard()
{
    NVEkeyValDialog::clearKeyboard();
    _keyboardListener->clearKeyEvents();
}

void VControllerNewEkeyVal::commit()
{
    NVEkey e{};
    nv_copy_to_buffer(e.name, textFuncName->text().toStdString());
    // Kinds this dialog has no control for stay as they were.
    e.funcBit = _ekey.funcBit & ~NV_EKEY_KNOWN_KINDS;
    if (checked(_checkFuncKb)) {
        e.funcBit |= 0x04;
        e.kbtn.bCtrl = checked(_chkCtrl);
        e.kbtn.bAlt = checked(_chkAlt);
        e.kbtn.bShift = checked(_chkShift);
        e.kbtn.bWin = checked(_chkCmd);
        size_t i = 0;
        for (const NVShortcut& s : _keyboardListener->KeyEvents())
            e.kbtn.kbKeys[i++] = s.keyCode == 0 ? 255 : static_cast<uint8_t>(s.keyCode);
    }
    if (checked(_checkFuncRun) && (_ekey.funcBit & 0x08)) {
        e.funcBit |= 0x08;
        std::memcpy(e.cmdPath, _ekey.cmdPath, sizeof e.cmdPath);
    }
    e.funcBit |= _ekey.funcBit & (kNVAllMouseKinds | kNVAllSwitchKinds);
    std::memcpy(_pekey, &e, sizeof(NVEkey));
}
