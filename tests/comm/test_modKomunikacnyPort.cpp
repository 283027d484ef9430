#include "app/modMain.h"
#include "comm/frmUrcenieSeriovejLinky.h"
#include "comm/modKomunikacnyPort.h"

#include "DialogScript.h"
#include "ModalScript.h"
#include "PtyPair.h"
#include "TestFiles.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Dlg = frmUrcenieSeriovejLinky;

QString nameField(Dlg *d)
{
    return d->findChild<QLineEdit *>(QStringLiteral("txtNazovKomunikacnehoPortu"))->text();
}

void choose(Dlg *d, const QString &name)
{
    d->findChild<QLineEdit *>(QStringLiteral("txtNazovKomunikacnehoPortu"))->setText(name);
    d->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
}

void cancel(Dlg *d)
{
    d->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
}

} // namespace

class TestModKomunikacnyPort : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_tmp->isValid());
        AdresarAplikacie = m_tmp->path() + QLatin1Char('/');
        Ini.setFileName(AdresarAplikacie + QStringLiteral("tebo.ini"));
    }

    void roles_data()
    {
        QTest::addColumn<int>("typ");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("prompt");
        QTest::newRow("chip writer") << 0 << "COM_PORT_READERWRITER"
                                     << "Zadajte názov komunikačného portu na komunikáciu s napalovačkou prenosového čipu.";
        QTest::newRow("reader") << 1 << "COM_PORT_IDREADER"
                                << "Zadajte názov komunikačného portu na komunikáciu s čítačkou na zadanie identifikátorov.";
        QTest::newRow("device") << 2 << "COM_PORT_DEVICE"
                                << "Zadajte názov komunikačného portu na komunikáciu so zariadením.";
        QTest::newRow("unknown") << 7 << "" << "";
    }
    void roles()
    {
        QFETCH(int, typ);
        QFETCH(QString, key);
        QFETCH(QString, prompt);
        QCOMPARE(KlucPortu(typ), key);
        QCOMPARE(PromptPortu(typ), prompt);
    }

    void storedPortOpensWithoutDialog_data()
    {
        QTest::addColumn<int>("typ");
        QTest::addColumn<bool>("nocom");
        QTest::newRow("device") << 2 << false;
        QTest::newRow("chip writer") << 0 << false;
        QTest::newRow("reader") << 1 << true;
    }
    void storedPortOpensWithoutDialog()
    {
        QFETCH(int, typ);
        QFETCH(bool, nocom);
        PtyPair pty;
        Ini.setIniString(QStringLiteral("MAIN"), KlucPortu(typ), QStringLiteral("  ") + pty.path() + QStringLiteral(" "));
        DialogScript msgs;
        ModalScript<Dlg> dialogs;
        auto port = OtvoritKomunikacnyPort(typ, false, nocom);
        QVERIFY(port);
        QVERIFY(port->Opened());
        QCOMPARE(port->portname(), pty.path());
        QCOMPARE(port->BaudRate(), 9600);
        QCOMPARE(port->DtrControl(), 1);
        QCOMPARE(port->RtsControl(), 1);
        QVERIFY(!port->DebugFileOn());
        QCOMPARE(port->PortSettings().flags, 0x1011u);
        QCOMPARE(dialogs.shown(), 0);
        QVERIFY(msgs.messages.isEmpty());
        // Only the missing debug switch was written; the hand-typed value
        // is used trimmed and, differing from the file, stored trimmed.
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("DEBUG_FILE_ON")), QStringLiteral("FALSE"));
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), KlucPortu(typ)), pty.path());
        port.reset();

        // Once everything is in place the settings file is not touched.
        const QByteArray before = readFile(Ini.FileName());
        Ini.setIniBool(QStringLiteral("MAIN"), QStringLiteral("DEBUG_FILE_ON"), true);
        const QByteArray withDebug = readFile(Ini.FileName());
        QVERIFY(before != withDebug);
        port = OtvoritKomunikacnyPort(typ, false, nocom);
        QVERIFY(port && port->Opened());
        QVERIFY(port->DebugFileOn());
        QCOMPARE(readFile(Ini.FileName()), withDebug);
    }

    void emptySettingsOffersCom1()
    {
        PtyPair pty;
        DialogScript msgs;
        ModalScript<Dlg> dialogs;
        QString offered, prompt;
        dialogs.then([&](Dlg *d) {
            offered = nameField(d);
            prompt = d->findChild<QLabel *>(QStringLiteral("lblPrompt"))->text();
            choose(d, pty.path());
        });
        auto port = OtvoritKomunikacnyPort(2, false, false);
        QVERIFY(port && port->Opened());
        QCOMPARE(offered, QStringLiteral("COM1"));
        QCOMPARE(prompt, PromptPortu(2));
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE")), pty.path());
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("DEBUG_FILE_ON")), QStringLiteral("FALSE"));
        QVERIFY(msgs.messages.isEmpty());
    }

    void cancelledSelectionWritesNothing()
    {
        DialogScript msgs;
        ModalScript<Dlg> dialogs;
        dialogs.then([](Dlg *d) { cancel(d); });
        QVERIFY(!OtvoritKomunikacnyPort(0, false, false));
        QCOMPARE(dialogs.shown(), 1);
        QVERIFY(!QFileInfo::exists(Ini.FileName()));

        // Forced selection with a stored port: preselected, cancel keeps it.
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_READERWRITER"), QStringLiteral("com7"));
        const QByteArray before = readFile(Ini.FileName());
        QString offered;
        dialogs.then([&](Dlg *d) {
            offered = nameField(d);
            cancel(d);
        });
        QVERIFY(!OtvoritKomunikacnyPort(0, true, false));
        QCOMPARE(offered, QStringLiteral("com7"));
        QCOMPARE(readFile(Ini.FileName()), before);
        QVERIFY(msgs.messages.isEmpty());
    }

    void nocomForTheReader()
    {
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_IDREADER"), QStringLiteral("nocom"));
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("OTHER"), QStringLiteral("x"));
        const QByteArray before = readFile(Ini.FileName());
        DialogScript msgs;
        ModalScript<Dlg> dialogs;
        QVERIFY(!OtvoritKomunikacnyPort(1, false, true));
        QCOMPARE(dialogs.shown(), 0);
        QVERIFY(msgs.messages.isEmpty());
        // Written again with the same value; the debug switch is not added.
        QCOMPARE(readFile(Ini.FileName()), before);

        // Chosen in the dialog (forced): stored as NOCOM.
        dialogs.then([](Dlg *d) { choose(d, QStringLiteral(" NoCom ")); });
        QVERIFY(!OtvoritKomunikacnyPort(1, true, true));
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_IDREADER")), QStringLiteral("NOCOM"));
    }

    void nocomForTheDeviceFails()
    {
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE"), QStringLiteral("nocom"));
        DialogScript msgs;
        ModalScript<Dlg> dialogs;
        QString offered;
        dialogs.then([&](Dlg *d) {
            offered = nameField(d);
            cancel(d);
        });
        QVERIFY(!OtvoritKomunikacnyPort(2, false, false));
        QCOMPARE(msgs.messages.size(), 1);
        QVERIFY(msgs.messages[0].text.startsWith(QStringLiteral("Nebolo možné inicializovať komunikačný port nocom.")));
        QCOMPARE(msgs.messages[0].icon, UiDialogs::Exclamation);
        QCOMPARE(msgs.messages[0].buttons, UiDialogs::Ok);
        QCOMPARE(offered, QStringLiteral("nocom"));
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE")), QStringLiteral("nocom"));
    }

    void failingPortThenRetry()
    {
        const QString absent = AdresarAplikacie + QStringLiteral("ttyGONE");
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE"), absent);
        PtyPair pty;
        claComm6_9 holder;
        holder.setPortname(pty.path());
        QVERIFY(holder.OpenPort());

        DialogScript msgs;
        ModalScript<Dlg> dialogs;
        QStringList offered;
        // First the busy port, then a free one.
        dialogs.then([&](Dlg *d) {
            offered << nameField(d);
            // The trial opening already refuses the busy port; the dialog stays.
            choose(d, pty.path());
            QTimer::singleShot(0, d, [&, d] {
                holder.ClosePort();
                choose(d, pty.path());
            });
        });
        auto port = OtvoritKomunikacnyPort(2, false, false);
        QVERIFY(port && port->Opened());
        QCOMPARE(offered, QStringList{absent});
        QCOMPARE(msgs.messages.size(), 2);
        const QString expected =
            QStringLiteral("Nebolo možné inicializovať komunikačný port %1.\r\n"
                           "Preverte konfiguráciu prípadne zastavte aplikáciu, ktorá obsadzuje port.\r\n"
                           "%1: No such file or directory\r\n\r\n%2\r\n[MAIN]\r\n...\r\nCOM_PORT_DEVICE=%1\r\n...")
                .arg(absent, Ini.FileName());
        QCOMPARE(msgs.messages[0].text, expected);
        QCOMPARE(msgs.messages[1].text,
                 QStringLiteral("Nie je možné inicializovať zadaný komunikačný port\r\n%1\r\n%1: Device or resource busy")
                     .arg(pty.path()));
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE")), pty.path());
    }

    void portTakenBetweenTrialAndOpen()
    {
        // The dialog's trial succeeds, but the port is taken before it is
        // opened: failure message, the dialog again, nothing stored.
        PtyPair pty;
        DialogScript msgs;
        ModalScript<Dlg> dialogs;
        claComm6_9 thief;
        thief.setPortname(pty.path());
        dialogs.then([&](Dlg *d) {
            d->findChild<QLineEdit *>(QStringLiteral("txtNazovKomunikacnehoPortu"))->setText(pty.path());
            QObject::connect(d, &QDialog::accepted, [&] { QVERIFY(thief.OpenPort()); });
            d->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
        });
        QString offered;
        dialogs.then([&](Dlg *d) {
            offered = nameField(d);
            cancel(d);
        });
        QVERIFY(!OtvoritKomunikacnyPort(0, false, false));
        QCOMPARE(dialogs.shown(), 2);
        QCOMPARE(offered, pty.path());
        QCOMPARE(msgs.messages.size(), 1);
        QVERIFY(msgs.messages[0].text.contains(QStringLiteral("COM_PORT_READERWRITER=") + pty.path()));
        QVERIFY(msgs.messages[0].text.contains(QStringLiteral("Device or resource busy")));
        QVERIFY(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_READERWRITER")).isEmpty());
    }

    void permissionLineNamesTheGroup()
    {
        const QString dev = AdresarAplikacie + QStringLiteral("ttyLOCKED");
        QVERIFY(writeFile(dev, ""));
        // A group the file can be given to whatever user runs the test.
        const gid_t gid = getgid();
        QVERIFY(::chown(QFile::encodeName(dev).constData(), uid_t(-1), gid) == 0);
        const group *g = getgrgid(gid);
        const QString name = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
        QCOMPARE(SkupinaZariadenia(dev), name);
        const QString text = SpravaNeotvorenehoPortu(QStringLiteral("ttyLOCKED"), QStringLiteral("COM_PORT_DEVICE"),
                                                     EACCES, dev);
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines[2], QStringLiteral("Prístup k zariadeniu %1 bol odmietnutý (Permission denied). "
                                          "Používateľ musí byť členom skupiny %2, ktorej zariadenie patrí.")
                               .arg(dev, name));
        QCOMPARE(lines[3], QString());
        QCOMPARE(lines[7], QStringLiteral("COM_PORT_DEVICE=ttyLOCKED"));
        // Without a reason the message has exactly its seven fixed lines.
        QCOMPARE(SpravaNeotvorenehoPortu(QStringLiteral("com3"), QStringLiteral("COM_PORT_DEVICE"), 0, QString())
                     .split(QStringLiteral("\r\n")).size(), 8);
        QCOMPARE(SkupinaZariadenia(AdresarAplikacie + QStringLiteral("none")), QString());
    }

    void permissionDeniedForAnUnprivilegedUser()
    {
        if (geteuid() == 0)
            QSKIP("root opens every device; the message text is tested above");
        PtyPair pty;
        QVERIFY(::chmod(QFile::encodeName(pty.path()).constData(), 0) == 0);
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE"), pty.path());
        DialogScript msgs;
        ModalScript<Dlg> dialogs;
        QVERIFY(!OtvoritKomunikacnyPort(2, false, false));
        QCOMPARE(msgs.messages.size(), 1);
        QVERIFY(msgs.messages[0].text.contains(QStringLiteral("Používateľ musí byť členom skupiny")));
    }

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
};

QTEST_MAIN(TestModKomunikacnyPort)
#include "test_modKomunikacnyPort.moc"
