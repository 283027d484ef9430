// Rebuild of the main window's identifier list for one redraw request:
// clear, add every identifier, sort by the summary column with the Slovak
// collation, select the requested identifier. Goal: 10,000 within 100 ms.
#include "app/modMain.h"
#include "model/claZariadenie.h"
#include "ui/frmMain.h"
#include "ui/timPrekresliIdentifikatory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const char *const kPriezviska[] = {"Novák", "Kováčová", "Horváth", "Varga", "Tóthová", "Nagy", "Baláž", "Szabóová",
                                   "Molnár", "Čierny", "Cerny", "Dobrý", "Ďurica", "Šimková", "Žitňan", "Ševčík",
                                   "Lukáčová", "Krajčí", "Mikulová", "Oravcová", "Polák", "Urbanová", "Hudák"};
const char *const kMena[] = {"Ján", "Mária", "Peter", "Jozef", "Eva", "Martin", "Michal", "Zuzana", "Tomáš",
                             "Ľubomír", "Štefan", "Katarína", "Anna", "Juraj", "Lucia", "Róbert"};

void naplnit(claZariadenie &z, int pocet)
{
    QRandomGenerator g(12345);
    for (int i = 0; i < pocet; ++i) {
        const QString kod = QStringLiteral("%1").arg(g.generate64(), 16, 16, QLatin1Char('0'));
        z.Identifikatory().Add(kod, g.bounded(20) == 0, qint32(g.bounded(4)), QString::number(g.bounded(200)),
                               QString::number(g.bounded(12)), g.bounded(5) == 0 ? QStringLiteral("Náhradný kľúč\r\nvrátiť") : QString(),
                               QString::fromUtf8(kMena[g.bounded(int(std::size(kMena)))]),
                               QString::fromUtf8(kPriezviska[g.bounded(int(std::size(kPriezviska)))]));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    QTemporaryDir dir;
    PripravitAplikaciu(dir.path());

    std::printf("List rebuild for one redraw request (median of 5 runs, Slovak collation)\n");
    std::printf("%12s %14s %14s\n", "identifiers", "rebuild [ms]", "+ paint [ms]");
    for (const int pocet : {1000, 10000, 100000}) {
        Zariadenie = std::make_shared<claZariadenie>();
        naplnit(*Zariadenie, pocet);
        frmMain w;
        w.resize(1000, 660);
        w.show();
        QApplication::processEvents();
        const QString vybrany = Zariadenie->Identifikatory().Item(pocet / 2)->KodIdentifikatoraLCase();
        std::vector<double> prestavba, sKreslenim;
        for (int beh = 0; beh < 5; ++beh) {
            w.timPrekreslenie()->setTag(vybrany);
            QElapsedTimer t;
            t.start();
            // What the timer's timeout runs, called at once instead of 100 ms later.
            QMetaObject::invokeMethod(&w, "timPrekresliIdentifikatory_Timer", Qt::DirectConnection);
            prestavba.push_back(t.nsecsElapsed() / 1e6);
            w.findChild<QTreeView *>(QStringLiteral("lstZoznamIdentifikatorov"))->viewport()->repaint();
            sKreslenim.push_back(t.nsecsElapsed() / 1e6);
        }
        std::sort(prestavba.begin(), prestavba.end());
        std::sort(sKreslenim.begin(), sKreslenim.end());
        std::printf("%12d %14.1f %14.1f\n", pocet, prestavba[2], sKreslenim[2]);
        Zariadenie->setZmenyBoli(false);
    }
    Zariadenie = std::make_shared<claZariadenie>();
    return 0;
}
