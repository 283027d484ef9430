#pragma once

#include <QString>

class XmlDokument;
class XmlUzol;

// One access key and its owner.
class claIdentifikator
{
public:
    bool FlagStrateny() const { return m_strateny; }
    void setFlagStrateny(bool v) { m_strateny = v; }
    qint32 PoradoveCisloPreDanePriezvisko() const { return m_pc; }
    void setPoradoveCisloPreDanePriezvisko(qint32 v) { m_pc = v; }
    QString CisloBytuKancelarie() const { return m_cisloBK; }
    void setCisloBytuKancelarie(const QString &v) { m_cisloBK = v; }
    QString Poschodie() const { return m_poschodie; }
    void setPoschodie(const QString &v) { m_poschodie = v; }
    QString Poznamky() const { return m_poznamky; }
    void setPoznamky(const QString &v) { m_poznamky = v; }
    QString Meno() const { return m_meno; }
    void setMeno(const QString &v);
    QString MenoUCase() const;
    QString Priezvisko() const { return m_priezvisko; }
    void setPriezvisko(const QString &v);
    QString PriezviskoUCase() const;
    // Stored trimmed and in lower case.
    QString KodIdentifikatoraLCase() const { return m_kod; }
    void setKodIdentifikatoraLCase(const QString &v) { m_kod = v.trimmed().toLower(); }

    QString SuhrnnyPopis() const;

    // Fills the record from the child elements. False when a field could not
    // be read (a sequence number that does not fit 32 bits); the other
    // fields are read all the same.
    bool ParseXml(const XmlUzol &elemIdentifikator, QString *error = nullptr);
    // Appends one child element per field that has a value.
    bool SaveToXmlElem(XmlDokument &xmlDoc, XmlUzol &elemContainer) const;

    // CR LF, CR or LF line breaks to CR LF.
    static QString NormalizovatRiadky(const QString &text);

private:
    QString m_kod;
    QString m_priezvisko;
    // Upper-case forms, made when first asked for after an assignment.
    mutable QString m_priezviskoUCase;
    mutable bool m_priezviskoUCaseValid = true;
    QString m_meno;
    mutable QString m_menoUCase;
    mutable bool m_menoUCaseValid = true;
    qint32 m_pc = 0;
    QString m_poschodie;
    QString m_cisloBK;
    QString m_poznamky;
    bool m_strateny = false;
};
