#include "settings/ui/TitlebarUtils.h"

#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVOutlet.h"

#include <QHBoxLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolButton>

namespace {

QToolButton* add_button(QMainWindow* window, const char* picture, const char* outlet, const QString& title,
                        std::function<void()> callback)
{
    QMenuBar* bar = window->menuBar();
    QWidget* corner = bar->cornerWidget(Qt::TopRightCorner);
    if (!corner) {
        corner = new QWidget(bar);
        corner->setObjectName("titlebarAccessories");
        auto* row = new QHBoxLayout(corner);
        row->setContentsMargins(0, 0, 6, 0);
        row->setSpacing(2);
        bar->setCornerWidget(corner, Qt::TopRightCorner);
    }
    auto* button = nv_outlet(new QToolButton(corner), outlet, title);
    button->setIcon(QIcon(nv_res_file(picture)));
    button->setIconSize(QSize(18, 18));
    button->setAutoRaise(true);
    button->setToolTip(title);
    QObject::connect(button, &QToolButton::clicked, button, [callback = std::move(callback)] { callback(); });
    corner->layout()->addWidget(button);
    return button;
}

} // namespace

QToolButton* TitlebarUtils::addSettingsBtn(QMainWindow* window, std::function<void()> callback)
{
    return add_button(window, "settings.png", "settingsBtn", qtTrId("settingsTitle"), std::move(callback));
}

QToolButton* TitlebarUtils::addAppSettingsBtn(QMainWindow* window, std::function<void()> callback)
{
    return add_button(window, "appList.png", "appSettingsBtn", qtTrId("str_SET_AppsListTitle"), std::move(callback));
}
