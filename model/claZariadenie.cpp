#include "model/claZariadenie.h"

#include "app/modLokalizacia2_0.h"
#include "app/modMain.h"
#include "model/XmlDokument.h"
#include "platform/UiDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QWidget>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QPointer<QWidget> &dialogParent()
{
    static QPointer<QWidget> p;
    return p;
}

claZariadenie::SaveFault &saveFault()
{
    static claZariadenie::SaveFault f;
    return f;
}

QString injected(const char *step)
{
    return saveFault() ? saveFault()(QLatin1String(step)) : QString();
}

QString osError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

// Makes the rename durable: the directory entry is on disk too.
void syncDirectory(const QString &dir)
{
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Copies src to dst through a temporary name, so an older dst stays whole
// until the new copy is complete. A hard link serves where the file system
// has them: the old content is on disk already and the rename that follows
// leaves it to the backup name alone.
bool copyFileSafely(const QString &src, const QString &dst, QString *error)
{
    const QString part = dst + QStringLiteral(".part");
    QFile::remove(part);
    if (::link(QFile::encodeName(src).constData(), QFile::encodeName(part).constData()) == 0) {
        if (::rename(QFile::encodeName(part).constData(), QFile::encodeName(dst).constData()) == 0)
            return true;
        QFile::remove(part);
    }
    QFile in(src);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    QFile out(part);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = out.errorString();
        return false;
    }
    QByteArray buf;
    while (!in.atEnd()) {
        buf = in.read(1 << 20);
        if (buf.isEmpty() && in.error() != QFileDevice::NoError) {
            *error = in.errorString();
            out.close();
            QFile::remove(part);
            return false;
        }
        if (out.write(buf) != buf.size()) {
            *error = out.errorString();
            out.close();
            QFile::remove(part);
            return false;
        }
    }
    if (!out.flush() || ::fsync(out.handle()) != 0) {
        *error = out.errorString().isEmpty() ? osError(errno) : out.errorString();
        out.close();
        QFile::remove(part);
        return false;
    }
    out.close();
    if (::rename(QFile::encodeName(part).constData(), QFile::encodeName(dst).constData()) != 0) {
        *error = osError(errno);
        QFile::remove(part);
        return false;
    }
    return true;
}

} // namespace

claZariadenie::claZariadenie() = default;

void claZariadenie::setDialogParent(QWidget *parent)
{
    dialogParent() = parent;
}

void claZariadenie::setSaveFault(SaveFault fault)
{
    saveFault() = std::move(fault);
}

float claZariadenie::CasOtvaraniaSec() const
{
    float v = m_casOtvarania;
    if (!(v > 0)) // also NaN
        v = 5;
    if (v > 30)
        v = 30;
    return v;
}

QString claZariadenie::FormatovatCas(float sekundy)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, sekundy);
    QString t = QString::fromLatin1(buf, int(r.ptr - buf));
    t.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return t;
}

bool claZariadenie::PrecitatCas(const QString &text, float *sekundy)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    // A file written under other regional settings carries the other separator.
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v) || std::fabs(v) > 3.4e38)
        return false;
    *sekundy = float(v);
    return true;
}

bool claZariadenie::LoadFile(const QString &fname)
{
    m_zmenyBoli = true;
    QString message;
    bool result = false;

    if (!QFileInfo(fname).isFile()) {
        message = LokalizujText(QStringLiteral("Neexistuje súbor")) + kCrLf + fname;
    } else {
        XmlDokument doc;
        QString parseError;
        if (!doc.load(fname, &parseError)) {
            message = LokalizujText(QStringLiteral("Nie je možné rozparsovať súbor")) + kCrLf + fname;
        } else {
            // Root among the top-level nodes: a declaration or a comment may
            // come first in files written by other tools.
            const XmlUzol root = doc.selectSingleNode(QStringLiteral("Root"));
            if (root.isNull()) {
                message = LokalizujText(QStringLiteral("Nie je možné rozparsovať súbor")) + kCrLf + fname;
            } else {
                XmlUzol n = root.selectSingleNode(QStringLiteral("PmHeslo"));
                if (!n.isNull())
                    m_pmHeslo = n.text();
                n = root.selectSingleNode(QStringLiteral("CasOtvaraniaSec"));
                if (!n.isNull()) {
                    float v = 0;
                    if (PrecitatCas(n.text(), &v))
                        m_casOtvarania = v;
                }
                n = root.selectSingleNode(QStringLiteral("Poznamky"));
                if (!n.isNull())
                    m_poznamky = claIdentifikator::NormalizovatRiadky(n.text());
                m_zmenyBoli = false;

                n = root.selectSingleNode(QStringLiteral("Identifikatory"));
                if (!n.isNull()) {
                    int pocet = 0;
                    for (XmlUzol e = n.firstChild(); !e.isNull(); e = e.nextSibling())
                        pocet += e.isElement() ? 1 : 0;
                    m_identifikatory.Reserve(m_identifikatory.Count() + pocet);
                    int poradie = 0;
                    for (XmlUzol e = n.firstChild(); !e.isNull(); e = e.nextSibling()) {
                        if (!e.isElement())
                            continue;
                        ++poradie;
                        auto id = std::make_shared<claIdentifikator>();
                        id->ParseXml(e);
                        QString error;
                        if (!m_identifikatory.Vlozit(id, &error)) {
                            if (!message.isEmpty())
                                message += kCrLf;
                            message += id->KodIdentifikatoraLCase() + QLatin1Char('(') + QString::number(poradie)
                                       + QStringLiteral("):") + error;
                            m_zmenyBoli = true;
                        }
                    }
                }
                m_fileName = fname;
                result = true;
            }
        }
    }
    if (!message.isEmpty())
        UiDialogs::message(message, UiDialogs::Ok, UiDialogs::Exclamation);
    return result;
}

bool claZariadenie::saveOnce(QString *message)
{
    const QString temp = m_fileName + QStringLiteral(".tmp");
    const QString backup = m_fileName + QStringLiteral(".bak");
    QString error;

    // 1. No stale temporary file.
    error = injected("temp");
    if (error.isEmpty() && QFileInfo::exists(temp) && !QFile::remove(temp))
        error = QFile(temp).errorString().isEmpty() ? osError(errno) : QFile(temp).errorString();
    if (!error.isEmpty()) {
        *message = LokalizujText(QStringLiteral("Chyba bola počas vymazania súboru")) + kCrLf + temp + kCrLf + error;
        return false;
    }

    // 2. The document.
    XmlDokument doc;
    XmlUzol root = doc.createElement(QStringLiteral("Root"));
    XmlUzol e = doc.createElement(QStringLiteral("PmHeslo"));
    e.setText(m_pmHeslo);
    root.appendChild(e);
    if (!m_poznamky.isEmpty()) {
        e = doc.createElement(QStringLiteral("Poznamky"));
        e.setText(m_poznamky);
        root.appendChild(e);
    }
    e = doc.createElement(QStringLiteral("CasOtvaraniaSec"));
    e.setText(FormatovatCas(CasOtvaraniaSec()));
    root.appendChild(e);
    XmlUzol zoznam = doc.createElement(QStringLiteral("Identifikatory"));
    for (const IdentifikatorPtr &id : m_identifikatory) {
        XmlUzol el = doc.createElement(QStringLiteral("Id"));
        id->SaveToXmlElem(doc, el);
        zoznam.appendChild(el);
    }
    root.appendChild(zoznam);
    doc.appendChild(root);

    // 3. Written, flushed and synced beside the database file.
    error = injected("write");
    if (error.isEmpty())
        doc.save(temp, &error);
    if (!error.isEmpty()) {
        QFile::remove(temp);
        *message = LokalizujText(QStringLiteral("Chyba bola počas zápisu do súboru")) + kCrLf + temp + kCrLf + error;
        return false;
    }

    const QFileInfo target(m_fileName);
    if (target.exists()) {
        // 4. The previous content goes to the backup.
        error = injected("backup");
        if (error.isEmpty())
            copyFileSafely(m_fileName, backup, &error);
        if (!error.isEmpty()) {
            QFile::remove(temp);
            *message = LokalizujText(QStringLiteral("Chyba bola počas archivácie súboru")) + kCrLf + m_fileName
                       + kCrLf + QStringLiteral("->") + kCrLf + backup + kCrLf + error;
            return false;
        }
        // A file marked read-only is not replaced, as a user expects (the
        // mode bits, not access(): root may write anything).
        if (!(target.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther))) {
            QFile::remove(temp);
            *message = LokalizujText(QStringLiteral("Chyba bola počas vymazania súboru")) + kCrLf + m_fileName
                       + kCrLf + osError(EACCES);
            return false;
        }
    }

    // 5. One atomic step replaces the database file: there is never a
    // moment without a complete file at its name.
    error = injected("rename");
    if (error.isEmpty()
        && ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(m_fileName).constData()) != 0)
        error = osError(errno);
    if (!error.isEmpty()) {
        QFile::remove(temp);
        *message = LokalizujText(QStringLiteral("Chyba bola počas premenovania súboru")) + kCrLf + temp + kCrLf
                   + QStringLiteral("->") + kCrLf + m_fileName + kCrLf + error;
        return false;
    }
    syncDirectory(QFileInfo(m_fileName).absolutePath());
    return true;
}

bool claZariadenie::SaveFile()
{
    if (m_fileName.trimmed().isEmpty())
        return SaveAsFile();
    QString message;
    if (saveOnce(&message)) {
        m_zmenyBoli = false;
        return true;
    }
    UiDialogs::message(message, UiDialogs::Ok, UiDialogs::Exclamation, UiDialogs::None, dialogParent());
    return SaveAsFile();
}

bool claZariadenie::SaveAsFile()
{
    UiDialogs::FileRequest req;
    req.kind = UiDialogs::SaveFile;
    req.initialDir = AdresarAplikacie;
    req.fileName = m_fileName;
    req.filter = TitulAplikacie() + QStringLiteral(" (*.") + QStringLiteral("qz.xml") + QStringLiteral(")|*.")
                 + QStringLiteral("qz.xml") + QStringLiteral("|") + LokalizujText(QStringLiteral("Všetky súbory"))
                 + QStringLiteral(" (*.*)|*.*");
    req.overwritePrompt = true;
    const UiDialogs::FileResult r = UiDialogs::fileDialog(req, dialogParent());
    if (!r.accepted || r.files.isEmpty() || r.files.first().isEmpty())
        return false;
    m_fileName = r.files.first();
    return SaveFile();
}
