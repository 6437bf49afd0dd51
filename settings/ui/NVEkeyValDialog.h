// What both key-function dialogs share: the working copy of the record, the mouse, switch
// and run functions, OK and Cancel. A dialog lives for one modal edit.
#pragma once

#include "core/channel/NotificationCenter.h"
#include "core/model/NVTypes.h"
#include "settings/logic/NVEkeyText.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QRadioButton;

class NVEkeyValDialog : public QDialog {
    Q_OBJECT
public:
    ~NVEkeyValDialog() override;

    // Copies the record into the working copy and shows it; OK writes the record back.
    void setPekey(NVEkey* pekey);
    const NVEkey& workingCopy() const { return _ekey; }

    void clickMatrixMouse(int cell);
    void clickMatrixSwitch(int cell);
    void clickBtnBrowse();
    void clickBtnOk();
    void clickBtnCancel();

protected:
    explicit NVEkeyValDialog(QWidget* parent);
    // The keyboard part of the dialog, from _ekey.
    virtual void showKeyboard() = 0;
    // OK: the record receives the edit.
    virtual void commit() = 0;
    void updateNVConfigToView();
    // The function boxes and their groups, then OK and Cancel, into the layout from row.
    void addFunctionRows(QGridLayout* grid, int row);
    // No keyboard function: kind, modifiers and keys cleared.
    virtual void clearKeyboard();
    // Shows text under the functions (the key-string limit, a path too long).
    void showLimit(const QString& text);
    bool checked(QCheckBox* box) const;

    NVEkey* _pekey = nullptr;
    NVEkey _ekey{};
    QCheckBox* _checkFuncKb;
    QCheckBox* _checkFuncMouse;
    QCheckBox* _checkFuncSwitch;
    QCheckBox* _checkFuncRun;
    QButtonGroup* _matrixMouse;
    QButtonGroup* _matrixSwitch;
    QRadioButton* _cellMouseLeft;
    QRadioButton* _cellMouseMid;
    QRadioButton* _cellMouseRight;
    QRadioButton* _cellMouseWheelForward;
    QRadioButton* _cellMouseWheelBackward;
    QRadioButton* _cellSwitchScreen;
    QRadioButton* _cellSwitchBrush;
    QLabel* _labelPath;
    QLabel* _labelRunPath;
    QPushButton* _btnBrowser;
    QLabel* _labelMax;
    QPushButton* _btnOk;
    QPushButton* _btnCancel;

private:
    void clickCheckFunc(QCheckBox* box);

    NotificationCenter::Token stateToken_ = 0;
};

// The text of a key function with the localised function names.
QString string_from_ekey(const NVEkey* ekey);
NVEkeyNames nv_ekey_names();

// Kinds of the mouse and switch cells, in cell order.
inline constexpr uint64_t kNVMouseKinds[] = {0x10, 0x20, 0x40, 0x80, 0x100};
inline constexpr uint64_t kNVSwitchKinds[] = {0x01, 0x02};
inline constexpr uint64_t kNVAllMouseKinds = 0x1F0;
inline constexpr uint64_t kNVAllSwitchKinds = 0x03;
