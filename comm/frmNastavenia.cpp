#include "comm/frmNastavenia.h"

#include "app/modLokalizacia2_0.h"
#include "app/modMain.h"
#include "comm/modKomunikacnyPort.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmNastavenia::frmNastavenia(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmNastavenia"));
    setWindowTitle(QStringLiteral("Nastavenia"));
    setModal(true);

    auto makeRow = [this](QGridLayout *grid, int row, const QString &name, const QString &label) {
        auto *l = new QLabel(label, this);
        l->setObjectName(QStringLiteral("lbl") + name.mid(3));
        l->setWordWrap(true);
        auto *b = new QPushButton(this);
        b->setObjectName(name);
        b->setMinimumWidth(160);
        l->setBuddy(b);
        grid->addWidget(l, row, 0);
        grid->addWidget(b, row, 1);
        return b;
    };
    auto *grid = new QGridLayout;
    grid->setColumnStretch(0, 1);
    cmdPortNaKomunikaciuSoZariadenim = makeRow(grid, 0, QStringLiteral("cmdPortNaKomunikaciuSoZariadenim"),
                                               QStringLiteral("Komunikačný port na spojenie so zariadením"));
    cmdPortNaProgramatorPrenosovehoCipu = makeRow(
        grid, 1, QStringLiteral("cmdPortNaProgramatorPrenosovehoCipu"),
        QStringLiteral("Komunikačný port na spojenie s čítačkou/zapisovačkou prenosového čipu"));
    cmdPortNaZadavanieIdentifikatorov = makeRow(grid, 2, QStringLiteral("cmdPortNaZadavanieIdentifikatorov"),
                                                QStringLiteral("Komunikačný port na zadávanie nových identifikátorov"));
    cmdPortNaZadavanieIdentifikatorov->setToolTip(
        QStringLiteral("Stlačte tlačidlo na zmenu komunikačného portu na zadávanie identifikátorov"));

    cmdCancel = new QPushButton(QStringLiteral("Naspäť"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *tlacidla = new QHBoxLayout;
    tlacidla->addStretch(1);
    tlacidla->addWidget(cmdCancel);
    auto *hlavny = new QVBoxLayout(this);
    hlavny->addLayout(grid);
    hlavny->addStretch(1);
    hlavny->addLayout(tlacidla);
    resize(560, 170);

    connect(cmdPortNaKomunikaciuSoZariadenim, &QPushButton::clicked, this,
            &frmNastavenia::cmdPortNaKomunikaciuSoZariadenim_Click);
    connect(cmdPortNaProgramatorPrenosovehoCipu, &QPushButton::clicked, this,
            &frmNastavenia::cmdPortNaProgramatorPrenosovehoCipu_Click);
    connect(cmdPortNaZadavanieIdentifikatorov, &QPushButton::clicked, this,
            &frmNastavenia::cmdPortNaZadavanieIdentifikatorov_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmNastavenia::cmdCancel_Click);

    // Loading.
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    else
        setWindowIcon(QApplication::windowIcon());
    LokalizujFormular(this);
    ObnovitPopisy();
}

frmNastavenia::~frmNastavenia() = default;

void frmNastavenia::ObnovitPopisy()
{
    const struct { QPushButton *b; int typ; } rows[] = {
        {cmdPortNaKomunikaciuSoZariadenim, TypPortuZariadenie},
        {cmdPortNaProgramatorPrenosovehoCipu, TypPortuNapalovacka},
        {cmdPortNaZadavanieIdentifikatorov, TypPortuCitacka},
    };
    for (const auto &r : rows) {
        const QString v = Ini.IniString(QStringLiteral("MAIN"), KlucPortu(r.typ));
        r.b->setText(v.isEmpty() ? QStringLiteral("---") : v);
    }
}

void frmNastavenia::ZmenitPort(int typ_portu, bool flag_povoleny_nocom)
{
    // Only the proof that the port opens is needed; it is already stored.
    if (auto port = OtvoritKomunikacnyPort(typ_portu, true, flag_povoleny_nocom, this))
        port->ClosePort();
    ObnovitPopisy();
}

void frmNastavenia::cmdPortNaKomunikaciuSoZariadenim_Click()
{
    ZmenitPort(TypPortuZariadenie, false);
}

void frmNastavenia::cmdPortNaProgramatorPrenosovehoCipu_Click()
{
    ZmenitPort(TypPortuNapalovacka, false);
}

void frmNastavenia::cmdPortNaZadavanieIdentifikatorov_Click()
{
    ZmenitPort(TypPortuCitacka, true);
}

void frmNastavenia::cmdCancel_Click()
{
    reject();
}

void NastavenieAplikacie(QWidget *parent)
{
    frmNastavenia dlg(parent);
    dlg.exec();
}
