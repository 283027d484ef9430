#include "app/modMain.h"
#include "model/XmlDokument.h"
#include "model/claIdentifikator.h"
#include "model/colKolekciaIdentifikatorov.h"
#include "model/modDowCRC.h"

#include "DialogScript.h"

#include <QtTest>

class TestIdentifikator : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { DowCRCInit(); }
    void codeIsTrimmedAndLowerCased();
    void upperCaseNamesFollowAssignments();
    void summary_data();
    void summary();
    void xmlRoundTripKeepsEveryField();
    void newRecordWritesOnlyEmptyKod();
    void parseRules_data();
    void parseRules();
    void parseKeepsOtherFieldsWhenNumberOverflows();
    void collectionKeysIgnoreCase();
    void collectionPositionsAndRemoval();
    void collectionRecordsAreShared();
    void crcTable();
    void codeCheck_data();
    void codeCheck();
};

void TestIdentifikator::codeIsTrimmedAndLowerCased()
{
    claIdentifikator id;
    id.setKodIdentifikatoraLCase(QStringLiteral("  021CB801000000A2 "));
    QCOMPARE(id.KodIdentifikatoraLCase(), QStringLiteral("021cb801000000a2"));
}

void TestIdentifikator::upperCaseNamesFollowAssignments()
{
    claIdentifikator id;
    id.setPriezvisko(QStringLiteral("Ďurčík"));
    id.setMeno(QStringLiteral("ľudovít"));
    QCOMPARE(id.PriezviskoUCase(), QStringLiteral("ĎURČÍK"));
    QCOMPARE(id.MenoUCase(), QStringLiteral("ĽUDOVÍT"));
    id.setPriezvisko(QStringLiteral("Nový"));
    QCOMPARE(id.PriezviskoUCase(), QStringLiteral("NOVÝ"));
}

void TestIdentifikator::summary_data()
{
    QTest::addColumn<QString>("priezvisko");
    QTest::addColumn<QString>("meno");
    QTest::addColumn<int>("pc");
    QTest::addColumn<QString>("poschodie");
    QTest::addColumn<QString>("byt");
    QTest::addColumn<QString>("expected");
    QTest::newRow("full") << "Novák" << "Ján" << 2 << "3" << "12" << "Novák Ján (002) [3/12]";
    QTest::newRow("number only") << "" << "" << 5 << "" << "" << "(005)";
    QTest::newRow("four digits") << "Kováč" << "" << 1234 << "" << "" << "Kováč (1234)";
    QTest::newRow("negative") << "Kováč" << "" << -7 << "" << "" << "Kováč (-007)";
    QTest::newRow("floor only") << "" << "" << 0 << "3" << "" << "[3/]";
    QTest::newRow("flat only") << "" << "Eva" << 0 << "" << "7" << "Eva [/7]";
    QTest::newRow("nothing: the code") << "" << "" << 0 << "" << "" << "021cb801000000a2";
    QTest::newRow("spaces trimmed") << " Novák " << "" << 0 << "" << "" << "Novák";
}

void TestIdentifikator::summary()
{
    QFETCH(QString, priezvisko);
    QFETCH(QString, meno);
    QFETCH(int, pc);
    QFETCH(QString, poschodie);
    QFETCH(QString, byt);
    QFETCH(QString, expected);
    claIdentifikator id;
    id.setKodIdentifikatoraLCase(QStringLiteral("021CB801000000A2"));
    id.setPriezvisko(priezvisko);
    id.setMeno(meno);
    id.setPoradoveCisloPreDanePriezvisko(pc);
    id.setPoschodie(poschodie);
    id.setCisloBytuKancelarie(byt);
    QCOMPARE(id.SuhrnnyPopis(), expected);
}

void TestIdentifikator::xmlRoundTripKeepsEveryField()
{
    claIdentifikator a;
    a.setKodIdentifikatoraLCase(QStringLiteral("021cb801000000a2"));
    a.setFlagStrateny(true);
    a.setPriezvisko(QStringLiteral("Šťastný <&> \"x\""));
    a.setPoradoveCisloPreDanePriezvisko(-3);
    a.setMeno(QStringLiteral("Ľubo"));
    a.setPoschodie(QStringLiteral("2"));
    a.setCisloBytuKancelarie(QStringLiteral("12a"));
    a.setPoznamky(QStringLiteral("riadok 1\r\nriadok 2"));

    XmlDokument doc;
    XmlUzol id = doc.createElement(QStringLiteral("Id"));
    QVERIFY(a.SaveToXmlElem(doc, id));
    doc.appendChild(id);
    const QString xml = doc.xml();
    QVERIFY(xml.startsWith(QStringLiteral("<Id><Kod>021cb801000000a2</Kod><Strateny>1</Strateny><Priezvisko>")));
    QVERIFY(xml.contains(QStringLiteral("&lt;&amp;&gt;")));

    XmlDokument back;
    QVERIFY(back.loadXML(xml));
    claIdentifikator b;
    QVERIFY(b.ParseXml(back.firstChild()));
    QCOMPARE(b.KodIdentifikatoraLCase(), a.KodIdentifikatoraLCase());
    QCOMPARE(b.FlagStrateny(), true);
    QCOMPARE(b.Priezvisko(), a.Priezvisko());
    QCOMPARE(b.PoradoveCisloPreDanePriezvisko(), -3);
    QCOMPARE(b.Meno(), a.Meno());
    QCOMPARE(b.Poschodie(), a.Poschodie());
    QCOMPARE(b.CisloBytuKancelarie(), a.CisloBytuKancelarie());
    QCOMPARE(b.Poznamky(), a.Poznamky());
}

void TestIdentifikator::newRecordWritesOnlyEmptyKod()
{
    XmlDokument doc;
    XmlUzol id = doc.createElement(QStringLiteral("Id"));
    claIdentifikator().SaveToXmlElem(doc, id);
    doc.appendChild(id);
    QCOMPARE(doc.xml(), QStringLiteral("<Id><Kod/></Id>"));
}

void TestIdentifikator::parseRules_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<bool>("lost");
    QTest::addColumn<int>("pc");
    QTest::addColumn<QString>("notes");
    QTest::newRow("lost 1") << "<Id><Strateny>1</Strateny></Id>" << true << 0 << "";
    QTest::newRow("lost true any case") << "<Id><Strateny> tRuE </Strateny></Id>" << true << 0 << "";
    QTest::newRow("lost 0") << "<Id><Strateny>0</Strateny></Id>" << false << 0 << "";
    QTest::newRow("lost false") << "<Id><Strateny>false</Strateny></Id>" << false << 0 << "";
    QTest::newRow("lost empty") << "<Id><Strateny/></Id>" << false << 0 << "";
    QTest::newRow("pc text") << "<Id><Pc>abc</Pc></Id>" << false << 0 << "";
    QTest::newRow("pc half to even") << "<Id><Pc>2.5</Pc></Id>" << false << 2 << "";
    QTest::newRow("pc half to even up") << "<Id><Pc>3,5</Pc></Id>" << false << 4 << "";
    QTest::newRow("pc first element counts") << "<Id><Pc>7</Pc><Pc>8</Pc></Id>" << false << 7 << "";
    QTest::newRow("names are case-sensitive") << "<Id><pc>7</pc><STRATENY>1</STRATENY></Id>" << false << 0 << "";
    QTest::newRow("notes LF") << "<Id><Poznamky>a\nb</Poznamky></Id>" << false << 0 << "a\r\nb";
    QTest::newRow("notes CR entity") << "<Id><Poznamky>a&#13;b&#13;&#10;c</Poznamky></Id>" << false << 0
                                     << "a\r\nb\r\nc";
    QTest::newRow("notes CRLF in text") << "<Id><Poznamky>a\r\nb</Poznamky></Id>" << false << 0 << "a\r\nb";
}

void TestIdentifikator::parseRules()
{
    QFETCH(QString, xml);
    QFETCH(bool, lost);
    QFETCH(int, pc);
    QFETCH(QString, notes);
    XmlDokument doc;
    QVERIFY(doc.loadXML(xml));
    claIdentifikator id;
    QVERIFY(id.ParseXml(doc.firstChild()));
    QCOMPARE(id.FlagStrateny(), lost);
    QCOMPARE(id.PoradoveCisloPreDanePriezvisko(), pc);
    QCOMPARE(id.Poznamky(), notes);
}

void TestIdentifikator::parseKeepsOtherFieldsWhenNumberOverflows()
{
    XmlDokument doc;
    QVERIFY(doc.loadXML(QStringLiteral("<Id><Kod>AB</Kod><Pc>99999999999</Pc><Meno>Eva</Meno>"
                                       "<Poznamky>x</Poznamky></Id>")));
    claIdentifikator id;
    QVERIFY(!id.ParseXml(doc.firstChild()));
    QCOMPARE(id.KodIdentifikatoraLCase(), QStringLiteral("ab"));
    QCOMPARE(id.PoradoveCisloPreDanePriezvisko(), 0);
    QCOMPARE(id.Meno(), QStringLiteral("Eva"));
    QCOMPARE(id.Poznamky(), QStringLiteral("x"));
}

void TestIdentifikator::collectionKeysIgnoreCase()
{
    colKolekciaIdentifikatorov c;
    QVERIFY(c.Add(QStringLiteral("021cb801000000a2"), false, 0, {}, {}, {}, {}, QStringLiteral("Novák")));
    QString error;
    QVERIFY(!c.Add(QStringLiteral("021CB801000000A2"), true, 1, {}, {}, {}, {}, QStringLiteral("Iný"), {}, &error));
    QCOMPARE(error, colKolekciaIdentifikatorov::ChybaDuplicitnyKluc());
    QCOMPARE(c.Count(), 1);
    QCOMPARE(c.Item(QStringLiteral("021CB801000000a2"))->Priezvisko(), QStringLiteral("Novák"));
    QVERIFY(!c.Item(QStringLiteral("ffffffffffffffff"), &error));
    QVERIFY(!error.isEmpty());
}

void TestIdentifikator::collectionPositionsAndRemoval()
{
    colKolekciaIdentifikatorov c;
    for (const char *k : {"a", "b", "c", "d"})
        QVERIFY(c.Add(QString::fromLatin1(k), false, 0, {}, {}, {}, {}, {}));
    QCOMPARE(c.Item(1)->KodIdentifikatoraLCase(), QStringLiteral("a"));
    QVERIFY(!c.Item(0));
    QVERIFY(!c.Item(5));
    QVERIFY(c.Remove(QStringLiteral("B")));
    QVERIFY(c.Remove(1));
    QVERIFY(!c.Remove(3));
    QVERIFY(!c.Remove(QStringLiteral("b")));
    QCOMPARE(c.Count(), 2);
    QCOMPARE(c.Item(1)->KodIdentifikatoraLCase(), QStringLiteral("c"));
    QCOMPARE(c.Item(2)->KodIdentifikatoraLCase(), QStringLiteral("d"));
    // A removed key can be added again; order is insertion order.
    QVERIFY(c.Add(QStringLiteral("a"), false, 0, {}, {}, {}, {}, {}));
    QStringList order;
    for (const IdentifikatorPtr &id : c)
        order << id->KodIdentifikatoraLCase();
    QCOMPARE(order, (QStringList{"c", "d", "a"}));
    QVERIFY(c.Remove(QStringLiteral("d")));
    QCOMPARE(c.Item(2)->KodIdentifikatoraLCase(), QStringLiteral("a"));
}

void TestIdentifikator::collectionRecordsAreShared()
{
    colKolekciaIdentifikatorov c;
    IdentifikatorPtr added = c.Add(QStringLiteral("x"), false, 0, {}, {}, {}, {}, {});
    c.Item(QStringLiteral("x"))->setMeno(QStringLiteral("Zmenené"));
    QCOMPARE(added->Meno(), QStringLiteral("Zmenené"));
}

void TestIdentifikator::crcTable()
{
    const int head[] = {0, 94, 188, 226, 97, 63, 221, 131};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(int(DowCRCTabulka(i)), head[i]);
    QCOMPARE(int(DowCRCTabulka(255)), 53);
    std::uint8_t crc = 0;
    DowCRCByte(crc, 1);
    QCOMPARE(int(crc), 94);
}

void TestIdentifikator::codeCheck_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("message");
    const QString len = QStringLiteral("Identifikátor musí mať dĺžku 16 znakov");
    const QString chars = QStringLiteral("Identifikátor môže obsahovať len znaky 0..9, A..F");
    const QString sum = QStringLiteral("Kontrolná suma identifikátora je nesprávna");
    QTest::newRow("valid upper") << "021CB801000000A2" << true << "";
    QTest::newRow("valid lower") << "021cb801000000a2" << true << "";
    QTest::newRow("zeros") << "0000000000000000" << true << "";
    QTest::newRow("wrong checksum") << "021CB801000000A3" << false << sum;
    QTest::newRow("15 characters") << "021CB801000000A" << false << len;
    QTest::newRow("17 characters") << "021CB801000000A2Z" << false << len;
    QTest::newRow("empty") << "" << false << len;
    QTest::newRow("space inside") << "021CB80100000 A2" << false << chars;
    QTest::newRow("G at the end") << "021CB801000000AG" << false << chars;
    QTest::newRow("not trimmed") << " 021CB801000000A" << false << chars;
}

void TestIdentifikator::codeCheck()
{
    QFETCH(QString, code);
    QFETCH(bool, valid);
    QFETCH(QString, message);
    DialogScript script;
    QCOMPARE(KontrolaIdentifikatora(code, false), valid);
    QVERIFY(script.messages.isEmpty());
    QCOMPARE(KontrolaIdentifikatora(code, true), valid);
    if (valid) {
        QVERIFY(script.messages.isEmpty());
    } else {
        QCOMPARE(script.messages.size(), 1);
        QCOMPARE(script.messages[0].text, message);
        QCOMPARE(script.messages[0].icon, UiDialogs::Exclamation);
        QCOMPARE(script.messages[0].buttons, UiDialogs::Ok);
    }
}

QTEST_GUILESS_MAIN(TestIdentifikator)
#include "test_identifikator.moc"
