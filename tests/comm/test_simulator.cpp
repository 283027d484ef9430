#include "app/modMain.h"
#include "comm/claComm6_9.h"
#include "comm/modKomunikacnyPort.h"
#include "platform/TeboClock.h"

#include "DialogScript.h"
#include "TestFiles.h"

#include "SimProcess.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString checksum(const QString &s)
{
    int sum = 0;
    for (QChar c : s)
        sum += c.unicode();
    return QStringLiteral("%1").arg(sum % 256, 2, 16, QLatin1Char('0'));
}

QString escapeFrame(QString s)
{
    s.replace(QLatin1String("#"), QLatin1String("#1"));
    s.replace(QLatin1String("@"), QLatin1String("#0"));
    s.replace(QLatin1String("\r"), QLatin1String("#2"));
    s.replace(QLatin1String("\n"), QLatin1String("#3"));
    return s;
}

QString unescapeFrame(QString s)
{
    s.replace(QLatin1String("#0"), QLatin1String("@"));
    s.replace(QLatin1String("#2"), QLatin1String("\r"));
    s.replace(QLatin1String("#3"), QLatin1String("\n"));
    s.replace(QLatin1String("#1"), QLatin1String("#"));
    return s;
}

QString writerRequest(const QString &command)
{
    const QString frame = QStringLiteral("ffee") + command;
    return QStringLiteral("@") + escapeFrame(frame + checksum(frame)) + QStringLiteral("\r\n");
}

// Collects input until `until` shows up (or the time runs out).
QString collect(claComm6_9 &c, const QString &until, int timeoutMs = 3000)
{
    QString got;
    const bool found = QTest::qWaitFor([&] {
        got += c.CommInput();
        return got.contains(until);
    }, timeoutMs);
    Q_UNUSED(found);
    return got;
}

QString exchange(claComm6_9 &c, const QString &request, const QString &until = QStringLiteral("\r\n"),
                 int timeoutMs = 3000)
{
    c.CommInput();
    c.CommOutput(request);
    return collect(c, until, timeoutMs);
}

// The pieces in which one line arrives, as CommInput hands them out; empty
// pieces are not kept. Stops at the line end or after 5 s.
QStringList collectChunks(claComm6_9 &c)
{
    QStringList chunks;
    QString all;
    QTest::qWaitFor([&] {
        const QString s = c.CommInput();
        if (!s.isEmpty())
            chunks << s;
        all += s;
        return all.endsWith(QLatin1String("\r\n"));
    }, 5000);
    return chunks;
}

// Takes the first reply frame of the writer from the text: the content
// after "eeff" with a checked checksum, or "<bad>" / "" when none.
QString writerReply(const QString &text)
{
    const int at = text.indexOf(QLatin1String("@eeff"));
    const int end = text.indexOf(QLatin1String("\r\n"), at);
    if (at < 0 || end < 0)
        return QString();
    const QString frame = unescapeFrame(text.mid(at + 1, end - at - 1));
    const QString body = frame.left(frame.size() - 2);
    if (checksum(body) != frame.right(2))
        return QStringLiteral("<bad>");
    return body.mid(4);
}

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void doorProtocol()
    {
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("door"),
                          {QStringLiteral("--version"), QStringLiteral("SORVEL1_2.3"),
                           QStringLiteral("--capacity"), QStringLiteral("3"),
                           QStringLiteral("--codes"), QStringLiteral("1111111111111111,2222222222222222")}));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        QCOMPARE(exchange(c, QStringLiteral("@?\r\n")), QStringLiteral("@?=SORVEL1_2.3\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@P?\r\n")), QStringLiteral("@P=2,3\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@P\r\n"), QStringLiteral("2222222222222222\r\n")),
                 QStringLiteral("@P=2\r\n@1111111111111111\r\n@2222222222222222\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@H=abc       \r\n")), QStringLiteral("@OK\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@H=short\r\n")), QStringLiteral("@ERR\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@C=32\r\n")), QStringLiteral("@OK\r\n"));   // 50 tenths
        QCOMPARE(exchange(c, QStringLiteral("@C=33\r\n")), QStringLiteral("@ERR\r\n"));  // above the range
        QCOMPARE(exchange(c, QStringLiteral("@V\r\n")), QStringLiteral("@OK\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@Z=021CB801000000A2\r\n")), QStringLiteral("@OK\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@Z=0123\r\n")), QStringLiteral("@ERR\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@Z=aaaaaaaaaaaaaaaa\r\n")), QStringLiteral("@OK\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@Z=bbbbbbbbbbbbbbbb\r\n")), QStringLiteral("@OK\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@Z=cccccccccccccccc\r\n")), QStringLiteral("@ERR=FULL\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("noise before @W\r\n")), QStringLiteral("@ERR\r\n"));

        QCOMPARE(sim.value(QStringLiteral("password")), QStringLiteral("abc       "));
        QCOMPARE(sim.value(QStringLiteral("opening_code")), QStringLiteral("32"));
        QCOMPARE(sim.values(QStringLiteral("code")),
                 (QStringList{QStringLiteral("021cb801000000a2"), QStringLiteral("aaaaaaaaaaaaaaaa"),
                              QStringLiteral("bbbbbbbbbbbbbbbb")}));
        QCOMPARE(sim.values(QStringLiteral("request")).first(), QStringLiteral("?"));
        QCOMPARE(sim.values(QStringLiteral("request")).last(), QStringLiteral("W"));

        // The same state through the dump command.
        sim.command("dump");
        QByteArray out;
        QVERIFY(QTest::qWaitFor([&] {
            out += sim.process().readAllStandardOutput();
            return out.contains("END STATE");
        }, 3000));
        QVERIFY(out.contains("BEGIN STATE\nmode=door\n"));
        QVERIFY(out.contains("code=bbbbbbbbbbbbbbbb\n"));
    }

    void doorFamiliesWithoutPassword()
    {
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("door"), {QStringLiteral("--version"), QStringLiteral("PLUMWEX1_a")}));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        QCOMPARE(exchange(c, QStringLiteral("@H=0123456789\r\n")), QStringLiteral("@ERR\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@C=1e\r\n")), QStringLiteral("@OK\r\n"));
        QCOMPARE(exchange(c, QStringLiteral("@C=1f\r\n")), QStringLiteral("@ERR\r\n"));
    }

    void doorFaults_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("request");
        QTest::addColumn<QString>("first");   // reply to the first request ("" = none)
        QTest::addColumn<QString>("second");  // reply to the same request again
        QTest::newRow("silent for one request") << QStringList{"--silent", "1"} << "@?\r\n"
                                                << "" << "@?=TAVELINO1_SIM\r\n";
        QTest::newRow("noise") << QStringList{"--noise", "xx"} << "@V\r\n" << "xx@OK\r\n" << "xx@OK\r\n";
        QTest::newRow("wrong prefix") << QStringList{"--wrong-prefix", "1"} << "@V\r\n" << "@XOK\r\n" << "@OK\r\n";
        QTest::newRow("split") << QStringList{"--split", "2", "--split-delay", "20"} << "@P?\r\n"
                               << "@P=0,1000\r\n" << "@P=0,1000\r\n";
        QTest::newRow("upper-case list") << QStringList{"--upper", "--codes", "01a2b3c4d5e6f73d"} << "@P\r\n"
                                         << "@P=1\r\n@01A2B3C4D5E6F73D\r\n" << "@P=1\r\n@01A2B3C4D5E6F73D\r\n";
        QTest::newRow("list line dropped") << QStringList{"--drop-lines", "1", "--codes", "1111111111111111,2222222222222222"}
                                           << "@P\r\n" << "@P=2\r\n@1111111111111111\r\n"
                                           << "@P=2\r\n@1111111111111111\r\n";
    }
    void doorFaults()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, request);
        QFETCH(QString, first);
        QFETCH(QString, second);
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("door"), args));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        const QString expectEnd = first.isEmpty() ? QStringLiteral("never") : first;
        const QString got1 = exchange(c, request, expectEnd, first.isEmpty() ? 500 : 3000);
        QCOMPARE(got1, first);
        QCOMPARE(exchange(c, request, second), second);
    }

    void splitReplyArrivesInPieces()
    {
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("door"), {QStringLiteral("--split"), QStringLiteral("3"),
                                                    QStringLiteral("--split-delay"), QStringLiteral("40")}));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        c.CommOutput(QStringLiteral("@?\r\n"));
        const QStringList chunks = collectChunks(c);
        const QString all = chunks.join(QString());
        QCOMPARE(all, QStringLiteral("@?=TAVELINO1_SIM\r\n"));
        QVERIFY2(chunks.size() > 1, qPrintable(chunks.join(QLatin1Char('|'))));
    }

    void pacing()
    {
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("door"), {QStringLiteral("--pace"), QStringLiteral("--version"),
                                                    QStringLiteral("TAVELINO1_") + QString(60, QLatin1Char('v'))}));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        c.CommOutput(QStringLiteral("@?\r\n"));
        const QStringList chunks = collectChunks(c);
        const QString all = chunks.join(QString());
        QCOMPARE(all, QStringLiteral("@?=TAVELINO1_") + QString(60, QLatin1Char('v')) + QStringLiteral("\r\n"));
        // About a millisecond per byte: the reply trickles in.
        QVERIFY(chunks.size() > 3);
    }

    void writerFraming()
    {
        // The version query frame of the protocol.
        QCOMPARE(writerRequest(QStringLiteral("?")), QStringLiteral("@ffee?d5\r\n"));

        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("writer"), {QStringLiteral("--version"), QStringLiteral("USB1_a#b@c")}));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        const QString raw = exchange(c, QStringLiteral("@ffee?d5\r\n"));
        // Escaped on the line, checksum over the unescaped frame.
        QVERIFY2(raw.contains(QLatin1String("#1")) && raw.contains(QLatin1String("#0")), qPrintable(raw));
        QCOMPARE(writerReply(raw), QStringLiteral("?=USB1_a#b@c"));

        // An escaped request: the simulator unescapes before checking.
        QCOMPARE(writerReply(exchange(c, writerRequest(QStringLiteral("#@\r")))), QStringLiteral("ERR"));
        QCOMPARE(sim.values(QStringLiteral("request")).last(), QStringLiteral("#@\r"));
        // A wrong checksum is not answered.
        QCOMPARE(exchange(c, QStringLiteral("@ffee?d6\r\n"), QStringLiteral("never"), 400), QString());
        QCOMPARE(sim.value(QStringLiteral("bad_frames")), QStringLiteral("1"));
        // The checksum digits are accepted in either case.
        QCOMPARE(writerReply(exchange(c, QStringLiteral("@ffee?D5\r\n"))), QStringLiteral("?=USB1_a#b@c"));
    }

    void writerMemory()
    {
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("writer")));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        QString data1, dataFe;
        for (int i = 0; i < 32; ++i) {
            data1 += QStringLiteral("%1").arg(i, 2, 16, QLatin1Char('0'));
            dataFe += QStringLiteral("%1").arg(255 - i, 2, 16, QLatin1Char('0'));
        }
        QCOMPARE(writerReply(exchange(c, writerRequest(QStringLiteral("B01=") + data1))), QStringLiteral("OK"));
        QCOMPARE(writerReply(exchange(c, writerRequest(QStringLiteral("Bfe=") + dataFe))), QStringLiteral("OK"));
        QCOMPARE(writerReply(exchange(c, writerRequest(QStringLiteral("B01?")))), QStringLiteral("B01=") + data1);
        QCOMPARE(writerReply(exchange(c, writerRequest(QStringLiteral("B00?")))),
                 QStringLiteral("B00=") + QString(64, QLatin1Char('0')));
        QCOMPARE(writerReply(exchange(c, writerRequest(QStringLiteral("Bff?")))), QStringLiteral("ERR"));
        QCOMPARE(writerReply(exchange(c, writerRequest(QStringLiteral("B01=12")))), QStringLiteral("ERR"));
        const QString memory = sim.value(QStringLiteral("memory"));
        QCOMPARE(memory.size(), 8160 * 2);
        QCOMPARE(memory.mid(32 * 2, 64), data1);
        QCOMPARE(memory.mid(254 * 32 * 2, 64), dataFe);
        QCOMPARE(memory.left(64), QString(64, QLatin1Char('0')));
        QCOMPARE(sim.value(QStringLiteral("written")), QStringLiteral("01,fe"));
        QCOMPARE(sim.value(QStringLiteral("read")), QStringLiteral("01,00"));
    }

    void writerChipMissing()
    {
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("writer"), {QStringLiteral("--no-chip")}));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        const QString block = writerRequest(QStringLiteral("B00?"));
        // The version needs no chip.
        QCOMPARE(writerReply(exchange(c, writerRequest(QStringLiteral("?")))), QStringLiteral("?=USB1_SIM"));
        QCOMPARE(exchange(c, block), QStringLiteral("CHYBA\r\n"));
        QCOMPARE(exchange(c, block), QStringLiteral("CHYBA\r\n"));
        sim.signalUser1();
        QVERIFY(QTest::qWaitFor([&] { return sim.value(QStringLiteral("chip")) == QLatin1String("1"); }, 3000));
        QVERIFY(writerReply(exchange(c, block)).startsWith(QLatin1String("B00=")));
        sim.command("nochip");
        QVERIFY(QTest::qWaitFor([&] { return sim.value(QStringLiteral("chip")) == QLatin1String("0"); }, 3000));
        QCOMPARE(exchange(c, block), QStringLiteral("CHYBA\r\n"));
        sim.command("chip");
        QVERIFY(QTest::qWaitFor([&] { return sim.value(QStringLiteral("chip")) == QLatin1String("1"); }, 3000));
        QVERIFY(writerReply(exchange(c, block)).startsWith(QLatin1String("B00=")));
    }

    void writerChipAfterAndBadChecksum()
    {
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("writer"), {QStringLiteral("--chip-after"), QStringLiteral("2"),
                                                      QStringLiteral("--bad-checksum"), QStringLiteral("1")}));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        const QString write = writerRequest(QStringLiteral("B00=") + QString(64, QLatin1Char('a')));
        QCOMPARE(exchange(c, write), QStringLiteral("CHYBA\r\n"));
        QCOMPARE(exchange(c, write), QStringLiteral("CHYBA\r\n"));
        QCOMPARE(writerReply(exchange(c, write)), QStringLiteral("<bad>"));
        QCOMPARE(writerReply(exchange(c, write)), QStringLiteral("OK"));
        QCOMPARE(sim.value(QStringLiteral("chyba")), QStringLiteral("2"));
    }

    void readerLines()
    {
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("reader"),
                          {QStringLiteral("--codes"), QStringLiteral("01A2B3C4D5E6F73D,021cb801000000a2,0000000000000000"),
                           QStringLiteral("--marker"), QStringLiteral("cycle"), QStringLiteral("--interval"),
                           QStringLiteral("30"), QStringLiteral("--start-delay"), QStringLiteral("100"),
                           QStringLiteral("--garbage")}));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        const QString got = collect(c, QStringLiteral("0000000000000000\r\n"), 5000);
        QCOMPARE(got, QStringLiteral("K=01A2B3C4D5E6F73D\r\nHELLO\r\nk1=021cb801000000a2\r\nK0\r\nK2=0000000000000000\r\n"));
        QCOMPARE(sim.value(QStringLiteral("lines_sent")), QStringLiteral("5"));
    }

    void readerOnDemandInPieces()
    {
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("reader"), {QStringLiteral("--codes"), QStringLiteral("021cb801000000a2"),
                                                      QStringLiteral("--interval"), QStringLiteral("0"),
                                                      QStringLiteral("--pieces"), QStringLiteral("4"),
                                                      QStringLiteral("--split-delay"), QStringLiteral("40")}));
        claComm6_9 c;
        c.setPortname(sim.path());
        QVERIFY(c.OpenPort());
        QCOMPARE(collect(c, QStringLiteral("never"), 300), QString());
        sim.signalUser1();
        const QStringList chunks = collectChunks(c);
        const QString all = chunks.join(QString());
        QCOMPARE(all, QStringLiteral("K=021cb801000000a2\r\n"));
        QVERIFY(chunks.size() > 1);
        sim.command("send 1234");
        QCOMPARE(collect(c, QStringLiteral("\r\n")), QStringLiteral("K=1234\r\n"));
        sim.command("raw xx\\r\\nK0\\x41\\r\\n");
        QCOMPARE(collect(c, QStringLiteral("A\r\n")), QStringLiteral("xx\r\nK0A\r\n"));
    }

    void linkAndVanish()
    {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("ttyDOOR"));
        QString path;
        claComm6_9 c;
        {
            SimProcess sim;
            QVERIFY(sim.start(QStringLiteral("door"), {QStringLiteral("--link"), link}));
            QCOMPARE(QFileInfo(link).symLinkTarget(), sim.path());
            c.setPortname(link);
            QVERIFY(c.OpenPort());
            QCOMPARE(exchange(c, QStringLiteral("@V\r\n")), QStringLiteral("@OK\r\n"));
            path = sim.path();
        }
        // The simulator is gone: the link with it, and the open port reads
        // nothing and drops what it is given.
        QVERIFY(!QFileInfo::exists(link));
        QVERIFY(c.Opened());
        QCOMPARE(c.CommInput(), QString());
        c.CommOutput(QStringLiteral("@?\r\n"));
        QCOMPARE(c.CommInput(), QString());
        c.ClosePort();
        c.setPortname(path);
        QVERIFY(!c.OpenPort());
    }

    void debugLogOfAManualExchange()
    {
        // The port as the program gets it, with the traffic log switched on.
        QTemporaryDir app;
        AdresarAplikacie = app.path() + QLatin1Char('/');
        Ini.setFileName(AdresarAplikacie + QStringLiteral("tebo.ini"));
        SimProcess sim;
        QVERIFY(sim.start(QStringLiteral("door")));
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE"), sim.path());
        Ini.setIniBool(QStringLiteral("MAIN"), QStringLiteral("DEBUG_FILE_ON"), true);
        TeboClock::setSource([] { return QDateTime(QDate(2024, 5, 6), QTime(12, 0)); });
        DialogScript msgs;
        auto port = OtvoritKomunikacnyPort(2, false, false);
        QVERIFY(port);
        QCOMPARE(exchange(*port, QStringLiteral("@?\r\n")), QStringLiteral("@?=TAVELINO1_SIM\r\n"));
        QCOMPARE(exchange(*port, QStringLiteral("@P?\r\n")), QStringLiteral("@P=0,1000\r\n"));
        port->ClosePort();
        TeboClock::setSource({});
        const QString log = claComm6_9::LogFilePath(AdresarAplikacie, sim.path(), QDate(2024, 5, 6));
        QCOMPARE(readFile(log), QByteArray("@?\r\n@?=TAVELINO1_SIM\r\n@P?\r\n@P=0,1000\r\n"));
        QVERIFY(msgs.messages.isEmpty());
    }

    void badArguments()
    {
        QProcess p;
        p.start(QStringLiteral(TEBO_SIM_PATH), {QStringLiteral("toaster")});
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 2);
        p.start(QStringLiteral(TEBO_SIM_PATH), {QStringLiteral("door"), QStringLiteral("--silent"), QStringLiteral("x")});
        QVERIFY(p.waitForFinished(5000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("not a number"));
    }
};

QTEST_MAIN(TestSimulator)
#include "test_simulator.moc"
