// The per-application list window: the tablet's application contexts (the default one first);
// adds, removes and reveals applications and picks the context the other pages edit.
#pragma once

#include <QRect>
#include <QWidget>

class NVThirdPartAppListController : public QWidget {
    Q_OBJECT
public:
    explicit NVThirdPartAppListController(QWidget* parent = nullptr);
    ~NVThirdPartAppListController() override;

    // A new controller placed beside the main window and brought to the front.
    static NVThirdPartAppListController* showForMainWindow(QWidget* mainWindow);

    // Stores the main window's frame and places the list window beside it.
    void setMainWindowFrame(const QRect& frame);
    QRect mainWindowFrame() const { return m_mainWindowFrame; }

private:
    QRect m_mainWindowFrame;
};
