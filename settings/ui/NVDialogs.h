// Alerts and file panels of the settings application. Tests answer them instead of a user.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

struct NVAlert {
    QString title;
    QString text;
    QStringList buttons; // the first is the default
};

// The index of the button pressed; -1 when the box was closed otherwise.
int nv_alert(QWidget* parent, const NVAlert& alert);
// One existing ".xml" file; empty when cancelled.
QString nv_open_xml(QWidget* parent, const QString& message);
// A ".xml" file to write, proposed under the name given; empty when cancelled.
QString nv_save_xml(QWidget* parent, const QString& message, const QString& proposedName);

// An application to start: a program or a desktop entry; empty when cancelled.
QString nv_open_application(QWidget* parent, const QString& message);

// Answers given in place of the user while set; null restores the real dialogs.
struct NVDialogAnswers {
    std::function<int(const NVAlert&)> alert;
    std::function<QString(const QString& message)> file;
};
void nv_set_dialog_answers(NVDialogAnswers* answers);
