#include "settings/ui/NVThirdPartAppListController.h"

NVThirdPartAppListController::NVThirdPartAppListController(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    resize(310, 520);
}

NVThirdPartAppListController::~NVThirdPartAppListController() = default;

NVThirdPartAppListController* NVThirdPartAppListController::showForMainWindow(QWidget* mainWindow)
{
    auto* list = new NVThirdPartAppListController;
    if (mainWindow)
        list->setMainWindowFrame(mainWindow->frameGeometry());
    list->show();
    list->raise();
    list->activateWindow();
    return list;
}

void NVThirdPartAppListController::setMainWindowFrame(const QRect& frame)
{
    m_mainWindowFrame = frame;
    move(frame.topLeft() + QPoint(500, 78));
}
