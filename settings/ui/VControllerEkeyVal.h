// The key-function dialog: a key or a string of keys from the key-name table with the
// modifiers, a mouse button or wheel step, a screen or brush switch, or an application.
#pragma once

#include "settings/ui/NVEkeyValDialog.h"

class QComboBox;
class QLabel;
class QRadioButton;

class VControllerEkeyVal : public NVEkeyValDialog {
    Q_OBJECT
public:
    explicit VControllerEkeyVal(QWidget* parent = nullptr);
    // Edits the record in a modal run; true when OK wrote it.
    static bool openDlgEkeyVal(QWidget* parent, NVEkey* record);

    void clickBtnKey(int row);
    void clickRadioCharOrStr(bool string);
    void clickBtnJoin();
    void clickBtnClearStr();
    void clickCheck(QCheckBox* modifier);

protected:
    void showKeyboard() override;
    void commit() override;

private:
    int storedKeys() const;

    int _kbstrIndex = 0;
    QCheckBox* _chkCtrl;
    QCheckBox* _chkAlt;
    QCheckBox* _chkShift;
    QCheckBox* _chkCmd;
    QRadioButton* _radioChar;
    QRadioButton* _radioStr;
    QComboBox* _pbtnKey;
    QPushButton* _btnJoin;
    QPushButton* _btnClear;
    QLabel* _labelStr;
};
