#include "settings/ui/NVAppChooser.h"

#include "settings/ui/NVOutlet.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QIcon>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

std::function<QString()>* g_answer = nullptr;

QIcon icon_of(const NVDesktopEntry& e)
{
    const QString icon = QString::fromStdString(e.icon);
    if (icon.startsWith('/'))
        return QIcon(icon);
    return QIcon::fromTheme(icon, QIcon::fromTheme("application-x-executable"));
}

} // namespace

void nv_set_app_chooser_answer(std::function<QString()>* answer)
{
    g_answer = answer;
}

QString nv_choose_application(QWidget* parent, const std::vector<NVDesktopEntry>& apps)
{
    if (g_answer)
        return (*g_answer)();

    QDialog dialog(parent);
    dialog.setWindowTitle(qtTrId("str_AL_choose_title"));
    auto* list = nv_outlet(new QListWidget, "_listApplications", qtTrId("str_AL_choose_title"));
    list->setIconSize(QSize(32, 32));
    for (const NVDesktopEntry& e : apps) {
        auto* item = new QListWidgetItem(icon_of(e), QString::fromStdString(e.name), list);
        item->setData(Qt::UserRole, QString::fromStdString(e.file.string()));
    }
    if (list->count() > 0)
        list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox;
    auto* ok = nv_outlet(buttons->addButton(qtTrId("str_M_ok"), QDialogButtonBox::AcceptRole), "_btnOk", qtTrId("str_M_ok"));
    nv_outlet(buttons->addButton(qtTrId("str_M_cancel"), QDialogButtonBox::RejectRole), "_btnCancel",
              qtTrId("str_M_cancel"));
    auto* other = nv_outlet(buttons->addButton(qtTrId("str_AL_other_program"), QDialogButtonBox::ActionRole),
                            "_btnOtherProgram", qtTrId("str_AL_other_program"));
    ok->setEnabled(list->count() > 0);

    QString chosen;
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
        if (QListWidgetItem* item = list->currentItem()) {
            chosen = item->data(Qt::UserRole).toString();
            dialog.accept();
        }
    });
    QObject::connect(list, &QListWidget::itemActivated, &dialog, [&](QListWidgetItem* item) {
        chosen = item->data(Qt::UserRole).toString();
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(other, &QPushButton::clicked, &dialog, [&] {
        const QString file = QFileDialog::getOpenFileName(&dialog, qtTrId("str_AL_other_program"), "/usr/bin");
        if (!file.isEmpty()) {
            chosen = file;
            dialog.accept();
        }
    });

    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(buttons);
    dialog.resize(360, 480);
    return dialog.exec() == QDialog::Accepted ? chosen : QString();
}
