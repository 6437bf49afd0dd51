// Every control is found by its outlet name (objectName) and by its localised title
// (accessible name), by screen readers and GUI tests alike.
#pragma once

#include <QString>
#include <QWidget>

template <class W>
W* nv_outlet(W* widget, const char* outlet, const QString& accessibleName)
{
    widget->setObjectName(QString::fromLatin1(outlet));
    widget->setAccessibleName(accessibleName);
    return widget;
}
