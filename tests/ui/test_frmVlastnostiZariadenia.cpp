#include "app/modMain.h"
#include "model/claZariadenie.h"
#include "ui/frmVlastnostiZariadenia.h"

#include "DialogScript.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestFrmVlastnostiZariadenia : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void fillsFromTheRecord();
    void openingTimeIsChecked_data();
    void openingTimeIsChecked();
    void confirmWithoutChangesLeavesRecordUnchanged();
    void storesTrimmedPasswordAndExactNotes();
    void enterInNotesStartsNewLine();
    void closeAfterChangeAsks_data();
    void closeAfterChangeAsks();
    void generatedPassword_data();
    void generatedPassword();
    void randomPasswordAlphabet();
    void showPassword();

private:
    template <typename T> T *c(const char *name) { return m_dlg->findChild<T *>(QLatin1String(name)); }
    void otvorit()
    {
        m_dlg->Form_Load();
        m_dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<DialogScript> m_script;
    std::unique_ptr<frmVlastnostiZariadenia> m_dlg;
};

void TestFrmVlastnostiZariadenia::initTestCase()
{
    QVERIFY(m_dir.isValid());
    PripravitAplikaciu(m_dir.path());
}

void TestFrmVlastnostiZariadenia::init()
{
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    Zariadenie = std::make_shared<claZariadenie>();
    Zariadenie->setCasOtvaraniaSec(5);
    Zariadenie->setPmHeslo(QStringLiteral("Tajne123"));
    Zariadenie->setPoznamky(QStringLiteral("Vchod A\r\nzadné dvere"));
    Zariadenie->setZmenyBoli(false);
    m_script = std::make_unique<DialogScript>();
    m_dlg = std::make_unique<frmVlastnostiZariadenia>();
}

void TestFrmVlastnostiZariadenia::cleanup()
{
    m_script->answers = {UiDialogs::AnswerYes};
    m_dlg.reset();
    m_script.reset();
    Zariadenie = std::make_shared<claZariadenie>();
}

void TestFrmVlastnostiZariadenia::fillsFromTheRecord()
{
    otvorit();
    QCOMPARE(c<QLineEdit>("txtCasOtvaraniaSec")->text(), QStringLiteral("5,0"));
    QCOMPARE(c<QLineEdit>("txtHeslo")->text(), QStringLiteral("Tajne123"));
    QCOMPARE(c<QLineEdit>("txtHeslo")->maxLength(), 10);
    QCOMPARE(c<QLineEdit>("txtHeslo")->echoMode(), QLineEdit::Password);
    QCOMPARE(c<QPlainTextEdit>("txtPoznamky")->toPlainText(), QStringLiteral("Vchod A\nzadné dvere"));
    QVERIFY(!m_dlg->ZmenyBoli());
    QVERIFY(c<QPushButton>("cmdOk")->isDefault());
    QCOMPARE(c<QPushButton>("cmdCancel")->text(), QStringLiteral("Naspäť"));
    QCOMPARE(m_dlg->windowTitle(), QStringLiteral("Vlastnosti zariadenia"));
}

void TestFrmVlastnostiZariadenia::openingTimeIsChecked_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("sprava"); // empty: accepted
    QTest::addColumn<float>("cas");
    const QLocale sk(QLocale::Slovak, QLocale::Slovakia);
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QString tip = QStringLiteral("Zadajte čas otvárania v sekundách");
    const QString min = QStringLiteral("Čas otvárania musí byť aspoň 0,1");
    QTest::newRow("0,5") << sk << "0,5" << "" << 0.5f;
    QTest::newRow("0.5 under English") << en << "0.5" << "" << 0.5f;
    QTest::newRow("45 reads as 30") << sk << "45" << "" << 30.0f;
    QTest::newRow("0") << sk << "0" << min << 5.0f;
    QTest::newRow("-1") << sk << "-1" << min << 5.0f;
    QTest::newRow("abc") << sk << "abc" << tip << 5.0f;
    QTest::newRow("empty") << sk << "" << tip << 5.0f;
}

void TestFrmVlastnostiZariadenia::openingTimeIsChecked()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(QString, sprava);
    QFETCH(float, cas);
    QLocale::setDefault(locale);
    otvorit();
    auto *txt = c<QLineEdit>("txtCasOtvaraniaSec");
    txt->setText(text);
    c<QPushButton>("cmdOk")->setFocus();
    QTest::mouseClick(c<QPushButton>("cmdOk"), Qt::LeftButton);
    QCOMPARE(Zariadenie->CasOtvaraniaSec(), cas);
    if (sprava.isEmpty()) {
        QVERIFY(m_script->messages.isEmpty());
        QVERIFY(!m_dlg->isVisible());
        QCOMPARE(m_dlg->result(), int(QDialog::Accepted));
        QVERIFY(Zariadenie->ZmenyBoli());
    } else {
        QCOMPARE(m_script->messages.size(), 1);
        QCOMPARE(m_script->messages.first().text, sprava);
        QCOMPARE(m_script->messages.first().icon, UiDialogs::Exclamation);
        QCOMPARE(m_script->messages.first().buttons, UiDialogs::Ok);
        QVERIFY(m_dlg->isVisible());
        QVERIFY(txt->hasFocus());
        QVERIFY(!Zariadenie->ZmenyBoli());
    }
}

void TestFrmVlastnostiZariadenia::confirmWithoutChangesLeavesRecordUnchanged()
{
    otvorit();
    QTest::mouseClick(c<QPushButton>("cmdOk"), Qt::LeftButton);
    QVERIFY(!m_dlg->isVisible());
    QVERIFY(!Zariadenie->ZmenyBoli());
    QVERIFY(m_script->messages.isEmpty());
}

void TestFrmVlastnostiZariadenia::storesTrimmedPasswordAndExactNotes()
{
    otvorit();
    c<QLineEdit>("txtHeslo")->setText(QStringLiteral("  nove h "));
    c<QPlainTextEdit>("txtPoznamky")->setPlainText(QStringLiteral(" riadok 1\nriadok 2 "));
    QTest::mouseClick(c<QPushButton>("cmdOk"), Qt::LeftButton);
    QCOMPARE(Zariadenie->PmHeslo(), QStringLiteral("nove h"));
    QCOMPARE(Zariadenie->Poznamky(), QStringLiteral(" riadok 1\r\nriadok 2 "));
    QCOMPARE(Zariadenie->CasOtvaraniaSec(), 5.0f);
    QVERIFY(Zariadenie->ZmenyBoli());
}

void TestFrmVlastnostiZariadenia::enterInNotesStartsNewLine()
{
    otvorit();
    m_dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
    auto *poznamky = c<QPlainTextEdit>("txtPoznamky");
    poznamky->setFocus();
    QTRY_VERIFY(poznamky->hasFocus());
    QVERIFY(!c<QPushButton>("cmdOk")->isDefault());
    poznamky->moveCursor(QTextCursor::End);
    QTest::keyClick(poznamky, Qt::Key_Return);
    QTest::keyClicks(poznamky, QStringLiteral("treti"));
    QVERIFY(m_dlg->isVisible());
    QCOMPARE(poznamky->toPlainText(), QStringLiteral("Vchod A\nzadné dvere\ntreti"));
    c<QLineEdit>("txtHeslo")->setFocus();
    QTRY_VERIFY(c<QPushButton>("cmdOk")->isDefault());
    QTest::keyClick(c<QLineEdit>("txtHeslo"), Qt::Key_Return); // now Enter confirms
    QVERIFY(!m_dlg->isVisible());
    QCOMPARE(Zariadenie->Poznamky(), QStringLiteral("Vchod A\r\nzadné dvere\r\ntreti"));
}

void TestFrmVlastnostiZariadenia::closeAfterChangeAsks_data()
{
    QTest::addColumn<int>("odpoved");
    QTest::addColumn<bool>("zatvorene");
    QTest::addColumn<int>("sposob"); // 0 close box, 1 Naspäť, 2 Escape
    QTest::newRow("yes discards") << int(UiDialogs::AnswerYes) << true << 0;
    QTest::newRow("no keeps the edits") << int(UiDialogs::AnswerNo) << false << 0;
    QTest::newRow("cancel keeps the edits") << int(UiDialogs::AnswerCancel) << false << 1;
    QTest::newRow("Naspäť, yes") << int(UiDialogs::AnswerYes) << true << 1;
    QTest::newRow("Escape, no") << int(UiDialogs::AnswerNo) << false << 2;
}

void TestFrmVlastnostiZariadenia::closeAfterChangeAsks()
{
    QFETCH(int, odpoved);
    QFETCH(bool, zatvorene);
    QFETCH(int, sposob);
    otvorit();
    c<QLineEdit>("txtCasOtvaraniaSec")->setText(QStringLiteral("7"));
    m_script->answers = {UiDialogs::Answer(odpoved)};
    if (sposob == 0)
        m_dlg->close();
    else if (sposob == 1)
        c<QPushButton>("cmdCancel")->click();
    else
        QTest::keyClick(c<QLineEdit>("txtCasOtvaraniaSec"), Qt::Key_Escape);
    QCOMPARE(m_script->messages.size(), 1);
    const UiDialogs::MessageRequest &q = m_script->messages.first();
    QCOMPARE(q.text, QStringLiteral("Zmeny boli. Zatvoriť okno bez uloženia?"));
    QCOMPARE(q.buttons, UiDialogs::YesNoCancel);
    QCOMPARE(q.icon, UiDialogs::Question);
    QCOMPARE(q.defaultButton, UiDialogs::AnswerNo);
    QCOMPARE(m_dlg->isVisible(), !zatvorene);
    if (!zatvorene)
        QCOMPARE(c<QLineEdit>("txtCasOtvaraniaSec")->text(), QStringLiteral("7"));
    QCOMPARE(Zariadenie->CasOtvaraniaSec(), 5.0f);
    QVERIFY(!Zariadenie->ZmenyBoli());

    // Opened again it is filled anew from the record.
    if (zatvorene) {
        m_script->messages.clear();
        otvorit();
        QCOMPARE(c<QLineEdit>("txtCasOtvaraniaSec")->text(), QStringLiteral("5,0"));
        m_dlg->close();
        QVERIFY(m_script->messages.isEmpty());
        QVERIFY(!m_dlg->isVisible());
    }
}

void TestFrmVlastnostiZariadenia::generatedPassword_data()
{
    QTest::addColumn<int>("odpoved");
    QTest::addColumn<bool>("nove");
    QTest::newRow("yes") << int(UiDialogs::AnswerYes) << true;
    QTest::newRow("no") << int(UiDialogs::AnswerNo) << false;
    QTest::newRow("cancel") << int(UiDialogs::AnswerCancel) << false;
}

void TestFrmVlastnostiZariadenia::generatedPassword()
{
    QFETCH(int, odpoved);
    QFETCH(bool, nove);
    otvorit();
    m_script->answers = {UiDialogs::Answer(odpoved)};
    c<QPushButton>("cmdGenerovatNoveHeslo")->click();
    QCOMPARE(m_script->messages.size(), 1);
    QVERIFY(m_script->messages.first().text.startsWith(QStringLiteral("Generovať nové heslo? Toto heslo nebude")));
    QCOMPARE(m_script->messages.first().defaultButton, UiDialogs::AnswerNo);
    const QString heslo = c<QLineEdit>("txtHeslo")->text();
    QCOMPARE(heslo != QStringLiteral("Tajne123"), nove);
    QCOMPARE(m_dlg->ZmenyBoli(), nove);
    QCOMPARE(Zariadenie->PmHeslo(), QStringLiteral("Tajne123")); // only OK stores it
    if (nove) {
        QCOMPARE(heslo.size(), 10);
        QTest::mouseClick(c<QPushButton>("cmdOk"), Qt::LeftButton);
        QCOMPARE(Zariadenie->PmHeslo(), heslo.trimmed());
    }
}

void TestFrmVlastnostiZariadenia::randomPasswordAlphabet()
{
    const QString abeceda = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz ");
    QHash<QChar, int> pocty;
    for (int i = 0; i < 2000; ++i) {
        const QString h = frmVlastnostiZariadenia::NahodneHeslo(10);
        QCOMPARE(h.size(), 10);
        for (QChar ch : h) {
            QVERIFY2(abeceda.contains(ch), qPrintable(h));
            ++pocty[ch];
        }
    }
    // 20,000 draws over 62 full and two half positions: every character
    // shows up, the ends about half as often as the rest.
    QCOMPARE(pocty.size(), 63);
    const double stred = pocty.value(QLatin1Char('M')) + pocty.value(QLatin1Char('m')) + pocty.value(QLatin1Char('5'));
    const double kraje = pocty.value(QLatin1Char('A')) + pocty.value(QLatin1Char(' '));
    QVERIFY2(kraje / 2 < stred / 3, qPrintable(QStringLiteral("%1 %2").arg(kraje).arg(stred)));
}

void TestFrmVlastnostiZariadenia::showPassword()
{
    otvorit();
    auto *heslo = c<QLineEdit>("txtHeslo");
    auto *chk = c<QCheckBox>("chkZobrazitZnakyHesla");
    QCOMPARE(chk->text(), QStringLiteral("Zobraziť heslo"));
    QCOMPARE(heslo->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, heslo), int('*'));
    chk->click();
    QCOMPARE(heslo->echoMode(), QLineEdit::Normal);
    chk->click();
    QCOMPARE(heslo->echoMode(), QLineEdit::Password);
    QVERIFY(!m_dlg->ZmenyBoli());
}

QTEST_MAIN(TestFrmVlastnostiZariadenia)
#include "test_frmVlastnostiZariadenia.moc"
