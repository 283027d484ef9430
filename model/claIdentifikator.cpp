#include "model/claIdentifikator.h"

#include "model/XmlDokument.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

void claIdentifikator::setMeno(const QString &v)
{
    m_meno = v;
    m_menoUCaseValid = false;
}

QString claIdentifikator::MenoUCase() const
{
    if (!m_menoUCaseValid) {
        m_menoUCase = m_meno.toUpper();
        m_menoUCaseValid = true;
    }
    return m_menoUCase;
}

void claIdentifikator::setPriezvisko(const QString &v)
{
    m_priezvisko = v;
    m_priezviskoUCaseValid = false;
}

QString claIdentifikator::PriezviskoUCase() const
{
    if (!m_priezviskoUCaseValid) {
        m_priezviskoUCase = m_priezvisko.toUpper();
        m_priezviskoUCaseValid = true;
    }
    return m_priezviskoUCase;
}

QString claIdentifikator::SuhrnnyPopis() const
{
    QString s = (m_priezvisko + QLatin1Char(' ') + m_meno).trimmed();
    if (m_pc != 0)
        s = (s + QStringLiteral(" (") + (m_pc < 0 ? QStringLiteral("-") : QString())
             + QStringLiteral("%1").arg(qAbs(qint64(m_pc)), 3, 10, QLatin1Char('0')) + QLatin1Char(')')).trimmed();
    if (!m_poschodie.isEmpty() || !m_cisloBK.isEmpty())
        s = (s + QStringLiteral(" [") + m_poschodie + QLatin1Char('/') + m_cisloBK + QLatin1Char(']')).trimmed();
    return s.isEmpty() ? m_kod : s;
}

QString claIdentifikator::NormalizovatRiadky(const QString &text)
{
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    t.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    t.replace(QLatin1Char('\r'), QLatin1String("\r\n"));
    return t;
}

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A number in either decimal notation, from UTF-8 without a detour through
// QString; false for anything else.
bool parseNumber(const char *text, double *value)
{
    const char *b = text;
    while (isSpace(*b))
        ++b;
    const char *e = b + std::strlen(b);
    while (e > b && isSpace(e[-1]))
        --e;
    if (e == b || e - b > 60)
        return false;
    char buf[64];
    int n = 0;
    for (const char *p = b; p < e; ++p)
        buf[n++] = *p == ',' ? '.' : *p;
    const char *start = buf[0] == '+' ? buf + 1 : buf;
    double v = 0;
    const auto r = std::from_chars(start, buf + n, v, std::chars_format::general);
    if (r.ec != std::errc() || r.ptr != buf + n || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

// A number in either decimal notation; false for anything else.
bool parseNumber(const QString &text, double *value)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

} // namespace

bool claIdentifikator::ParseXml(const XmlUzol &elem, QString *error)
{
    // One pass over the children; the first element of each name counts.
    enum { Kod, Strateny, Priezvisko, Pc, Meno, Poschodie, CisloBK, Poznamky, Pocet };
    static const char *const names[Pocet] = {"Kod", "Strateny", "Priezvisko", "Pc",
                                             "Meno", "Poschodie", "CisloBK", "Poznamky"};
    XmlUzol found[Pocet];
    int missing = Pocet;
    for (XmlUzol c = elem.firstChild(); !c.isNull() && missing > 0; c = c.nextSibling()) {
        if (!c.isElement())
            continue;
        for (int i = 0; i < Pocet; ++i) {
            if (found[i].isNull() && c.nameIs(names[i])) {
                found[i] = c;
                --missing;
                break;
            }
        }
    }

    bool ok = true;
    if (!found[Kod].isNull())
        setKodIdentifikatoraLCase(found[Kod].text());
    if (!found[Strateny].isNull()) {
        const char *raw = found[Strateny].plainUtf8();
        if (raw && raw[0] == '1' && raw[1] == 0) {
            m_strateny = true;
        } else {
            const QString t = found[Strateny].text().trimmed().toUpper();
            if (t == QLatin1String("TRUE") || t == QLatin1String("1"))
                m_strateny = true;
        }
    }
    if (!found[Priezvisko].isNull())
        setPriezvisko(found[Priezvisko].text());
    if (!found[Pc].isNull()) {
        double v = 0;
        const char *raw = found[Pc].plainUtf8();
        if (raw ? parseNumber(raw, &v) : parseNumber(found[Pc].text(), &v)) {
            const double r = std::nearbyint(v); // halves to the even neighbour
            if (r >= std::numeric_limits<qint32>::min() && r <= std::numeric_limits<qint32>::max()) {
                m_pc = qint32(r);
            } else {
                ok = false;
                if (error)
                    *error = QStringLiteral("Pretečenie");
            }
        }
    }
    if (!found[Meno].isNull())
        setMeno(found[Meno].text());
    if (!found[Poschodie].isNull())
        m_poschodie = found[Poschodie].text();
    if (!found[CisloBK].isNull())
        m_cisloBK = found[CisloBK].text();
    if (!found[Poznamky].isNull())
        m_poznamky = NormalizovatRiadky(found[Poznamky].text());
    return ok;
}

bool claIdentifikator::SaveToXmlElem(XmlDokument &doc, XmlUzol &container) const
{
    auto add = [&](const char *name, const QString &text) {
        XmlUzol e = doc.createElement(name);
        e.setText(text);
        return !container.appendChild(e).isNull();
    };
    bool ok = add("Kod", m_kod);
    if (m_strateny)
        ok = add("Strateny", QStringLiteral("1")) && ok;
    if (!m_priezvisko.isEmpty())
        ok = add("Priezvisko", m_priezvisko) && ok;
    if (m_pc != 0)
        ok = add("Pc", QString::number(m_pc)) && ok;
    if (!m_meno.isEmpty())
        ok = add("Meno", m_meno) && ok;
    if (!m_poschodie.isEmpty())
        ok = add("Poschodie", m_poschodie) && ok;
    if (!m_cisloBK.isEmpty())
        ok = add("CisloBK", m_cisloBK) && ok;
    if (!m_poznamky.isEmpty())
        ok = add("Poznamky", m_poznamky) && ok;
    return ok;
}
