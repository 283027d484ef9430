// Where in-process components are registered, shared by the component's
// DllRegisterServer and tebo's creation helper. Header only: nothing of
// either side's code crosses.
#pragma once

#include "claLuReport1_4Interface.h"

#include <QDir>
#include <QStandardPaths>
#include <QString>

// The registration record: an INI file, by default in the user's
// configuration folder; TEBO_COMPONENT_REGISTRY points elsewhere.
inline QString teboComponentRegistryPath()
{
    const QString env = qEnvironmentVariable("TEBO_COMPONENT_REGISTRY");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/tebo/components.ini");
}

// "{91DCC26B-18DA-4A2F-B00C-2C55274D6279}"
inline QString teboGuidToString(const TeboGuid &g)
{
    QString s = QStringLiteral("{%1-%2-%3-").arg(g.data1, 8, 16, QLatin1Char('0'))
                    .arg(g.data2, 4, 16, QLatin1Char('0')).arg(g.data3, 4, 16, QLatin1Char('0'));
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            s += QLatin1Char('-');
        s += QStringLiteral("%1").arg(g.data4[i], 2, 16, QLatin1Char('0'));
    }
    s += QLatin1Char('}');
    return s.toUpper();
}

// Keys of the record.
inline QString teboClassKey(const TeboGuid &clsid, const char *value)
{
    return QStringLiteral("CLSID/") + teboGuidToString(clsid) + QLatin1Char('/') + QLatin1String(value);
}
