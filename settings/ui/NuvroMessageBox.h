// The box that tells the user the open-driver hotkey is taken, with a button to change it.
// There is at most one in the process.
#pragma once

#include <QDialog>

class NuvroMessageBox : public QDialog {
    Q_OBJECT
public:
    // Shows the box, or brings the one already shown forward; returns it.
    static NuvroMessageBox* ShowHotkeysRegisteredWindow();
    // The box shown now; null when there is none.
    static NuvroMessageBox* current();

    ~NuvroMessageBox() override;

private:
    NuvroMessageBox();
    // "changeNow": the preferences window on its hotkeys page; the box closes.
    void changeNow();
};
