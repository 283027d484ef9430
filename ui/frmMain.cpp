#include "ui/frmMain.h"

#include "app/modLokalizacia2_0.h"
#include "app/modMain.h"
#include "comm/frmNastavenia.h"
#include "model/claZariadenie.h"
#include "platform/HourglassGuard.h"
#include "platform/UiDialogs.h"
#include "ui/claModelZoznamuIdentifikatorov.h"
#include "ui/claTlacidloSObrazkom.h"
#include "ui/frmVlastnostiZariadenia.h"
#include "ui/modImportKlucov.h"
#include "ui/modSchrankaIdentifikatorov.h"
#include "ui/timPrekresliIdentifikatory.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QTreeView>

namespace {

// Commands whose windows are not part of the program yet. Each stays
// disabled, and its key or mouse trigger does nothing, until its window
// is added and its flag turned on.
constexpr bool kDialogIdentifikatora = false;  // frmVlastnostiIdentifikatora
constexpr bool kUlohyZariadenia = false;       // frmKomunikacia: send, transfer chip, read
constexpr bool kHladanie = false;              // identifier search
constexpr bool kNastavenia = true;             // frmNastavenia
constexpr bool kPreberaciProtokol = false;     // handover protocol

// Design measures, in twips.
constexpr int kVyskaPasu = 1215;
constexpr int kSirkaPanelu = 1455;
constexpr int kSirkaTlacidlaPasu = 1395;
constexpr int kVyskaTlacidlaPanelu = 1335;
constexpr int kPredvolenaSirkaStlpca = 1440;

const QString kCrLf = QStringLiteral("\r\n");

bool setGeometrySafe(QWidget *w, int x, int y, int width, int height)
{
    // A move that the current size makes impossible is skipped.
    if (!w || width < 0 || height < 0)
        return false;
    w->setGeometry(x, y, width, height);
    return true;
}

} // namespace

frmMain::frmMain(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(IkonaProgramu());
    vytvoritOvladacie();
    vytvoritMenu();
    resize(1000, 660);
    claZariadenie::setDialogParent(this);

    m_timPrekresliIdentifikatory = new timPrekresliIdentifikatory(this);
    connect(m_timPrekresliIdentifikatory, &QTimer::timeout, this, &frmMain::timPrekresliIdentifikatory_Timer);
    timDisableEnable = new QTimer(this);
    timDisableEnable->setObjectName(QStringLiteral("timDisableEnable"));
    timDisableEnable->setInterval(100);
    connect(timDisableEnable, &QTimer::timeout, this, &frmMain::timDisableEnable_Timer);
}

frmMain::~frmMain()
{
    Form_Unload();
}

QIcon frmMain::IkonaProgramu()
{
    // A key: a ring with a shaft and two teeth.
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor zlata(196, 150, 30);
    p.setPen(QPen(zlata.darker(150), 1.5));
    p.setBrush(zlata);
    QPainterPath kruh;
    kruh.addEllipse(QPointF(9, 16), 7.5, 7.5);
    kruh.addEllipse(QPointF(9, 16), 3, 3);
    kruh.setFillRule(Qt::OddEvenFill);
    QPainterPath driek;
    driek.addRect(15, 14, 16, 4);
    driek.addRect(23, 18, 3, 5);
    driek.addRect(28, 18, 3, 7);
    p.drawPath(kruh.united(driek));
    return QIcon(pm);
}

int frmMain::twipsX(int twips) const
{
    return qRound(twips * logicalDpiX() / 1440.0);
}

int frmMain::twipsY(int twips) const
{
    return qRound(twips * logicalDpiY() / 1440.0);
}

QPushButton *frmMain::tlacidlo(QWidget *rodic, const char *meno, const QString &text, const QString &tip, int ikona)
{
    auto *b = new claTlacidloSObrazkom(rodic);
    b->setObjectName(QLatin1String(meno));
    b->setText(text);
    b->setToolTip(tip);
    b->setIcon(style()->standardIcon(QStyle::StandardPixmap(ikona)));
    return b;
}

void frmMain::vytvoritOvladacie()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("frmMainClient"));
    setCentralWidget(central);

    picSuboroveMenu = new QWidget(central);
    picSuboroveMenu->setObjectName(QStringLiteral("picSuboroveMenu"));
    picMenuZariadenia = new QWidget(central);
    picMenuZariadenia->setObjectName(QStringLiteral("picMenuZariadenia"));

    cmdVolbaDatabazovehoSuboru = tlacidlo(picSuboroveMenu, "cmdVolbaDatabazovehoSuboru",
                                          QStringLiteral("Voľba databázy"),
                                          QStringLiteral("Stlačte tlačidlo na voľbu databázového súboru"),
                                          QStyle::SP_DialogOpenButton);
    cmdUlozit = tlacidlo(picSuboroveMenu, "cmdUlozit", QStringLiteral("Uložiť"),
                         QStringLiteral("Stlačte tlačidlo ak si želáte uložiť databázový súbor"),
                         QStyle::SP_DialogSaveButton);
    cmdVlastnostiZariadenia = tlacidlo(picSuboroveMenu, "cmdVlastnostiZariadenia",
                                       QStringLiteral("Vlastnosti zariadenia"),
                                       QStringLiteral("Stlačte tlačidlo na zobrazenie vlastností zariadenia"),
                                       QStyle::SP_ComputerIcon);
    cmdPoslatIdentifikatoryNaZariadenie = tlacidlo(
        picSuboroveMenu, "cmdPoslatIdentifikatoryNaZariadenie", QStringLiteral("Poslať identifikátory na zariadenie"),
        QStringLiteral("Stlačte tlačidlo, ak si želáte poslať identifikátory na zariadenie"), QStyle::SP_ArrowUp);
    cmdPripravitPrenosovyCip = tlacidlo(
        picSuboroveMenu, "cmdPripravitPrenosovyCip", QStringLiteral("Pripraviť prenosový čip"),
        QStringLiteral(
            "Stlačte tlačidlo, ak si želáte pripraviť prenosový čip na prenos identifikátorov na zariadenie"),
        QStyle::SP_DriveFDIcon);
    cmdHladanieIdentifikatora = tlacidlo(
        picSuboroveMenu, "cmdHladanieIdentifikatora", QStringLiteral("Hľadanie identifikátora"),
        QStringLiteral("Stlačte tlačidlo, ak si želáte vyhľadať identifikátor v súboroch"),
        QStyle::SP_FileDialogContentsView);
    cmdNacitatIdentifikatoryZoZariadenia = tlacidlo(
        picSuboroveMenu, "cmdNacitatIdentifikatoryZoZariadenia", QStringLiteral("Načítať identifikátory"),
        QStringLiteral("Stlačte tlačidlo, ak si želáte načítať identifikátory zo zariadenia"), QStyle::SP_ArrowDown);
    cmdNastavenieAplikacie = tlacidlo(picSuboroveMenu, "cmdNastavenieAplikacie",
                                      QStringLiteral("Nastavenie aplikácie"),
                                      QStringLiteral("Stlačte tlačidlo na zobrazenie/zmenu parametrov aplikácie"),
                                      QStyle::SP_FileDialogDetailedView);

    // Design places of the strip buttons; the last two follow the right edge.
    const int sirka = twipsX(kSirkaTlacidlaPasu);
    const int vyska = twipsY(kVyskaPasu);
    QPushButton *pas[] = {cmdVolbaDatabazovehoSuboru, cmdUlozit, cmdVlastnostiZariadenia,
                          cmdPoslatIdentifikatoryNaZariadenie, cmdPripravitPrenosovyCip, cmdHladanieIdentifikatora};
    for (int i = 0; i < 6; ++i)
        pas[i]->setGeometry(i * sirka, 0, sirka, vyska);
    cmdNacitatIdentifikatoryZoZariadenia->setGeometry(6 * sirka, 0, sirka, vyska);
    cmdNastavenieAplikacie->setGeometry(7 * sirka, 0, sirka, vyska);

    cmdPridatIdentifikator = tlacidlo(
        picMenuZariadenia, "cmdPridatIdentifikator", QStringLiteral("Pridať nový identifikátor do zoznamu"),
        QStringLiteral("Stlačte tlačidlo, ak si želáte pridať nový identifikátor do zoznamu"),
        QStyle::SP_FileDialogNewFolder);
    cmdVlastnostiIdentifikatora = tlacidlo(
        picMenuZariadenia, "cmdVlastnostiIdentifikatora", QStringLiteral("Vlastnosti identifikátora"),
        QStringLiteral("Stlačte tlačidlo na zobrazenie vlastností označeného identifikátora"),
        QStyle::SP_FileDialogInfoView);
    cmdVymazzatIdentifikator = tlacidlo(
        picMenuZariadenia, "cmdVymazzatIdentifikator", QStringLiteral("Vymazať identifikátor"),
        QStringLiteral("Stlačte tlačidlo, ak si želáte vymazať identifikátor zo zoznamu"), QStyle::SP_TrashIcon);
    const int panel = twipsX(kSirkaPanelu);
    const int vyskaPanelu = twipsY(kVyskaTlacidlaPanelu);
    cmdPridatIdentifikator->setGeometry(0, 0, panel, vyskaPanelu);
    cmdVlastnostiIdentifikatora->setGeometry(0, vyskaPanelu, panel, vyskaPanelu);
    cmdVymazzatIdentifikator->setGeometry(0, 2 * vyskaPanelu, panel, vyskaPanelu);

    lblPocetIdentifikatorov = new QLabel(QStringLiteral("Počet identifikátorov"), picMenuZariadenia);
    lblPocetIdentifikatorov->setObjectName(QStringLiteral("lblPocetIdentifikatorov"));
    lblPocetIdentifikatorov->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblPocetIdentifikatorov->setContentsMargins(4, 2, 2, 2);

    picSuboroveMenu->setGeometry(0, 0, 800, vyska);
    picMenuZariadenia->setGeometry(800 - panel, vyska, panel, 400);

    m_model = new claModelZoznamuIdentifikatorov(this);
    lstZoznamIdentifikatorov = new QTreeView(central);
    lstZoznamIdentifikatorov->setObjectName(QStringLiteral("lstZoznamIdentifikatorov"));
    lstZoznamIdentifikatorov->setModel(m_model);
    lstZoznamIdentifikatorov->setRootIsDecorated(false);
    lstZoznamIdentifikatorov->setItemsExpandable(false);
    lstZoznamIdentifikatorov->setUniformRowHeights(true);
    lstZoznamIdentifikatorov->setAllColumnsShowFocus(true);
    lstZoznamIdentifikatorov->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstZoznamIdentifikatorov->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstZoznamIdentifikatorov->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstZoznamIdentifikatorov->setSortingEnabled(false);
    QHeaderView *h = lstZoznamIdentifikatorov->header();
    h->setSectionsClickable(true);
    h->setSectionsMovable(false);
    h->setStretchLastSection(false);
    h->setSortIndicatorShown(true);
    connect(h, &QHeaderView::sectionClicked, this,
            [this](int logical) { lstZoznamIdentifikatorov_ColumnClick(logical + 1); });
    connect(lstZoznamIdentifikatorov, &QAbstractItemView::clicked, this, [this] { AktualizovatPocty(); });
    connect(lstZoznamIdentifikatorov, &QAbstractItemView::doubleClicked, this,
            &frmMain::cmdVlastnostiIdentifikatora_Click);
    lstZoznamIdentifikatorov->installEventFilter(this);
    lstZoznamIdentifikatorov->viewport()->installEventFilter(this);

    central->installEventFilter(this);
    picSuboroveMenu->installEventFilter(this);
    picMenuZariadenia->installEventFilter(this);

    connect(cmdVolbaDatabazovehoSuboru, &QPushButton::clicked, this, &frmMain::cmdVolbaDatabazovehoSuboru_Click);
    connect(cmdUlozit, &QPushButton::clicked, this, &frmMain::cmdUlozit_Click);
    connect(cmdVlastnostiZariadenia, &QPushButton::clicked, this, &frmMain::cmdVlastnostiZariadenia_Click);
    connect(cmdPoslatIdentifikatoryNaZariadenie, &QPushButton::clicked, this,
            &frmMain::cmdPoslatIdentifikatoryNaZariadenie_Click);
    connect(cmdPripravitPrenosovyCip, &QPushButton::clicked, this, &frmMain::cmdPripravitPrenosovyCip_Click);
    connect(cmdHladanieIdentifikatora, &QPushButton::clicked, this, &frmMain::cmdHladanieIdentifikatora_Click);
    connect(cmdNacitatIdentifikatoryZoZariadenia, &QPushButton::clicked, this,
            &frmMain::cmdNacitatIdentifikatoryZoZariadenia_Click);
    connect(cmdNastavenieAplikacie, &QPushButton::clicked, this, &frmMain::cmdNastavenieAplikacie_Click);
    connect(cmdPridatIdentifikator, &QPushButton::clicked, this, &frmMain::cmdPridatIdentifikator_Click);
    connect(cmdVlastnostiIdentifikatora, &QPushButton::clicked, this, &frmMain::cmdVlastnostiIdentifikatora_Click);
    connect(cmdVymazzatIdentifikator, &QPushButton::clicked, this, &frmMain::cmdVymazzatIdentifikator_Click);

    cmdPoslatIdentifikatoryNaZariadenie->setEnabled(kUlohyZariadenia);
    cmdPripravitPrenosovyCip->setEnabled(kUlohyZariadenia);
    cmdNacitatIdentifikatoryZoZariadenia->setEnabled(kUlohyZariadenia);
    cmdHladanieIdentifikatora->setEnabled(kHladanie);
    cmdNastavenieAplikacie->setEnabled(kNastavenia);
    cmdPridatIdentifikator->setEnabled(kDialogIdentifikatora);
    cmdVlastnostiIdentifikatora->setEnabled(false);
    cmdVymazzatIdentifikator->setEnabled(false);

    // The window sees these keys before the focused control.
    auto klaves = [this](const QKeySequence &k, void (frmMain::*akcia)()) {
        auto *s = new QShortcut(k, this);
        s->setContext(Qt::WindowShortcut);
        s->setAutoRepeat(false);
        connect(s, &QShortcut::activated, this, akcia);
    };
    klaves(QKeySequence(Qt::Key_Insert), &frmMain::cmdPridatIdentifikator_Click);
    klaves(QKeySequence(Qt::Key_Delete), &frmMain::cmdVymazzatIdentifikator_Click);
    klaves(QKeySequence(Qt::CTRL | Qt::Key_C), &frmMain::KopirovatDoSchranky);
    klaves(QKeySequence(Qt::CTRL | Qt::Key_V), &frmMain::VlozitZoSchranky);
}

void frmMain::vytvoritMenu()
{
    auto akcia = [this](QMenu *menu, const char *meno, const QString &text, void (frmMain::*slot)()) {
        QAction *a = menu->addAction(text);
        a->setObjectName(QLatin1String(meno));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto ciara = [](QMenu *menu, const char *meno) { menu->addSeparator()->setObjectName(QLatin1String(meno)); };

    mnuSubor = menuBar()->addMenu(QStringLiteral("&Súbor"));
    mnuSubor->setObjectName(QStringLiteral("mnuSubor"));
    mnuNovaInstalacia = akcia(mnuSubor, "mnuNovaInstalacia", QStringLiteral("&Nová inštalácia"),
                              &frmMain::mnuNovaInstalacia_Click);
    ciara(mnuSubor, "mnuSuborLine1");
    mnuVolbaDatabazy = akcia(mnuSubor, "mnuVolbaDatabazy", QStringLiteral("&Voľba databázy"),
                             &frmMain::cmdVolbaDatabazovehoSuboru_Click);
    mnuVolbaDatabazy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    ciara(mnuSubor, "mnuSuborLine2");
    mnuSave = akcia(mnuSubor, "mnuSave", QStringLiteral("&Uložiť"), &frmMain::cmdUlozit_Click);
    mnuSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuSaveAs = akcia(mnuSubor, "mnuSaveAs", QStringLiteral("Uložiť pod iným menom..."), &frmMain::mnuSaveAs_Click);
    ciara(mnuSubor, "mnuSuborLine4");
    mnuNastaveniaAplikacie = akcia(mnuSubor, "mnuNastaveniaAplikacie", QStringLiteral("Nastavenie aplikácie"),
                                   &frmMain::cmdNastavenieAplikacie_Click);
    mnuImportModulTav = akcia(mnuSubor, "mnuImportModulTav", QStringLiteral("&Import *.zm,*.am..."),
                              &frmMain::mnuImportModulTav_Click);
    ciara(mnuSubor, "mnuSuborLine3");
    mnuKoniec = akcia(mnuSubor, "mnuKoniec", QStringLiteral("&Koniec"), &frmMain::mnuKoniec_Click);

    mnuIdentifikator = menuBar()->addMenu(QStringLiteral("&Identifikátor"));
    mnuIdentifikator->setObjectName(QStringLiteral("mnuIdentifikator"));
    mnuPridatNovyIdentifikatorDoZoznamu =
        akcia(mnuIdentifikator, "mnuPridatNovyIdentifikatorDoZoznamu", QStringLiteral("Pridať nový identifikátor"),
              &frmMain::cmdPridatIdentifikator_Click);
    mnuVlastnostiIdentifikatora = akcia(mnuIdentifikator, "mnuVlastnostiIdentifikatora",
                                        QStringLiteral("Vlastnosti identifikátora"),
                                        &frmMain::cmdVlastnostiIdentifikatora_Click);
    mnuVymazatIdentifikator = akcia(mnuIdentifikator, "mnuVymazatIdentifikator",
                                    QStringLiteral("Vymazať identifikátor"), &frmMain::cmdVymazzatIdentifikator_Click);
    ciara(mnuIdentifikator, "mnuIdentifikatorLine1");
    mnuPreberaciProtokol = akcia(mnuIdentifikator, "mnuPreberaciProtokol",
                                 QStringLiteral("Vytlačiť preberací protokol..."), &frmMain::mnuPreberaciProtokol_Click);

    mnuZariadenie = menuBar()->addMenu(QStringLiteral("&Zariadenie"));
    mnuZariadenie->setObjectName(QStringLiteral("mnuZariadenie"));
    mnuVlastnostiZariadenia = akcia(mnuZariadenie, "mnuVlastnostiZariadenia", QStringLiteral("Vlastnosti zariadenia"),
                                    &frmMain::cmdVlastnostiZariadenia_Click);
    mnuPoslatIdentifikatoryNaZariadenie =
        akcia(mnuZariadenie, "mnuPoslatIdentifikatoryNaZariadenie", QStringLiteral("Poslať identifikátory"),
              &frmMain::cmdPoslatIdentifikatoryNaZariadenie_Click);
    mnuPripravitPrenosovyCip = akcia(mnuZariadenie, "mnuPripravitPrenosovyCip",
                                     QStringLiteral("Pripraviť prenosový čip"),
                                     &frmMain::cmdPripravitPrenosovyCip_Click);
    mnuNacitatIdentifikatoryZoZariadenia =
        akcia(mnuZariadenie, "mnuNacitatIdentifikatoryZoZariadenia", QStringLiteral("Načítať identifikátory"),
              &frmMain::cmdNacitatIdentifikatoryZoZariadenia_Click);

    mnuNastaveniaAplikacie->setEnabled(kNastavenia);
    mnuPoslatIdentifikatoryNaZariadenie->setEnabled(kUlohyZariadenia);
    mnuPripravitPrenosovyCip->setEnabled(kUlohyZariadenia);
    mnuNacitatIdentifikatoryZoZariadenia->setEnabled(kUlohyZariadenia);
    mnuPridatNovyIdentifikatorDoZoznamu->setEnabled(kDialogIdentifikatora);
    mnuVlastnostiIdentifikatora->setEnabled(false);
    mnuVymazatIdentifikator->setEnabled(false);
    mnuPreberaciProtokol->setEnabled(false);
}

// ---------------------------------------------------------------- load

void frmMain::Zobrazit()
{
    LokalizujFormular(this);
    // Menu items that repeat a button read exactly as the button.
    mnuNastaveniaAplikacie->setText(cmdNastavenieAplikacie->text());
    mnuPridatNovyIdentifikatorDoZoznamu->setText(cmdPridatIdentifikator->text());
    mnuVlastnostiIdentifikatora->setText(cmdVlastnostiIdentifikatora->text());
    mnuVymazatIdentifikator->setText(cmdVymazzatIdentifikator->text());
    mnuVlastnostiZariadenia->setText(cmdVlastnostiZariadenia->text());
    mnuPoslatIdentifikatoryNaZariadenie->setText(cmdPoslatIdentifikatoryNaZariadenie->text());
    mnuPripravitPrenosovyCip->setText(cmdPripravitPrenosovyCip->text());
    mnuNacitatIdentifikatoryZoZariadenia->setText(cmdNacitatIdentifikatoryZoZariadenia->text());
    AktualizovatTitulok();
    timDisableEnable->start();
    show();
    Form_Activate();
    QApplication::processEvents();
    Form_Load();
}

void frmMain::Form_Load()
{
    const QString name = Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE")).trimmed();
    if (!name.isEmpty()) {
        auto z = std::make_shared<claZariadenie>();
        Zariadenie = z->LoadFile(name) ? z : std::make_shared<claZariadenie>();
    }
    m_stlpecTriedenia = -1;
    m_triedenieVzostupne = true;
    m_timPrekresliIdentifikatory->Prekreslit(QString());
    AktualizovatTitulok();
}

void frmMain::Form_Activate()
{
    mnuPreberaciProtokol->setVisible(QFileInfo::exists(SuborHromadnyProtokolVzor)
                                     && QFileInfo::exists(SuborJednotlivyProtokolVzor));
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

// ---------------------------------------------------------------- list

void frmMain::timPrekresliIdentifikatory_Timer()
{
    m_timPrekresliIdentifikatory->setEnabled(false);
    const QString kod = m_timPrekresliIdentifikatory->Tag().trimmed().toLower();
    m_timPrekresliIdentifikatory->setTag(QString());

    if (m_stlpecTriedenia < 0) {
        m_stlpecTriedenia = claModelZoznamuIdentifikatorov::StlpecSuhrn;
        m_triedenieVzostupne = true;
    }
    m_model->Naplnit(Zariadenie->Identifikatory(), m_stlpecTriedenia, m_triedenieVzostupne);
    nastavitStlpce();
    AktualizovatTitulok();

    if (!kod.isEmpty()) {
        const int r = m_model->NajstKod(kod);
        if (r >= 0) {
            const QModelIndex idx = m_model->index(r, 0);
            lstZoznamIdentifikatorov->selectionModel()->setCurrentIndex(
                idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            lstZoznamIdentifikatorov->scrollTo(idx);
        }
    }
    AktualizovatPocty();
}

void frmMain::nastavitStlpce()
{
    const QFontMetrics fm = lstZoznamIdentifikatorov->fontMetrics();
    const int w = fm.horizontalAdvance(QLatin1Char('W'));
    // Header cells have padding and the sort arrow on top of the text.
    auto podlaHlavicky = [&](int c) {
        return fm.horizontalAdvance(m_model->Hlavicka(c) + QStringLiteral("WW"));
    };
    QHeaderView *h = lstZoznamIdentifikatorov->header();
    // Eight W are narrower than sixteen hex digits in most fonts; a code
    // is never cut.
    const int sirkaKodu = fm.horizontalAdvance(QStringLiteral("0123456789abcdef")) + 2 * w;
    h->resizeSection(claModelZoznamuIdentifikatorov::StlpecIdentifikator, qMax(8 * w, sirkaKodu));
    h->resizeSection(claModelZoznamuIdentifikatorov::StlpecStrateny,
                     podlaHlavicky(claModelZoznamuIdentifikatorov::StlpecStrateny));
    h->resizeSection(claModelZoznamuIdentifikatorov::StlpecPc, podlaHlavicky(claModelZoznamuIdentifikatorov::StlpecPc));
    h->resizeSection(claModelZoznamuIdentifikatorov::StlpecPriezvisko, twipsX(kPredvolenaSirkaStlpca));
    h->resizeSection(claModelZoznamuIdentifikatorov::StlpecMeno, twipsX(kPredvolenaSirkaStlpca));
    h->resizeSection(claModelZoznamuIdentifikatorov::StlpecPoschodie,
                     podlaHlavicky(claModelZoznamuIdentifikatorov::StlpecPoschodie));
    h->resizeSection(claModelZoznamuIdentifikatorov::StlpecCb, podlaHlavicky(claModelZoznamuIdentifikatorov::StlpecCb));
    h->resizeSection(claModelZoznamuIdentifikatorov::StlpecPoznamky, 100 * w);
    lstZoznamIdentifikatorov->setColumnHidden(claModelZoznamuIdentifikatorov::StlpecSuhrn, true);
    h->setSortIndicator(m_stlpecTriedenia, m_triedenieVzostupne ? Qt::AscendingOrder : Qt::DescendingOrder);
}

std::vector<int> frmMain::oznaceneRiadky() const
{
    std::vector<int> riadky;
    const int n = m_model->Pocet();
    if (n == 0)
        return riadky;
    const QItemSelection vyber = lstZoznamIdentifikatorov->selectionModel()->selection();
    std::vector<char> oznacene(size_t(n), 0);
    for (const QItemSelectionRange &r : vyber)
        for (int i = qMax(0, r.top()); i <= r.bottom() && i < n; ++i)
            oznacene[size_t(i)] = 1;
    for (int i = 0; i < n; ++i)
        if (oznacene[size_t(i)])
            riadky.push_back(i);
    return riadky;
}

QStringList frmMain::OznaceneKody() const
{
    QStringList kody;
    for (int r : oznaceneRiadky())
        kody << m_model->Kod(r);
    return kody;
}

QString frmMain::PrvyOznacenyKod() const
{
    int prvy = -1;
    const QItemSelection vyber = lstZoznamIdentifikatorov->selectionModel()->selection();
    for (const QItemSelectionRange &r : vyber)
        if (r.top() >= 0 && (prvy < 0 || r.top() < prvy))
            prvy = r.top();
    return prvy < 0 ? QString() : m_model->Kod(prvy);
}

void frmMain::lstZoznamIdentifikatorov_ColumnClick(int stlpec)
{
    const QString prvy = PrvyOznacenyKod().toLower();
    if (stlpec == m_stlpecTriedenia + 1)
        m_triedenieVzostupne = !m_triedenieVzostupne;
    m_stlpecTriedenia = stlpec - 1;
    m_timPrekresliIdentifikatory->Prekreslit(prvy);
}

void frmMain::AktualizovatPocty()
{
    const QString text = LokalizujText(QStringLiteral("Celkový počet:")) + kCrLf + QStringLiteral("  ")
                         + QString::number(m_model->Pocet()) + kCrLf
                         + LokalizujText(QStringLiteral("Počet označených:")) + kCrLf + QStringLiteral("  ")
                         + QString::number(oznaceneRiadky().size());
    // The label shows line breaks as LF.
    QString zobrazeny = text;
    zobrazeny.replace(kCrLf, QStringLiteral("\n"));
    lblPocetIdentifikatorov->setText(zobrazeny);
    lblPocetIdentifikatorov->setWordWrap(true);
    const int vyska = 6 * QFontMetrics(picMenuZariadenia->font()).boundingRect(QStringLiteral("Ý")).height();
    const QRect vnutro = picMenuZariadenia->contentsRect();
    setGeometrySafe(lblPocetIdentifikatorov, 0, vnutro.height() - vyska, vnutro.width(), vyska);
    lblPocetIdentifikatorov->setVisible(true);
}

void frmMain::AktualizovatTitulok()
{
    QString t = TitulAplikacie() + QStringLiteral(" v") + QString::number(TEBO_VERSION_MAJOR) + QLatin1Char('.')
                + QString::number(TEBO_VERSION_MINOR) + QLatin1Char(' ');
    if (Zariadenie->ZmenyBoli())
        t += QLatin1Char('*');
    if (!Zariadenie->FileName().trimmed().isEmpty())
        t += QLatin1Char('[') + Zariadenie->FileName() + QLatin1Char(']');
    setWindowTitle(t);
}

void frmMain::timDisableEnable_Timer()
{
    const bool vyber = !PrvyOznacenyKod().isEmpty();
    cmdVlastnostiIdentifikatora->setEnabled(vyber && kDialogIdentifikatora);
    cmdVymazzatIdentifikator->setEnabled(vyber);
    mnuVlastnostiIdentifikatora->setEnabled(cmdVlastnostiIdentifikatora->isEnabled());
    mnuVymazatIdentifikator->setEnabled(cmdVymazzatIdentifikator->isEnabled());
    mnuPreberaciProtokol->setEnabled(vyber && kPreberaciProtokol);
}

// ---------------------------------------------------------------- layout

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == centralWidget())
            Form_Resize();
        else if (watched == picSuboroveMenu)
            picSuboroveMenu_Resize();
        else if (watched == picMenuZariadenia)
            picMenuZariadenia_Resize();
    } else if (event->type() == QEvent::KeyRelease
               && (watched == lstZoznamIdentifikatorov || watched == lstZoznamIdentifikatorov->viewport())) {
        AktualizovatPocty();
    } else if (event->type() == QEvent::MouseButtonRelease && watched == lstZoznamIdentifikatorov->viewport()) {
        // A drag over several rows selects without a click on one item.
        QTimer::singleShot(0, this, [this] { AktualizovatPocty(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::Form_Resize()
{
    if (isMinimized())
        return;
    const QWidget *c = centralWidget();
    const int sirka = c->width();
    const int vyska = c->height();
    const int pas = twipsY(kVyskaPasu);
    const int panel = twipsX(kSirkaPanelu);
    setGeometrySafe(picSuboroveMenu, 0, 0, sirka, pas);
    setGeometrySafe(picMenuZariadenia, sirka - panel, pas, panel, vyska - pas);
    setGeometrySafe(lstZoznamIdentifikatorov, 0, pas, qMax(0, sirka - panel), vyska - pas);
}

void frmMain::picSuboroveMenu_Resize()
{
    const QRect vnutro = picSuboroveMenu->contentsRect();
    QPushButton *b = cmdNastavenieAplikacie;
    b->move(vnutro.width() - b->width(), b->y());
    QPushButton *n = cmdNacitatIdentifikatoryZoZariadenia;
    n->move(b->x() - n->width() - cmdVolbaDatabazovehoSuboru->x(), n->y());
    for (QPushButton *t : {cmdVolbaDatabazovehoSuboru, cmdUlozit, cmdVlastnostiZariadenia,
                           cmdPoslatIdentifikatoryNaZariadenie, cmdPripravitPrenosovyCip, cmdHladanieIdentifikatora,
                           cmdNacitatIdentifikatoryZoZariadenia, cmdNastavenieAplikacie})
        setGeometrySafe(t, t->x(), t->y(), t->width(), vnutro.height());
}

void frmMain::picMenuZariadenia_Resize()
{
    const int sirka = picMenuZariadenia->contentsRect().width();
    for (QPushButton *t : {cmdPridatIdentifikator, cmdVlastnostiIdentifikatora, cmdVymazzatIdentifikator})
        setGeometrySafe(t, t->x(), t->y(), sirka, t->height());
    AktualizovatPocty();
}

// ---------------------------------------------------------------- closing

bool frmMain::Form_QueryUnload()
{
    if (!Zariadenie->ZmenyBoli())
        return true;
    const UiDialogs::Answer a = UiDialogs::message(LokalizujText(QStringLiteral("Súbor bol zmenený. Uložiť?")),
                                                   UiDialogs::YesNoCancel, UiDialogs::Question,
                                                   UiDialogs::AnswerYes, this);
    if (a == UiDialogs::AnswerYes) {
        cmdUlozit_Click();
        return !Zariadenie->ZmenyBoli();
    }
    return a == UiDialogs::AnswerNo;
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    timDisableEnable->stop();
    m_timPrekresliIdentifikatory->stop();
    Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE"), Zariadenie->FileName());
}

// ---------------------------------------------------------------- commands

void frmMain::cmdUlozit_Click()
{
    Zariadenie->SaveFile();
    AktualizovatTitulok();
}

void frmMain::mnuSaveAs_Click()
{
    Zariadenie->SaveAsFile();
    AktualizovatTitulok();
}

void frmMain::cmdVolbaDatabazovehoSuboru_Click()
{
    if (!Form_QueryUnload())
        return;
    UiDialogs::FileRequest req;
    req.kind = UiDialogs::OpenFile;
    req.initialDir = Zariadenie->FileName().isEmpty() ? AdresarAplikacie : Zariadenie->FileName();
    req.filter = TitulAplikacie() + QStringLiteral(" (*.") + QStringLiteral("qz.xml") + QStringLiteral(")|*.")
                 + QStringLiteral("qz.xml") + QStringLiteral("|") + LokalizujText(QStringLiteral("Všetky súbory"))
                 + QStringLiteral(" (*.*)|*.*");
    const UiDialogs::FileResult r = UiDialogs::fileDialog(req, this);
    if (!r.accepted || r.files.isEmpty() || r.files.first().isEmpty())
        return;
    auto novy = std::make_shared<claZariadenie>();
    if (!novy->LoadFile(r.files.first()))
        return;
    m_stlpecTriedenia = -1;
    m_triedenieVzostupne = true;
    Zariadenie = novy;
    m_timPrekresliIdentifikatory->Prekreslit(QString());
    AktualizovatTitulok();
}

void frmMain::mnuNovaInstalacia_Click()
{
    if (!Form_QueryUnload())
        return;
    Zariadenie = std::make_shared<claZariadenie>();
    m_timPrekresliIdentifikatory->Prekreslit(QString());
}

void frmMain::mnuKoniec_Click()
{
    close();
}

void frmMain::cmdVlastnostiZariadenia_Click()
{
    if (!m_frmVlastnostiZariadenia)
        m_frmVlastnostiZariadenia = new frmVlastnostiZariadenia(this);
    m_frmVlastnostiZariadenia->Zobrazit();
}

void frmMain::cmdPridatIdentifikator_Click()
{
    if (!kDialogIdentifikatora)
        return;
    // frmVlastnostiIdentifikatora::NovyIdentifikator(timPrekreslenie()) goes here.
}

void frmMain::cmdVlastnostiIdentifikatora_Click()
{
    if (!kDialogIdentifikatora)
        return;
    const QString kod = PrvyOznacenyKod().toLower();
    if (kod.isEmpty())
        return;
    // frmVlastnostiIdentifikatora::VlastnostiIdentifikatora(kod, timPrekreslenie()) goes here.
}

void frmMain::cmdVymazzatIdentifikator_Click()
{
    const QStringList kody = OznaceneKody();
    if (kody.isEmpty())
        return;
    const QString otazka =
        kody.size() == 1 ? LokalizujText(QStringLiteral("Vymazať označený identifikátor?"))
                         : LokalizujText(QStringLiteral("Vymazať označené identifikátory?")) + QStringLiteral(" (")
                               + QString::number(kody.size()) + QLatin1Char(')');
    if (UiDialogs::message(otazka, UiDialogs::YesNoCancel, UiDialogs::Question, UiDialogs::AnswerNo, this)
        != UiDialogs::AnswerYes)
        return;
    for (const QString &kod : kody) {
        Zariadenie->Identifikatory().Remove(kod.toLower());
        Zariadenie->setZmenyBoli(true);
    }
    m_timPrekresliIdentifikatory->Prekreslit(QString());
}

void frmMain::mnuImportModulTav_Click()
{
    UiDialogs::FileRequest req;
    req.kind = UiDialogs::OpenFile;
    req.initialDir = Zariadenie->FileName().isEmpty() ? AdresarAplikacie : Zariadenie->FileName();
    req.filter = QStringLiteral("*.zm';*.az|*.zm;*.az|") + LokalizujText(QStringLiteral("Všetky súbory"))
                 + QStringLiteral(" (*.*)|*.*");
    const UiDialogs::FileResult r = UiDialogs::fileDialog(req, this);
    if (!r.accepted || r.files.isEmpty() || r.files.first().isEmpty())
        return;
    int pocet = 0;
    {
        HourglassGuard hodiny;
        pocet = ImportovatKluceZoSuboru(r.files.first(), *Zariadenie);
        m_timPrekresliIdentifikatory->Prekreslit(QString());
    }
    UiDialogs::message(LokalizujText(QStringLiteral("Počet importovaných identifikátorov:")) + QLatin1Char(' ')
                           + QString::number(pocet),
                       UiDialogs::Ok, UiDialogs::Information, UiDialogs::None, this);
}

void frmMain::KopirovatDoSchranky()
{
    const QStringList kody = OznaceneKody();
    if (kody.isEmpty())
        return;
    QString chyba;
    const QString xml = IdentifikatoryDoXml(Zariadenie->Identifikatory(), kody, &chyba);
    QClipboard *schranka = QGuiApplication::clipboard();
    if (!schranka)
        return;
    schranka->clear();
    schranka->setText(xml);
    if (!chyba.isEmpty())
        UiDialogs::message(chyba, UiDialogs::Ok, UiDialogs::Exclamation, UiDialogs::None, this);
}

void frmMain::VlozitZoSchranky()
{
    QClipboard *schranka = QGuiApplication::clipboard();
    if (!schranka)
        return;
    const QString text = schranka->text();
    if (text.isEmpty())
        return;
    if (VlozitIdentifikatoryZXml(text, *Zariadenie) >= 0)
        m_timPrekresliIdentifikatory->Prekreslit(QString());
}

// Device tasks, search, settings and the handover protocol open windows of
// their own; until those are part of the program the commands stay disabled.
void frmMain::cmdPoslatIdentifikatoryNaZariadenie_Click()
{
}

void frmMain::cmdPripravitPrenosovyCip_Click()
{
}

void frmMain::cmdNacitatIdentifikatoryZoZariadenia_Click()
{
}

void frmMain::cmdHladanieIdentifikatora_Click()
{
}

void frmMain::cmdNastavenieAplikacie_Click()
{
    NastavenieAplikacie(this);
}

void frmMain::mnuPreberaciProtokol_Click()
{
}
