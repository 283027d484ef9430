#include "app/modMain.h"
#include "model/claZariadenie.h"
#include "ui/modSchrankaIdentifikatorov.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Udaje {
    QString kod;
    bool strateny;
    qint32 pc;
    QString cb, po, poznamky, meno, priezvisko;
};

const QList<Udaje> kTri = {
    {"01a54dca18253042", false, 1, "10", "0", "", "Ján", "Novák"},
    {"013f721fcb1971d2", true, 0, "13", "3", "Stratený pri vchode\r\n<nahlásené> & \"overené\"", "Jozef", "Varga"},
    {"01bb1d6d132cde35", false, -3, "", "1", "", "", "Kováčová Mária"},
};

void naplnit(claZariadenie &z, const QList<Udaje> &udaje)
{
    for (const Udaje &u : udaje)
        z.Identifikatory().Add(u.kod, u.strateny, u.pc, u.cb, u.po, u.poznamky, u.meno, u.priezvisko);
}

void porovnat(const claIdentifikator &id, const Udaje &u)
{
    QCOMPARE(id.KodIdentifikatoraLCase(), u.kod);
    QCOMPARE(id.FlagStrateny(), u.strateny);
    QCOMPARE(id.PoradoveCisloPreDanePriezvisko(), u.pc);
    QCOMPARE(id.CisloBytuKancelarie(), u.cb);
    QCOMPARE(id.Poschodie(), u.po);
    QCOMPARE(id.Poznamky(), u.poznamky);
    QCOMPARE(id.Meno(), u.meno);
    QCOMPARE(id.Priezvisko(), u.priezvisko);
}

} // namespace

class TestSchranka : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        PripravitAplikaciu(m_dir.path());
    }
    void copyAndPasteCarryEveryField();
    void pastingTwiceAddsNothing();
    void existingIdentifierKeepsItsData();
    void rejectedTextChangesNothing_data();
    void rejectedTextChangesNothing();
    void anyChildOfTheRootIsAnIdentifier();
    void unknownCodeIsReportedOthersCopied();
    void entitiesAreNotExpanded();

private:
    QTemporaryDir m_dir;
};

void TestSchranka::copyAndPasteCarryEveryField()
{
    claZariadenie zdroj;
    naplnit(zdroj, kTri);
    // The list's order, not the collection's.
    const QStringList kody{kTri[2].kod, kTri[0].kod, kTri[1].kod};
    QString chyba;
    const QString xml = IdentifikatoryDoXml(zdroj.Identifikatory(), kody, &chyba);
    QVERIFY(chyba.isEmpty());
    QVERIFY2(xml.startsWith(QLatin1String("<Identifikatory><Id><Kod>01bb1d6d132cde35</Kod>")), qPrintable(xml));
    QVERIFY(!xml.contains(QLatin1String("<?xml")));

    claZariadenie ciel;
    QCOMPARE(VlozitIdentifikatoryZXml(xml, ciel), 3);
    QVERIFY(ciel.ZmenyBoli());
    QCOMPARE(ciel.Identifikatory().Count(), 3);
    for (int i = 0; i < 3; ++i)
        porovnat(*ciel.Identifikatory().Item(i + 1), kTri[(i + 2) % 3]);
}

void TestSchranka::pastingTwiceAddsNothing()
{
    claZariadenie zdroj;
    naplnit(zdroj, kTri);
    const QString xml = IdentifikatoryDoXml(zdroj.Identifikatory(), {kTri[0].kod, kTri[1].kod});
    claZariadenie ciel;
    QCOMPARE(VlozitIdentifikatoryZXml(xml, ciel), 2);
    ciel.setZmenyBoli(false);
    QCOMPARE(VlozitIdentifikatoryZXml(xml, ciel), 0);
    QVERIFY(!ciel.ZmenyBoli());
    QCOMPARE(ciel.Identifikatory().Count(), 2);
}

void TestSchranka::existingIdentifierKeepsItsData()
{
    claZariadenie zdroj;
    naplnit(zdroj, kTri);
    const QString xml = IdentifikatoryDoXml(zdroj.Identifikatory(), {kTri[0].kod, kTri[1].kod});
    claZariadenie ciel;
    const Udaje iny{kTri[1].kod, false, 5, "99", "9", "iné", "Iný", "Majiteľ"};
    naplnit(ciel, {iny});
    QCOMPARE(VlozitIdentifikatoryZXml(xml, ciel), 1);
    QCOMPARE(ciel.Identifikatory().Count(), 2);
    porovnat(*ciel.Identifikatory().Item(kTri[1].kod), iny);
    porovnat(*ciel.Identifikatory().Item(kTri[0].kod), kTri[0]);
}

void TestSchranka::rejectedTextChangesNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("plain text") << QStringLiteral("Novák Ján 01a54dca18253042");
    QTest::newRow("other root") << QStringLiteral("<Root><Identifikatory><Id><Kod>01</Kod></Id></Identifikatory></Root>");
    QTest::newRow("root differs in case") << QStringLiteral("<identifikatory><Id><Kod>01</Kod></Id></identifikatory>");
    QTest::newRow("not well-formed") << QStringLiteral("<Identifikatory><Id><Kod>01</Kod></Id>");
    // Far more than any list; refused before it is parsed.
    QString velky = QStringLiteral("<Identifikatory>");
    const QString id = QStringLiteral("<Id><Kod>0123456789abcdef</Kod></Id>");
    while (velky.size() <= MaxDlzkaSchrankyIdentifikatorov)
        velky += id;
    velky += QStringLiteral("</Identifikatory>");
    QTest::newRow("huge") << velky;
}

void TestSchranka::rejectedTextChangesNothing()
{
    QFETCH(QString, text);
    claZariadenie ciel;
    naplnit(ciel, {kTri[0]});
    ciel.setZmenyBoli(false);
    const int n = VlozitIdentifikatoryZXml(text, ciel);
    QVERIFY(n <= 0);
    QCOMPARE(ciel.Identifikatory().Count(), 1);
    QVERIFY(!ciel.ZmenyBoli());
}

void TestSchranka::anyChildOfTheRootIsAnIdentifier()
{
    claZariadenie ciel;
    const QString xml = QStringLiteral(
        "<Identifikatory><Id><Kod>ABCDEF</Kod><Priezvisko>Horváth</Priezvisko></Id>"
        "<Kluc><Kod>  xyz  </Kod></Kluc><Id><Priezvisko>Bez kódu</Priezvisko></Id>"
        "<Id><Kod>01</Kod><Pc>99999999999</Pc><Meno>Eva</Meno></Id></Identifikatory>");
    QCOMPARE(VlozitIdentifikatoryZXml(xml, ciel), 3);
    // Codes are taken as they come, only trimmed and in lower case.
    QCOMPARE(ciel.Identifikatory().Item(1)->KodIdentifikatoraLCase(), QStringLiteral("abcdef"));
    QCOMPARE(ciel.Identifikatory().Item(1)->Priezvisko(), QStringLiteral("Horváth"));
    QCOMPARE(ciel.Identifikatory().Item(2)->KodIdentifikatoraLCase(), QStringLiteral("xyz"));
    // A field that cannot be read leaves the rest of the identifier whole.
    QCOMPARE(ciel.Identifikatory().Item(3)->Meno(), QStringLiteral("Eva"));
    QCOMPARE(ciel.Identifikatory().Item(3)->PoradoveCisloPreDanePriezvisko(), 0);
}

void TestSchranka::unknownCodeIsReportedOthersCopied()
{
    claZariadenie zdroj;
    naplnit(zdroj, kTri);
    QString chyba;
    const QString xml = IdentifikatoryDoXml(zdroj.Identifikatory(), {kTri[0].kod, "ffffffffffffffff"}, &chyba);
    QVERIFY(!chyba.isEmpty());
    claZariadenie ciel;
    QCOMPARE(VlozitIdentifikatoryZXml(xml, ciel), 1);
    porovnat(*ciel.Identifikatory().Item(1), kTri[0]);
}

void TestSchranka::entitiesAreNotExpanded()
{
    claZariadenie ciel;
    QString dtd = QStringLiteral("<!DOCTYPE Identifikatory [<!ENTITY a \"0123456789\">");
    for (int i = 0; i < 8; ++i)
        dtd += QStringLiteral("<!ENTITY %1 \"%2\">").arg(QChar('b' + i)).arg(QStringLiteral("&%1;").arg(QChar('a' + i)).repeated(10));
    const QString xml = dtd + QStringLiteral("]><Identifikatory><Id><Kod>&i;</Kod></Id></Identifikatory>");
    QVERIFY(VlozitIdentifikatoryZXml(xml, ciel) <= 1);
    for (const IdentifikatorPtr &id : ciel.Identifikatory())
        QVERIFY2(id->KodIdentifikatoraLCase().size() < 16, qPrintable(id->KodIdentifikatoraLCase()));
}

QTEST_MAIN(TestSchranka)
#include "test_schranka.moc"
