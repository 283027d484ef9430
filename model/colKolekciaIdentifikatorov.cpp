#include "model/colKolekciaIdentifikatorov.h"

#include <algorithm>

QString colKolekciaIdentifikatorov::ChybaDuplicitnyKluc()
{
    return QStringLiteral("Tento kľúč je už priradený prvku tejto kolekcie");
}

QString colKolekciaIdentifikatorov::ChybaNeplatnyArgument()
{
    return QStringLiteral("Neplatné volanie procedúry alebo argument");
}

QString colKolekciaIdentifikatorov::ChybaMimoRozsahu()
{
    return QStringLiteral("Index je mimo rozsahu");
}

IdentifikatorPtr colKolekciaIdentifikatorov::Add(const QString &kod, bool strateny, qint32 pc,
                                                 const QString &cisloBK, const QString &poschodie,
                                                 const QString &poznamky, const QString &meno,
                                                 const QString &priezvisko, const QString &,
                                                 QString *error)
{
    const QString k = kluc(kod);
    if (m_podlaKluca.contains(k)) {
        if (error)
            *error = ChybaDuplicitnyKluc();
        return nullptr;
    }
    auto id = std::make_shared<claIdentifikator>();
    id->setKodIdentifikatoraLCase(kod);
    id->setFlagStrateny(strateny);
    id->setPoradoveCisloPreDanePriezvisko(pc);
    id->setCisloBytuKancelarie(cisloBK);
    id->setPoschodie(poschodie);
    id->setPoznamky(poznamky);
    id->setMeno(meno);
    id->setPriezvisko(priezvisko);
    m_podlaKluca.insert(k, id);
    m_poradie.push_back(id);
    m_kluce.push_back(k);
    return id;
}

bool colKolekciaIdentifikatorov::Vlozit(const IdentifikatorPtr &id, QString *error)
{
    const QString k = kluc(id->KodIdentifikatoraLCase());
    if (m_podlaKluca.contains(k)) {
        if (error)
            *error = ChybaDuplicitnyKluc();
        return false;
    }
    m_podlaKluca.insert(k, id);
    m_poradie.push_back(id);
    m_kluce.push_back(k);
    return true;
}

IdentifikatorPtr colKolekciaIdentifikatorov::Item(const QString &kod, QString *error) const
{
    const auto it = m_podlaKluca.constFind(kluc(kod));
    if (it == m_podlaKluca.constEnd()) {
        if (error)
            *error = ChybaNeplatnyArgument();
        return nullptr;
    }
    return it.value();
}

IdentifikatorPtr colKolekciaIdentifikatorov::Item(int pozicia, QString *error) const
{
    if (pozicia < 1 || pozicia > Count()) {
        if (error)
            *error = ChybaMimoRozsahu();
        return nullptr;
    }
    return m_poradie[size_t(pozicia - 1)];
}

bool colKolekciaIdentifikatorov::Remove(const QString &kod, QString *error)
{
    const auto it = m_podlaKluca.find(kluc(kod));
    if (it == m_podlaKluca.end()) {
        if (error)
            *error = ChybaNeplatnyArgument();
        return false;
    }
    const IdentifikatorPtr id = it.value();
    m_podlaKluca.erase(it);
    const auto pos = std::find(m_poradie.begin(), m_poradie.end(), id) - m_poradie.begin();
    m_poradie.erase(m_poradie.begin() + pos);
    m_kluce.erase(m_kluce.begin() + pos);
    return true;
}

bool colKolekciaIdentifikatorov::Remove(int pozicia, QString *error)
{
    const IdentifikatorPtr id = Item(pozicia, error);
    if (!id)
        return false;
    m_podlaKluca.remove(m_kluce[size_t(pozicia - 1)]);
    m_poradie.erase(m_poradie.begin() + (pozicia - 1));
    m_kluce.erase(m_kluce.begin() + (pozicia - 1));
    return true;
}
