#include "app/modMain.h"
#include "model/claZariadenie.h"
#include "comm/frmNastavenia.h"
#include "ui/frmMain.h"
#include "ui/timPrekresliIdentifikatory.h"

#include "DialogScript.h"
#include "ModalScript.h"
#include "TestFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>
#include <memory>

namespace {

// Sorted by the summary: Cerny, Čierny, Dobrý, Novák, Varga.
const QByteArray kDatabaza =
    "<Root><PmHeslo>heslo</PmHeslo><Poznamky>Dom</Poznamky><CasOtvaraniaSec>5</CasOtvaraniaSec><Identifikatory>"
    "<Id><Kod>0000000000000001</Kod><Strateny>1</Strateny><Priezvisko>Varga</Priezvisko><Meno>Jozef</Meno>"
    "<Poschodie>3</Poschodie><CisloBK>13</CisloBK></Id>"
    "<Id><Kod>0000000000000002</Kod><Priezvisko>Novák</Priezvisko><Pc>1</Pc><Meno>Ján</Meno>"
    "<Poznamky>Kľúč vydaný\nOveriť</Poznamky></Id>"
    "<Id><Kod>0000000000000003</Kod><Priezvisko>Čierny</Priezvisko><Meno>Ľubomír</Meno></Id>"
    "<Id><Kod>0000000000000004</Kod><Priezvisko>Cerny</Priezvisko><Meno>Adam</Meno></Id>"
    "<Id><Kod>0000000000000005</Kod><Priezvisko>Dobrý</Priezvisko><Meno>Vladimír</Meno></Id>"
    "</Identifikatory></Root>";

const QByteArray kDruhaDatabaza =
    "<Root><PmHeslo>x</PmHeslo><CasOtvaraniaSec>3</CasOtvaraniaSec><Identifikatory>"
    "<Id><Kod>00000000000000aa</Kod><Priezvisko>Žitňan</Priezvisko></Id>"
    "<Id><Kod>00000000000000bb</Kod><Priezvisko>Adamec</Priezvisko></Id>"
    "</Identifikatory></Root>";

QString verzia()
{
    return QStringLiteral("TEBO v%1.%2 ").arg(TEBO_VERSION_MAJOR).arg(TEBO_VERSION_MINOR);
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void listAfterLoad();
    void emptyDatabase();
    void missingLastFileGivesEmptyDatabase();
    void sortByColumnClicks();
    void columnClickKeepsFirstSelected();
    void countsFollowTheSelection();
    void captionFollowsChangesAndSave();
    void deleteAsks_data();
    void deleteAsks();
    void deleteKeyWithNothingSelectedAsksNothing();
    void closeWithUnsavedChanges_data();
    void closeWithUnsavedChanges();
    void openAnotherDatabase_data();
    void openAnotherDatabase();
    void newInstallationKeepsSortState();
    void clipboardBetweenDatabases();
    void pasteOfForeignTextDoesNothing_data();
    void pasteOfForeignTextDoesNothing();
    void importThroughTheMenu();
    void commandsFollowTheSelection();
    void protocolItemNeedsBothTemplates_data();
    void protocolItemNeedsBothTemplates();
    void redrawSelectsRequestedIdentifier();
    void layoutFollowsTheWindow();
    void devicePropertiesDialogIsKept();
    void settingsCommandOpensPortSettings();

private:
    void otvorit(const QByteArray &databaza = kDatabaza);
    void pockat();
    QStringList stlpec(int c) const;
    void oznacit(const QList<int> &riadky);
    void klikHlavicka(int stlpec);
    QString popisok() const;
    QString oznacene() const { return m_w->OznaceneKody().join(QLatin1Char(',')); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DialogScript> m_script;
    std::unique_ptr<frmMain> m_w;
    QTreeView *m_list = nullptr;
    QString m_subor;
};

void TestFrmMain::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
}

void TestFrmMain::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    PripravitAplikaciu(m_dir->path());
    Zariadenie = std::make_shared<claZariadenie>();
    m_script = std::make_unique<DialogScript>();
    m_subor = m_dir->filePath(QStringLiteral("dom.qz.xml"));
}

void TestFrmMain::cleanup()
{
    if (m_w) {
        Zariadenie->setZmenyBoli(false);
        m_w.reset();
    }
    m_list = nullptr;
    m_script.reset();
    Zariadenie = std::make_shared<claZariadenie>();
    m_dir.reset();
}

void TestFrmMain::otvorit(const QByteArray &databaza)
{
    if (!databaza.isEmpty()) {
        QVERIFY(writeFile(m_subor, databaza));
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE"), m_subor);
    }
    m_w = std::make_unique<frmMain>();
    m_w->Zobrazit();
    m_list = m_w->findChild<QTreeView *>(QStringLiteral("lstZoznamIdentifikatorov"));
    QVERIFY(m_list);
    m_w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_w.get()));
    pockat();
}

void TestFrmMain::pockat()
{
    QTRY_VERIFY_WITH_TIMEOUT(!m_w->timPrekreslenie()->isActive(), 3000);
}

QStringList TestFrmMain::stlpec(int c) const
{
    QStringList t;
    const QAbstractItemModel *m = m_list->model();
    for (int r = 0; r < m->rowCount(); ++r)
        t << m->index(r, c).data().toString();
    return t;
}

void TestFrmMain::oznacit(const QList<int> &riadky)
{
    m_list->clearSelection();
    for (int r : riadky)
        m_list->selectionModel()->select(m_list->model()->index(r, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TestFrmMain::klikHlavicka(int stlpec)
{
    QHeaderView *h = m_list->header();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(stlpec) + h->sectionSize(stlpec) / 2, h->height() / 2));
    QVERIFY(m_w->timPrekreslenie()->isActive());
    pockat();
}

QString TestFrmMain::popisok() const
{
    return m_w->findChild<QLabel *>(QStringLiteral("lblPocetIdentifikatorov"))->text();
}

void TestFrmMain::listAfterLoad()
{
    otvorit();
    QVERIFY(m_script->messages.isEmpty());
    const QAbstractItemModel *m = m_list->model();
    QCOMPARE(m->columnCount(), 9);
    const QStringList hlavicky{"Identifikátor", "Stratený", "P.č.", "Priezvisko", "Meno",
                               "Poschodie", "Č.b.", "Poznámky", "suhrn"};
    for (int c = 0; c < 9; ++c)
        QCOMPARE(m->headerData(c, Qt::Horizontal).toString(), hlavicky[c]);
    QVERIFY(m_list->isColumnHidden(8));
    QVERIFY(m_list->columnWidth(0) >= m_list->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000001")));

    QCOMPARE(stlpec(3), (QStringList{"Cerny", "Čierny", "Dobrý", "Novák", "Varga"}));
    QCOMPARE(stlpec(0), (QStringList{"0000000000000004", "0000000000000003", "0000000000000005",
                                     "0000000000000002", "0000000000000001"}));
    QCOMPARE(stlpec(1), (QStringList{"", "", "", "", "Stratený"}));
    QCOMPARE(stlpec(2), (QStringList{"", "", "", "1", ""}));
    QCOMPARE(stlpec(5), (QStringList{"", "", "", "", "3"}));
    QCOMPARE(stlpec(6), (QStringList{"", "", "", "", "13"}));
    QCOMPARE(stlpec(7), (QStringList{"", "", "", "Kľúč vydaný/Overiť", ""}));
    for (int c = 0; c < 8; ++c) {
        QCOMPARE(m->index(4, c).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
        QVERIFY(!m->index(0, c).data(Qt::ForegroundRole).isValid());
    }
    QCOMPARE(m_w->StlpecTriedenia(), 8);
    QVERIFY(m_w->TriedenieVzostupne());
    QVERIFY(m_list->selectionModel()->selectedRows().isEmpty());
    QCOMPARE(m_w->windowTitle(), verzia() + QLatin1Char('[') + m_subor + QLatin1Char(']'));
    QCOMPARE(popisok(), QStringLiteral("Celkový počet:\n  5\nPočet označených:\n  0"));
}

void TestFrmMain::emptyDatabase()
{
    otvorit(QByteArray());
    QVERIFY(m_script->messages.isEmpty());
    QCOMPARE(m_list->model()->rowCount(), 0);
    QCOMPARE(m_list->model()->columnCount(), 9);
    QCOMPARE(m_list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Identifikátor"));
    QCOMPARE(popisok(), QStringLiteral("Celkový počet:\n  0\nPočet označených:\n  0"));
    QCOMPARE(m_w->windowTitle(), verzia());
    QTest::qWait(250);
    for (const char *n : {"cmdVlastnostiIdentifikatora", "cmdVymazzatIdentifikator"})
        QVERIFY(!m_w->findChild<QPushButton *>(QLatin1String(n))->isEnabled());
    QVERIFY(!m_w->findChild<QAction *>(QStringLiteral("mnuPreberaciProtokol"))->isEnabled());
}

void TestFrmMain::missingLastFileGivesEmptyDatabase()
{
    Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE"), m_dir->filePath(QStringLiteral("zmazany.qz.xml")));
    otvorit(QByteArray());
    QCOMPARE(m_script->messages.size(), 1); // the loader's own message
    QCOMPARE(m_list->model()->rowCount(), 0);
    QCOMPARE(Zariadenie->FileName(), QString());
    QVERIFY(!Zariadenie->ZmenyBoli());
    QCOMPARE(m_w->windowTitle(), verzia());
    QVERIFY(m_w->close());
    QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE")), QString());
}

void TestFrmMain::sortByColumnClicks()
{
    otvorit();
    klikHlavicka(0); // first click on the code: ascending
    QCOMPARE(m_w->StlpecTriedenia(), 0);
    QVERIFY(m_w->TriedenieVzostupne());
    QCOMPARE(stlpec(0), (QStringList{"0000000000000001", "0000000000000002", "0000000000000003",
                                     "0000000000000004", "0000000000000005"}));
    klikHlavicka(0); // same column: the other direction
    QVERIFY(!m_w->TriedenieVzostupne());
    QCOMPARE(stlpec(0).first(), QStringLiteral("0000000000000005"));
    klikHlavicka(3); // another column keeps the direction
    QCOMPARE(m_w->StlpecTriedenia(), 3);
    QVERIFY(!m_w->TriedenieVzostupne());
    QCOMPARE(stlpec(3), (QStringList{"Varga", "Novák", "Dobrý", "Čierny", "Cerny"}));
    klikHlavicka(3);
    QVERIFY(m_w->TriedenieVzostupne());
    QCOMPARE(stlpec(3), (QStringList{"Cerny", "Čierny", "Dobrý", "Novák", "Varga"}));
}

void TestFrmMain::columnClickKeepsFirstSelected()
{
    otvorit();
    // Rows of Čierny, Novák and Varga; Čierny comes first in this order.
    oznacit({4, 1, 3});
    QCOMPARE(m_w->PrvyOznacenyKod(), QStringLiteral("0000000000000003"));
    klikHlavicka(0);
    QCOMPARE(oznacene(), QStringLiteral("0000000000000003"));
    const QModelIndexList vybrane = m_list->selectionModel()->selectedRows();
    QCOMPARE(vybrane.size(), 1);
    QCOMPARE(vybrane.first().row(), 2);
    QVERIFY(m_list->visualRect(vybrane.first()).intersects(m_list->viewport()->rect()));
    QCOMPARE(popisok(), QStringLiteral("Celkový počet:\n  5\nPočet označených:\n  1"));

    m_list->clearSelection();
    klikHlavicka(3);
    QVERIFY(m_list->selectionModel()->selectedRows().isEmpty());
}

void TestFrmMain::countsFollowTheSelection()
{
    otvorit();
    const QRect r0 = m_list->visualRect(m_list->model()->index(0, 3));
    const QRect r2 = m_list->visualRect(m_list->model()->index(2, 3));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, r0.center());
    QCOMPARE(popisok(), QStringLiteral("Celkový počet:\n  5\nPočet označených:\n  1"));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, Qt::ShiftModifier, r2.center());
    QTRY_COMPARE(popisok(), QStringLiteral("Celkový počet:\n  5\nPočet označených:\n  3"));
    QTest::keyClick(m_list, Qt::Key_Down);
    QCOMPARE(popisok(), QStringLiteral("Celkový počet:\n  5\nPočet označených:\n  1"));
}

void TestFrmMain::captionFollowsChangesAndSave()
{
    otvorit();
    const QString bezZmien = verzia() + QLatin1Char('[') + m_subor + QLatin1Char(']');
    QCOMPARE(m_w->windowTitle(), bezZmien);
    oznacit({0});
    m_script->answers = {UiDialogs::AnswerYes};
    QTest::keyClick(m_list, Qt::Key_Delete);
    QCOMPARE(m_w->windowTitle(), bezZmien); // the redraw shows it
    pockat();
    QCOMPARE(m_w->windowTitle(), verzia() + QStringLiteral("*[") + m_subor + QLatin1Char(']'));
    QTest::keyClick(m_list, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(m_w->windowTitle(), bezZmien);
    QVERIFY(!Zariadenie->ZmenyBoli());
    claZariadenie ulozeny;
    QVERIFY(ulozeny.LoadFile(m_subor));
    QCOMPARE(ulozeny.Identifikatory().Count(), 4);
    QVERIFY(!ulozeny.Identifikatory().Item(QStringLiteral("0000000000000004")));
}

void TestFrmMain::deleteAsks_data()
{
    QTest::addColumn<QList<int>>("riadky");
    QTest::addColumn<int>("odpoved");
    QTest::addColumn<QString>("otazka");
    QTest::addColumn<int>("zostava");
    const QString jeden = QStringLiteral("Vymazať označený identifikátor?");
    const QString tri = QStringLiteral("Vymazať označené identifikátory? (3)");
    QTest::newRow("one, yes") << QList<int>{1} << int(UiDialogs::AnswerYes) << jeden << 4;
    QTest::newRow("one, no") << QList<int>{1} << int(UiDialogs::AnswerNo) << jeden << 5;
    QTest::newRow("three, yes") << QList<int>{0, 2, 4} << int(UiDialogs::AnswerYes) << tri << 2;
    QTest::newRow("three, no") << QList<int>{0, 2, 4} << int(UiDialogs::AnswerNo) << tri << 5;
    QTest::newRow("three, cancel") << QList<int>{0, 2, 4} << int(UiDialogs::AnswerCancel) << tri << 5;
}

void TestFrmMain::deleteAsks()
{
    QFETCH(QList<int>, riadky);
    QFETCH(int, odpoved);
    QFETCH(QString, otazka);
    QFETCH(int, zostava);
    otvorit();
    oznacit(riadky);
    const QStringList kody = m_w->OznaceneKody();
    m_script->answers = {UiDialogs::Answer(odpoved)};
    auto *tlacidlo = m_w->findChild<QPushButton *>(QStringLiteral("cmdVymazzatIdentifikator"));
    QTRY_VERIFY(tlacidlo->isEnabled());
    tlacidlo->click();
    QCOMPARE(m_script->messages.size(), 1);
    const UiDialogs::MessageRequest &q = m_script->messages.first();
    QCOMPARE(q.text, otazka);
    QCOMPARE(q.buttons, UiDialogs::YesNoCancel);
    QCOMPARE(q.icon, UiDialogs::Question);
    QCOMPARE(q.defaultButton, UiDialogs::AnswerNo);
    QCOMPARE(Zariadenie->Identifikatory().Count(), zostava);
    QCOMPARE(Zariadenie->ZmenyBoli(), zostava < 5);
    pockat();
    QCOMPARE(m_list->model()->rowCount(), zostava);
    if (zostava < 5) {
        for (const QString &k : kody)
            QVERIFY(!stlpec(0).contains(k));
        QVERIFY(m_list->selectionModel()->selectedRows().isEmpty());
        QVERIFY(m_w->windowTitle().contains(QStringLiteral(" *[")));
    }
}

void TestFrmMain::deleteKeyWithNothingSelectedAsksNothing()
{
    otvorit();
    QTest::keyClick(m_list, Qt::Key_Delete);
    QVERIFY(m_script->messages.isEmpty());
    QCOMPARE(Zariadenie->Identifikatory().Count(), 5);
}

void TestFrmMain::closeWithUnsavedChanges_data()
{
    QTest::addColumn<int>("odpoved");
    QTest::addColumn<bool>("ulozenieZlyha");
    QTest::addColumn<bool>("zatvorene");
    QTest::addColumn<bool>("suborZmeneny");
    QTest::newRow("yes, saved") << int(UiDialogs::AnswerYes) << false << true << true;
    QTest::newRow("yes, save fails") << int(UiDialogs::AnswerYes) << true << false << false;
    QTest::newRow("no") << int(UiDialogs::AnswerNo) << false << true << false;
    QTest::newRow("cancel") << int(UiDialogs::AnswerCancel) << false << false << false;
}

void TestFrmMain::closeWithUnsavedChanges()
{
    QFETCH(int, odpoved);
    QFETCH(bool, ulozenieZlyha);
    QFETCH(bool, zatvorene);
    QFETCH(bool, suborZmeneny);
    QDir().mkpath(m_dir->filePath(QStringLiteral("data")));
    m_subor = m_dir->filePath(QStringLiteral("data/dom.qz.xml"));
    otvorit();
    const QByteArray predtym = readFile(m_subor);
    oznacit({0});
    m_script->answers = {UiDialogs::AnswerYes};
    QTest::keyClick(m_list, Qt::Key_Delete);
    pockat();
    m_script->messages.clear();
    if (ulozenieZlyha) // the folder is gone: the save fails, save-as is cancelled
        QVERIFY(QDir(m_dir->filePath(QStringLiteral("data"))).removeRecursively());

    m_script->answers = {UiDialogs::Answer(odpoved)};
    QCOMPARE(m_w->close(), zatvorene);
    QVERIFY(!m_script->messages.isEmpty());
    QCOMPARE(m_script->messages.first().text, QStringLiteral("Súbor bol zmenený. Uložiť?"));
    QCOMPARE(m_script->messages.first().buttons, UiDialogs::YesNoCancel);
    QCOMPARE(m_script->messages.first().icon, UiDialogs::Question);
    QCOMPARE(m_script->messages.first().defaultButton, UiDialogs::AnswerYes);
    QCOMPARE(m_w->isVisible(), !zatvorene);
    QCOMPARE(Zariadenie->ZmenyBoli(), !suborZmeneny);
    if (ulozenieZlyha) {
        QCOMPARE(m_script->messages.size(), 2); // the save's failure
        QCOMPARE(m_script->fileRequests.size(), 1); // save as, cancelled
        QVERIFY(!QFile::exists(m_subor));
    } else {
        QCOMPARE(readFile(m_subor) != predtym, suborZmeneny);
    }
    if (zatvorene)
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE")), m_subor);
}

void TestFrmMain::openAnotherDatabase_data()
{
    QTest::addColumn<bool>("zmeny");
    QTest::addColumn<int>("odpoved");
    QTest::addColumn<QString>("subor"); // "" cancels the dialog
    QTest::addColumn<bool>("otvorena");
    QTest::newRow("no changes, cancelled dialog") << false << 0 << "" << false;
    QTest::newRow("no changes, valid file") << false << 0 << "druha.qz.xml" << true;
    QTest::newRow("changes, cancel") << true << int(UiDialogs::AnswerCancel) << "druha.qz.xml" << false;
    QTest::newRow("changes, no, valid file") << true << int(UiDialogs::AnswerNo) << "druha.qz.xml" << true;
    QTest::newRow("changes, no, broken file") << true << int(UiDialogs::AnswerNo) << "zla.qz.xml" << false;
    QTest::newRow("changes, yes, valid file") << true << int(UiDialogs::AnswerYes) << "druha.qz.xml" << true;
}

void TestFrmMain::openAnotherDatabase()
{
    QFETCH(bool, zmeny);
    QFETCH(int, odpoved);
    QFETCH(QString, subor);
    QFETCH(bool, otvorena);
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("druha.qz.xml")), kDruhaDatabaza));
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("zla.qz.xml")), "<Root><Identifikatory>"));
    otvorit();
    klikHlavicka(3);
    klikHlavicka(3); // Priezvisko descending
    if (zmeny) {
        oznacit({0});
        m_script->answers = {UiDialogs::AnswerYes};
        QTest::keyClick(m_list, Qt::Key_Delete);
        pockat();
    }
    m_script->messages.clear();
    const std::shared_ptr<claZariadenie> povodny = Zariadenie;
    if (odpoved)
        m_script->answers = {UiDialogs::Answer(odpoved)};
    m_script->files = {subor.isEmpty() ? QString() : m_dir->filePath(subor)};

    QTest::keyClick(m_list, Qt::Key_O, Qt::ControlModifier);

    if (zmeny)
        QCOMPARE(m_script->messages.first().text, QStringLiteral("Súbor bol zmenený. Uložiť?"));
    if (odpoved == UiDialogs::AnswerCancel) {
        QVERIFY(m_script->fileRequests.isEmpty());
    } else {
        QCOMPARE(m_script->fileRequests.size(), 1);
        const UiDialogs::FileRequest &r = m_script->fileRequests.first();
        QCOMPARE(r.kind, UiDialogs::OpenFile);
        QCOMPARE(r.filter, QStringLiteral("TEBO (*.qz.xml)|*.qz.xml|Všetky súbory (*.*)|*.*"));
        QCOMPARE(r.initialDir, m_subor);
    }
    pockat();
    if (otvorena) {
        QVERIFY(Zariadenie != povodny);
        QCOMPARE(Zariadenie->FileName(), m_dir->filePath(subor));
        QCOMPARE(stlpec(3), (QStringList{"Adamec", "Žitňan"})); // sort back to the summary, ascending
        QCOMPARE(m_w->StlpecTriedenia(), 8);
        QVERIFY(m_w->TriedenieVzostupne());
        QCOMPARE(m_w->windowTitle(), verzia() + QLatin1Char('[') + m_dir->filePath(subor) + QLatin1Char(']'));
    } else {
        QVERIFY(Zariadenie == povodny);
        QCOMPARE(Zariadenie->ZmenyBoli(), zmeny);
        QCOMPARE(Zariadenie->Identifikatory().Count(), zmeny ? 4 : 5);
        QCOMPARE(m_w->StlpecTriedenia(), 3);
        QVERIFY(!m_w->TriedenieVzostupne());
        if (subor == QLatin1String("zla.qz.xml"))
            QCOMPARE(m_script->messages.size(), 2); // the loader reports the broken file
    }
    if (odpoved == UiDialogs::AnswerYes) {
        claZariadenie ulozeny;
        QVERIFY(ulozeny.LoadFile(m_subor));
        QCOMPARE(ulozeny.Identifikatory().Count(), 4);
    }
}

void TestFrmMain::newInstallationKeepsSortState()
{
    otvorit();
    klikHlavicka(0);
    klikHlavicka(0);
    m_w->findChild<QAction *>(QStringLiteral("mnuNovaInstalacia"))->trigger();
    QVERIFY(m_script->messages.isEmpty());
    pockat();
    QCOMPARE(m_list->model()->rowCount(), 0);
    QCOMPARE(Zariadenie->FileName(), QString());
    QCOMPARE(m_w->windowTitle(), verzia());
    QCOMPARE(m_w->StlpecTriedenia(), 0);
    QVERIFY(!m_w->TriedenieVzostupne());
}

void TestFrmMain::clipboardBetweenDatabases()
{
    otvorit();
    QClipboard *cb = QGuiApplication::clipboard();
    cb->setText(QStringLiteral("nedotknuté"));
    QTest::keyClick(m_list, Qt::Key_C, Qt::ControlModifier); // nothing selected
    QCOMPARE(cb->text(), QStringLiteral("nedotknuté"));

    oznacit({1, 3, 4}); // Čierny, Novák and the lost Varga
    QTest::keyClick(m_list, Qt::Key_C, Qt::ControlModifier);
    const QString xml = cb->text();
    QVERIFY2(xml.startsWith(QLatin1String("<Identifikatory><Id><Kod>0000000000000003</Kod>")), qPrintable(xml));
    QVERIFY(!Zariadenie->ZmenyBoli());

    // Another database: the second one, opened in this window.
    QVERIFY(writeFile(m_dir->filePath(QStringLiteral("druha.qz.xml")), kDruhaDatabaza));
    m_script->files = {m_dir->filePath(QStringLiteral("druha.qz.xml"))};
    m_w->findChild<QAction *>(QStringLiteral("mnuVolbaDatabazy"))->trigger();
    pockat();
    // One of the pasted codes is there already with its own owner.
    Zariadenie->Identifikatory().Add(QStringLiteral("0000000000000002"), false, 0, {}, {}, {}, {},
                                     QStringLiteral("Iný majiteľ"));
    Zariadenie->setZmenyBoli(false);
    m_list->selectionModel()->select(m_list->model()->index(0, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);

    QTest::keyClick(m_list, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(Zariadenie->ZmenyBoli());
    QCOMPARE(Zariadenie->Identifikatory().Count(), 5);
    pockat();
    QCOMPARE(stlpec(3), (QStringList{"Adamec", "Čierny", "Iný majiteľ", "Varga", "Žitňan"}));
    QVERIFY(m_list->selectionModel()->selectedRows().isEmpty());
    const QAbstractItemModel *m = m_list->model();
    QCOMPARE(m->index(3, 1).data().toString(), QStringLiteral("Stratený"));
    QCOMPARE(m->index(3, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    QCOMPARE(m->index(3, 5).data().toString(), QStringLiteral("3"));
    QCOMPARE(m->index(3, 6).data().toString(), QStringLiteral("13"));
    QCOMPARE(m->index(1, 4).data().toString(), QStringLiteral("Ľubomír"));
    QVERIFY(m_w->windowTitle().contains(QStringLiteral(" *[")));

    // The same text again adds nothing and says nothing.
    Zariadenie->setZmenyBoli(false);
    QTest::keyClick(m_list, Qt::Key_V, Qt::ControlModifier);
    pockat();
    QCOMPARE(Zariadenie->Identifikatory().Count(), 5);
    QVERIFY(!Zariadenie->ZmenyBoli());
    QVERIFY(m_script->messages.isEmpty());
}

void TestFrmMain::pasteOfForeignTextDoesNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain text") << QStringLiteral("Novák Ján, kľúč 0000000000000009");
    QTest::newRow("other root") << QStringLiteral("<Root><Id><Kod>0000000000000009</Kod></Id></Root>");
    QTest::newRow("broken XML") << QStringLiteral("<Identifikatory><Id><Kod>0000000000000009");
}

void TestFrmMain::pasteOfForeignTextDoesNothing()
{
    QFETCH(QString, text);
    otvorit();
    oznacit({2});
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(m_list, Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!m_w->timPrekreslenie()->isActive());
    QCOMPARE(Zariadenie->Identifikatory().Count(), 5);
    QVERIFY(!Zariadenie->ZmenyBoli());
    QCOMPARE(m_w->OznaceneKody(), QStringList{QStringLiteral("0000000000000005")});
    QVERIFY(m_script->messages.isEmpty());
}

void TestFrmMain::importThroughTheMenu()
{
    otvorit();
    const QString zm = m_dir->filePath(QStringLiteral("stary.zm"));
    QVERIFY(writeFile(zm, "[Inicializacia]\r\nPocetKlucov=3\r\n1=00000000000000A1 Nov\xe1kov\xe1 Jana\r\n1_PCK=2\r\n"
                          "2=00000000000000a2 Hudák\r\n3=0000000000000001 Varga Jozef ml.\r\n"));
    QAction *import = m_w->findChild<QAction *>(QStringLiteral("mnuImportModulTav"));
    QCOMPARE(import->text(), QStringLiteral("&Import *.zm,*.am..."));

    m_script->files = {zm};
    import->trigger();
    QCOMPARE(m_script->fileRequests.size(), 1);
    QCOMPARE(m_script->fileRequests.first().filter, QStringLiteral("*.zm';*.az|*.zm;*.az|Všetky súbory (*.*)|*.*"));
    QCOMPARE(m_script->fileRequests.first().initialDir, m_subor);
    QCOMPARE(m_script->messages.size(), 1);
    QCOMPARE(m_script->messages.first().text, QStringLiteral("Počet importovaných identifikátorov: 2"));
    QCOMPARE(m_script->messages.first().icon, UiDialogs::Information);
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QVERIFY(Zariadenie->ZmenyBoli());
    pockat();
    QCOMPARE(m_list->model()->rowCount(), 7);
    QVERIFY(stlpec(3).contains(QStringLiteral("Nováková Jana")));
    QCOMPARE(Zariadenie->Identifikatory().Item(QStringLiteral("0000000000000001"))->Priezvisko(),
             QStringLiteral("Varga"));

    // Again: nothing new, the database not marked by it.
    Zariadenie->setZmenyBoli(false);
    m_script->files = {zm};
    import->trigger();
    QCOMPARE(m_script->messages.last().text, QStringLiteral("Počet importovaných identifikátorov: 0"));
    QVERIFY(!Zariadenie->ZmenyBoli());

    // A cancelled dialog ends it silently.
    const int sprav = m_script->messages.size();
    import->trigger();
    QCOMPARE(m_script->messages.size(), sprav);
}

void TestFrmMain::commandsFollowTheSelection()
{
    otvorit();
    auto *vymazat = m_w->findChild<QPushButton *>(QStringLiteral("cmdVymazzatIdentifikator"));
    auto *vlastnosti = m_w->findChild<QPushButton *>(QStringLiteral("cmdVlastnostiIdentifikatora"));
    auto *mnuVymazat = m_w->findChild<QAction *>(QStringLiteral("mnuVymazatIdentifikator"));
    QTest::qWait(250);
    QVERIFY(!vymazat->isEnabled());
    QVERIFY(!mnuVymazat->isEnabled());
    oznacit({2});
    QTRY_VERIFY(vymazat->isEnabled());
    QVERIFY(mnuVymazat->isEnabled());
    // Identifier properties, adding, the device tasks, the search, the
    // settings and the protocol belong to windows not yet in the program.
    QVERIFY(!vlastnosti->isEnabled());
    for (const char *n : {"cmdPridatIdentifikator", "cmdPoslatIdentifikatoryNaZariadenie", "cmdPripravitPrenosovyCip",
                          "cmdHladanieIdentifikatora", "cmdNacitatIdentifikatoryZoZariadenia"})
        QVERIFY2(!m_w->findChild<QPushButton *>(QLatin1String(n))->isEnabled(), n);
    for (const char *n : {"mnuPreberaciProtokol", "mnuVlastnostiIdentifikatora", "mnuPridatNovyIdentifikatorDoZoznamu",
                          "mnuPoslatIdentifikatoryNaZariadenie"})
        QVERIFY2(!m_w->findChild<QAction *>(QLatin1String(n))->isEnabled(), n);
    // Their keys and the double click do nothing.
    const int okna = QApplication::topLevelWidgets().size();
    QTest::keyClick(m_list, Qt::Key_Insert);
    QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, m_list->visualRect(m_list->model()->index(2, 3)).center());
    QCOMPARE(QApplication::topLevelWidgets().size(), okna);
    QVERIFY(m_script->messages.isEmpty());
    m_list->clearSelection();
    QTRY_VERIFY(!vymazat->isEnabled());

    // Menu items read as their buttons.
    QCOMPARE(m_w->findChild<QAction *>(QStringLiteral("mnuVlastnostiZariadenia"))->text(),
             QStringLiteral("Vlastnosti zariadenia"));
    QCOMPARE(m_w->findChild<QAction *>(QStringLiteral("mnuPridatNovyIdentifikatorDoZoznamu"))->text(),
             QStringLiteral("Pridať nový identifikátor do zoznamu"));
    QCOMPARE(m_w->findChild<QAction *>(QStringLiteral("mnuSave"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(m_w->findChild<QAction *>(QStringLiteral("mnuVolbaDatabazy"))->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+O")));
}

void TestFrmMain::protocolItemNeedsBothTemplates_data()
{
    QTest::addColumn<bool>("hromadny");
    QTest::addColumn<bool>("jednotlivy");
    QTest::newRow("none") << false << false;
    QTest::newRow("bulk only") << true << false;
    QTest::newRow("both") << true << true;
}

void TestFrmMain::protocolItemNeedsBothTemplates()
{
    QFETCH(bool, hromadny);
    QFETCH(bool, jednotlivy);
    if (hromadny)
        QVERIFY(writeFile(SuborHromadnyProtokolVzor, "{\\rtf1 }"));
    if (jednotlivy)
        QVERIFY(writeFile(SuborJednotlivyProtokolVzor, "{\\rtf1 }"));
    otvorit();
    QCOMPARE(m_w->findChild<QAction *>(QStringLiteral("mnuPreberaciProtokol"))->isVisible(), hromadny && jednotlivy);
}

void TestFrmMain::redrawSelectsRequestedIdentifier()
{
    otvorit();
    timPrekresliIdentifikatory *t = m_w->timPrekreslenie();
    QSignalSpy resety(m_list->model(), &QAbstractItemModel::modelReset);
    t->Prekreslit(QStringLiteral("0000000000000002"));
    t->Prekreslit(QStringLiteral("  0000000000000005 ")); // the last Tag wins, trimmed
    pockat();
    QCOMPARE(resety.count(), 1);
    QCOMPARE(t->Tag(), QString());
    QCOMPARE(oznacene(), QStringLiteral("0000000000000005"));
    t->Prekreslit(QStringLiteral("ffffffffffffffff"));
    pockat();
    QVERIFY(m_list->selectionModel()->selectedRows().isEmpty());
}

void TestFrmMain::layoutFollowsTheWindow()
{
    otvorit();
    auto *pas = m_w->findChild<QWidget *>(QStringLiteral("picSuboroveMenu"));
    auto *panel = m_w->findChild<QWidget *>(QStringLiteral("picMenuZariadenia"));
    auto *nastavenie = m_w->findChild<QPushButton *>(QStringLiteral("cmdNastavenieAplikacie"));
    auto *nacitat = m_w->findChild<QPushButton *>(QStringLiteral("cmdNacitatIdentifikatoryZoZariadenia"));
    auto *lbl = m_w->findChild<QLabel *>(QStringLiteral("lblPocetIdentifikatorov"));
    const int vyskaPasu = pas->height();
    const int sirkaPanelu = panel->width();
    for (const QSize s : {QSize(800, 600), QSize(1200, 800), QSize(300, 200)}) {
        m_w->resize(s);
        QTRY_COMPARE(m_w->size(), s);
        const QWidget *c = m_w->centralWidget();
        QCOMPARE(pas->geometry(), QRect(0, 0, c->width(), vyskaPasu));
        QCOMPARE(panel->geometry(), QRect(c->width() - sirkaPanelu, vyskaPasu, sirkaPanelu, c->height() - vyskaPasu));
        QCOMPARE(m_list->geometry(), QRect(0, vyskaPasu, panel->x(), c->height() - vyskaPasu));
        QCOMPARE(nastavenie->geometry().right(), pas->width() - 1);
        QCOMPARE(nacitat->geometry().right() + 1, nastavenie->x());
        QCOMPARE(nastavenie->height(), vyskaPasu);
        QCOMPARE(lbl->geometry().bottom(), panel->height() - 1);
        QCOMPARE(lbl->width(), sirkaPanelu);
    }
    // Too small for the panel: the impossible moves are skipped.
    m_w->resize(60, 80);
    QTest::qWait(50);
    QVERIFY(m_w->isVisible());
}

void TestFrmMain::devicePropertiesDialogIsKept()
{
    otvorit();
    QList<QWidget *> videne;
    auto zatvorit = [&videne] {
        QWidget *d = QApplication::activeModalWidget();
        videne << d;
        if (d)
            d->close();
    };
    QTimer::singleShot(100, this, zatvorit);
    m_w->findChild<QPushButton *>(QStringLiteral("cmdVlastnostiZariadenia"))->click();
    QTimer::singleShot(100, this, zatvorit);
    m_w->findChild<QAction *>(QStringLiteral("mnuVlastnostiZariadenia"))->trigger();
    QCOMPARE(videne.size(), 2);
    QVERIFY(videne[0]);
    QCOMPARE(videne[0]->objectName(), QStringLiteral("frmVlastnostiZariadenia"));
    QCOMPARE(videne[0], videne[1]);
    QVERIFY(!Zariadenie->ZmenyBoli());
}

void TestFrmMain::settingsCommandOpensPortSettings()
{
    otvorit();
    auto *tlacidlo = m_w->findChild<QPushButton *>(QStringLiteral("cmdNastavenieAplikacie"));
    auto *polozka = m_w->findChild<QAction *>(QStringLiteral("mnuNastaveniaAplikacie"));
    QVERIFY(tlacidlo->isEnabled());
    QVERIFY(polozka->isEnabled());
    ModalScript<frmNastavenia> script;
    QList<QWidget *> rodicia;
    auto zavriet = [&rodicia](frmNastavenia *d) {
        rodicia << d->parentWidget();
        d->cmdCancel_Click();
    };
    script.then(zavriet);
    script.then(zavriet);
    tlacidlo->click();
    polozka->trigger();
    QCOMPARE(script.shown(), 2);
    QCOMPARE(rodicia, (QList<QWidget *>{m_w.get(), m_w.get()}));
    QVERIFY(!m_w->findChild<frmNastavenia *>()); // unloaded after each use
}

QTEST_MAIN(TestFrmMain)
#include "test_frmMain.moc"
