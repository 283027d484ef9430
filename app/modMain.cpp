#include "app/modMain.h"

#include "app/modLokalizacia2_0.h"
#include "model/claZariadenie.h"
#include "model/modDowCRC.h"
#include "platform/UiDialogs.h"
#include "ui/frmMain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString AdresarAplikacie;
claIni1_3 Ini;
std::shared_ptr<claZariadenie> Zariadenie = std::make_shared<claZariadenie>();
QString SuborHromadnyProtokolVzor;
QString SuborJednotlivyProtokolVzor;

QString TitulAplikacie()
{
    return QStringLiteral("TEBO");
}

QString NazovProgramu()
{
    QString name;
    if (QCoreApplication::instance())
        name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return name.isEmpty() ? QStringLiteral("tebo") : name;
}

QString UrcitAdresarAplikacie(const QStringList &arguments)
{
    QString dir;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--appdir") && i + 1 < arguments.size()) {
            dir = arguments[i + 1];
            break;
        }
        if (a.startsWith(QLatin1String("--appdir="))) {
            dir = a.mid(9);
            break;
        }
    }
    if (dir.isEmpty())
        dir = qEnvironmentVariable("TEBO_APPDIR");
    if (dir.isEmpty() && QCoreApplication::instance())
        dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        dir = QDir::currentPath();
    dir = QDir::cleanPath(QDir(dir).absolutePath());
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

void PripravitAplikaciu(const QString &adresarAplikacie)
{
    AdresarAplikacie = adresarAplikacie;
    if (!AdresarAplikacie.endsWith(QLatin1Char('/')))
        AdresarAplikacie += QLatin1Char('/');
    UiDialogs::setApplicationTitle(TitulAplikacie());
    Ini.setFileName(AdresarAplikacie + NazovProgramu() + QStringLiteral(".ini"));
    DowCRCInit();
    NacitajLokalizaciu(AdresarAplikacie + QStringLiteral("lokalizacia.txt"));
    SuborHromadnyProtokolVzor = AdresarAplikacie + QStringLiteral("hromadny_preberaci_protokol_vzor.rtf");
    SuborJednotlivyProtokolVzor = AdresarAplikacie + QStringLiteral("jednotlivy_preberaci_protokol_vzor.rtf");
}

void Main(const QStringList &arguments)
{
    PripravitAplikaciu(UrcitAdresarAplikacie(arguments));
    auto *w = new frmMain;
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->Zobrazit();
}

namespace {
int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}
} // namespace

QByteArray HexNaRetazec(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() / 2 + 1);
    for (qsizetype i = 0; i < text.size(); i += 2) {
        const int hi = hexDigit(text[i]);
        if (hi < 0)
            return QByteArray();
        if (i + 1 < text.size()) {
            const int lo = hexDigit(text[i + 1]);
            if (lo < 0)
                return QByteArray();
            out += char(hi * 16 + lo);
        } else {
            out += char(hi);
        }
    }
    return out;
}

QString RetazecNaHex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex());
}
