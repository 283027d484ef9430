#include "app/modMain.h"
#include "comm/frmNastavenia.h"
#include "comm/frmUrcenieSeriovejLinky.h"
#include "comm/modKomunikacnyPort.h"

#include "DialogScript.h"
#include "ModalScript.h"
#include "PtyPair.h"
#include "TestFiles.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using Sel = frmUrcenieSeriovejLinky;

QPushButton *button(QWidget *d, const char *name) { return d->findChild<QPushButton *>(QLatin1String(name)); }

void choose(Sel *d, const QString &name)
{
    d->findChild<QLineEdit *>(QStringLiteral("txtNazovKomunikacnehoPortu"))->setText(name);
    button(d, "cmdOk")->click();
}

// Screenshots for a person to look at, when asked for.
void saveShot(QWidget *w, const QString &name)
{
    const QString dir = qEnvironmentVariable("TEBO_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

} // namespace

class TestFrmNastavenia : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        AdresarAplikacie = m_tmp->path() + QLatin1Char('/');
        Ini.setFileName(AdresarAplikacie + QStringLiteral("tebo.ini"));
        NastavitZdrojZoznamuLiniek([] {
            return QStringList{QStringLiteral("ttyS0 (/dev/ttyS0)"),
                               QStringLiteral("ttyUSB0 (/dev/ttyUSB0, FT232R USB UART)")};
        });
    }
    void cleanup() { NastavitZdrojZoznamuLiniek({}); }

    void captionsAndChoices()
    {
        PtyPair device, writer;
        DialogScript msgs;
        ModalScript<Sel> sel;
        frmNastavenia dlg;
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Nastavenia"));
        QCOMPARE(button(&dlg, "cmdPortNaKomunikaciuSoZariadenim")->text(), QStringLiteral("---"));
        QCOMPARE(button(&dlg, "cmdPortNaProgramatorPrenosovehoCipu")->text(), QStringLiteral("---"));
        QCOMPARE(button(&dlg, "cmdPortNaZadavanieIdentifikatorov")->text(), QStringLiteral("---"));
        QCOMPARE(button(&dlg, "cmdPortNaZadavanieIdentifikatorov")->toolTip(),
                 QStringLiteral("Stlačte tlačidlo na zmenu komunikačného portu na zadávanie identifikátorov"));
        QCOMPARE(button(&dlg, "cmdCancel")->text(), QStringLiteral("Naspäť"));
        dlg.show();
        saveShot(&dlg, QStringLiteral("frmNastavenia-empty"));

        QString offered;
        sel.then([&](Sel *d) {
            offered = d->findChild<QLineEdit *>(QStringLiteral("txtNazovKomunikacnehoPortu"))->text();
            d->findChild<QLineEdit *>(QStringLiteral("txtNazovKomunikacnehoPortu"))->setText(device.path());
            QTest::qWait(50); // let the list fill for the screenshot
            saveShot(d, QStringLiteral("frmUrcenieSeriovejLinky"));
            button(d, "cmdOk")->click();
        });
        button(&dlg, "cmdPortNaKomunikaciuSoZariadenim")->click();
        QCOMPARE(offered, QStringLiteral("COM1"));
        QCOMPARE(button(&dlg, "cmdPortNaKomunikaciuSoZariadenim")->text(), device.path());
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE")), device.path());
        // The port was only tried: it is free again.
        QCOMPARE(claComm6_9::TrialOpen(device.path()), 0);

        sel.then([&](Sel *d) { choose(d, writer.path()); });
        button(&dlg, "cmdPortNaProgramatorPrenosovehoCipu")->click();
        QCOMPARE(button(&dlg, "cmdPortNaProgramatorPrenosovehoCipu")->text(), writer.path());

        sel.then([&](Sel *d) { choose(d, QStringLiteral("nocom")); });
        button(&dlg, "cmdPortNaZadavanieIdentifikatorov")->click();
        QCOMPARE(button(&dlg, "cmdPortNaZadavanieIdentifikatorov")->text(), QStringLiteral("NOCOM"));
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_IDREADER")), QStringLiteral("NOCOM"));
        saveShot(&dlg, QStringLiteral("frmNastavenia-set"));

        // A cancelled selection (preselected with the stored name) changes nothing.
        const QByteArray before = readFile(Ini.FileName());
        sel.then([&](Sel *d) {
            offered = d->findChild<QLineEdit *>(QStringLiteral("txtNazovKomunikacnehoPortu"))->text();
            button(d, "cmdCancel")->click();
        });
        button(&dlg, "cmdPortNaKomunikaciuSoZariadenim")->click();
        QCOMPARE(offered, device.path());
        QCOMPARE(button(&dlg, "cmdPortNaKomunikaciuSoZariadenim")->text(), device.path());
        QCOMPARE(readFile(Ini.FileName()), before);
        QVERIFY(msgs.messages.isEmpty());
        QCOMPARE(sel.unanswered(), 0);
    }

    void portHeldByAnotherProgram()
    {
        PtyPair old, busy;
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE"), old.path());
        claComm6_9 other;
        other.setPortname(busy.path());
        QVERIFY(other.OpenPort());
        DialogScript msgs;
        ModalScript<Sel> sel;
        frmNastavenia dlg;
        QCOMPARE(button(&dlg, "cmdPortNaKomunikaciuSoZariadenim")->text(), old.path());
        sel.then([&](Sel *d) {
            choose(d, busy.path()); // refused by the trial, the dialog stays
            button(d, "cmdCancel")->click();
        });
        msgs.answers = {UiDialogs::AnswerOk, UiDialogs::AnswerYes};
        button(&dlg, "cmdPortNaKomunikaciuSoZariadenim")->click();
        QCOMPARE(msgs.messages.size(), 2);
        QVERIFY(msgs.messages[0].text.contains(QStringLiteral("Device or resource busy")));
        QCOMPARE(Ini.IniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_DEVICE")), old.path());
        QCOMPARE(button(&dlg, "cmdPortNaKomunikaciuSoZariadenim")->text(), old.path());
    }

    void storedValueShownUntrimmed()
    {
        Ini.setIniString(QStringLiteral("MAIN"), QStringLiteral("COM_PORT_READERWRITER"), QStringLiteral("com4"));
        frmNastavenia dlg;
        QCOMPARE(button(&dlg, "cmdPortNaProgramatorPrenosovehoCipu")->text(), QStringLiteral("com4"));
        QCOMPARE(button(&dlg, "cmdPortNaKomunikaciuSoZariadenim")->text(), QStringLiteral("---"));
    }

    void applicationSettingsCommand()
    {
        QWidget parent;
        ModalScript<frmNastavenia> script;
        QPointer<frmNastavenia> shown;
        bool modal = false;
        script.then([&](frmNastavenia *d) {
            shown = d;
            modal = d->isModal();
            QCOMPARE(d->parentWidget(), &parent);
            button(d, "cmdCancel")->click();
        });
        NastavenieAplikacie(&parent);
        QCOMPARE(script.shown(), 1);
        QVERIFY(modal);
        QVERIFY(shown.isNull()); // unloaded when it returns
    }

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
};

QTEST_MAIN(TestFrmNastavenia)
#include "test_frmNastavenia.moc"
