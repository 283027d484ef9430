#include "app/modMain.h"
#include "model/colKolekciaIdentifikatorov.h"
#include "ui/claModelZoznamuIdentifikatorov.h"
#include "ui/timPrekresliIdentifikatory.h"

#include <QBrush>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using M = claModelZoznamuIdentifikatorov;

class TestZoznamIdentifikatorov : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        PripravitAplikaciu(m_dir.path());
    }
    void init() { QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia)); }

    void cells_data();
    void cells();
    void lostRowsAreRed();
    void sortsWithSlovakCollation_data();
    void sortsWithSlovakCollation();
    void equalTextsKeepCollectionOrder();
    void sequenceNumberSortsAsText();
    void findsCodeExactly();
    void redrawRequestsMerge();
    void headersAreTranslated();

private:
    static QStringList stlpec(const M &m, int c)
    {
        QStringList t;
        for (int r = 0; r < m.Pocet(); ++r)
            t << m.Text(r, c);
        return t;
    }
    QTemporaryDir m_dir;
};

void TestZoznamIdentifikatorov::cells_data()
{
    QTest::addColumn<bool>("strateny");
    QTest::addColumn<int>("pc");
    QTest::addColumn<QString>("poznamky");
    QTest::addColumn<QStringList>("bunky");

    QTest::newRow("plain") << false << 0 << QString()
                           << QStringList{"0123456789abcdef", "", "", "Nováková", "Jana", "3", "12", "",
                                          "Nováková Jana [3/12]"};
    QTest::newRow("lost, numbered, two-line notes")
        << true << 7 << QStringLiteral("Kľúč vydaný\r\nOveriť")
        << QStringList{"0123456789abcdef", "Stratený", "7", "Nováková", "Jana", "3", "12", "Kľúč vydaný/Overiť",
                       "Nováková Jana (007) [3/12]"};
    QTest::newRow("three lines") << false << -2 << QStringLiteral("a\r\nb\r\nc")
                                 << QStringList{"0123456789abcdef", "", "-2", "Nováková", "Jana", "3", "12", "a/b/c",
                                                "Nováková Jana (-002) [3/12]"};
}

void TestZoznamIdentifikatorov::cells()
{
    QFETCH(bool, strateny);
    QFETCH(int, pc);
    QFETCH(QString, poznamky);
    QFETCH(QStringList, bunky);
    colKolekciaIdentifikatorov kol;
    QVERIFY(kol.Add(QStringLiteral("0123456789ABCDEF"), strateny, pc, QStringLiteral("12"), QStringLiteral("3"),
                    poznamky, QStringLiteral("Jana"), QStringLiteral("Nováková")));
    M m;
    m.Naplnit(kol, M::StlpecSuhrn, true);
    QCOMPARE(m.rowCount(), 1);
    QCOMPARE(m.columnCount(), 9);
    for (int c = 0; c < M::PocetStlpcov; ++c) {
        QCOMPARE(m.Text(0, c), bunky[c]);
        QCOMPARE(m.data(m.index(0, c)).toString(), bunky[c]);
    }
    QCOMPARE(m.Kod(0), QStringLiteral("0123456789abcdef"));
}

void TestZoznamIdentifikatorov::lostRowsAreRed()
{
    colKolekciaIdentifikatorov kol;
    kol.Add(QStringLiteral("01"), true, 0, {}, {}, {}, {}, QStringLiteral("Varga"));
    kol.Add(QStringLiteral("02"), false, 0, {}, {}, {}, {}, QStringLiteral("Baláž"));
    M m;
    m.Naplnit(kol, M::StlpecSuhrn, true);
    QCOMPARE(m.Kod(0), QStringLiteral("02"));
    for (int c = 0; c < M::PocetStlpcov; ++c) {
        QVERIFY(!m.data(m.index(0, c), Qt::ForegroundRole).isValid());
        QCOMPARE(m.data(m.index(1, c), Qt::ForegroundRole).value<QBrush>().color(), QColor(255, 0, 0));
    }
    QVERIFY(m.Strateny(1));
    QVERIFY(!m.Strateny(0));
}

void TestZoznamIdentifikatorov::sortsWithSlovakCollation_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<bool>("vzostupne");
    QTest::addColumn<QStringList>("poradie");
    const QStringList vzost{"Adamec", "cerny", "Čierny", "Dobrý", "Ďurica", "Hudák", "Chovan", "Ihnát",
                            "Sedlák", "Šimková", "Žitňan"};
    QStringList zost = vzost;
    std::reverse(zost.begin(), zost.end());
    QTest::newRow("Slovak ascending") << QLocale(QLocale::Slovak, QLocale::Slovakia) << true << vzost;
    QTest::newRow("Slovak descending") << QLocale(QLocale::Slovak, QLocale::Slovakia) << false << zost;
    // No regional settings at all: still the program's Slovak order.
    QTest::newRow("C locale") << QLocale::c() << true << vzost;
}

void TestZoznamIdentifikatorov::sortsWithSlovakCollation()
{
    QFETCH(QLocale, locale);
    QFETCH(bool, vzostupne);
    QFETCH(QStringList, poradie);
    QLocale::setDefault(locale);
    const QStringList vstup{"Žitňan", "Dobrý", "Chovan", "Čierny", "Sedlák", "cerny", "Ihnát", "Adamec",
                            "Šimková", "Hudák", "Ďurica"};
    colKolekciaIdentifikatorov kol;
    for (int i = 0; i < vstup.size(); ++i)
        kol.Add(QStringLiteral("%1").arg(i, 16, 10, QLatin1Char('0')), false, 0, {}, {}, {}, {}, vstup[i]);
    M m;
    m.Naplnit(kol, M::StlpecPriezvisko, vzostupne);
    QCOMPARE(stlpec(m, M::StlpecPriezvisko), poradie);
    m.Naplnit(kol, M::StlpecSuhrn, vzostupne);
    QCOMPARE(stlpec(m, M::StlpecPriezvisko), poradie);
}

void TestZoznamIdentifikatorov::equalTextsKeepCollectionOrder()
{
    // Case does not count: "Adam" and "adam" are equal and keep their order
    // in both directions (a case-aware collation would put "adam" first).
    colKolekciaIdentifikatorov kol;
    kol.Add(QStringLiteral("01"), false, 0, {}, {}, {}, {}, QStringLiteral("Adam"));
    kol.Add(QStringLiteral("02"), false, 0, {}, {}, {}, {}, QStringLiteral("Bela"));
    kol.Add(QStringLiteral("03"), false, 0, {}, {}, {}, {}, QStringLiteral("adam"));
    M m;
    m.Naplnit(kol, M::StlpecPriezvisko, true);
    QCOMPARE(stlpec(m, M::StlpecIdentifikator), (QStringList{"01", "03", "02"}));
    m.Naplnit(kol, M::StlpecPriezvisko, false);
    QCOMPARE(stlpec(m, M::StlpecIdentifikator), (QStringList{"02", "01", "03"}));
}

void TestZoznamIdentifikatorov::sequenceNumberSortsAsText()
{
    colKolekciaIdentifikatorov kol;
    kol.Add(QStringLiteral("01"), false, 2, {}, {}, {}, {}, {});
    kol.Add(QStringLiteral("02"), false, 10, {}, {}, {}, {}, {});
    kol.Add(QStringLiteral("03"), false, 0, {}, {}, {}, {}, {});
    M m;
    m.Naplnit(kol, M::StlpecPc, true);
    QCOMPARE(stlpec(m, M::StlpecPc), (QStringList{"", "10", "2"}));
}

void TestZoznamIdentifikatorov::findsCodeExactly()
{
    colKolekciaIdentifikatorov kol;
    kol.Add(QStringLiteral("00000000000000AA"), false, 0, {}, {}, {}, {}, QStringLiteral("Zeman"));
    kol.Add(QStringLiteral("00000000000000bb"), false, 0, {}, {}, {}, {}, QStringLiteral("Adamec"));
    M m;
    m.Naplnit(kol, M::StlpecSuhrn, true);
    QCOMPARE(m.NajstKod(QStringLiteral("00000000000000aa")), 1);
    QCOMPARE(m.NajstKod(QStringLiteral("00000000000000bb")), 0);
    QCOMPARE(m.NajstKod(QStringLiteral("00000000000000AA")), -1); // item texts are lower case
    QCOMPARE(m.NajstKod(QStringLiteral("00000000000000a")), -1);
}

void TestZoznamIdentifikatorov::redrawRequestsMerge()
{
    timPrekresliIdentifikatory t;
    QSignalSpy spy(&t, &QTimer::timeout);
    QVERIFY(!t.Enabled());
    t.Prekreslit(QStringLiteral("aa"));
    QTest::qWait(40);
    t.setTag(QStringLiteral("bb"));
    t.setEnabled(true); // the countdown of the first request goes on
    QVERIFY(t.Enabled());
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, 2000);
    QCOMPARE(t.Tag(), QStringLiteral("bb"));
    QVERIFY(!t.Enabled());
    QTest::qWait(250);
    QCOMPARE(spy.count(), 1); // once per request burst

    t.Prekreslit();
    t.setEnabled(false);
    QTest::qWait(250);
    QCOMPARE(spy.count(), 1);
}

void TestZoznamIdentifikatorov::headersAreTranslated()
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("lokalizacia.txt")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("Straten\xfd\tLost\r\nPriezvisko\tSurname\r\nsuhrn\tsummary\r\n"));
    f.close();
    PripravitAplikaciu(dir.path());
    colKolekciaIdentifikatorov kol;
    kol.Add(QStringLiteral("01"), true, 0, {}, {}, {}, {}, QStringLiteral("Varga"));
    M m;
    m.Naplnit(kol, M::StlpecSuhrn, true);
    PripravitAplikaciu(m_dir.path());
    QCOMPARE(m.headerData(M::StlpecStrateny, Qt::Horizontal).toString(), QStringLiteral("Lost"));
    QCOMPARE(m.headerData(M::StlpecPriezvisko, Qt::Horizontal).toString(), QStringLiteral("Surname"));
    QCOMPARE(m.headerData(M::StlpecSuhrn, Qt::Horizontal).toString(), QStringLiteral("suhrn"));
    QCOMPARE(m.Text(0, M::StlpecStrateny), QStringLiteral("Lost"));
}

QTEST_MAIN(TestZoznamIdentifikatorov)
#include "test_zoznam_identifikatorov.moc"
