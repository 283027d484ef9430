#include "platform/HourglassGuard.h"

#include <QCursor>
#include <QGuiApplication>

HourglassGuard::HourglassGuard()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

HourglassGuard::~HourglassGuard()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}
