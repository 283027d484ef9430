#include "ui/frmVlastnostiZariadenia.h"

#include "app/modLokalizacia2_0.h"
#include "app/modMain.h"
#include "model/claIdentifikator.h"
#include "model/claZariadenie.h"
#include "platform/UiDialogs.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <cmath>

namespace {
constexpr int kMaxDlzkaHesla = 10;
const QString kAbeceda = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz ");
} // namespace

frmVlastnostiZariadenia::frmVlastnostiZariadenia(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmVlastnostiZariadenia"));
    setWindowTitle(QStringLiteral("Vlastnosti zariadenia"));
    setModal(true);

    const QFont pevne = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    auto *lblCas = new QLabel(QStringLiteral("Čas otvárania [sec]"), this);
    lblCas->setObjectName(QStringLiteral("lblCasOtvaraniaSec"));
    txtCasOtvaraniaSec = new QLineEdit(this);
    txtCasOtvaraniaSec->setObjectName(QStringLiteral("txtCasOtvaraniaSec"));
    txtCasOtvaraniaSec->setFont(pevne);
    txtCasOtvaraniaSec->setToolTip(QStringLiteral("Zadajte čas otvárania v sekundách"));
    lblCas->setBuddy(txtCasOtvaraniaSec);

    auto *lblHeslo = new QLabel(QStringLiteral("Heslo pre Prenosový čip"), this);
    lblHeslo->setObjectName(QStringLiteral("lblHeslo"));
    txtHeslo = new QLineEdit(this);
    txtHeslo->setObjectName(QStringLiteral("txtHeslo"));
    txtHeslo->setFont(pevne);
    txtHeslo->setEchoMode(QLineEdit::Password);
    txtHeslo->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    txtHeslo->setToolTip(QStringLiteral(
        "Zadajte heslo, ktoré má byť použité na prenos identifikátorov pomocou prenosového čipu"));
    lblHeslo->setBuddy(txtHeslo);

    chkZobrazitZnakyHesla = new QCheckBox(QStringLiteral("Zobraziť heslo"), this);
    chkZobrazitZnakyHesla->setObjectName(QStringLiteral("chkZobrazitZnakyHesla"));
    cmdGenerovatNoveHeslo = new QPushButton(QStringLiteral("Generovať heslo"), this);
    cmdGenerovatNoveHeslo->setObjectName(QStringLiteral("cmdGenerovatNoveHeslo"));
    cmdGenerovatNoveHeslo->setAutoDefault(false);

    auto *lblPoznamky = new QLabel(QStringLiteral("Poznámky"), this);
    lblPoznamky->setObjectName(QStringLiteral("lblPoznamky"));
    txtPoznamky = new QPlainTextEdit(this);
    txtPoznamky->setObjectName(QStringLiteral("txtPoznamky"));
    txtPoznamky->setToolTip(QStringLiteral("Do tohoto poľa je možné zadať poznámky súvisiace so zariadením"));
    txtPoznamky->setTabChangesFocus(true);
    lblPoznamky->setBuddy(txtPoznamky);

    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Naspäť"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(lblCas, 0, 0);
    grid->addWidget(txtCasOtvaraniaSec, 0, 1, 1, 2);
    grid->addWidget(lblHeslo, 1, 0);
    grid->addWidget(txtHeslo, 1, 1, 1, 2);
    grid->addWidget(chkZobrazitZnakyHesla, 2, 1);
    grid->addWidget(cmdGenerovatNoveHeslo, 2, 2);
    grid->addWidget(lblPoznamky, 3, 0, Qt::AlignTop);
    grid->addWidget(txtPoznamky, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    auto *tlacidla = new QHBoxLayout;
    tlacidla->addStretch(1);
    tlacidla->addWidget(cmdOk);
    tlacidla->addWidget(cmdCancel);

    auto *hlavny = new QVBoxLayout(this);
    hlavny->addLayout(grid, 1);
    hlavny->addLayout(tlacidla);
    resize(520, 340);

    connect(cmdOk, &QPushButton::clicked, this, &frmVlastnostiZariadenia::cmdOk_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmVlastnostiZariadenia::cmdCancel_Click);
    connect(cmdGenerovatNoveHeslo, &QPushButton::clicked, this, &frmVlastnostiZariadenia::cmdGenerovatNoveHeslo_Click);
    connect(chkZobrazitZnakyHesla, &QCheckBox::toggled, this, &frmVlastnostiZariadenia::chkZobrazitZnakyHesla_Click);
    connect(txtCasOtvaraniaSec, &QLineEdit::textChanged, this, &frmVlastnostiZariadenia::zmena);
    connect(txtHeslo, &QLineEdit::textChanged, this, &frmVlastnostiZariadenia::zmena);
    connect(txtPoznamky, &QPlainTextEdit::textChanged, this, &frmVlastnostiZariadenia::zmena);
    txtPoznamky->installEventFilter(this);
}

void frmVlastnostiZariadenia::Form_Load()
{
    if (parentWidget())
        setWindowIcon(parentWidget()->window()->windowIcon());
    if (!m_prelozene) {
        LokalizujFormular(this);
        m_prelozene = true;
    }
    txtHeslo->setMaxLength(kMaxDlzkaHesla);
    txtCasOtvaraniaSec->setText(QLocale().toString(double(Zariadenie->CasOtvaraniaSec()), 'f', 1));
    txtHeslo->setText(Zariadenie->PmHeslo());
    QString poznamky = Zariadenie->Poznamky();
    poznamky.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    txtPoznamky->setPlainText(poznamky);
    m_zmenyBoli = false;
}

void frmVlastnostiZariadenia::Zobrazit()
{
    Form_Load();
    txtCasOtvaraniaSec->setFocus();
    exec();
}

void frmVlastnostiZariadenia::cmdOk_Click()
{
    float cas = 0;
    if (!claZariadenie::PrecitatCas(txtCasOtvaraniaSec->text(), &cas)) {
        txtCasOtvaraniaSec->setFocus();
        UiDialogs::message(txtCasOtvaraniaSec->toolTip(), UiDialogs::Ok, UiDialogs::Exclamation, UiDialogs::None,
                           this);
        return;
    }
    if (!(cas > 0)) {
        txtCasOtvaraniaSec->setFocus();
        UiDialogs::message(LokalizujText(QStringLiteral("Čas otvárania musí byť aspoň 0,1")), UiDialogs::Ok,
                           UiDialogs::Exclamation, UiDialogs::None, this);
        return;
    }
    // The record corrects what it reads, so compare what it holds.
    claZariadenie &z = *Zariadenie;
    if (cas != z.CasOtvaraniaSec()) {
        z.setCasOtvaraniaSec(cas);
        z.setZmenyBoli(true);
    }
    const QString heslo = txtHeslo->text().trimmed();
    if (heslo != z.PmHeslo()) {
        z.setPmHeslo(heslo);
        z.setZmenyBoli(true);
    }
    const QString poznamky = claIdentifikator::NormalizovatRiadky(txtPoznamky->toPlainText());
    if (poznamky != z.Poznamky()) {
        z.setPoznamky(poznamky);
        z.setZmenyBoli(true);
    }
    m_zmenyBoli = false;
    accept();
}

void frmVlastnostiZariadenia::cmdCancel_Click()
{
    reject();
}

void frmVlastnostiZariadenia::reject()
{
    if (Form_QueryUnload())
        QDialog::reject();
}

bool frmVlastnostiZariadenia::Form_QueryUnload()
{
    if (!m_zmenyBoli)
        return true;
    const UiDialogs::Answer a =
        UiDialogs::message(LokalizujText(QStringLiteral("Zmeny boli. Zatvoriť okno bez uloženia?")),
                           UiDialogs::YesNoCancel, UiDialogs::Question, UiDialogs::AnswerNo, this);
    return a == UiDialogs::AnswerYes;
}

QString frmVlastnostiZariadenia::NahodneHeslo(int dlzka)
{
    // The system's generator rather than one seeded from the clock: a clock
    // seed lets anyone who knows roughly when a password was made try them all.
    QRandomGenerator *generator = QRandomGenerator::system();
    QString heslo;
    while (heslo.size() < dlzka) {
        const double r = generator->generateDouble(); // [0, 1)
        const int pozicia = int(std::nearbyint(r * 62 + 1)); // 1..63
        heslo += kAbeceda.at(pozicia - 1);
    }
    return heslo;
}

void frmVlastnostiZariadenia::cmdGenerovatNoveHeslo_Click()
{
    const UiDialogs::Answer a = UiDialogs::message(
        LokalizujText(QStringLiteral("Generovať nové heslo? Toto heslo nebude možné používať na prenos do ďalšieho "
                                     "priameho downloadu hesla do zariadenia")),
        UiDialogs::YesNoCancel, UiDialogs::Question, UiDialogs::AnswerNo, this);
    if (a != UiDialogs::AnswerYes)
        return;
    txtHeslo->setText(NahodneHeslo(txtHeslo->maxLength()));
}

void frmVlastnostiZariadenia::chkZobrazitZnakyHesla_Click()
{
    txtHeslo->setEchoMode(chkZobrazitZnakyHesla->isChecked() ? QLineEdit::Normal : QLineEdit::Password);
}

bool frmVlastnostiZariadenia::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtPoznamky) {
        // Enter in the notes starts a new line instead of confirming.
        if (event->type() == QEvent::FocusIn)
            cmdOk->setDefault(false);
        else if (event->type() == QEvent::FocusOut)
            cmdOk->setDefault(true);
    }
    return QDialog::eventFilter(watched, event);
}
