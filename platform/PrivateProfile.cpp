#include "platform/PrivateProfile.h"

#include "platform/Win1250Codec.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace {

// Files larger than this are not settings files; reading them whole would
// only waste memory.
constexpr qint64 kMaxSize = 16 * 1024 * 1024;

QStringList readLines(const QString &file, bool *existed = nullptr)
{
    QFile f(file);
    if (existed)
        *existed = f.exists();
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxSize)
        return {};
    QString text = Win1250Codec::toUnicode(f.readAll());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool writeLines(const QString &file, const QStringList &lines)
{
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray data;
    for (const QString &l : lines) {
        data += Win1250Codec::fromUnicode(l);
        data += "\r\n";
    }
    if (f.write(data) != data.size())
        return false;
    return f.commit();
}

// Section name of a "[name]" line, or a null string for other lines.
QString sectionOf(const QString &line)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return QString();
    const int close = t.indexOf(QLatin1Char(']'));
    const QString name = close < 0 ? t.mid(1) : t.mid(1, close - 1);
    return name.trimmed().isNull() ? QStringLiteral("") : name.trimmed();
}

bool keyOf(const QString &line, QString *key, QString *value)
{
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    *key = line.left(eq).trimmed();
    if (value) {
        QString v = line.mid(eq + 1).trimmed();
        if (v.size() >= 2 && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
                              || (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

bool same(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Index of the first header line of the section, or -1.
int findSection(const QStringList &lines, const QString &section)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QString s = sectionOf(lines[i]);
        if (!s.isNull() && same(s, section.trimmed()))
            return i;
    }
    return -1;
}

// One past the last line of the section starting at header.
int sectionEnd(const QStringList &lines, int header)
{
    int i = header + 1;
    while (i < lines.size() && sectionOf(lines[i]).isNull())
        ++i;
    return i;
}

int findKey(const QStringList &lines, int header, int end, const QString &key)
{
    for (int i = header + 1; i < end; ++i) {
        QString k;
        if (keyOf(lines[i], &k, nullptr) && same(k, key.trimmed()))
            return i;
    }
    return -1;
}

} // namespace

QString PrivateProfile::read(const QString &file, const QString &section, const QString &key)
{
    const QStringList lines = readLines(file);
    const int header = findSection(lines, section);
    if (header < 0)
        return QString();
    const int end = sectionEnd(lines, header);
    const int at = findKey(lines, header, end, key);
    if (at < 0)
        return QString();
    QString k, v;
    keyOf(lines[at], &k, &v);
    return v;
}

bool PrivateProfile::write(const QString &file, const QString &section, const QString &key,
                           const QString &value)
{
    QStringList lines = readLines(file);
    const QString entry = key.trimmed() + QLatin1Char('=') + value;
    int header = findSection(lines, section);
    if (header < 0) {
        lines << QLatin1Char('[') + section.trimmed() + QLatin1Char(']') << entry;
        return writeLines(file, lines);
    }
    const int end = sectionEnd(lines, header);
    const int at = findKey(lines, header, end, key);
    if (at >= 0) {
        QString k;
        keyOf(lines[at], &k, nullptr);
        lines[at] = k + QLatin1Char('=') + value;
    } else {
        // After the last non-blank line of the section.
        int pos = end;
        while (pos > header + 1 && lines[pos - 1].trimmed().isEmpty())
            --pos;
        lines.insert(pos, entry);
    }
    return writeLines(file, lines);
}

bool PrivateProfile::deleteKey(const QString &file, const QString &section, const QString &key)
{
    QStringList lines = readLines(file);
    const int header = findSection(lines, section);
    if (header < 0)
        return true;
    const int at = findKey(lines, header, sectionEnd(lines, header), key);
    if (at < 0)
        return true;
    lines.removeAt(at);
    return writeLines(file, lines);
}

bool PrivateProfile::deleteSection(const QString &file, const QString &section)
{
    QStringList lines = readLines(file);
    const int header = findSection(lines, section);
    if (header < 0)
        return true;
    const int end = sectionEnd(lines, header);
    lines.erase(lines.begin() + header, lines.begin() + end);
    return writeLines(file, lines);
}
