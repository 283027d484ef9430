#pragma once

#include "model/claIdentifikator.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

using IdentifikatorPtr = std::shared_ptr<claIdentifikator>;

// The identifiers of one device: keyed by code without regard to case, in
// the order they were added, positions 1-based. Failures are plain results
// (a null record or false) with a description, never exceptions.
class colKolekciaIdentifikatorov
{
public:
    // Stores a new record under KodIdentifikatoraLCase as passed. Null (and
    // the collection unchanged) when the key is present already.
    IdentifikatorPtr Add(const QString &KodIdentifikatoraLCase, bool FlagStrateny,
                         qint32 PoradoveCisloPreDanePriezvisko, const QString &CisloBytuKancelarie,
                         const QString &Poschodie, const QString &Poznamky, const QString &Meno,
                         const QString &Priezvisko, const QString &sKey = QString(),
                         QString *error = nullptr);

    void Reserve(int count)
    {
        m_poradie.reserve(size_t(count));
        m_kluce.reserve(size_t(count));
        m_podlaKluca.reserve(count);
    }
    // Stores an existing record under its code; false on a duplicate.
    bool Vlozit(const IdentifikatorPtr &id, QString *error = nullptr);

    // Null when absent or out of range.
    IdentifikatorPtr Item(const QString &kod, QString *error = nullptr) const;
    IdentifikatorPtr Item(int pozicia, QString *error = nullptr) const;
    int Count() const { return int(m_poradie.size()); }
    bool Remove(const QString &kod, QString *error = nullptr);
    bool Remove(int pozicia, QString *error = nullptr);

    // All records in collection order.
    const std::vector<IdentifikatorPtr> &NewEnum() const { return m_poradie; }
    std::vector<IdentifikatorPtr>::const_iterator begin() const { return m_poradie.begin(); }
    std::vector<IdentifikatorPtr>::const_iterator end() const { return m_poradie.end(); }

    static QString ChybaDuplicitnyKluc();
    static QString ChybaNeplatnyArgument();
    static QString ChybaMimoRozsahu();

private:
    static QString kluc(const QString &kod) { return kod.toLower(); }

    std::vector<IdentifikatorPtr> m_poradie;
    std::vector<QString> m_kluce; // key of each position
    QHash<QString, IdentifikatorPtr> m_podlaKluca;
};
