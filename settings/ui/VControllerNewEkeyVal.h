// The multi-function dialog: a function name, keys recorded from the keyboard after a set
// of modifiers, a mouse button or wheel step, a switch, or an application. OK writes a new
// record; kinds this dialog does not edit are carried over.
#pragma once

#include "settings/logic/NVKeyboardListener.h"
#include "settings/ui/NVEkeyValDialog.h"

#include <memory>

class QLineEdit;

class VControllerNewEkeyVal : public NVEkeyValDialog {
    Q_OBJECT
public:
    explicit VControllerNewEkeyVal(QWidget* parent = nullptr);
    // Edits the record in a modal run; true when OK wrote it.
    static bool openDlgEkeyVal(QWidget* parent, NVEkey* record);
    ~VControllerNewEkeyVal() override;

    void clickHotKeyTextField();
    void clickFuncNameTextField();
    void controlTextDidEndEditing();
    void clickBtnReset();
    NVKeyboardListener& keyboardListener() { return *_keyboardListener; }

protected:
    void showKeyboard() override;
    void clearKeyboard() override;
    void commit() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clickModifier();

    bool loaded_ = false; // name and keys are read from the record once
    NotificationCenter::Token layoutToken_ = 0; // key names follow the keyboard layout
    std::unique_ptr<NVKeyboardListener> _keyboardListener;
    QLineEdit* textFuncName;
    QLineEdit* textHotkeys;
    QPushButton* _btnReset;
    QCheckBox* _chkCtrl;
    QCheckBox* _chkAlt;
    QCheckBox* _chkShift;
    QCheckBox* _chkCmd;
};
