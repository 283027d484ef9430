#include "app/modMain.h"
#include "comm/modKomunikacnyPort.h"
#include "model/modDowCRC.h"
#include "ui/claCitackaIdentifikatorov.h"

#include "DialogScript.h"
#include "PtyPair.h"
#include "SimProcess.h"

#include <QDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

std::unique_ptr<claComm6_9> openOn(const QString &path)
{
    auto c = std::make_unique<claComm6_9>();
    c->setPortname(path);
    if (!c->OpenPort())
        return nullptr;
    return c;
}

} // namespace

class TestClaCitackaIdentifikatorov : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { DowCRCInit(); }
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        AdresarAplikacie = m_tmp->path() + QLatin1Char('/');
        Ini.setFileName(AdresarAplikacie + QStringLiteral("tebo.ini"));
    }

    void lines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("code");
        QTest::newRow("K=") << "K=01A2B3C4D5E6F73D" << "01A2B3C4D5E6F73D";
        QTest::newRow("K2= small letters") << "K2=01a2b3c4d5e6f73d" << "01a2b3c4d5e6f73d";
        QTest::newRow("k1= small marker") << "k1=01a2b3c4d5e6f73d" << "01a2b3c4d5e6f73d";
        QTest::newRow("K1=") << "K1=021CB801000000A2" << "021CB801000000A2";
        QTest::newRow("preceded by other characters") << "07K=01A2B3C4D5E6F73D" << "01A2B3C4D5E6F73D";
        QTest::newRow("longer than 16") << "K=01A2B3C4D5E6F73Dzz99" << "01A2B3C4D5E6F73D";
        QTest::newRow("K0 with a code") << "K0021cb801000000a2" << "021cb801000000a2";
        QTest::newRow("K0 alone") << "K0" << "";
        QTest::newRow("wrong checksum") << "K=01A2B3C4D5E6F73E" << "";
        QTest::newRow("discarded code, capitals") << "K=0000FFFFFF0000F0" << "";
        QTest::newRow("discarded code, small") << "K1=0000ffffff0000f0" << "";
        QTest::newRow("short code") << "K=01A2B3" << "";
        QTest::newRow("not hexadecimal") << "K=01A2B3C4D5E6F7XY" << "";
        QTest::newRow("blank inside") << "K=01A2B3C4 5E6F73D" << "";
        QTest::newRow("no marker") << "HELLO 01A2B3C4D5E6F73D" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("first marker decides") << "K=bad K1=01a2b3c4d5e6f73d" << "";
        QTest::newRow("K= wins over K1=") << "K1=zzzz K=021cb801000000a2" << "021cb801000000a2";
    }
    void lines()
    {
        QFETCH(QString, line);
        QFETCH(QString, code);
        QCOMPARE(claCitackaIdentifikatorov::KodZRiadku(line), code);
    }

    void oneLinePerTick()
    {
        PtyPair pty;
        QLineEdit txt;
        claCitackaIdentifikatorov r(&txt);
        r.NastavitPort(openOn(pty.path()));
        QVERIFY(r.PortCitacky());
        QVERIFY(r.timZadanieIdentifikatora()->isActive());
        QCOMPARE(r.timZadanieIdentifikatora()->interval(), 10);
        r.timZadanieIdentifikatora()->stop(); // ticks by hand from here
        QSignalSpy changed(&txt, &QLineEdit::textChanged);

        auto tickWhenArrived = [&](int bytes) {
            QVERIFY(QTest::qWaitFor([&] { return r.PortCitacky()->InBufferCount() >= bytes; }, 3000));
            r.timZadanieIdentifikatora_Timer();
        };
        QVERIFY(pty.write("K=01A2B3C4D5E6F73D\r\nK2=021cb801000000a2\r\n"));
        tickWhenArrived(40);
        QCOMPARE(txt.text(), QStringLiteral("01A2B3C4D5E6F73D"));
        QCOMPARE(r.PrijatyText(), QStringLiteral("K2=021cb801000000a2\r\n"));
        r.timZadanieIdentifikatora_Timer();
        QCOMPARE(txt.text(), QStringLiteral("021cb801000000a2"));
        QCOMPARE(r.PrijatyText(), QString());
        QCOMPARE(changed.count(), 2);

        // In pieces: handled once its CR LF is there; CR alone is not an end.
        txt.clear();
        changed.clear();
        QVERIFY(pty.write("xxK=01A2"));
        tickWhenArrived(8);
        QVERIFY(pty.write("B3C4D5E6F73D\r"));
        tickWhenArrived(13);
        QVERIFY(pty.write("K1=021cb801000000a2\n"));
        tickWhenArrived(20);
        QCOMPARE(changed.count(), 0);
        QVERIFY(pty.write("\r\n"));
        tickWhenArrived(2);
        QCOMPARE(txt.text(), QStringLiteral("01A2B3C4D5E6F73D"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(r.PrijatyText(), QString());

        // A dropped line changes nothing.
        QVERIFY(pty.write("K=0000ffffff0000f0\r\n"));
        tickWhenArrived(20);
        QCOMPARE(txt.text(), QStringLiteral("01A2B3C4D5E6F73D"));
        QCOMPARE(changed.count(), 1);
    }

    void readOnlyFieldLeavesTheBytes()
    {
        PtyPair pty;
        QLineEdit txt;
        txt.setReadOnly(true);
        claCitackaIdentifikatorov r(&txt);
        r.NastavitPort(openOn(pty.path()));
        r.timZadanieIdentifikatora()->stop();
        QVERIFY(pty.write("K=01A2B3C4D5E6F73D\r\n"));
        QVERIFY(QTest::qWaitFor([&] { return r.PortCitacky()->InBufferCount() >= 20; }, 3000));
        r.timZadanieIdentifikatora_Timer();
        QCOMPARE(txt.text(), QString());
        QCOMPARE(r.PortCitacky()->InBufferCount(), 20);
        txt.setReadOnly(false);
        r.timZadanieIdentifikatora_Timer();
        QCOMPARE(txt.text(), QStringLiteral("01A2B3C4D5E6F73D"));
    }

    void endlessLineIsBounded()
    {
        PtyPair pty;
        QLineEdit txt;
        claCitackaIdentifikatorov r(&txt);
        r.NastavitPort(openOn(pty.path()));
        r.timZadanieIdentifikatora()->stop();
        const QByteArray junk(8192, 'j');
        for (int i = 0; i < 12; ++i) {
            QVERIFY(pty.write(junk));
            QVERIFY(QTest::qWaitFor([&] { return r.PortCitacky()->InBufferCount() > 0; }, 3000));
            QTest::qWait(5);
            r.timZadanieIdentifikatora_Timer();
        }
        QVERIFY(r.PrijatyText().size() <= 64 * 1024);
        QVERIFY(pty.write("\r\nK=021cb801000000a2\r\n"));
        QVERIFY(QTest::qWaitFor([&] {
            r.timZadanieIdentifikatora_Timer();
            return txt.text() == QLatin1String("021cb801000000a2");
        }, 3000));
    }

    void openingWithTheDialog()
    {
        PtyPair pty;
        DialogScript msgs;
        QDialog dlg;
        dlg.setWindowTitle(QStringLiteral("Vlastnosti identifikátora"));
        auto *txt = new QLineEdit(&dlg);
        auto *r = new claCitackaIdentifikatorov(txt, &dlg);

        // No reader (NOCOM): typing only.
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_IDREADER"), QStringLiteral("NOCOM"));
        QVERIFY(!r->Otvorit(&dlg));
        QVERIFY(!r->PortCitacky());
        QVERIFY(!r->timZadanieIdentifikatora()->isActive());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Vlastnosti identifikátora"));

        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_IDREADER"), pty.path());
        QVERIFY(r->Otvorit(&dlg));
        QVERIFY(r->PortCitacky() && r->PortCitacky()->Opened());
        QVERIFY(r->timZadanieIdentifikatora()->isActive());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Vlastnosti identifikátora [") + pty.path() + QLatin1Char(']'));
        QCOMPARE(claComm6_9::TrialOpen(pty.path()), EBUSY);

        // The timer delivers on its own.
        QVERIFY(pty.write("K=021cb801000000a2\r\n"));
        QVERIFY(QTest::qWaitFor([&] { return txt->text() == QLatin1String("021cb801000000a2"); }, 3000));

        r->Zatvorit();
        QVERIFY(!r->PortCitacky());
        QCOMPARE(claComm6_9::TrialOpen(pty.path()), 0);
        QVERIFY(msgs.messages.isEmpty());
    }

    void readerSimulatorEndToEnd()
    {
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("reader"),
                          {QStringLiteral("--codes"),
                           QStringLiteral("01A2B3C4D5E6F73D,0000ffffff0000f0,021cb801000000a2,021CB801000000A3,01a2b3c4d5e6f73d"),
                           QStringLiteral("--marker"), QStringLiteral("cycle"), QStringLiteral("--garbage"),
                           QStringLiteral("--pieces"), QStringLiteral("5"), QStringLiteral("--split-delay"),
                           QStringLiteral("5"), QStringLiteral("--interval"), QStringLiteral("40"),
                           QStringLiteral("--start-delay"), QStringLiteral("100"), QStringLiteral("--pace")}));
        QLineEdit txt;
        claCitackaIdentifikatorov r(&txt);
        QSignalSpy codes(&r, &claCitackaIdentifikatorov::KodPrijaty);
        r.NastavitPort(openOn(sim.path()));
        QVERIFY(QTest::qWaitFor([&] { return sim.value(QStringLiteral("lines_sent")) == QLatin1String("9"); }, 10000));
        QTest::qWait(100);
        QStringList got;
        for (const auto &args : codes)
            got << args.at(0).toString();
        QCOMPARE(got, (QStringList{QStringLiteral("01A2B3C4D5E6F73D"), QStringLiteral("021cb801000000a2"),
                                   QStringLiteral("01a2b3c4d5e6f73d")}));
        QCOMPARE(txt.text(), QStringLiteral("01a2b3c4d5e6f73d"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
};

QTEST_MAIN(TestClaCitackaIdentifikatorov)
#include "test_claCitackaIdentifikatorov.moc"
