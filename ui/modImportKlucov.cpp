#include "ui/modImportKlucov.h"

#include "app/claIni1_3.h"
#include "model/claZariadenie.h"
#include "model/colKolekciaIdentifikatorov.h"
#include "platform/Win1250Codec.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

const QString kSekcia = QStringLiteral("Inicializacia");
// Settings-style files beyond this size read as empty, as every INI read does.
constexpr qint64 kMaxVelkost = 16 * 1024 * 1024;
constexpr int kMaxDlzkaHodnoty = 254;

// The keys of the first section of that name, upper-cased, first match
// wins, values trimmed and stripped of one pair of enclosing quotes: the
// same reading as every single INI read, done once for the whole file.
QHash<QString, QString> precitatSekciu(const QString &subor, const QString &sekcia)
{
    QHash<QString, QString> hodnoty;
    QFile f(subor);
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxVelkost)
        return hodnoty;
    QString text = Win1250Codec::toUnicode(f.read(kMaxVelkost + 1));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList riadky = text.split(QLatin1Char('\n'));

    bool vSekcii = false;
    bool najdena = false;
    for (const QString &riadok : riadky) {
        const QString t = riadok.trimmed();
        if (t.startsWith(QLatin1Char('['))) {
            if (vSekcii)
                break; // the section ends at the next header
            const int koniec = t.indexOf(QLatin1Char(']'));
            const QString meno = (koniec < 0 ? t.mid(1) : t.mid(1, koniec - 1)).trimmed();
            if (!najdena && meno.compare(sekcia, Qt::CaseInsensitive) == 0) {
                vSekcii = true;
                najdena = true;
            }
            continue;
        }
        if (!vSekcii)
            continue;
        const int rovnasa = riadok.indexOf(QLatin1Char('='));
        if (rovnasa < 0)
            continue;
        const QString kluc = riadok.left(rovnasa).trimmed().toUpper();
        if (hodnoty.contains(kluc))
            continue;
        QString v = riadok.mid(rovnasa + 1).trimmed();
        if (v.size() >= 2
            && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
                || (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
            v = v.mid(1, v.size() - 2);
        hodnoty.insert(kluc, v.left(kMaxDlzkaHodnoty));
    }
    return hodnoty;
}

// A number as settings files hold it: either decimal separator; 0 when absent
// or not a number.
double cislo(const QString &hodnota)
{
    QString t = hodnota.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

// Whole number with halves to the even neighbour; false when out of range.
bool celeCislo(double v, qint64 min, qint64 max, qint64 *vysledok)
{
    const double r = std::nearbyint(v);
    if (!(r >= double(min) && r <= double(max)))
        return false;
    *vysledok = qint64(r);
    return true;
}

// The running number of a key name in decimal without leading zeros, or 0.
qint64 poradoveCislo(const QString &kluc)
{
    if (kluc.isEmpty() || kluc.size() > 10 || kluc.at(0) == QLatin1Char('0'))
        return 0;
    qint64 n = 0;
    for (QChar c : kluc) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

} // namespace

void RozdelitRiadokKluca(const QString &riadok, QString *kod, QString *vlastnik)
{
    const QString t = riadok.trimmed();
    const int medzera = t.indexOf(QLatin1Char(' '));
    if (medzera < 0) {
        *kod = t;
        vlastnik->clear();
    } else {
        *kod = t.left(medzera);
        *vlastnik = t.mid(medzera + 1).trimmed();
    }
}

int ImportovatKluceZoSuboru(const QString &subor, claZariadenie &zariadenie)
{
    claIni1_3 ini;
    ini.setFileName(subor);
    qint64 pocet = 0;
    const double n = ini.IniNumeric(kSekcia, QStringLiteral("PocetKlucov"));
    if (!celeCislo(n, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), &pocet))
        pocet = n > 0 ? std::numeric_limits<qint32>::max() : 0;
    if (pocet <= 0)
        return 0;

    const QHash<QString, QString> hodnoty = precitatSekciu(subor, kSekcia);
    // Running numbers 1..PocetKlucov that have a key line, ascending: the
    // same keys a walk over every number would find.
    std::vector<qint64> cisla;
    for (auto it = hodnoty.cbegin(); it != hodnoty.cend(); ++it) {
        const qint64 k = poradoveCislo(it.key());
        if (k >= 1 && k <= pocet)
            cisla.push_back(k);
    }
    std::sort(cisla.begin(), cisla.end());

    colKolekciaIdentifikatorov &kolekcia = zariadenie.Identifikatory();
    int importovane = 0;
    for (const qint64 k : cisla) {
        const QString kk = QString::number(k);
        QString kod, vlastnik;
        RozdelitRiadokKluca(hodnoty.value(kk), &kod, &vlastnik);
        if (kod.isEmpty())
            continue; // a key line without a code holds no key
        qint64 pc = 0;
        if (!celeCislo(cislo(hodnoty.value(kk + QStringLiteral("_PCK"))), std::numeric_limits<qint32>::min(),
                       std::numeric_limits<qint32>::max(), &pc))
            continue; // a sequence number that fits no whole number fails the key
        const QString cb = hodnoty.value(kk + QStringLiteral("_CB"));
        const QString po = hodnoty.value(kk + QStringLiteral("_PO"));
        if (kolekcia.Add(kod.toLower(), false, qint32(pc), cb, po, QString(), QString(), vlastnik)) {
            ++importovane;
            zariadenie.setZmenyBoli(true);
        }
    }
    return importovane;
}
