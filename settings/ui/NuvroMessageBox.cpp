#include "settings/ui/NuvroMessageBox.h"

#include "settings/ui/NVAppContext.h"
#include "settings/ui/NVOutlet.h"
#include "settings/ui/SettingsWindowController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

NuvroMessageBox* g_box = nullptr;

} // namespace

NuvroMessageBox::NuvroMessageBox()
{
    setObjectName("wcNuvroMessageBox");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(qtTrId("str_M_prompt"));
    auto* icon = nv_outlet(new QLabel, "warningImage", qtTrId("settingsHotkeyRegistered"));
    icon->setPixmap(QPixmap(nv_res_file("warnning.png")));
    auto* text = nv_outlet(new QLabel(qtTrId("settingsHotkeyRegistered")), "message", qtTrId("settingsHotkeyRegistered"));
    text->setWordWrap(true);
    text->setMinimumWidth(300);
    auto* button = nv_outlet(new QPushButton(qtTrId("changeNow")), "changeNow", qtTrId("changeNow"));
    button->setDefault(true);
    connect(button, &QPushButton::clicked, this, &NuvroMessageBox::changeNow);

    auto* top = new QHBoxLayout;
    top->setSpacing(14);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(text, 1);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(20, 18, 20, 14);
    root->addLayout(top);
    root->addWidget(button, 0, Qt::AlignRight);
}

NuvroMessageBox::~NuvroMessageBox()
{
    if (g_box == this)
        g_box = nullptr;
}

NuvroMessageBox* NuvroMessageBox::ShowHotkeysRegisteredWindow()
{
    if (!g_box)
        g_box = new NuvroMessageBox;
    g_box->show();
    g_box->raise();
    g_box->activateWindow();
    return g_box;
}

NuvroMessageBox* NuvroMessageBox::current()
{
    return g_box;
}

void NuvroMessageBox::changeNow()
{
    SettingsWindowController::showSettingsWindow(1);
    close();
}
