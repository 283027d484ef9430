#pragma once

#include <QAbstractTableModel>
#include <QLocale>
#include <QString>
#include <array>
#include <vector>

class claIdentifikator;
class colKolekciaIdentifikatorov;

// The rows of the main window's identifier list: nine text columns per
// identifier, rebuilt as a whole and sorted by one column's text with the
// locale's collation, case-insensitive.
class claModelZoznamuIdentifikatorov : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Stlpec {
        StlpecIdentifikator = 0,
        StlpecStrateny,
        StlpecPc,
        StlpecPriezvisko,
        StlpecMeno,
        StlpecPoschodie,
        StlpecCb,
        StlpecPoznamky,
        StlpecSuhrn,
        PocetStlpcov
    };

    explicit claModelZoznamuIdentifikatorov(QObject *parent = nullptr);

    // Clears the rows, takes every identifier of the collection in its order
    // and sorts by the column (stable: equal texts keep the collection order).
    void Naplnit(const colKolekciaIdentifikatorov &identifikatory, int stlpecTriedenia, bool vzostupne);

    // The locale whose collation orders the list: the regional settings,
    // Slovak where there are none (the C locale).
    static QLocale KolaciaZoznamu();

    // Design text of a column header; "suhrn" is never translated.
    static QString NavrhHlavicky(int stlpec);
    // Header text as displayed (translated).
    QString Hlavicka(int stlpec) const;
    // A cell as the list shows it; textStrateny is the displayed header of the lost column.
    static QString TextBunky(const claIdentifikator &id, int stlpec, const QString &textStrateny);

    int Pocet() const { return int(m_poradie.size()); }
    QString Text(int riadok, int stlpec) const;
    QString Kod(int riadok) const { return Text(riadok, StlpecIdentifikator); }
    bool Strateny(int riadok) const;
    // First row in the sorted order whose code equals kod exactly, or -1.
    int NajstKod(const QString &kod) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Riadok {
        std::array<QString, PocetStlpcov> bunky;
        bool strateny = false;
    };
    const Riadok *riadok(int r) const;

    std::vector<Riadok> m_riadky;    // collection order
    std::vector<int> m_poradie;      // sorted order: indices into m_riadky
    std::array<QString, PocetStlpcov> m_hlavicky;
};
