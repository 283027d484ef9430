// Saves a database over and over, alternating between two contents, until it
// is killed: the crash-safety test kills it at random moments.
#include "app/modMain.h"
#include "model/claZariadenie.h"
#include "platform/UiDialogs.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    PripravitAplikaciu(QString::fromLocal8Bit(argv[1]));
    const QString file = QString::fromLocal8Bit(argv[2]);
    const int count = QString::fromLatin1(argv[3]).toInt();
    // A save failure would ask for another name: end instead.
    UiDialogs::setMessageHandler([](const UiDialogs::MessageRequest &r) {
        std::fprintf(stderr, "%s\n", r.text.toLocal8Bit().constData());
        std::_Exit(1);
        return UiDialogs::AnswerOk;
    });
    std::printf("ready\n");
    std::fflush(stdout);
    for (unsigned round = 0;; ++round) {
        const QString owner = (round % 2) ? QStringLiteral("A") : QStringLiteral("B");
        claZariadenie z;
        z.setFileName(file);
        z.setPmHeslo(owner);
        for (int i = 0; i < count; ++i)
            z.Identifikatory().Add(QStringLiteral("%1").arg(i, 16, 16, QLatin1Char('0')), false, i, {}, {}, {}, {},
                                   owner);
        if (!z.SaveFile())
            return 1;
    }
}
