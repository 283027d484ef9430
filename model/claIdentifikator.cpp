#include "model/claIdentifikator.h"

#include "model/XmlDokument.h"

#include <cmath>
#include <limits>

void claIdentifikator::setMeno(const QString &v)
{
    m_meno = v;
    m_menoUCase = v.toUpper();
}

void claIdentifikator::setPriezvisko(const QString &v)
{
    m_priezvisko = v;
    m_priezviskoUCase = v.toUpper();
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
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\r"));
    t.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    t.replace(QLatin1Char('\r'), QLatin1String("\r\n"));
    return t;
}

namespace {

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
    bool ok = true;
    XmlUzol n = elem.selectSingleNode(QStringLiteral("Kod"));
    if (!n.isNull())
        setKodIdentifikatoraLCase(n.text());
    n = elem.selectSingleNode(QStringLiteral("Strateny"));
    if (!n.isNull()) {
        const QString t = n.text().trimmed().toUpper();
        if (t == QLatin1String("TRUE") || t == QLatin1String("1"))
            m_strateny = true;
    }
    n = elem.selectSingleNode(QStringLiteral("Priezvisko"));
    if (!n.isNull())
        setPriezvisko(n.text());
    n = elem.selectSingleNode(QStringLiteral("Pc"));
    if (!n.isNull()) {
        double v = 0;
        if (parseNumber(n.text(), &v)) {
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
    n = elem.selectSingleNode(QStringLiteral("Meno"));
    if (!n.isNull())
        setMeno(n.text());
    n = elem.selectSingleNode(QStringLiteral("Poschodie"));
    if (!n.isNull())
        m_poschodie = n.text();
    n = elem.selectSingleNode(QStringLiteral("CisloBK"));
    if (!n.isNull())
        m_cisloBK = n.text();
    n = elem.selectSingleNode(QStringLiteral("Poznamky"));
    if (!n.isNull())
        m_poznamky = NormalizovatRiadky(n.text());
    return ok;
}

bool claIdentifikator::SaveToXmlElem(XmlDokument &doc, XmlUzol &container) const
{
    auto add = [&](const char *name, const QString &text) {
        XmlUzol e = doc.createElement(QLatin1String(name));
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
