#include "comm/frmUrcenieSeriovejLinky.h"

#include "app/modLokalizacia2_0.h"
#include "comm/claComm6_9.h"
#include "comm/modKomunikacnyPort.h"
#include "platform/HourglassGuard.h"
#include "platform/UiDialogs.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

frmUrcenieSeriovejLinky::frmUrcenieSeriovejLinky(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmUrcenieSeriovejLinky"));
    setWindowTitle(QStringLiteral("Určenie sériovej linky"));
    setModal(true);

    lblPrompt = new QLabel(this);
    lblPrompt->setObjectName(QStringLiteral("lblPrompt"));
    lblPrompt->setWordWrap(true);

    auto *lblNazov = new QLabel(QStringLiteral("Názov sériovej linky"), this);
    lblNazov->setObjectName(QStringLiteral("lblNazovSeriovejLinky"));
    txtNazovKomunikacnehoPortu = new QLineEdit(this);
    txtNazovKomunikacnehoPortu->setObjectName(QStringLiteral("txtNazovKomunikacnehoPortu"));
    txtNazovKomunikacnehoPortu->setToolTip(
        QStringLiteral("Zadajte názov komunikačného portu(napr.com1, prípadne zvoľte si komunikačnú linku zo zoznamu)"));
    lblNazov->setBuddy(txtNazovKomunikacnehoPortu);

    auto *lblZoznam = new QLabel(QStringLiteral("Zoznam komunikačných liniek"), this);
    lblZoznam->setObjectName(QStringLiteral("lblZoznamKomunikacnychLiniek"));
    lstZoznamPortov = new QListWidget(this);
    lstZoznamPortov->setObjectName(QStringLiteral("lstZoznamPortov"));
    lstZoznamPortov->setToolTip(QStringLiteral("Aktuálny zoznam komunikačných liniek"));

    auto *lblNove = new QLabel(QStringLiteral("Nové komunikačné linky"), this);
    lblNove->setObjectName(QStringLiteral("lblNoveKomunikacneLinky"));
    lstNoveKomunikacneLinky = new QListWidget(this);
    lstNoveKomunikacneLinky->setObjectName(QStringLiteral("lstNoveKomunikacneLinky"));
    lstNoveKomunikacneLinky->setToolTip(QStringLiteral("Nové komunikačné linky od poslednej aktualizácie zoznamu"));

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Naspäť"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    timAktualizovatZoznam = new QTimer(this);
    timAktualizovatZoznam->setObjectName(QStringLiteral("timAktualizovatZoznam"));
    timAktualizovatZoznam->setInterval(1);

    auto *grid = new QGridLayout;
    grid->addWidget(lblZoznam, 0, 0);
    grid->addWidget(lblNove, 0, 1);
    grid->addWidget(lstZoznamPortov, 1, 0);
    grid->addWidget(lstNoveKomunikacneLinky, 1, 1);
    auto *nazov = new QHBoxLayout;
    nazov->addWidget(lblNazov);
    nazov->addWidget(txtNazovKomunikacnehoPortu, 1);
    auto *tlacidla = new QHBoxLayout;
    tlacidla->addStretch(1);
    tlacidla->addWidget(cmdOk);
    tlacidla->addWidget(cmdCancel);
    auto *hlavny = new QVBoxLayout(this);
    hlavny->addWidget(lblPrompt);
    hlavny->addLayout(nazov);
    hlavny->addLayout(grid, 1);
    hlavny->addLayout(tlacidla);
    resize(620, 360);

    connect(cmdOk, &QPushButton::clicked, this, &frmUrcenieSeriovejLinky::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmUrcenieSeriovejLinky::cmdCancel_Click);
    connect(timAktualizovatZoznam, &QTimer::timeout, this, &frmUrcenieSeriovejLinky::timAktualizovatZoznam_Timer);
    connect(lstZoznamPortov, &QListWidget::itemClicked, this, &frmUrcenieSeriovejLinky::lstZoznamPortov_Click);
    connect(lstNoveKomunikacneLinky, &QListWidget::itemClicked, this,
            &frmUrcenieSeriovejLinky::lstNoveKomunikacneLinky_Click);
    connect(txtNazovKomunikacnehoPortu, &QLineEdit::textChanged, this, [this] { m_zmenyBoli = true; });
}

frmUrcenieSeriovejLinky::~frmUrcenieSeriovejLinky() = default;

QString frmUrcenieSeriovejLinky::Ukaz(const QString &com_port_na_oznacenie, const QString &prompt,
                                      bool flag_povoleny_nocom)
{
    m_comPortNaOznacenie = com_port_na_oznacenie;
    m_prompt = prompt;
    m_povolenyNocom = flag_povoleny_nocom;
    m_vysledok.clear();
    Form_Load();
    exec();
    timAktualizovatZoznam->stop();
    return m_vysledok;
}

void frmUrcenieSeriovejLinky::Form_Load()
{
    if (QWidget *w = parentWidget())
        setWindowIcon(w->window()->windowIcon());
    else
        setWindowIcon(QApplication::windowIcon());
    LokalizujFormular(this);
    lblPrompt->setText(m_prompt);
    txtNazovKomunikacnehoPortu->setText(m_comPortNaOznacenie);
    txtNazovKomunikacnehoPortu->end(false);
    m_zmenyBoli = false;
    m_zatvaranieOdsuhlasene = false;
    m_prvyTik = true;
    timAktualizovatZoznam->setInterval(1);
}

void frmUrcenieSeriovejLinky::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    txtNazovKomunikacnehoPortu->setFocus();
    timAktualizovatZoznam->start();
}

QString frmUrcenieSeriovejLinky::NazovZPolozky(const QString &text)
{
    const int medzera = text.indexOf(QLatin1Char(' '));
    return medzera < 0 ? text : text.left(medzera);
}

void frmUrcenieSeriovejLinky::lstZoznamPortov_Click(QListWidgetItem *item)
{
    if (item)
        txtNazovKomunikacnehoPortu->setText(NazovZPolozky(item->text()));
}

void frmUrcenieSeriovejLinky::lstNoveKomunikacneLinky_Click(QListWidgetItem *item)
{
    if (item)
        txtNazovKomunikacnehoPortu->setText(NazovZPolozky(item->text()));
}

QString frmUrcenieSeriovejLinky::KandidatZNazvu(const QString &text, bool flag_povoleny_nocom, QString *chyba)
{
    chyba->clear();
    const QString s = text.trimmed();
    const QString velke = s.toUpper();
    if (flag_povoleny_nocom && velke == QLatin1String("NOCOM"))
        return QStringLiteral("NOCOM");
    if (velke.startsWith(QLatin1String("COM"))) {
        const QString cislo = s.mid(3).trimmed();
        bool ok = false;
        double x = cislo.toDouble(&ok);
        if (!ok)
            x = QLocale().toDouble(cislo, &ok);
        if (!ok || !std::isfinite(x) || std::fabs(x) > 1e9) {
            *chyba = QStringLiteral("Číslo komunikačného portu musí byť číslo (napr. com1)");
            return QString();
        }
        // Halves go to the even number, as the number was always rounded.
        const long long n = std::llrint(std::nearbyint(x));
        return QStringLiteral("com") + QString::number(n);
    }
    // Linux names: a device path, or a native name such as ttyUSB0.
    if (s.startsWith(QLatin1Char('/')))
        return s;
    static const QRegularExpression nativny(QStringLiteral("^[A-Za-z][A-Za-z0-9_.:-]*$"));
    if (nativny.match(s).hasMatch()
        && (s.startsWith(QLatin1String("tty")) || s.startsWith(QLatin1String("rfcomm"))
            || QFileInfo::exists(QStringLiteral("/dev/") + s)))
        return s;
    *chyba = QStringLiteral("Názov komunikačného portu musí začínať písmenami 'com' (napr. com1)");
    return QString();
}

void frmUrcenieSeriovejLinky::cmdOk_Click()
{
    QString chyba;
    const QString kandidat = KandidatZNazvu(txtNazovKomunikacnehoPortu->text(), m_povolenyNocom, &chyba);
    if (kandidat.isEmpty()) {
        txtNazovKomunikacnehoPortu->setFocus();
        UiDialogs::message(LokalizujText(chyba), UiDialogs::Ok, UiDialogs::Exclamation, UiDialogs::None, this);
        return;
    }
    if (kandidat != QLatin1String("NOCOM")) {
        const QString cesta = claComm6_9::DevicePathFor(kandidat);
        int err = 0;
        {
            HourglassGuard hodiny;
            err = claComm6_9::TrialOpen(cesta);
        }
        if (err != 0) {
            txtNazovKomunikacnehoPortu->setFocus();
            QString text = LokalizujText(QStringLiteral("Nie je možné inicializovať zadaný komunikačný port"))
                + QStringLiteral("\r\n") + kandidat;
            const QString dovod = DovodNeotvoreniaPortu(err, cesta);
            if (!dovod.isEmpty())
                text += QStringLiteral("\r\n") + dovod;
            UiDialogs::message(text, UiDialogs::Ok, UiDialogs::Exclamation, UiDialogs::None, this);
            return;
        }
    }
    m_vysledok = kandidat;
    m_zmenyBoli = false;
    m_zatvaranieOdsuhlasene = true;
    accept();
}

void frmUrcenieSeriovejLinky::cmdCancel_Click()
{
    reject();
}

bool frmUrcenieSeriovejLinky::MozeZatvorit()
{
    if (m_zatvaranieOdsuhlasene || !m_zmenyBoli)
        return true;
    return UiDialogs::message(LokalizujText(QStringLiteral("Zmeny boli. Zatvoriť okno bez uloženia?")),
                              UiDialogs::YesNoCancel, UiDialogs::Question, UiDialogs::AnswerNo, this)
        == UiDialogs::AnswerYes;
}

void frmUrcenieSeriovejLinky::reject()
{
    if (!MozeZatvorit())
        return;
    m_zatvaranieOdsuhlasene = false;
    timAktualizovatZoznam->stop();
    QDialog::reject();
}

void frmUrcenieSeriovejLinky::closeEvent(QCloseEvent *event)
{
    if (!MozeZatvorit()) {
        event->ignore();
        return;
    }
    m_zatvaranieOdsuhlasene = true;
    QDialog::closeEvent(event);
}

void frmUrcenieSeriovejLinky::timAktualizovatZoznam_Timer()
{
    lstTmpZoznamPortov = ZoznamSeriovychLiniek();
    bool zmena = lstTmpZoznamPortov.size() != lstZoznamPortov->count();
    QStringList doterajsie;
    for (int i = 0; i < lstZoznamPortov->count(); ++i)
        doterajsie << lstZoznamPortov->item(i)->text().toUpper();
    QStringList nove;
    for (const QString &polozka : std::as_const(lstTmpZoznamPortov)) {
        if (!doterajsie.contains(polozka.toUpper())) {
            zmena = true;
            if (!m_prvyTik)
                nove << polozka;
        }
    }
    if (zmena) {
        lstZoznamPortov->clear();
        lstZoznamPortov->addItems(lstTmpZoznamPortov);
        lstNoveKomunikacneLinky->clear();
        lstNoveKomunikacneLinky->addItems(nove);
    }
    m_prvyTik = false;
    timAktualizovatZoznam->setInterval(1000);
}
