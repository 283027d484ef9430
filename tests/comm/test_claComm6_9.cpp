#include "app/modMain.h"
#include "comm/claComm6_9.h"
#include "platform/TeboClock.h"
#include "platform/Win1250Codec.h"

#include "PtyPair.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <termios.h>

namespace {

// Waits (yielding) until the port reports bytes waiting.
bool waitForInput(claComm6_9 &c, int atLeast = 1)
{
    return QTest::qWaitFor([&] { return c.InBufferCount() >= atLeast; }, 3000);
}

QString readAll(claComm6_9 &c, int expected)
{
    QString got;
    const bool done = QTest::qWaitFor([&] {
        got += c.CommInput();
        return got.size() >= expected;
    }, 3000);
    Q_UNUSED(done);
    return got;
}

} // namespace

class TestClaComm6_9 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        AdresarAplikacie = m_tmp->path() + QLatin1Char('/');
        TeboClock::setSource({});
    }
    void cleanup() { TeboClock::setSource({}); }

    void devicePath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("COM3") << "COM3" << "/dev/ttyS2";
        QTest::newRow("prefixed COM3") << "\\\\.\\COM3" << "/dev/ttyS2";
        QTest::newRow("com1 small") << "com1" << "/dev/ttyS0";
        QTest::newRow("com12") << "com12" << "/dev/ttyS11";
        QTest::newRow("native") << "ttyUSB0" << "/dev/ttyUSB0";
        QTest::newRow("device path") << "/dev/serial/by-id/usb-FTDI-if00" << "/dev/serial/by-id/usb-FTDI-if00";
        QTest::newRow("pty") << "/dev/pts/7" << "/dev/pts/7";
        QTest::newRow("blanks trimmed") << "  com2 " << "/dev/ttyS1";
        QTest::newRow("com0 is no port") << "com0" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("relative path refused") << "../etc/passwd" << "";
        QTest::newRow("dot dot") << ".." << "";
    }
    void devicePath()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(claComm6_9::DevicePathFor(name), path);
    }

    void initialValues()
    {
        claComm6_9 c;
        QCOMPARE(c.portname(), QStringLiteral("\\\\.\\COM1"));
        QCOMPARE(c.BaudRate(), 9600);
        QCOMPARE(c.ByteSize(), 8);
        QCOMPARE(c.Parity(), 0);
        QCOMPARE(c.StopBits(), 0);
        QCOMPARE(c.DtrControl(), 0);
        QCOMPARE(c.RtsControl(), 0);
        QVERIFY(!c.CheckParity());
        QVERIFY(!c.Opened());
        QVERIFY(!c.DebugFileOn());
        QCOMPARE(c.InBufferCount(), 0);
        QCOMPARE(c.OutBufferCount(), 0);
        QVERIFY(!c.CTSStatus() && !c.DSRStatus() && !c.RINGStatus() && !c.RLSDStatus());
    }

    void openConfiguresTheLine()
    {
        PtyPair pty;
        QVERIFY(pty.ok());
        termios before{};
        QVERIFY(pty.masterTermios(&before));
        cfsetospeed(&before, B1200);
        before.c_iflag |= IXON;
        before.c_cflag |= CRTSCTS;
        QVERIFY(pty.setMasterTermios(before));

        claComm6_9 c;
        c.setPortname(pty.path());
        QVERIFY(c.OpenPort());
        QVERIFY(c.Opened());
        QCOMPARE(c.LastError(), 0);
        const auto s = c.PortSettings();
        QCOMPARE(s.baudRate, 9600);
        QCOMPARE(s.flags, 0x1u);
        QCOMPARE(int(s.byteSize), 8);
        termios t{};
        QVERIFY(pty.masterTermios(&t));
        QCOMPARE(cfgetospeed(&t), speed_t(B9600));
        QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
        QCOMPARE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(t.c_iflag & (IXON | IXOFF), tcflag_t(0));
        QCOMPARE(t.c_lflag & (ICANON | ECHO), tcflag_t(0));

        // Lines on: a pseudo-terminal has no modem lines, which is no failure.
        c.setDtrControl(1);
        c.setRtsControl(1);
        QCOMPARE(c.LastError(), 0);
        QCOMPARE(c.PortSettings().flags, 0x1u | 0x10u | 0x1000u);

        c.ClosePort();
        QVERIFY(!c.Opened());
        c.ClosePort();
        QVERIFY(!c.Opened());
        // Settings survive closing; reopening works (the exclusive mark was
        // taken back although the terminal stayed open).
        QVERIFY(c.OpenPort());
        QCOMPARE(c.PortSettings().flags, 0x11u); // DTR from its value, RTS off at open
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("sysErrno");
        QTest::newRow("absent device") << "absent" << 8000 << ENOENT;
        QTest::newRow("com0") << "com0" << 8000 << ENOENT;
        QTest::newRow("directory") << "dir" << 8000 << EISDIR;
        QTest::newRow("regular file") << "file" << 8002 << ENOTTY;
        QTest::newRow("speed refused") << "baud" << 8001 << EINVAL;
        QTest::newRow("data bits refused") << "bytesize" << 8001 << EINVAL;
        QTest::newRow("one and a half stop bits with 8 data bits") << "stopbits" << 8001 << EINVAL;
    }
    void openFailures()
    {
        QFETCH(QString, kind);
        QFETCH(int, error);
        QFETCH(int, sysErrno);
        PtyPair pty;
        claComm6_9 c;
        const QString file = m_tmp->filePath(QStringLiteral("plain.txt"));
        QVERIFY(writeFile(file, "x"));
        if (kind == QLatin1String("absent"))
            c.setPortname(m_tmp->filePath(QStringLiteral("no-such-device")));
        else if (kind == QLatin1String("com0"))
            c.setPortname(QStringLiteral("com0"));
        else if (kind == QLatin1String("dir"))
            c.setPortname(m_tmp->path());
        else if (kind == QLatin1String("file"))
            c.setPortname(file);
        else
            c.setPortname(pty.path());
        if (kind == QLatin1String("baud"))
            c.setBaudRate(12345);
        if (kind == QLatin1String("bytesize"))
            c.setByteSize(9);
        if (kind == QLatin1String("stopbits"))
            c.setStopBits(1);
        QVERIFY(!c.OpenPort());
        QVERIFY(!c.Opened());
        QCOMPARE(c.LastError(), error);
        QCOMPARE(c.LastSystemErrno(), sysErrno);
        QVERIFY(!c.LastErrorText().isEmpty());
        QVERIFY(!c.LastSystemError().isEmpty());
        // Opening never creates anything at the path.
        QVERIFY(!QFileInfo::exists(m_tmp->filePath(QStringLiteral("no-such-device"))));
        QCOMPARE(readFile(file), QByteArray("x"));
    }

    void openHeldByAnother()
    {
        PtyPair pty;
        claComm6_9 a, b;
        a.setPortname(pty.path());
        b.setPortname(pty.path());
        QVERIFY(a.OpenPort());
        QVERIFY(!b.OpenPort());
        QCOMPARE(b.LastError(), 8000);
        QCOMPARE(b.LastSystemErrno(), EBUSY);
        QVERIFY(!b.Opened());
        QCOMPARE(claComm6_9::TrialOpen(pty.path()), EBUSY);
        a.ClosePort();
        QCOMPARE(claComm6_9::TrialOpen(pty.path()), 0);
        QVERIFY(b.OpenPort());
        // The failed open of a port already open closes it first.
        b.setPortname(m_tmp->filePath(QStringLiteral("gone")));
        QVERIFY(!b.OpenPort());
        QVERIFY(!b.Opened());
        a.setPortname(pty.path());
        QVERIFY(a.OpenPort());
    }

    void commInputSplitAndWhole()
    {
        PtyPair pty;
        claComm6_9 c;
        c.setPortname(pty.path());
        QVERIFY(c.OpenPort());
        std::int32_t err = 77;
        QCOMPARE(c.CommInput(err), QString());
        QCOMPARE(err, 0);

        QVERIFY(pty.write("@?=TAVELINO1_2\r\n"));
        QVERIFY(waitForInput(c, 16));
        QCOMPARE(c.CommInput(), QStringLiteral("@?=TAVELINO1_2\r\n"));
        QCOMPARE(c.CommInput(), QString());

        QVERIFY(pty.write("@O"));
        QVERIFY(waitForInput(c, 2));
        QCOMPARE(c.CommInput(), QStringLiteral("@O"));
        QVERIFY(pty.write("K\r\n"));
        QVERIFY(waitForInput(c, 3));
        QCOMPARE(c.CommInput(), QStringLiteral("K\r\n"));

        // Every byte value becomes one character of the code page.
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all += char(i);
        QVERIFY(pty.write(all));
        const QString got = readAll(c, 256);
        QCOMPARE(got.size(), 256);
        QCOMPARE(Win1250Codec::fromUnicode(got), all);
    }

    void commInputLargeChunkInOneCall()
    {
        PtyPair pty;
        claComm6_9 c;
        c.setPortname(pty.path());
        QVERIFY(c.OpenPort());
        QByteArray chunk;
        for (int i = 0; i < 5000; ++i)
            chunk += char('A' + i % 26);
        QVERIFY(pty.write(chunk));
        // The writer has handed over the whole chunk: the terminal buffer
        // (4 KiB) shows only part of it, the rest is read in the same call.
        QVERIFY(waitForInput(c, 1));
        QVERIFY(c.InBufferCount() < 5000);
        const QString got = c.CommInput();
        QCOMPARE(got.size(), 5000);
        QCOMPARE(got.toLatin1(), chunk);
        QCOMPARE(c.CommInput(), QString());
    }

    void pendingInput()
    {
        claComm6_9 c;
        c.PutToInputBuffer(QStringLiteral("ab"));
        c.PutToInputBuffer(QStringLiteral("c"));
        QCOMPARE(c.InBufferCount(), 0); // closed
        QCOMPARE(c.CommInput(), QStringLiteral("abc"));
        QCOMPARE(c.CommInput(), QString());

        PtyPair pty;
        c.setPortname(pty.path());
        c.PutToInputBuffer(QStringLiteral("xy"));
        QVERIFY(c.OpenPort()); // pending text survives opening
        QCOMPARE(c.InBufferCount(), 2);
        QVERIFY(pty.write("123"));
        QVERIFY(waitForInput(c, 5));
        QCOMPARE(c.InBufferCount(), 5);
        QCOMPARE(c.CommInput(), QStringLiteral("xy123"));
        QCOMPARE(c.InBufferCount(), 0);
    }

    void commOutput()
    {
        PtyPair pty;
        claComm6_9 c;
        c.setPortname(pty.path());
        c.setDebugFileOn(true);
        TeboClock::setSource([] { return QDateTime(QDate(2009, 3, 7), QTime(10, 0)); });
        const QString log = claComm6_9::LogFilePath(AdresarAplikacie, pty.path(), QDate(2009, 3, 7));

        // Closed: logged, not sent; empty: nothing at all.
        c.CommOutput(QString());
        QVERIFY(!QFileInfo::exists(log));
        c.CommOutput(QStringLiteral("closed"));
        QCOMPARE(readFile(log), QByteArray("closed"));

        QVERIFY(c.OpenPort());
        c.CommOutput(QString());
        QCOMPARE(pty.read(1, 200), QByteArray());
        c.CommOutput(QStringLiteral("@Z=021cb801000000a2\r\n"));
        QCOMPARE(pty.read(21), QByteArray("@Z=021cb801000000a2\r\n"));
        // One byte per character by the code page.
        c.CommOutput(QStringLiteral("š€"));
        QCOMPARE(pty.read(2), QByteArray("\x9a\x80"));
        QCOMPARE(readFile(log), QByteArray("closed@Z=021cb801000000a2\r\n\x9a\x80"));

        // A large block is written whole.
        QByteArray big(10000, 'q');
        c.CommOutput(QString::fromLatin1(big));
        QCOMPARE(pty.read(10000).size(), 10000);
    }

    void debugLogFiles()
    {
        QCOMPARE(claComm6_9::LogFilePath(QStringLiteral("/opt/tebo/"), QStringLiteral("com3"), QDate(2009, 3, 7)),
                 QStringLiteral("/opt/tebo/DEBUG_com3/DEBUG_com3_2009/DEBUG_com3_200903/DEBUG_com3_20090307.log"));
        QCOMPARE(claComm6_9::LogFilePath(QStringLiteral("/opt/tebo"), QStringLiteral("/dev/pts/7"), QDate(2024, 12, 31)),
                 QStringLiteral("/opt/tebo/DEBUG_dev_pts_7/DEBUG_dev_pts_7_2024/DEBUG_dev_pts_7_202412/DEBUG_dev_pts_7_20241231.log"));
        QCOMPARE(claComm6_9::PortnameForFiles(QStringLiteral("\\\\.\\COM3")), QStringLiteral("__._COM3"));

        PtyPair pty;
        claComm6_9 c;
        c.setPortname(pty.path());
        QVERIFY(c.OpenPort());
        QDateTime now(QDate(2009, 12, 31), QTime(23, 59, 59));
        TeboClock::setSource([&] { return now; });
        c.CommOutput(QStringLiteral("off"));
        QVERIFY(QDir(AdresarAplikacie).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

        c.setDebugFileOn(true);
        c.CommOutput(QStringLiteral("@?\r\n"));
        QVERIFY(pty.write("@?=SORVEL1_x\r\n"));
        QCOMPARE(readAll(c, 14), QStringLiteral("@?=SORVEL1_x\r\n"));
        const QString day1 = claComm6_9::LogFilePath(AdresarAplikacie, pty.path(), now.date());
        QCOMPARE(readFile(day1), QByteArray("@?\r\n@?=SORVEL1_x\r\n"));

        // New day, new month, new year: a new file in new folders.
        now = QDateTime(QDate(2010, 1, 1), QTime(0, 0, 1));
        c.CommOutput(QStringLiteral("@V\r\n"));
        const QString day2 = claComm6_9::LogFilePath(AdresarAplikacie, pty.path(), now.date());
        QVERIFY(day1 != day2);
        QCOMPARE(readFile(day2), QByteArray("@V\r\n"));
        QCOMPARE(readFile(day1), QByteArray("@?\r\n@?=SORVEL1_x\r\n"));
        now = QDateTime(QDate(2010, 1, 2), QTime(8, 0));
        c.CommOutput(QStringLiteral("x"));
        QCOMPARE(readFile(claComm6_9::LogFilePath(AdresarAplikacie, pty.path(), now.date())), QByteArray("x"));

        // A log folder that cannot be made is ignored; the traffic goes on.
        claComm6_9 d;
        d.setPortname(QStringLiteral("blocked"));
        d.setDebugFileOn(true);
        QVERIFY(writeFile(AdresarAplikacie + QStringLiteral("DEBUG_blocked"), "a file"));
        d.CommOutput(QStringLiteral("y"));
        QCOMPARE(readFile(AdresarAplikacie + QStringLiteral("DEBUG_blocked")), QByteArray("a file"));
    }

    void rendering_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("OK CR LF") << QByteArray("OK\r\n") << QStringLiteral("OK<Cr><Lf>\r\n");
        QTest::newRow("CR alone") << QByteArray("\r") << QStringLiteral("<Cr>");
        QTest::newRow("printable and 127") << QByteArray(" ~\x7f") << QStringLiteral(" ~\x7f");
        QTest::newRow("128") << QByteArray("\x80") << QStringLiteral("<80>");
        QTest::newRow("control 5") << QByteArray("\x05") << QStringLiteral("<5>");
        QTest::newRow("zero") << QByteArray(1, '\0') << QStringLiteral("<0>");
        QTest::newRow("31") << QByteArray("\x1f") << QStringLiteral("<1F>");
        QTest::newRow("233") << QByteArray("\xe9") << QStringLiteral("<E9>");
        QTest::newRow("255") << QByteArray("\xff") << QStringLiteral("<FF>");
    }
    void rendering()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QCOMPARE(claComm6_9::RenderTraffic(Win1250Codec::toUnicode(bytes)), shown);
    }

    void textboxMirror()
    {
        PtyPair pty;
        claComm6_9 c;
        c.setPortname(pty.path());
        QVERIFY(c.OpenPort());
        QPlainTextEdit box;
        c.setDebugTextbox(&box);
        c.CommOutput(QStringLiteral("@?\r\n"));
        QVERIFY(pty.write("@OK\r\n"));
        QCOMPARE(readAll(c, 5), QStringLiteral("@OK\r\n"));
        QCOMPARE(box.toPlainText(), QStringLiteral("@?<Cr><Lf>\n@OK<Cr><Lf>\n"));
        QCOMPARE(box.textCursor().position(), box.toPlainText().size());

        // Capped at the last 2000 characters (line breaks count as CR LF).
        c.CommOutput(QString(2500, QLatin1Char('z')) + QStringLiteral("END"));
        const QString t = box.toPlainText();
        QCOMPARE(t.size(), 2000);
        QVERIFY(t.endsWith(QStringLiteral("zzzEND")));
        QCOMPARE(box.textCursor().position(), t.size());

        // A single-line box and a box that goes away.
        auto *line = new QLineEdit;
        c.setDebugTextbox(line);
        c.CommOutput(QStringLiteral("a\x01"));
        QCOMPARE(line->text(), QStringLiteral("a<1>"));
        delete line;
        QVERIFY(!c.DebugTextbox());
        c.CommOutput(QStringLiteral("still fine"));
    }

    void settersWithoutChangeMakeNoCall()
    {
        PtyPair pty;
        claComm6_9 c;
        c.setPortname(pty.path());
        QVERIFY(c.OpenPort());
        // Someone else changes the terminal; a setter with the same value
        // must not touch it, a new value must apply the port's settings.
        termios t{};
        QVERIFY(pty.masterTermios(&t));
        cfsetospeed(&t, B4800);
        cfsetispeed(&t, B4800);
        QVERIFY(pty.setMasterTermios(t));
        c.setBaudRate(9600);
        c.setParity(0);
        c.setByteSize(8);
        c.setDtrControl(0);
        QVERIFY(pty.masterTermios(&t));
        QCOMPARE(cfgetospeed(&t), speed_t(B4800));

        c.setBaudRate(19200);
        QCOMPARE(c.BaudRate(), 19200);
        QCOMPARE(c.PortSettings().baudRate, 19200);
        QVERIFY(pty.masterTermios(&t));
        QCOMPARE(cfgetospeed(&t), speed_t(B19200));
    }

    void setterRules_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<uint>("flags");   // flags after, when accepted
        QTest::newRow("DTR 3") << "dtr" << 3 << false << 0x1u;
        QTest::newRow("DTR -1") << "dtr" << -1 << false << 0x1u;
        QTest::newRow("DTR 1") << "dtr" << 1 << true << 0x11u;
        QTest::newRow("DTR 2") << "dtr" << 2 << true << 0x21u;
        QTest::newRow("RTS 4") << "rts" << 4 << false << 0x1u;
        QTest::newRow("RTS 3") << "rts" << 3 << true << 0x3001u;
        QTest::newRow("RTS 2") << "rts" << 2 << true << 0x2001u;
        QTest::newRow("check parity") << "checkparity" << 1 << true << 0x3u;
        QTest::newRow("speed not possible") << "baud" << 12345 << false << 0x1u;
        QTest::newRow("speed 115200") << "baud" << 115200 << true << 0x1u;
        QTest::newRow("9 data bits") << "bytesize" << 9 << false << 0x1u;
        QTest::newRow("odd parity") << "parity" << 1 << true << 0x1u;
        QTest::newRow("parity 5") << "parity" << 5 << false << 0x1u;
        QTest::newRow("two stop bits") << "stopbits" << 2 << true << 0x1u;
        QTest::newRow("one and a half stop bits") << "stopbits" << 1 << false << 0x1u;
    }
    void setterRules()
    {
        QFETCH(QString, property);
        QFETCH(int, value);
        QFETCH(bool, accepted);
        QFETCH(uint, flags);
        PtyPair pty;
        claComm6_9 c;
        c.setPortname(pty.path());
        QVERIFY(c.OpenPort());
        termios before{};
        QVERIFY(pty.masterTermios(&before));
        auto getOf = [&](const claComm6_9 &x) -> int {
            if (property == QLatin1String("dtr")) return x.DtrControl();
            if (property == QLatin1String("rts")) return x.RtsControl();
            if (property == QLatin1String("checkparity")) return x.CheckParity() ? 1 : 0;
            if (property == QLatin1String("baud")) return x.BaudRate();
            if (property == QLatin1String("bytesize")) return x.ByteSize();
            if (property == QLatin1String("parity")) return x.Parity();
            return x.StopBits();
        };
        auto get = [&] { return getOf(c); };
        auto set = [&](claComm6_9 &x, int v) {
            if (property == QLatin1String("dtr")) x.setDtrControl(v);
            else if (property == QLatin1String("rts")) x.setRtsControl(v);
            else if (property == QLatin1String("checkparity")) x.setCheckParity(v != 0);
            else if (property == QLatin1String("baud")) x.setBaudRate(v);
            else if (property == QLatin1String("bytesize")) x.setByteSize(v);
            else if (property == QLatin1String("parity")) x.setParity(v);
            else x.setStopBits(v);
        };
        const int old = get();
        set(c, value);
        if (accepted) {
            QVERIFY2(c.LastError() == 0, qPrintable(c.LastSystemError()));
            QCOMPARE(get(), value);
            QCOMPARE(c.PortSettings().flags, flags);
        } else {
            QCOMPARE(c.LastError(), 380);
            QCOMPARE(get(), old);
            QCOMPARE(c.PortSettings().flags, flags);
            termios after{};
            QVERIFY(pty.masterTermios(&after));
            QCOMPARE(cfgetospeed(&after), cfgetospeed(&before));
            QCOMPARE(after.c_cflag, before.c_cflag);
        }
        QVERIFY(c.Opened());

        // While closed every value is stored without a check.
        claComm6_9 closed;
        closed.setPortname(pty.path());
        set(closed, value);
        QCOMPARE(closed.LastError(), 0);
        QCOMPARE(getOf(closed), value);
        QVERIFY(!closed.Opened());
    }

    void closedDtrValueGivesDtrOffAtOpen()
    {
        PtyPair pty;
        claComm6_9 c;
        c.setPortname(pty.path());
        c.setDtrControl(3);
        c.setRtsControl(1);
        QCOMPARE(c.DtrControl(), 3);
        QVERIFY(c.OpenPort());
        QCOMPARE(c.PortSettings().flags, 0x1u); // DTR off, RTS off at open
        QCOMPARE(c.DtrControl(), 3);
        QCOMPARE(c.RtsControl(), 1);
    }

    void lineSettingsTakeEffect()
    {
        PtyPair pty;
        claComm6_9 c;
        c.setPortname(pty.path());
        c.setParity(1);
        c.setStopBits(2);
        c.setByteSize(7);
        c.setCheckParity(true);
        QVERIFY(c.OpenPort());
        termios t{};
        QVERIFY(pty.masterTermios(&t));
        // A pseudo-terminal keeps eight data bits and no parity bit of its
        // own; the other parts show what the port asked for.
        QCOMPARE(t.c_cflag & (PARODD | CSTOPB | CMSPAR), tcflag_t(PARODD | CSTOPB));
        QVERIFY(t.c_iflag & INPCK);
        c.setParity(4);
        QCOMPARE(c.LastError(), 0);
        QVERIFY(pty.masterTermios(&t));
        QCOMPARE(t.c_cflag & (PARODD | CMSPAR), tcflag_t(CMSPAR));
        c.setCheckParity(false);
        QVERIFY(pty.masterTermios(&t));
        QVERIFY(!(t.c_iflag & INPCK));
    }

    void deviceVanishes()
    {
        auto pty = std::make_unique<PtyPair>(false);
        claComm6_9 c;
        c.setPortname(pty->path());
        QVERIFY(c.OpenPort());
        QVERIFY(pty->write("abc"));
        QCOMPARE(readAll(c, 3), QStringLiteral("abc"));
        pty.reset(); // the device is gone
        std::int32_t err = 0;
        QCOMPARE(c.CommInput(err), QString());
        c.CommOutput(QStringLiteral("@?\r\n"));
        c.CommOutput(QString(100000, QLatin1Char('x')));
        QCOMPARE(c.CommInput(), QString());
        QVERIFY(c.Opened()); // the owner closes it on its normal path
        c.ClosePort();
        QVERIFY(!c.Opened());
        QVERIFY(!c.OpenPort());
        QCOMPARE(c.LastError(), 8000);
    }

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
};

QTEST_MAIN(TestClaComm6_9)
#include "test_claComm6_9.moc"
