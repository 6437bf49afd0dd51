#include "settings/ui/NVDialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

NVDialogAnswers* g_answers = nullptr;

QString run_file_dialog(QWidget* parent, const QString& message, QFileDialog::AcceptMode mode,
                        const QString& proposedName)
{
    if (g_answers && g_answers->file)
        return g_answers->file(message);
    QFileDialog panel(parent, message, "/", "XML (*.xml)");
    panel.setAcceptMode(mode);
    panel.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    panel.setDefaultSuffix("xml");
    panel.setWindowModality(Qt::WindowModal);
    if (!proposedName.isEmpty())
        panel.selectFile(proposedName);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return {};
    return panel.selectedFiles().first();
}

} // namespace

void nv_set_dialog_answers(NVDialogAnswers* answers)
{
    g_answers = answers;
}

int nv_alert(QWidget* parent, const NVAlert& alert)
{
    if (g_answers && g_answers->alert)
        return g_answers->alert(alert);
    QMessageBox box(parent);
    box.setWindowModality(Qt::WindowModal);
    box.setWindowTitle(alert.title);
    box.setText(alert.title);
    box.setInformativeText(alert.text);
    QList<QAbstractButton*> buttons;
    for (const QString& title : alert.buttons)
        buttons.push_back(box.addButton(title, buttons.isEmpty() ? QMessageBox::AcceptRole : QMessageBox::RejectRole));
    if (!buttons.isEmpty())
        box.setDefaultButton(static_cast<QPushButton*>(buttons.first()));
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
}

QString nv_open_xml(QWidget* parent, const QString& message)
{
    return run_file_dialog(parent, message, QFileDialog::AcceptOpen, {});
}

QString nv_save_xml(QWidget* parent, const QString& message, const QString& proposedName)
{
    return run_file_dialog(parent, message, QFileDialog::AcceptSave, proposedName);
}

QString nv_open_application(QWidget* parent, const QString& message)
{
    if (g_answers && g_answers->file)
        return g_answers->file(message);
    QFileDialog panel(parent, message, "/usr/share/applications", "Applications (*.desktop);;All files (*)");
    panel.setFileMode(QFileDialog::ExistingFile);
    panel.setWindowModality(Qt::WindowModal);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return {};
    return panel.selectedFiles().first();
}
