#include "app/claIni1_3.h"
#include "app/modMain.h"
#include "model/claZariadenie.h"
#include "platform/Win1250Codec.h"
#include "ui/modImportKlucov.h"

#include "TestFiles.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray subor(const QStringList &riadky)
{
    return Win1250Codec::fromUnicode(riadky.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

} // namespace

class TestImportKlucov : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        PripravitAplikaciu(m_dir.path());
    }
    void importsEveryKeyWithItsFields();
    void secondImportAddsNothing();
    void keyLineIsSplit_data();
    void keyLineIsSplit();
    void sequenceNumber_data();
    void sequenceNumber();
    void countLimitsTheKeys_data();
    void countLimitsTheKeys();
    void readsAsTheSettingsFileDoes();
    void hostileFilesFinish_data();
    void hostileFilesFinish();

private:
    QString napisat(const QString &meno, const QByteArray &obsah)
    {
        const QString p = m_dir.filePath(meno);
        writeFile(p, obsah);
        return p;
    }
    QTemporaryDir m_dir;
};

void TestImportKlucov::importsEveryKeyWithItsFields()
{
    const QString p = napisat(QStringLiteral("dom.zm"),
                              subor({"[Inicializacia]", "PocetKlucov=3", "1=0123456789ABCDEF Nováková Jana",
                                     "1_PCK=2", "1_CB=12", "1_PO=3", "2=01a54dca18253042 Šťastný Ľubomír",
                                     "2_CB=kancelária 4", "3=XYZ", "3_PO=prízemie"}));
    claZariadenie z;
    QCOMPARE(ImportovatKluceZoSuboru(p, z), 3);
    QVERIFY(z.ZmenyBoli());
    QCOMPARE(z.Identifikatory().Count(), 3);
    const IdentifikatorPtr a = z.Identifikatory().Item(1);
    QCOMPARE(a->KodIdentifikatoraLCase(), QStringLiteral("0123456789abcdef"));
    QCOMPARE(a->Priezvisko(), QStringLiteral("Nováková Jana"));
    QCOMPARE(a->Meno(), QString());
    QCOMPARE(a->PoradoveCisloPreDanePriezvisko(), 2);
    QCOMPARE(a->CisloBytuKancelarie(), QStringLiteral("12"));
    QCOMPARE(a->Poschodie(), QStringLiteral("3"));
    QCOMPARE(a->Poznamky(), QString());
    QVERIFY(!a->FlagStrateny());
    const IdentifikatorPtr b = z.Identifikatory().Item(2);
    QCOMPARE(b->Priezvisko(), QStringLiteral("Šťastný Ľubomír"));
    QCOMPARE(b->CisloBytuKancelarie(), QStringLiteral("kancelária 4"));
    QCOMPARE(b->PoradoveCisloPreDanePriezvisko(), 0);
    // Not a valid code; accepted here, the transfer checks it later.
    const IdentifikatorPtr c = z.Identifikatory().Item(3);
    QCOMPARE(c->KodIdentifikatoraLCase(), QStringLiteral("xyz"));
    QCOMPARE(c->Priezvisko(), QString());
    QCOMPARE(c->Poschodie(), QStringLiteral("prízemie"));
}

void TestImportKlucov::secondImportAddsNothing()
{
    const QString p = napisat(QStringLiteral("dva.az"), subor({"[Inicializacia]", "PocetKlucov=2", "1=aa Prvý",
                                                               "2=bb Druhý"}));
    claZariadenie z;
    z.Identifikatory().Add(QStringLiteral("bb"), true, 4, QStringLiteral("7"), {}, QStringLiteral("pôvodný"), {},
                           QStringLiteral("Pôvodný"));
    QCOMPARE(ImportovatKluceZoSuboru(p, z), 1);
    QCOMPARE(z.Identifikatory().Item(QStringLiteral("bb"))->Priezvisko(), QStringLiteral("Pôvodný"));
    QVERIFY(z.Identifikatory().Item(QStringLiteral("bb"))->FlagStrateny());
    z.setZmenyBoli(false);
    QCOMPARE(ImportovatKluceZoSuboru(p, z), 0);
    QVERIFY(!z.ZmenyBoli());
    QCOMPARE(z.Identifikatory().Count(), 2);
}

void TestImportKlucov::keyLineIsSplit_data()
{
    QTest::addColumn<QString>("riadok");
    QTest::addColumn<QString>("kod");
    QTest::addColumn<QString>("vlastnik");
    QTest::newRow("code and name") << "0123456789ABCDEF Nováková Jana" << "0123456789ABCDEF" << "Nováková Jana";
    QTest::newRow("code only") << "0123456789abcdef" << "0123456789abcdef" << "";
    QTest::newRow("blanks before the code") << "   0123 Horváth" << "0123" << "Horváth";
    QTest::newRow("several blanks") << "0123     Horváth  Peter   " << "0123" << "Horváth  Peter";
    QTest::newRow("empty") << "" << "" << "";
}

void TestImportKlucov::keyLineIsSplit()
{
    QFETCH(QString, riadok);
    QFETCH(QString, kod);
    QFETCH(QString, vlastnik);
    QString k = QStringLiteral("x"), v = QStringLiteral("x");
    RozdelitRiadokKluca(riadok, &k, &v);
    QCOMPARE(k, kod);
    QCOMPARE(v, vlastnik);
}

void TestImportKlucov::sequenceNumber_data()
{
    QTest::addColumn<QString>("riadokPck"); // empty: no such line
    QTest::addColumn<int>("pc");
    QTest::addColumn<int>("pocet");
    QTest::newRow("missing") << "" << 0 << 1;
    QTest::newRow("whole") << "1_PCK=12" << 12 << 1;
    QTest::newRow("comma") << "1_PCK=2,5" << 2 << 1; // halves to the even neighbour
    QTest::newRow("dot") << "1_PCK=3.5" << 4 << 1;
    QTest::newRow("not a number") << "1_PCK=abc" << 0 << 1;
    QTest::newRow("lower-case key") << "1_pck=7" << 7 << 1;
    QTest::newRow("too large fails the key") << "1_PCK=99999999999" << 0 << 0;
}

void TestImportKlucov::sequenceNumber()
{
    QFETCH(QString, riadokPck);
    QFETCH(int, pc);
    QFETCH(int, pocet);
    QStringList riadky{"[Inicializacia]", "PocetKlucov=1", "1=c0de Novák"};
    if (!riadokPck.isEmpty())
        riadky << riadokPck;
    const QString p = napisat(QStringLiteral("pck.zm"), subor(riadky));
    claZariadenie z;
    QCOMPARE(ImportovatKluceZoSuboru(p, z), pocet);
    QCOMPARE(z.ZmenyBoli(), pocet > 0);
    if (pocet)
        QCOMPARE(z.Identifikatory().Item(1)->PoradoveCisloPreDanePriezvisko(), pc);
}

void TestImportKlucov::countLimitsTheKeys_data()
{
    QTest::addColumn<QString>("pocetKlucov"); // empty: no such line
    QTest::addColumn<QStringList>("kody");
    QTest::newRow("fewer than the lines") << "2" << QStringList{"k1", "k2"};
    QTest::newRow("more than the lines") << "10" << QStringList{"k1", "k2", "k3", "k5"};
    QTest::newRow("absurd") << "2000000000" << QStringList{"k1", "k2", "k3", "k5"};
    QTest::newRow("beyond 32 bits") << "9e15" << QStringList{"k1", "k2", "k3", "k5"};
    QTest::newRow("zero") << "0" << QStringList{};
    QTest::newRow("negative") << "-4" << QStringList{};
    QTest::newRow("not a number") << "viac" << QStringList{};
    QTest::newRow("missing") << "" << QStringList{};
}

void TestImportKlucov::countLimitsTheKeys()
{
    QFETCH(QString, pocetKlucov);
    QFETCH(QStringList, kody);
    // Key 4 is missing, 05 and 0 are no running numbers.
    QStringList riadky{"[Inicializacia]"};
    if (!pocetKlucov.isEmpty())
        riadky << QStringLiteral("PocetKlucov=") + pocetKlucov;
    riadky << "3=k3" << "1=k1" << "2=k2" << "5=k5" << "05=k05" << "0=k0" << "4=";
    const QString p = napisat(QStringLiteral("pocet.zm"), subor(riadky));
    claZariadenie z;
    QCOMPARE(ImportovatKluceZoSuboru(p, z), int(kody.size()));
    QStringList nacitane;
    for (const IdentifikatorPtr &id : z.Identifikatory())
        nacitane << id->KodIdentifikatoraLCase();
    QCOMPARE(nacitane, kody);
}

void TestImportKlucov::readsAsTheSettingsFileDoes()
{
    // The import reads the file once; what it reads must be what a settings
    // read of each key gives.
    const QString p = napisat(QStringLiteral("ini.zm"),
                              subor({"[Ine]", "1=ff Cudzí", "[ inicializacia ]", "pocetklucov = 3",
                                     "1 = \"aa01 Prvý v úvodzovkách\"", "1=bb02 Druhý riadok kľúča 1",
                                     "2='cc03 Ďalší'", "2_CB = \" 7 \"", "bez rovnítka", "3=" + QString(300, 'd'),
                                     "[Inicializacia]", "3=ee Neskoršia sekcia"}));
    claIni1_3 ini;
    ini.setFileName(p);
    claZariadenie z;
    QCOMPARE(ImportovatKluceZoSuboru(p, z), 3);
    for (int k = 1; k <= 3; ++k) {
        QString kod, vlastnik;
        RozdelitRiadokKluca(ini.IniString(QStringLiteral("Inicializacia"), QString::number(k)), &kod, &vlastnik);
        const IdentifikatorPtr id = z.Identifikatory().Item(k);
        QVERIFY(id);
        QCOMPARE(id->KodIdentifikatoraLCase(), kod.toLower());
        QCOMPARE(id->Priezvisko(), vlastnik);
        QCOMPARE(id->CisloBytuKancelarie(),
                 ini.IniString(QStringLiteral("Inicializacia"), QString::number(k) + QStringLiteral("_CB")));
    }
    QCOMPARE(z.Identifikatory().Item(1)->Priezvisko(), QStringLiteral("Prvý v úvodzovkách"));
    QCOMPARE(z.Identifikatory().Item(3)->KodIdentifikatoraLCase().size(), 254);
}

void TestImportKlucov::hostileFilesFinish_data()
{
    QTest::addColumn<QByteArray>("obsah");
    QTest::addColumn<int>("pocet");
    QRandomGenerator g(7);
    QByteArray binarny(1 << 20, Qt::Uninitialized);
    for (char &c : binarny)
        c = char(g.bounded(256));
    QTest::newRow("binary") << binarny << 0;
    QByteArray sNulami = subor({"[Inicializacia]", "PocetKlucov=2000000000", "1=aa Prvý"});
    // Noise without a section header between the keys.
    sNulami += QByteArray(4096, '\0') + binarny.left(65536).replace('[', 'x') + "\r\n2=bb Druh\xfd\r\n";
    QTest::newRow("binary around keys") << sNulami << 2;
    QByteArray mnoho = subor({"[Inicializacia]", "PocetKlucov=2000000000"});
    for (int k = 1; k <= 50000; ++k)
        mnoho += QByteArray::number(k) + "=" + QByteArray::number(k, 16) + " Majite\xbe " + QByteArray::number(k) + "\r\n";
    QTest::newRow("fifty thousand keys") << mnoho << 50000;
    QByteArray obrovsky = subor({"[Inicializacia]", "PocetKlucov=1", "1=aa Prvý"});
    obrovsky += QByteArray(17 * 1024 * 1024, 'x');
    QTest::newRow("larger than a settings file") << obrovsky << 0;
    QTest::newRow("empty") << QByteArray() << 0;
}

void TestImportKlucov::hostileFilesFinish()
{
    QFETCH(QByteArray, obsah);
    QFETCH(int, pocet);
    const QString p = napisat(QStringLiteral("zly.zm"), obsah);
    claZariadenie z;
    QCOMPARE(ImportovatKluceZoSuboru(p, z), pocet);
    QCOMPARE(z.Identifikatory().Count(), pocet);
}

QTEST_MAIN(TestImportKlucov)
#include "test_import_klucov.moc"
