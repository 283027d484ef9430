#include "app/claIni1_3.h"
#include "app/modLokalizacia2_0.h"
#include "app/modMain.h"
#include "claLuReport1_4Interface.h"
#include "model/modDowCRC.h"
#include "platform/Win1250Codec.h"

#include "TestFiles.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Stands in for the report component: only the two properties that the
// translation uses.
class ReportStandIn : public _claLuReport1_4
{
public:
    QString caption = QStringLiteral("Report");
    QStringList buttons{QStringLiteral("Uložiť do RTF..."), QStringLiteral("Tip uloženia"),
                        QStringLiteral("Tlač..."), QStringLiteral("Zatvoriť")};
    TeboHResult QueryInterface(const TeboGuid &, void **) override { return TEBO_E_NOINTERFACE; }
    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
    void put_PageNumEnabled(bool) override {}
    bool get_PageNumEnabled() override { return false; }
    void AddText(const QString &) override {}
    void AddPictureFile(const QString &) override {}
    void put_Bold(bool) override {}
    bool get_Bold() override { return false; }
    void put_Caption(const QString &c) override { caption = c; }
    QString get_Caption() override { return caption; }
    void put_Color(std::uint32_t) override {}
    std::uint32_t get_Color() override { return 0; }
    void put_FontName(const QString &) override {}
    QString get_FontName() override { return {}; }
    void put_FontSize(float) override {}
    float get_FontSize() override { return 0; }
    TeboRichTextControl *get_RichText() override { return nullptr; }
    void put_Italic(bool) override {}
    bool get_Italic() override { return false; }
    void put_Landscape(bool) override {}
    bool get_Landscape() override { return false; }
    void Show() override {}
    void put_ButtonTexts(const QStringList &t) override { buttons = t; }
    QStringList get_ButtonTexts() override { return buttons; }
};

} // namespace

class TestApp : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void hexToBytes_data();
    void hexToBytes();
    void bytesToHex();
    void iniBool_data();
    void iniBool();
    void iniNumeric_data();
    void iniNumeric();
    void iniDateTimeRoundTrip();
    void iniDateTimeMalformedFails();
    void iniStringCutAt254AndAbsentDefaults();
    void iniDeleteAndCaseInsensitive();
    void localizeText_data();
    void localizeText();
    void localizeWithoutFile();
    void localizeForm();
    void localizeReport();
    void applicationDirectory();
    void startUpPreparesGlobals();

private:
    QTemporaryDir m_dir;
    void loadTable(const QByteArray &content);
};

void TestApp::init()
{
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    NacitajLokalizaciu(QString());
}

void TestApp::cleanup()
{
    QLocale::setDefault(QLocale::c());
    NacitajLokalizaciu(QString());
}

void TestApp::loadTable(const QByteArray &content)
{
    const QString p = m_dir.filePath(QStringLiteral("lokalizacia.txt"));
    QVERIFY(writeFile(p, content));
    NacitajLokalizaciu(p);
}

void TestApp::hexToBytes_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("mixed case") << "0A1b" << QByteArray("\x0a\x1b", 2);
    QTest::newRow("invalid digit") << "0G" << QByteArray();
    QTest::newRow("odd length") << "ABC" << QByteArray("\xab\x0c", 2);
    QTest::newRow("empty") << "" << QByteArray();
    QTest::newRow("invalid late pair") << "00112x" << QByteArray();
    QTest::newRow("identifier") << "021CB801000000A2" << QByteArray("\x02\x1c\xb8\x01\x00\x00\x00\xa2", 8);
}

void TestApp::hexToBytes()
{
    QFETCH(QString, hex);
    QFETCH(QByteArray, bytes);
    QCOMPARE(HexNaRetazec(hex), bytes);
}

void TestApp::bytesToHex()
{
    QCOMPARE(RetazecNaHex(QByteArray("\x00\xff", 2)), QStringLiteral("00ff"));
    QCOMPARE(RetazecNaHex(QByteArray("\x01\xab\x10", 3)), QStringLiteral("01ab10"));
    QCOMPARE(RetazecNaHex(QByteArray()), QString());
}

void TestApp::iniBool_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    for (const char *t : {"TRUE", "true", "Yes", "y", " ano ", "A", "a"})
        QTest::newRow(t) << QString::fromLatin1(t) << true;
    for (const char *t : {"FALSE", "NO", "N", "NIE", "1", "JA", "", "truth"})
        QTest::newRow(*t ? t : "empty") << QString::fromLatin1(t) << false;
}

void TestApp::iniBool()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    claIni1_3 ini;
    ini.setFileName(m_dir.filePath(QStringLiteral("bool.ini")));
    ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("B"), text);
    QCOMPARE(ini.IniBool(QStringLiteral("MAIN"), QStringLiteral("B")), expected);
    ini.setIniBool(QStringLiteral("MAIN"), QStringLiteral("W"), expected);
    QCOMPARE(ini.IniString(QStringLiteral("MAIN"), QStringLiteral("W")),
             expected ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

void TestApp::iniNumeric_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    const QLocale sk(QLocale::Slovak, QLocale::Slovakia), en(QLocale::English, QLocale::UnitedStates);
    for (const auto &[name, loc] : {std::pair<const char *, QLocale>{"sk", sk}, {"en", en}}) {
        QTest::addRow("%s 0.5", name) << loc << "0.5" << 0.5;
        QTest::addRow("%s 0,5", name) << loc << "0,5" << 0.5;
        QTest::addRow("%s spaces", name) << loc << "  2,25 " << 2.25;
        QTest::addRow("%s integer", name) << loc << "42" << 42.0;
        QTest::addRow("%s not a number", name) << loc << "abc" << 0.0;
        QTest::addRow("%s empty", name) << loc << "" << 0.0;
    }
}

void TestApp::iniNumeric()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(double, expected);
    QLocale::setDefault(locale);
    claIni1_3 ini;
    ini.setFileName(m_dir.filePath(QStringLiteral("num.ini")));
    ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("N"), text);
    QCOMPARE(ini.IniNumeric(QStringLiteral("MAIN"), QStringLiteral("N")), expected);
    QCOMPARE(ini.IniNumeric(QStringLiteral("MAIN"), QStringLiteral("absent")), 0.0);

    // Written with the regional separator, read back as the number.
    ini.setIniNumeric(QStringLiteral("MAIN"), QStringLiteral("W"), 2.5);
    QCOMPARE(ini.IniString(QStringLiteral("MAIN"), QStringLiteral("W")),
             locale.language() == QLocale::Slovak ? QStringLiteral("2,5") : QStringLiteral("2.5"));
    QCOMPARE(ini.IniNumeric(QStringLiteral("MAIN"), QStringLiteral("W")), 2.5);
}

void TestApp::iniDateTimeRoundTrip()
{
    claIni1_3 ini;
    ini.setFileName(m_dir.filePath(QStringLiteral("dt.ini")));
    const QDateTime leap(QDate(2024, 2, 29), QTime(23, 59, 59));
    ini.setIniDateTime(QStringLiteral("MAIN"), QStringLiteral("T"), leap);
    QCOMPARE(ini.IniString(QStringLiteral("MAIN"), QStringLiteral("T")), QStringLiteral("20240229235959"));
    bool ok = false;
    QCOMPARE(ini.IniDateTime(QStringLiteral("MAIN"), QStringLiteral("T"), &ok), leap);
    QVERIFY(ok);
    QCOMPARE(ini.IniDateTime(QStringLiteral("MAIN"), QStringLiteral("absent"), &ok),
             QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
    QVERIFY(ok);
}

void TestApp::iniDateTimeMalformedFails()
{
    claIni1_3 ini;
    ini.setFileName(m_dir.filePath(QStringLiteral("dtbad.ini")));
    for (const char *bad : {"2024AB29235959", "20241329000000", "2024", "yesterday"}) {
        ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("T"), QString::fromLatin1(bad));
        bool ok = true;
        QVERIFY(!ini.IniDateTime(QStringLiteral("MAIN"), QStringLiteral("T"), &ok).isValid());
        QVERIFY2(!ok, bad);
    }
}

void TestApp::iniStringCutAt254AndAbsentDefaults()
{
    claIni1_3 ini;
    ini.setFileName(m_dir.filePath(QStringLiteral("str.ini")));
    const QString longValue = QString(300, QLatin1Char('x'));
    ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("S"), longValue);
    QCOMPARE(ini.IniString(QStringLiteral("MAIN"), QStringLiteral("S")), longValue.left(254));
    QCOMPARE(ini.IniString(QStringLiteral("MAIN"), QStringLiteral("none")), QString());
    QCOMPARE(ini.IniBool(QStringLiteral("MAIN"), QStringLiteral("none")), false);

    claIni1_3 unreadable;
    unreadable.setFileName(m_dir.filePath(QStringLiteral("no/such/file.ini")));
    unreadable.setIniString(QStringLiteral("MAIN"), QStringLiteral("S"), QStringLiteral("lost quietly"));
    QCOMPARE(unreadable.IniString(QStringLiteral("MAIN"), QStringLiteral("S")), QString());
}

void TestApp::iniDeleteAndCaseInsensitive()
{
    claIni1_3 ini;
    ini.setFileName(m_dir.filePath(QStringLiteral("del.ini")));
    ini.setIniString(QStringLiteral("Main"), QStringLiteral("Com_Port_Device"), QStringLiteral("ttyUSB0"));
    ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE"), QStringLiteral("/x.qz.xml"));
    ini.setIniString(QStringLiteral("Other"), QStringLiteral("k"), QStringLiteral("v"));
    QCOMPARE(ini.IniString(QStringLiteral("main"), QStringLiteral("COM_PORT_DEVICE")), QStringLiteral("ttyUSB0"));
    ini.DeleteKey(QStringLiteral("MAIN"), QStringLiteral("com_port_device"));
    QCOMPARE(ini.IniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE")), QString());
    QCOMPARE(ini.IniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE")), QStringLiteral("/x.qz.xml"));
    ini.DeleteSection(QStringLiteral("main"));
    QCOMPARE(ini.IniString(QStringLiteral("MAIN"), QStringLiteral("LAST_FILE")), QString());
    QCOMPARE(ini.IniString(QStringLiteral("OTHER"), QStringLiteral("K")), QStringLiteral("v"));
}

void TestApp::localizeText_data()
{
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariantList>("params");
    QTest::addColumn<QString>("expected");

    const QByteArray t = Win1250Codec::fromUnicode(QStringLiteral(
        "Prvý\tFirst\r\n"
        "Identifikátor musí mať dĺžku ~!1 znakov\tThe identifier must be ~!1 characters long\r\n"
        "Riadky\tLine one~@line two\r\n"
        "Medzery\t   \r\n"
        "Prázdny\t\r\n"
        "Dvakrát\tfirst wins\r\n"
        "Dvakrát\tsecond\r\n"
        "Bez tabulátora\r\n"
        "LfOnly\tLF ended\n"
        "AfterLf\tnot found\r\n"
        "Posledný\t  Last  "));
    const QVariantList none;
    QTest::newRow("first line") << t << "Prvý" << none << "First";
    QTest::newRow("last line without line break") << t << "Posledný" << none << "Last";
    QTest::newRow("parameter in translation") << t << "Identifikátor musí mať dĺžku ~!1 znakov"
                                              << QVariantList{16} << "The identifier must be 16 characters long";
    QTest::newRow("marker in translation") << t << "Riadky" << none << "Line one\r\nline two";
    QTest::newRow("spaces only keeps the text") << t << "Medzery" << none << "Medzery";
    QTest::newRow("empty translation keeps the text") << t << "Prázdny" << none << "Prázdny";
    QTest::newRow("first entry wins") << t << "Dvakrát" << none << "first wins";
    QTest::newRow("different case is not used") << t << "prvý" << none << "prvý";
    QTest::newRow("line without tab never matches") << t << "Bez tabulátora" << none << "Bez tabulátora";
    QTest::newRow("entry after LF-only line not found") << t << "AfterLf" << none << "AfterLf";
    QTest::newRow("parameter text unchanged") << t << "A ~!1 B ~!2" << QVariantList{"x~@y", "~!1"}
                                              << "A x~@y B ~!1";
    QTest::newRow("ten parameters") << t << "~!10/~!1" << QVariantList{1, 2, 3, 4, 5, 6, 7, 8, 9, "ten"}
                                    << "ten/1";
    QTest::newRow("decimal parameter") << t << "~!1 s" << QVariantList{0.5} << "0,5 s";
    QTest::newRow("unknown marker left") << t << "~!3 ~!x" << QVariantList{1} << "~!3 ~!x";
    QTest::newRow("empty text") << t << "" << QVariantList{1} << "";
}

void TestApp::localizeText()
{
    QFETCH(QByteArray, table);
    QFETCH(QString, text);
    QFETCH(QVariantList, params);
    QFETCH(QString, expected);
    loadTable(table);
    QCOMPARE(LokalizujText(text, params), expected);
}

void TestApp::localizeWithoutFile()
{
    NacitajLokalizaciu(m_dir.filePath(QStringLiteral("nothing-here.txt")));
    QCOMPARE(LokalizacnyText(), QString());
    QCOMPARE(LokalizujText(QStringLiteral("Identifikátor musí mať dĺžku ~!1 znakov"), {16}),
             QStringLiteral("Identifikátor musí mať dĺžku 16 znakov"));
    QCOMPARE(LokalizujText(QStringLiteral("a~@b")), QStringLiteral("a\r\nb"));
    loadTable(QByteArray());
    QCOMPARE(LokalizacnyText(), QString());
}

void TestApp::localizeForm()
{
    loadTable(Win1250Codec::fromUnicode(QStringLiteral(
        "Okno\tWindow\r\nPopis\tLabel\r\nTip\tTip!\r\nTlačidlo\tButton\r\nVoľba\tOption\r\nRám\tFrame\r\n"
        "&Súbor\t&File\r\n&Koniec\t&Exit\r\nPodmenu\tSubmenu\r\nStĺpec\tColumn\r\nText\tTEXT\r\n")));
    QMainWindow form;
    form.setWindowTitle(QStringLiteral("Okno"));
    auto *central = new QWidget(&form);
    form.setCentralWidget(central);
    auto *label = new QLabel(QStringLiteral("Popis"), central);
    label->setToolTip(QStringLiteral("Tip"));
    auto *button = new QPushButton(QStringLiteral("Tlačidlo"), central);
    button->setToolTip(QStringLiteral("Tip"));
    auto *check = new QCheckBox(QStringLiteral("Voľba"), central);
    auto *frame = new QGroupBox(QStringLiteral("Rám"), central);
    auto *edit = new QLineEdit(QStringLiteral("Text"), central);
    edit->setToolTip(QStringLiteral("Tip"));
    auto *list = new QTreeWidget(central);
    list->setHeaderLabels({QStringLiteral("Stĺpec")});
    list->setToolTip(QStringLiteral("Tip"));
    QMenu *file = form.menuBar()->addMenu(QStringLiteral("&Súbor"));
    QAction *exit = file->addAction(QStringLiteral("&Koniec"));
    file->addSeparator();
    QMenu *sub = file->addMenu(QStringLiteral("Podmenu"));

    LokalizujFormular(&form);

    QCOMPARE(form.windowTitle(), QStringLiteral("Window"));
    QCOMPARE(label->text(), QStringLiteral("Label"));
    QCOMPARE(label->toolTip(), QStringLiteral("Tip!"));
    QCOMPARE(button->text(), QStringLiteral("Button"));
    QCOMPARE(button->toolTip(), QStringLiteral("Tip!"));
    QCOMPARE(check->text(), QStringLiteral("Option"));
    QCOMPARE(frame->title(), QStringLiteral("Frame"));
    QCOMPARE(edit->toolTip(), QStringLiteral("Tip!"));
    QCOMPARE(edit->text(), QStringLiteral("Text")); // the content is data, not a caption
    QCOMPARE(list->headerItem()->text(0), QStringLiteral("Stĺpec")); // list views set their own texts
    QCOMPARE(list->toolTip(), QStringLiteral("Tip"));
    QCOMPARE(file->title(), QStringLiteral("&File"));
    QCOMPARE(exit->text(), QStringLiteral("&Exit"));
    QCOMPARE(sub->title(), QStringLiteral("Submenu"));
}

void TestApp::localizeReport()
{
    loadTable(Win1250Codec::fromUnicode(QStringLiteral("Report\tProtocol\r\nTlač...\tPrint...\r\n")));
    ReportStandIn r;
    LokalizujReport(&r);
    QCOMPARE(r.caption, QStringLiteral("Protocol"));
    QCOMPARE(r.buttons, (QStringList{QStringLiteral("Uložiť do RTF..."), QStringLiteral("Tip uloženia"),
                                      QStringLiteral("Print..."), QStringLiteral("Zatvoriť")}));
    LokalizujReport(nullptr);
}

void TestApp::applicationDirectory()
{
    const QString own = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    qunsetenv("TEBO_APPDIR");
    QCOMPARE(UrcitAdresarAplikacie({QStringLiteral("tebo")}), own);
    QCOMPARE(UrcitAdresarAplikacie({QStringLiteral("tebo"), QStringLiteral("--appdir"), QStringLiteral("/tmp/a/")}),
             QStringLiteral("/tmp/a/"));
    QCOMPARE(UrcitAdresarAplikacie({QStringLiteral("tebo"), QStringLiteral("--appdir=/tmp/b")}),
             QStringLiteral("/tmp/b/"));
    QCOMPARE(UrcitAdresarAplikacie({QStringLiteral("tebo"), QStringLiteral("--appdir=/")}), QStringLiteral("/"));
    qputenv("TEBO_APPDIR", "/tmp/env");
    QCOMPARE(UrcitAdresarAplikacie({QStringLiteral("tebo")}), QStringLiteral("/tmp/env/"));
    QCOMPARE(UrcitAdresarAplikacie({QStringLiteral("tebo"), QStringLiteral("--appdir"), QStringLiteral("/tmp/c")}),
             QStringLiteral("/tmp/c/"));
    qunsetenv("TEBO_APPDIR");
}

void TestApp::startUpPreparesGlobals()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    QVERIFY(writeFile(d + QStringLiteral("lokalizacia.txt"), "Koniec\tEnd\r\n"));
    PripravitAplikaciu(dir.path());
    QCOMPARE(AdresarAplikacie, d);
    QCOMPARE(Ini.FileName(), d + NazovProgramu() + QStringLiteral(".ini"));
    QCOMPARE(SuborHromadnyProtokolVzor, d + QStringLiteral("hromadny_preberaci_protokol_vzor.rtf"));
    QCOMPARE(SuborJednotlivyProtokolVzor, d + QStringLiteral("jednotlivy_preberaci_protokol_vzor.rtf"));
    QCOMPARE(LokalizujText(QStringLiteral("Koniec")), QStringLiteral("End"));
    QCOMPARE(DowCRCTabulka(1), std::uint8_t(94));
    QVERIFY(!QFileInfo::exists(Ini.FileName())); // nothing is read or written yet
}

QTEST_MAIN(TestApp)
#include "test_app.moc"
