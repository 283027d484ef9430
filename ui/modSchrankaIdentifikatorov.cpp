#include "ui/modSchrankaIdentifikatorov.h"

#include "model/XmlDokument.h"
#include "model/claIdentifikator.h"
#include "model/claZariadenie.h"
#include "model/colKolekciaIdentifikatorov.h"

namespace {
const QString kKoren = QStringLiteral("Identifikatory");
}

QString IdentifikatoryDoXml(const colKolekciaIdentifikatorov &identifikatory, const QStringList &kody, QString *chyba)
{
    XmlDokument doc;
    XmlUzol koren = doc.createElement(kKoren);
    for (const QString &kod : kody) {
        QString e;
        const IdentifikatorPtr id = identifikatory.Item(kod.toLower(), &e);
        if (!id) {
            if (chyba)
                *chyba = e;
            continue;
        }
        XmlUzol elem = doc.createElement(QStringLiteral("Id"));
        id->SaveToXmlElem(doc, elem);
        koren.appendChild(elem);
    }
    doc.appendChild(koren);
    return doc.xml();
}

int VlozitIdentifikatoryZXml(const QString &text, claZariadenie &zariadenie)
{
    if (text.isEmpty() || text.size() > MaxDlzkaSchrankyIdentifikatorov)
        return -1;
    // Plain text is told from XML without parsing it.
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    if (i >= text.size() || (text.at(i) != QLatin1Char('<') && text.at(i) != QChar(0xFEFF)))
        return -1;

    XmlDokument doc;
    if (!doc.loadXML(text))
        return -1;
    const XmlUzol koren = doc.selectSingleNode(kKoren);
    if (koren.isNull())
        return -1;

    int pridane = 0;
    colKolekciaIdentifikatorov &kolekcia = zariadenie.Identifikatory();
    for (XmlUzol e = koren.firstChild(); !e.isNull(); e = e.nextSibling()) {
        if (!e.isElement())
            continue;
        claIdentifikator id;
        id.ParseXml(e); // a field that cannot be read keeps its default
        if (id.KodIdentifikatoraLCase().isEmpty())
            continue;
        if (kolekcia.Add(id.KodIdentifikatoraLCase(), id.FlagStrateny(), id.PoradoveCisloPreDanePriezvisko(),
                         id.CisloBytuKancelarie(), id.Poschodie(), id.Poznamky(), id.Meno(), id.Priezvisko())) {
            ++pridane;
            zariadenie.setZmenyBoli(true);
        }
    }
    return pridane;
}
