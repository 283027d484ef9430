#include "app/modMain.h"
#include "model/XmlDokument.h"
#include "model/claZariadenie.h"

#include "DialogScript.h"
#include "TestFiles.h"

#include <QLocale>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/mount.h>
#include <unistd.h>

namespace {

const QString kCode1 = QStringLiteral("021cb801000000a2");
const QString kCode2 = QStringLiteral("0000000000000000");

// A small mount of our own for the file-system failures; needs root.
class ScratchMount
{
public:
    ScratchMount(const QString &dir, const QByteArray &options) : m_dir(dir)
    {
        QDir().mkpath(dir);
        m_ok = ::geteuid() == 0
               && ::mount("tebo-test", QFile::encodeName(dir).constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~ScratchMount()
    {
        if (m_ok)
            ::umount2(QFile::encodeName(m_dir).constData(), MNT_DETACH);
    }
    bool ok() const { return m_ok; }
    bool remountReadOnly()
    {
        return ::mount("tebo-test", QFile::encodeName(m_dir).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                       nullptr) == 0;
    }

private:
    QString m_dir;
    bool m_ok = false;
};

} // namespace

class TestZariadenie : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void openingTimeIsClamped_data();
    void openingTimeIsClamped();
    void roundTripKeepsEverything_data();
    void roundTripKeepsEverything();
    void fileFormatIsExact();
    void notesLineBreaksBecomeCrLf();
    void duplicatesAreListedAndMarkChanged();
    void elementWithoutCodeIsKept();
    void rootAfterDeclarationOrComment();
    void openingTimeFromOtherLocale_data();
    void openingTimeFromOtherLocale();
    void missingFile();
    void badInputIsRefused_data();
    void badInputIsRefused();
    void hugeFileIsRefusedWithoutReading();
    void saveKeepsBackupAndReplacesOlderOne();
    void saveWithoutNameAsksAndCancelKeepsChanges();
    void saveFailureShowsStepMessageAndAsksAgain_data();
    void saveFailureShowsStepMessageAndAsksAgain();
    void saveIntoVanishedFolder();
    void saveOverReadOnlyFile();
    void saveOnFullFileSystem();
    void saveInReadOnlyFolder();
    void saveKilledAtAnyMomentLeavesWholeDatabase();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    static claZariadenie sample();
    QTemporaryDir m_dir;
};

void TestZariadenie::initTestCase()
{
    PripravitAplikaciu(m_dir.path());
}

void TestZariadenie::init()
{
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
}

void TestZariadenie::cleanup()
{
    claZariadenie::setSaveFault({});
    QLocale::setDefault(QLocale::c());
}

claZariadenie TestZariadenie::sample()
{
    claZariadenie z;
    z.setPmHeslo(QStringLiteral("Tajné 1"));
    z.setPoznamky(QStringLiteral("Vchod A\r\nzadné dvere"));
    z.setCasOtvaraniaSec(2.5f);
    z.Identifikatory().Add(kCode1, true, 2, QStringLiteral("12"), QStringLiteral("3"),
                           QStringLiteral("l1\r\nl2"), QStringLiteral("Ján"), QStringLiteral("Novák"));
    z.Identifikatory().Add(kCode2, false, 0, {}, {}, {}, {}, QStringLiteral("Čierny"));
    return z;
}

void TestZariadenie::openingTimeIsClamped_data()
{
    QTest::addColumn<float>("set");
    QTest::addColumn<float>("read");
    QTest::addColumn<QString>("written");
    QTest::newRow("unset") << 0.0f << 5.0f << "5";
    QTest::newRow("negative") << -1.0f << 5.0f << "5";
    QTest::newRow("above 30") << 45.0f << 30.0f << "30";
    QTest::newRow("tenth") << 0.1f << 0.1f << "0,1";
    QTest::newRow("not a number") << std::numeric_limits<float>::quiet_NaN() << 5.0f << "5";
}

void TestZariadenie::openingTimeIsClamped()
{
    QFETCH(float, set);
    QFETCH(float, read);
    QFETCH(QString, written);
    claZariadenie z;
    z.setCasOtvaraniaSec(set);
    QCOMPARE(z.CasOtvaraniaSec(), read);
    z.setFileName(path(QStringLiteral("time.qz.xml")));
    QVERIFY(z.SaveFile());
    QVERIFY(QString::fromUtf8(readFile(z.FileName()))
                .contains(QStringLiteral("<CasOtvaraniaSec>") + written + QStringLiteral("</CasOtvaraniaSec>")));
}

void TestZariadenie::roundTripKeepsEverything_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("sk") << QLocale(QLocale::Slovak, QLocale::Slovakia);
    QTest::newRow("en") << QLocale(QLocale::English, QLocale::UnitedStates);
}

void TestZariadenie::roundTripKeepsEverything()
{
    QFETCH(QLocale, locale);
    QLocale::setDefault(locale);
    DialogScript script;
    claZariadenie a = sample();
    a.setFileName(path(QStringLiteral("round.qz.xml")));
    a.setZmenyBoli(true);
    QVERIFY(a.SaveFile());
    QVERIFY(!a.ZmenyBoli());

    claZariadenie b;
    QVERIFY(b.LoadFile(a.FileName()));
    QVERIFY(script.messages.isEmpty());
    QVERIFY(!b.ZmenyBoli());
    QCOMPARE(b.FileName(), a.FileName());
    QCOMPARE(b.PmHeslo(), a.PmHeslo());
    QCOMPARE(b.Poznamky(), a.Poznamky());
    QCOMPARE(b.CasOtvaraniaSec(), 2.5f);
    QCOMPARE(b.Identifikatory().Count(), 2);
    const IdentifikatorPtr i1 = b.Identifikatory().Item(1);
    QCOMPARE(i1->KodIdentifikatoraLCase(), kCode1);
    QVERIFY(i1->FlagStrateny());
    QCOMPARE(i1->PoradoveCisloPreDanePriezvisko(), 2);
    QCOMPARE(i1->CisloBytuKancelarie(), QStringLiteral("12"));
    QCOMPARE(i1->Poschodie(), QStringLiteral("3"));
    QCOMPARE(i1->Poznamky(), QStringLiteral("l1\r\nl2"));
    QCOMPARE(i1->Meno(), QStringLiteral("Ján"));
    QCOMPARE(i1->Priezvisko(), QStringLiteral("Novák"));
    QCOMPARE(b.Identifikatory().Item(2)->Priezvisko(), QStringLiteral("Čierny"));
    QVERIFY(!QFileInfo::exists(a.FileName() + QStringLiteral(".tmp")));
}

void TestZariadenie::fileFormatIsExact()
{
    claZariadenie z;
    z.Identifikatory().Add(kCode2, false, 0, {}, {}, {}, {}, {});
    z.setFileName(path(QStringLiteral("exact.qz.xml")));
    QVERIFY(z.SaveFile());
    // Empty password still written, no notes element, no declaration, no whitespace.
    QCOMPARE(readFile(z.FileName()), QByteArray("<Root><PmHeslo/><CasOtvaraniaSec>5</CasOtvaraniaSec>"
                                                "<Identifikatory><Id><Kod>0000000000000000</Kod></Id>"
                                                "</Identifikatory></Root>"));
}

void TestZariadenie::notesLineBreaksBecomeCrLf()
{
    const QString p = path(QStringLiteral("lf.qz.xml"));
    QVERIFY(writeFile(p, "\xEF\xBB\xBF<Root><Poznamky>a\nb\r\nc&#13;d</Poznamky><Identifikatory/></Root>"));
    claZariadenie z;
    QVERIFY(z.LoadFile(p));
    QCOMPARE(z.Poznamky(), QStringLiteral("a\r\nb\r\nc\r\nd"));
}

void TestZariadenie::duplicatesAreListedAndMarkChanged()
{
    const QString p = path(QStringLiteral("dup.qz.xml"));
    QVERIFY(writeFile(p, "<Root><Identifikatory><Id><Kod>021cb801000000a2</Kod><Meno>Prvý</Meno></Id>"
                         "<Id><Kod>021CB801000000A2</Kod><Meno>Druhý</Meno></Id>"
                         "<Id><Kod>0000000000000000</Kod></Id>"
                         "<Iny><Kod>0000000000000000</Kod></Iny></Identifikatory></Root>"));
    DialogScript script;
    claZariadenie z;
    QVERIFY(z.LoadFile(p));
    QVERIFY(z.ZmenyBoli());
    QCOMPARE(z.Identifikatory().Count(), 2);
    QCOMPARE(z.Identifikatory().Item(kCode1)->Meno(), QStringLiteral("Prvý"));
    QCOMPARE(script.messages.size(), 1);
    const QString err = colKolekciaIdentifikatorov::ChybaDuplicitnyKluc();
    QCOMPARE(script.messages[0].text, kCode1 + QStringLiteral("(2):") + err + QStringLiteral("\r\n") + kCode2
                                          + QStringLiteral("(4):") + err);
    QCOMPARE(script.messages[0].icon, UiDialogs::Exclamation);
}

void TestZariadenie::elementWithoutCodeIsKept()
{
    const QString p = path(QStringLiteral("nokod.qz.xml"));
    QVERIFY(writeFile(p, "<Root><Identifikatory><Id><Priezvisko>Bez kódu</Priezvisko></Id></Identifikatory></Root>"));
    DialogScript script;
    claZariadenie z;
    QVERIFY(z.LoadFile(p));
    QCOMPARE(z.Identifikatory().Count(), 1);
    QCOMPARE(z.Identifikatory().Item(1)->Priezvisko(), QStringLiteral("Bez kódu"));
    QVERIFY(script.messages.isEmpty());
}

void TestZariadenie::rootAfterDeclarationOrComment()
{
    const QString p = path(QStringLiteral("decl.qz.xml"));
    QVERIFY(writeFile(p, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- exported -->\n<Root>\n  <PmHeslo>x</PmHeslo>\n"
                         "  <Identifikatory>\n    <Id><Kod>021cb801000000a2</Kod></Id>\n  </Identifikatory>\n</Root>\n"));
    claZariadenie z;
    QVERIFY(z.LoadFile(p));
    QVERIFY(!z.ZmenyBoli());
    QCOMPARE(z.PmHeslo(), QStringLiteral("x"));
    QCOMPARE(z.Identifikatory().Count(), 1);
}

void TestZariadenie::openingTimeFromOtherLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<float>("expected");
    const QLocale sk(QLocale::Slovak, QLocale::Slovakia), en(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("dot under sk") << sk << "2.5" << 2.5f;
    QTest::newRow("comma under en") << en << "2,5" << 2.5f;
    QTest::newRow("comma under sk") << sk << "2,5" << 2.5f;
    QTest::newRow("text reads unset") << sk << "päť" << 5.0f;
    QTest::newRow("inf reads unset") << en << "inf" << 5.0f;
}

void TestZariadenie::openingTimeFromOtherLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(float, expected);
    QLocale::setDefault(locale);
    const QString p = path(QStringLiteral("loc.qz.xml"));
    QVERIFY(writeFile(p, "<Root><CasOtvaraniaSec>" + text.toUtf8() + "</CasOtvaraniaSec></Root>"));
    claZariadenie z;
    QVERIFY(z.LoadFile(p));
    QCOMPARE(z.CasOtvaraniaSec(), expected);
    QVERIFY(z.SaveFile());
    const QString written = locale.language() == QLocale::Slovak ? QStringLiteral("2,5") : QStringLiteral("2.5");
    if (expected == 2.5f)
        QVERIFY(QString::fromUtf8(readFile(p)).contains(written));
}

void TestZariadenie::missingFile()
{
    DialogScript script;
    claZariadenie z;
    const QString p = path(QStringLiteral("nie-je.qz.xml"));
    QVERIFY(!z.LoadFile(p));
    QCOMPARE(script.texts(), QStringList{QStringLiteral("Neexistuje súbor\r\n") + p});
}

void TestZariadenie::badInputIsRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    QByteArray deep;
    for (int i = 0; i < 200000; ++i)
        deep += "<a>";
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary += char(QRandomGenerator::global()->bounded(256));
    QTest::newRow("not XML") << QByteArray("hello, world");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << QByteArray("<Root><PmHeslo>x</PmHeslo><Identifikatory><Id><Kod>ab");
    QTest::newRow("binary") << (QByteArray("\x00\x01\x02", 3) + binary);
    QTest::newRow("deeply nested") << deep;
    QTest::newRow("no Root") << QByteArray("<Other><PmHeslo>x</PmHeslo></Other>");
    QTest::newRow("entity bomb") << QByteArray("<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>"
                                               "<Root><PmHeslo>&b;</PmHeslo><x></Root>");
}

void TestZariadenie::badInputIsRefused()
{
    QFETCH(QByteArray, content);
    const QString p = path(QStringLiteral("bad.qz.xml"));
    QVERIFY(writeFile(p, content));
    DialogScript script;
    claZariadenie z;
    QVERIFY(!z.LoadFile(p));
    QCOMPARE(script.texts(), QStringList{QStringLiteral("Nie je možné rozparsovať súbor\r\n") + p});
}

void TestZariadenie::hugeFileIsRefusedWithoutReading()
{
    // Sparse: large on paper, nothing on disk.
    const QString p = path(QStringLiteral("huge.qz.xml"));
    QFile f(p);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.write("<Root>") == 6);
    QVERIFY(f.resize(XmlDokument::MaxFileSize + 1));
    f.close();
    DialogScript script;
    claZariadenie z;
    QVERIFY(!z.LoadFile(p));
    QCOMPARE(script.texts(), QStringList{QStringLiteral("Nie je možné rozparsovať súbor\r\n") + p});
    QFile::remove(p);
}

void TestZariadenie::saveKeepsBackupAndReplacesOlderOne()
{
    const QString p = path(QStringLiteral("bak.qz.xml"));
    QVERIFY(writeFile(p + QStringLiteral(".bak"), "very old backup"));
    QVERIFY(writeFile(p, "<Root><PmHeslo>old</PmHeslo></Root>"));
    claZariadenie z;
    QVERIFY(z.LoadFile(p));
    z.setPmHeslo(QStringLiteral("new"));
    z.setZmenyBoli(true);
    QVERIFY(z.SaveFile());
    QCOMPARE(readFile(p + QStringLiteral(".bak")), QByteArray("<Root><PmHeslo>old</PmHeslo></Root>"));
    QVERIFY(readFile(p).contains("<PmHeslo>new</PmHeslo>"));
}

void TestZariadenie::saveWithoutNameAsksAndCancelKeepsChanges()
{
    DialogScript script;
    claZariadenie z = sample();
    z.setZmenyBoli(true);
    QVERIFY(!z.SaveFile());
    QVERIFY(z.ZmenyBoli());
    QCOMPARE(script.fileRequests.size(), 1);
    const UiDialogs::FileRequest &r = script.fileRequests[0];
    QCOMPARE(r.kind, UiDialogs::SaveFile);
    QCOMPARE(r.filter, QStringLiteral("TEBO (*.qz.xml)|*.qz.xml|Všetky súbory (*.*)|*.*"));
    QCOMPARE(r.initialDir, AdresarAplikacie);
    QVERIFY(r.overwritePrompt);

    const QString chosen = path(QStringLiteral("chosen.qz.xml"));
    script.files.push_back(chosen);
    QVERIFY(z.SaveAsFile());
    QCOMPARE(z.FileName(), chosen);
    QVERIFY(!z.ZmenyBoli());
    QCOMPARE(script.fileRequests.last().fileName, QString()); // proposed: the name before
}

void TestZariadenie::saveFailureShowsStepMessageAndAsksAgain_data()
{
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("message");
    const QString db = path(QStringLiteral("fail.qz.xml"));
    const QString tmp = db + QStringLiteral(".tmp");
    QTest::newRow("temp") << "temp" << QStringLiteral("Chyba bola počas vymazania súboru\r\n") + tmp + "\r\nboom";
    QTest::newRow("write") << "write" << QStringLiteral("Chyba bola počas zápisu do súboru\r\n") + tmp + "\r\nboom";
    QTest::newRow("backup") << "backup"
                            << QStringLiteral("Chyba bola počas archivácie súboru\r\n") + db + "\r\n->\r\n" + db
                                   + ".bak\r\nboom";
    QTest::newRow("rename") << "rename"
                            << QStringLiteral("Chyba bola počas premenovania súboru\r\n") + tmp + "\r\n->\r\n" + db
                                   + "\r\nboom";
}

void TestZariadenie::saveFailureShowsStepMessageAndAsksAgain()
{
    QFETCH(QString, step);
    QFETCH(QString, message);
    const QString db = path(QStringLiteral("fail.qz.xml"));
    const QByteArray old = "<Root><PmHeslo>old</PmHeslo></Root>";
    QVERIFY(writeFile(db, old));
    QVERIFY(writeFile(db + ".bak", "previous backup"));
    claZariadenie::setSaveFault([step](const QString &s) { return s == step ? QStringLiteral("boom") : QString(); });

    DialogScript script;
    claZariadenie z = sample();
    z.setFileName(db);
    z.setZmenyBoli(true);
    QVERIFY(!z.SaveFile()); // the dialog that follows is cancelled
    QCOMPARE(script.texts(), QStringList{message});
    QCOMPARE(script.fileRequests.size(), 1);
    QVERIFY(z.ZmenyBoli());
    QCOMPARE(readFile(db), old);
    if (step != QLatin1String("rename"))
        QCOMPARE(readFile(db + ".bak"), QByteArray("previous backup"));
    else
        QCOMPARE(readFile(db + ".bak"), old);

    // Another name chosen in the dialog saves there.
    claZariadenie::setSaveFault({});
    const QString other = path(QStringLiteral("other-") + step + QStringLiteral(".qz.xml"));
    script.files.push_back(other);
    QVERIFY(z.SaveAsFile());
    QCOMPARE(z.FileName(), other);
    QVERIFY(!z.ZmenyBoli());
}

void TestZariadenie::saveIntoVanishedFolder()
{
    QTemporaryDir gone;
    const QString db = gone.filePath(QStringLiteral("x.qz.xml"));
    claZariadenie z = sample();
    z.setFileName(db);
    QVERIFY(z.SaveFile());
    QVERIFY(gone.remove());
    DialogScript script;
    z.setZmenyBoli(true);
    QVERIFY(!z.SaveFile());
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.messages[0].text.startsWith(QStringLiteral("Chyba bola počas zápisu do súboru\r\n") + db
                                               + QStringLiteral(".tmp\r\n")));
    QCOMPARE(script.fileRequests.size(), 1);
    QCOMPARE(script.fileRequests[0].fileName, db);
}

void TestZariadenie::saveOverReadOnlyFile()
{
    const QString db = path(QStringLiteral("ro.qz.xml"));
    const QByteArray old = "<Root><PmHeslo>old</PmHeslo></Root>";
    QVERIFY(writeFile(db, old));
    QVERIFY(QFile::setPermissions(db, QFileDevice::ReadOwner | QFileDevice::ReadUser));
    DialogScript script;
    claZariadenie z = sample();
    z.setFileName(db);
    QVERIFY(!z.SaveFile());
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.messages[0].text.startsWith(QStringLiteral("Chyba bola počas vymazania súboru\r\n") + db));
    QCOMPARE(readFile(db), old);
    QVERIFY(!QFileInfo::exists(db + QStringLiteral(".tmp")));
    QFile::setPermissions(db, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestZariadenie::saveOnFullFileSystem()
{
    const QString dir = path(QStringLiteral("full"));
    ScratchMount mount(dir, "size=64k");
    if (!mount.ok())
        QSKIP("a small file system needs root to mount");
    const QString db = dir + QStringLiteral("/x.qz.xml");
    claZariadenie small;
    small.setFileName(db);
    small.setPmHeslo(QStringLiteral("old"));
    QVERIFY(small.SaveFile());
    const QByteArray old = readFile(db);

    claZariadenie big;
    big.setFileName(db);
    for (int i = 0; i < 5000; ++i)
        big.Identifikatory().Add(QStringLiteral("%1").arg(i, 16, 16, QLatin1Char('0')), false, 0, {}, {},
                                 QStringLiteral("poznámka"), QStringLiteral("Meno"), QStringLiteral("Priezvisko"));
    DialogScript script;
    QVERIFY(!big.SaveFile());
    QCOMPARE(script.messages.size(), 1);
    QVERIFY2(script.messages[0].text.startsWith(QStringLiteral("Chyba bola počas zápisu do súboru\r\n")),
             qPrintable(script.messages[0].text));
    QCOMPARE(readFile(db), old);
    QVERIFY(!QFileInfo::exists(db + QStringLiteral(".tmp")));
}

void TestZariadenie::saveInReadOnlyFolder()
{
    const QString dir = path(QStringLiteral("rofs"));
    ScratchMount mount(dir, "size=1m");
    if (!mount.ok())
        QSKIP("a read-only file system needs root to mount");
    const QString db = dir + QStringLiteral("/x.qz.xml");
    claZariadenie z = sample();
    z.setFileName(db);
    QVERIFY(z.SaveFile());
    const QByteArray old = readFile(db);
    QVERIFY(mount.remountReadOnly());
    DialogScript script;
    z.setPmHeslo(QStringLiteral("changed"));
    z.setZmenyBoli(true);
    QVERIFY(!z.SaveFile());
    QCOMPARE(script.messages.size(), 1);
    QVERIFY(script.messages[0].text.startsWith(QStringLiteral("Chyba bola počas zápisu do súboru\r\n")));
    QVERIFY(z.ZmenyBoli());
    QCOMPARE(readFile(db), old);
}

void TestZariadenie::saveKilledAtAnyMomentLeavesWholeDatabase()
{
    const QString db = path(QStringLiteral("crash.qz.xml"));
    const int count = 3000;
    for (int round = 0; round < 12; ++round) {
        QProcess child;
        child.start(QStringLiteral(TEBO_SAVE_LOOP), {m_dir.path(), db, QString::number(count)});
        QVERIFY(child.waitForReadyRead(10000));
        // Let it save a few times, then kill it somewhere in a save.
        QTest::qWait(int(QRandomGenerator::global()->bounded(30, 400)));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        if (!QFileInfo::exists(db))
            continue; // killed before the first save finished

        DialogScript script;
        claZariadenie z;
        QVERIFY2(z.LoadFile(db), qPrintable(script.texts().join(QLatin1Char('|'))));
        QVERIFY(z.PmHeslo() == QLatin1String("A") || z.PmHeslo() == QLatin1String("B"));
        QCOMPARE(z.Identifikatory().Count(), count);
        QCOMPARE(z.Identifikatory().Item(count)->Priezvisko(), z.PmHeslo());
    }
    QVERIFY(QFileInfo::exists(db));
}

QTEST_MAIN(TestZariadenie)
#include "test_zariadenie.moc"
