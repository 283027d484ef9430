#include "app/modMain.h"
#include "comm/frmUrcenieSeriovejLinky.h"
#include "comm/modKomunikacnyPort.h"

#include "DialogScript.h"
#include "ModalScript.h"
#include "PtyPair.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

using Dlg = frmUrcenieSeriovejLinky;

QLineEdit *field(Dlg *d) { return d->findChild<QLineEdit *>(QStringLiteral("txtNazovKomunikacnehoPortu")); }
QListWidget *list(Dlg *d, const char *name) { return d->findChild<QListWidget *>(QLatin1String(name)); }
QStringList items(QListWidget *l)
{
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

const QString kNameWarning = QStringLiteral("Názov komunikačného portu musí začínať písmenami 'com' (napr. com1)");
const QString kNumberWarning = QStringLiteral("Číslo komunikačného portu musí byť číslo (napr. com1)");
const QString kTrialWarning = QStringLiteral("Nie je možné inicializovať zadaný komunikačný port");

} // namespace

class TestFrmUrcenieSeriovejLinky : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_tmp = std::make_unique<QTemporaryDir>();
        AdresarAplikacie = m_tmp->path() + QLatin1Char('/');
        Ini.setFileName(AdresarAplikacie + QStringLiteral("tebo.ini"));
        m_ports.clear();
        NastavitZdrojZoznamuLiniek([this] { return m_ports; });
    }
    void cleanup() { NastavitZdrojZoznamuLiniek({}); }

    void nameChecks_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("nocom");
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<QString>("warning");
        QTest::newRow("com 03") << "com 03" << false << "com3" << "";
        QTest::newRow("COM3 capitals") << " COM3 " << false << "com3" << "";
        QTest::newRow("half rounds to even (2.5)") << "com2.5" << false << "com2" << "";
        QTest::newRow("half rounds to even (3.5)") << "com3.5" << false << "com4" << "";
        QTest::newRow("COM alone") << "COM" << false << "" << kNumberWarning;
        QTest::newRow("com x") << "com x" << false << "" << kNumberWarning;
        QTest::newRow("LPT1") << "LPT1" << false << "" << kNameWarning;
        QTest::newRow("empty") << "" << false << "" << kNameWarning;
        QTest::newRow("nocom allowed") << "nocom" << true << "NOCOM" << "";
        QTest::newRow("nocom not allowed") << "NOCOM" << false << "" << kNameWarning;
        QTest::newRow("native name") << "ttyUSB0" << false << "ttyUSB0" << "";
        QTest::newRow("native acm") << "ttyACM1" << false << "ttyACM1" << "";
        QTest::newRow("device path") << "/dev/serial/by-id/usb-x" << false << "/dev/serial/by-id/usb-x" << "";
        QTest::newRow("relative path") << "pts/3" << false << "" << kNameWarning;
    }
    void nameChecks()
    {
        QFETCH(QString, typed);
        QFETCH(bool, nocom);
        QFETCH(QString, candidate);
        QFETCH(QString, warning);
        QString chyba;
        QCOMPARE(Dlg::KandidatZNazvu(typed, nocom, &chyba), candidate);
        QCOMPARE(chyba, warning);
    }

    void okInTheDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");   // "" = accepted
        QTest::newRow("pty path") << "<pty>" << "";
        QTest::newRow("LPT1") << "LPT1" << kNameWarning;
        QTest::newRow("COM") << "COM" << kNumberWarning;
        QTest::newRow("absent com") << "com 03" << kTrialWarning + "\r\ncom3\r\n/dev/ttyS2: No such file or directory";
        QTest::newRow("absent native") << "ttyUSB99" << kTrialWarning + "\r\nttyUSB99\r\n/dev/ttyUSB99: No such file or directory";
        QTest::newRow("busy pty") << "<busy>" << kTrialWarning + "\r\n<pty>\r\n<pty>: Device or resource busy";
    }
    void okInTheDialog()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        PtyPair pty;
        claComm6_9 holder;
        if (typed == QLatin1String("<busy>")) {
            holder.setPortname(pty.path());
            QVERIFY(holder.OpenPort());
            typed = QStringLiteral("<pty>");
        }
        typed.replace(QLatin1String("<pty>"), pty.path());
        message.replace(QLatin1String("<pty>"), pty.path());

        DialogScript msgs;
        ModalScript<Dlg> script;
        bool stillOpen = false;
        bool focused = false;
        script.then([&](Dlg *d) {
            field(d)->setText(typed);
            d->findChild<QPushButton *>(QStringLiteral("cmdOk"))->click();
            stillOpen = d->isVisible();
            focused = field(d)->hasFocus();
            if (stillOpen) {
                // Leaving with the edit asks first; Yes closes.
                msgs.answers.push_back(UiDialogs::AnswerYes);
                d->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
            }
        });
        Dlg dlg;
        const QString result = dlg.Ukaz(QStringLiteral("COM1"), QStringLiteral("prompt"), false);
        if (message.isEmpty()) {
            QCOMPARE(result, typed);
            QVERIFY(!stillOpen);
            QVERIFY(msgs.messages.isEmpty());
        } else {
            QCOMPARE(result, QString());
            QVERIFY(stillOpen);
            QVERIFY(focused || !dlg.isActiveWindow());
            QCOMPARE(msgs.messages.size(), 2);
            QCOMPARE(msgs.messages[0].text, message);
            QCOMPARE(msgs.messages[0].icon, UiDialogs::Exclamation);
            QCOMPARE(msgs.messages[1].text, QStringLiteral("Zmeny boli. Zatvoriť okno bez uloženia?"));
        }
    }

    void loadAndCloseQuestion()
    {
        DialogScript msgs;
        ModalScript<Dlg> script;
        QString shownText, prompt, caption;
        int caret = -1;
        bool changedAtLoad = true;
        // Untouched: closes without a question.
        script.then([&](Dlg *d) {
            shownText = field(d)->text();
            caret = field(d)->cursorPosition();
            prompt = d->findChild<QLabel *>(QStringLiteral("lblPrompt"))->text();
            caption = d->windowTitle();
            changedAtLoad = d->ZmenyBoli();
            d->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
        });
        Dlg a;
        QCOMPARE(a.Ukaz(QStringLiteral("com5"), QStringLiteral("Vyberte port."), false), QString());
        QCOMPARE(shownText, QStringLiteral("com5"));
        QCOMPARE(caret, 4);
        QCOMPARE(prompt, QStringLiteral("Vyberte port."));
        QCOMPARE(caption, QStringLiteral("Určenie sériovej linky"));
        QVERIFY(!changedAtLoad);
        QVERIFY(msgs.messages.isEmpty());

        // Edited: No keeps it open, Cancel too, Yes closes; the close box asks as well.
        int visibleAfterNo = 0;
        script.then([&](Dlg *d) {
            field(d)->setText(QStringLiteral("com6"));
            msgs.answers = {UiDialogs::AnswerNo, UiDialogs::AnswerCancel, UiDialogs::AnswerNo, UiDialogs::AnswerYes};
            d->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
            visibleAfterNo += d->isVisible();
            d->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
            visibleAfterNo += d->isVisible();
            d->close();
            visibleAfterNo += d->isVisible();
            d->close();
        });
        Dlg b;
        QCOMPARE(b.Ukaz(QStringLiteral("com5"), QStringLiteral("p"), false), QString());
        QCOMPARE(visibleAfterNo, 3);
        QCOMPARE(msgs.messages.size(), 4);
        for (const auto &m : msgs.messages) {
            QCOMPARE(m.buttons, UiDialogs::YesNoCancel);
            QCOMPARE(m.icon, UiDialogs::Question);
            QCOMPARE(m.defaultButton, UiDialogs::AnswerNo);
        }
    }

    void listRefreshAndClick()
    {
        PtyPair pty;
        m_ports = QStringList{QStringLiteral("ttyS0 (/dev/ttyS0)"), QStringLiteral("ttyS1 (/dev/ttyS1)")};
        ModalScript<Dlg> script;
        DialogScript msgs;
        QStringList firstCurrent, firstNew, addedCurrent, addedNew, removedCurrent, removedNew;
        QString clicked, clickedNew;
        bool sameItemsKept = false;
        script.then([&](Dlg *d) {
            QListWidget *cur = list(d, "lstZoznamPortov");
            QListWidget *nov = list(d, "lstNoveKomunikacneLinky");
            QVERIFY(QTest::qWaitFor([&] { return cur->count() == 2; }, 1000));
            firstCurrent = items(cur);
            firstNew = items(nov);
            // Unchanged set: the list is not rebuilt (the selection stays).
            cur->setCurrentRow(1);
            QListWidgetItem *before = cur->item(1);
            QTest::qWait(1200);
            sameItemsKept = cur->item(1) == before && cur->currentRow() == 1;
            // A port appears: both lists within about a second.
            m_ports << QStringLiteral("pts (") + pty.path() + QStringLiteral(", simulator)");
            QVERIFY(QTest::qWaitFor([&] { return cur->count() == 3; }, 1500));
            addedCurrent = items(cur);
            addedNew = items(nov);
            QTest::mouseClick(nov->viewport(), Qt::LeftButton, {}, nov->visualItemRect(nov->item(0)).center());
            clickedNew = field(d)->text();
            QTest::mouseClick(cur->viewport(), Qt::LeftButton, {}, cur->visualItemRect(cur->item(0)).center());
            clicked = field(d)->text();
            // One goes away: the current list follows, the new lines empty.
            m_ports.removeAt(1);
            QVERIFY(QTest::qWaitFor([&] { return cur->count() == 2; }, 1500));
            removedCurrent = items(cur);
            removedNew = items(nov);
            msgs.answers.push_back(UiDialogs::AnswerYes);
            d->findChild<QPushButton *>(QStringLiteral("cmdCancel"))->click();
        });
        Dlg dlg;
        QTimer::singleShot(20000, &dlg, [&] { dlg.done(QDialog::Rejected); }); // never hang on a failed step
        dlg.Ukaz(QStringLiteral("COM1"), QStringLiteral("p"), false);
        QCOMPARE(firstCurrent, (QStringList{QStringLiteral("ttyS0 (/dev/ttyS0)"), QStringLiteral("ttyS1 (/dev/ttyS1)")}));
        QCOMPARE(firstNew, QStringList());
        QVERIFY(sameItemsKept);
        QCOMPARE(addedCurrent.size(), 3);
        QCOMPARE(addedNew, QStringList{QStringLiteral("pts (") + pty.path() + QStringLiteral(", simulator)")});
        QCOMPARE(clickedNew, QStringLiteral("pts"));
        QCOMPARE(clicked, QStringLiteral("ttyS0"));
        QCOMPARE(removedCurrent, (QStringList{QStringLiteral("ttyS0 (/dev/ttyS0)"),
                                              QStringLiteral("pts (") + pty.path() + QStringLiteral(", simulator)")}));
        QCOMPARE(removedNew, QStringList());
    }

    void itemNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::newRow("with description") << "ttyUSB0 (/dev/ttyUSB0, FT232R USB UART)" << "ttyUSB0";
        QTest::newRow("no blank") << "ttyS3" << "ttyS3";
        QTest::newRow("leading blank") << " x" << "";
    }
    void itemNames()
    {
        QFETCH(QString, text);
        QFETCH(QString, name);
        QCOMPARE(Dlg::NazovZPolozky(text), name);
    }

    void systemListHasTheDocumentedForm()
    {
        NastavitZdrojZoznamuLiniek({});
        const QStringList l = ZoznamSeriovychLiniek();
        for (const QString &item : l) {
            const int blank = item.indexOf(QLatin1Char(' '));
            QVERIFY2(blank > 0, qPrintable(item));
            QVERIFY2(item.mid(blank).startsWith(QLatin1String(" (/")), qPrintable(item));
            QVERIFY2(item.endsWith(QLatin1Char(')')), qPrintable(item));
        }
    }

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QStringList m_ports;
};

QTEST_MAIN(TestFrmUrcenieSeriovejLinky)
#include "test_frmUrcenieSeriovejLinky.moc"
