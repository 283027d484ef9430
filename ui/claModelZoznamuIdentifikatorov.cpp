#include "ui/claModelZoznamuIdentifikatorov.h"

#include "app/modLokalizacia2_0.h"
#include "model/colKolekciaIdentifikatorov.h"

#include <QBrush>
#include <QCollator>
#include <QColor>
#include <QLocale>
#include <algorithm>

namespace {
const char *const kHlavicky[claModelZoznamuIdentifikatorov::PocetStlpcov] = {
    "Identifikátor", "Stratený", "P.č.", "Priezvisko", "Meno", "Poschodie", "Č.b.", "Poznámky", "suhrn"};
}

claModelZoznamuIdentifikatorov::claModelZoznamuIdentifikatorov(QObject *parent) : QAbstractTableModel(parent)
{
    for (int i = 0; i < PocetStlpcov; ++i)
        m_hlavicky[size_t(i)] = NavrhHlavicky(i);
}

QString claModelZoznamuIdentifikatorov::NavrhHlavicky(int stlpec)
{
    if (stlpec < 0 || stlpec >= PocetStlpcov)
        return QString();
    return QString::fromUtf8(kHlavicky[stlpec]);
}

QString claModelZoznamuIdentifikatorov::Hlavicka(int stlpec) const
{
    if (stlpec < 0 || stlpec >= PocetStlpcov)
        return QString();
    return m_hlavicky[size_t(stlpec)];
}

QString claModelZoznamuIdentifikatorov::TextBunky(const claIdentifikator &id, int stlpec, const QString &textStrateny)
{
    switch (stlpec) {
    case StlpecIdentifikator:
        return id.KodIdentifikatoraLCase();
    case StlpecStrateny:
        return id.FlagStrateny() ? textStrateny : QString();
    case StlpecPc:
        return id.PoradoveCisloPreDanePriezvisko() != 0 ? QString::number(id.PoradoveCisloPreDanePriezvisko())
                                                        : QString();
    case StlpecPriezvisko:
        return id.Priezvisko();
    case StlpecMeno:
        return id.Meno();
    case StlpecPoschodie:
        return id.Poschodie();
    case StlpecCb:
        return id.CisloBytuKancelarie();
    case StlpecPoznamky: {
        QString p = id.Poznamky();
        if (p.contains(QLatin1String("\r\n")))
            p.replace(QLatin1String("\r\n"), QLatin1String("/"));
        return p;
    }
    case StlpecSuhrn:
        return id.SuhrnnyPopis();
    default:
        return QString();
    }
}

QLocale claModelZoznamuIdentifikatorov::KolaciaZoznamu()
{
    // Without regional settings the C locale would order by code point and
    // put Čierny after Žitňan; the program speaks Slovak, so its lists do too.
    const QLocale l;
    return l.language() == QLocale::C ? QLocale(QLocale::Slovak, QLocale::Slovakia) : l;
}

void claModelZoznamuIdentifikatorov::Naplnit(const colKolekciaIdentifikatorov &identifikatory, int stlpecTriedenia,
                                              bool vzostupne)
{
    beginResetModel();
    for (int i = 0; i < PocetStlpcov; ++i)
        m_hlavicky[size_t(i)] = i == StlpecSuhrn ? NavrhHlavicky(i) : LokalizujText(NavrhHlavicky(i));

    m_riadky.clear();
    m_poradie.clear();
    m_riadky.reserve(size_t(identifikatory.Count()));
    const QString &textStrateny = m_hlavicky[StlpecStrateny];
    for (const IdentifikatorPtr &id : identifikatory) {
        if (!id)
            continue;
        Riadok r;
        for (int c = 0; c < PocetStlpcov; ++c)
            r.bunky[size_t(c)] = TextBunky(*id, c, textStrateny);
        r.strateny = id->FlagStrateny();
        m_riadky.push_back(std::move(r));
    }

    m_poradie.resize(m_riadky.size());
    for (size_t i = 0; i < m_poradie.size(); ++i)
        m_poradie[i] = int(i);

    if (stlpecTriedenia >= 0 && stlpecTriedenia < PocetStlpcov && m_riadky.size() > 1) {
        QCollator collator{KolaciaZoznamu()};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setNumericMode(false);
        collator.setIgnorePunctuation(false);
        // One key per row: comparing keys is far cheaper than collating
        // the texts again at every comparison.
        std::vector<QCollatorSortKey> kluce;
        kluce.reserve(m_riadky.size());
        for (const Riadok &r : m_riadky)
            kluce.push_back(collator.sortKey(r.bunky[size_t(stlpecTriedenia)]));
        if (vzostupne)
            std::stable_sort(m_poradie.begin(), m_poradie.end(),
                             [&kluce](int a, int b) { return kluce[size_t(a)].compare(kluce[size_t(b)]) < 0; });
        else
            std::stable_sort(m_poradie.begin(), m_poradie.end(),
                             [&kluce](int a, int b) { return kluce[size_t(b)].compare(kluce[size_t(a)]) < 0; });
    }
    endResetModel();
}

const claModelZoznamuIdentifikatorov::Riadok *claModelZoznamuIdentifikatorov::riadok(int r) const
{
    if (r < 0 || size_t(r) >= m_poradie.size())
        return nullptr;
    return &m_riadky[size_t(m_poradie[size_t(r)])];
}

QString claModelZoznamuIdentifikatorov::Text(int r, int stlpec) const
{
    const Riadok *p = riadok(r);
    if (!p || stlpec < 0 || stlpec >= PocetStlpcov)
        return QString();
    return p->bunky[size_t(stlpec)];
}

bool claModelZoznamuIdentifikatorov::Strateny(int r) const
{
    const Riadok *p = riadok(r);
    return p && p->strateny;
}

int claModelZoznamuIdentifikatorov::NajstKod(const QString &kod) const
{
    for (size_t i = 0; i < m_poradie.size(); ++i)
        if (m_riadky[size_t(m_poradie[i])].bunky[StlpecIdentifikator] == kod)
            return int(i);
    return -1;
}

int claModelZoznamuIdentifikatorov::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Pocet();
}

int claModelZoznamuIdentifikatorov::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : PocetStlpcov;
}

QVariant claModelZoznamuIdentifikatorov::data(const QModelIndex &index, int role) const
{
    const Riadok *p = index.isValid() ? riadok(index.row()) : nullptr;
    if (!p || index.column() < 0 || index.column() >= PocetStlpcov)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return p->bunky[size_t(index.column())];
    case Qt::ForegroundRole:
        if (p->strateny)
            return QBrush(QColor(255, 0, 0));
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant claModelZoznamuIdentifikatorov::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QVariant();
    return Hlavicka(section);
}

Qt::ItemFlags claModelZoznamuIdentifikatorov::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
