#include "platform/HourglassGuard.h"

#include <QGuiApplication>

HourglassGuard::HourglassGuard()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

HourglassGuard::~HourglassGuard()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}
