#include "app/claIni1_3.h"

#include "platform/PrivateProfile.h"

#include <QLocale>

namespace {
constexpr int kMaxValueLength = 254;
}

claIni1_3::claIni1_3()
{
    const QString s = QLocale().toString(1.1, 'f', 1);
    m_decimalSeparator = s.size() > 1 ? s.at(1) : QLatin1Char('.');
}

// Writes go to the file at once, so nothing is pending here.
claIni1_3::~claIni1_3() = default;

QString claIni1_3::IniString(const QString &SectionName, const QString &Keyname) const
{
    if (m_fileName.isEmpty())
        return QString();
    return PrivateProfile::read(m_fileName, SectionName, Keyname).left(kMaxValueLength);
}

void claIni1_3::setIniString(const QString &SectionName, const QString &Keyname, const QString &value)
{
    if (!m_fileName.isEmpty())
        PrivateProfile::write(m_fileName, SectionName, Keyname, value);
}

bool claIni1_3::IniBool(const QString &SectionName, const QString &Keyname) const
{
    const QString t = IniString(SectionName, Keyname).trimmed().toUpper();
    return t == QLatin1String("TRUE") || t == QLatin1String("YES") || t == QLatin1String("Y")
        || t == QLatin1String("ANO") || t == QLatin1String("A");
}

void claIni1_3::setIniBool(const QString &SectionName, const QString &Keyname, bool value)
{
    setIniString(SectionName, Keyname, value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

double claIni1_3::IniNumeric(const QString &SectionName, const QString &Keyname) const
{
    QString t = IniString(SectionName, Keyname).trimmed().toUpper();
    t.replace(QLatin1Char(','), m_decimalSeparator);
    t.replace(QLatin1Char('.'), m_decimalSeparator);
    bool ok = false;
    const double v = QLocale().toDouble(t, &ok);
    return ok ? v : 0.0;
}

void claIni1_3::setIniNumeric(const QString &SectionName, const QString &Keyname, double value)
{
    QString t = QString::number(value, 'g', 15);
    t.replace(QLatin1Char('.'), m_decimalSeparator);
    setIniString(SectionName, Keyname, t);
}

QDateTime claIni1_3::ZeroDateTime()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0, 0));
}

QDateTime claIni1_3::IniDateTime(const QString &SectionName, const QString &Keyname, bool *ok) const
{
    const QString t = IniString(SectionName, Keyname);
    if (ok)
        *ok = true;
    if (t.isEmpty())
        return ZeroDateTime();
    auto part = [&](int from, int len, bool *good) { return t.mid(from, len).toInt(good); };
    bool g[6];
    const int y = part(0, 4, &g[0]), mo = part(4, 2, &g[1]), d = part(6, 2, &g[2]);
    const int h = part(8, 2, &g[3]), mi = part(10, 2, &g[4]), s = part(12, 2, &g[5]);
    const QDate date(y, mo, d);
    const QTime time(h, mi, s);
    const bool good = g[0] && g[1] && g[2] && g[3] && g[4] && g[5] && date.isValid() && time.isValid();
    if (!good) {
        if (ok)
            *ok = false;
        return QDateTime();
    }
    return QDateTime(date, time);
}

void claIni1_3::setIniDateTime(const QString &SectionName, const QString &Keyname, const QDateTime &value)
{
    setIniString(SectionName, Keyname, value.toString(QStringLiteral("yyyyMMddHHmmss")));
}

void claIni1_3::DeleteKey(const QString &SectionName, const QString &Keyname)
{
    if (!m_fileName.isEmpty())
        PrivateProfile::deleteKey(m_fileName, SectionName, Keyname);
}

void claIni1_3::DeleteSection(const QString &SectionName)
{
    if (!m_fileName.isEmpty())
        PrivateProfile::deleteSection(m_fileName, SectionName);
}
