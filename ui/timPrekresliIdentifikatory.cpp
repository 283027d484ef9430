#include "ui/timPrekresliIdentifikatory.h"

timPrekresliIdentifikatory::timPrekresliIdentifikatory(QObject *parent) : QTimer(parent)
{
    setObjectName(QStringLiteral("timPrekresliIdentifikatory"));
    setInterval(100);
    setSingleShot(true);
}

void timPrekresliIdentifikatory::setEnabled(bool enabled)
{
    if (!enabled)
        stop();
    else if (!isActive())
        start();
}

void timPrekresliIdentifikatory::Prekreslit(const QString &kod)
{
    setTag(kod);
    setEnabled(true);
}
