// LoadFile and SaveFile against a plain pugixml parse and serialisation of
// the same file (with fsync, as the save does), for three database sizes.
#include "app/modMain.h"
#include "model/claZariadenie.h"
#include "platform/UiDialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

struct FdWriter : pugi::xml_writer {
    int fd;
    explicit FdWriter(int f) : fd(f) {}
    void write(const void *data, size_t size) override
    {
        if (::write(fd, data, size) != ssize_t(size))
            std::perror("write");
    }
};

template <typename F>
double bestOf(int runs, F f)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    PripravitAplikaciu(dir.path());
    UiDialogs::setMessageHandler([](const UiDialogs::MessageRequest &r) {
        std::fprintf(stderr, "message: %s\n", qPrintable(r.text));
        return UiDialogs::AnswerOk;
    });

    std::printf("%-8s %12s %12s %7s %12s %12s %7s\n", "ids", "LoadFile ms", "pugixml ms", "ratio", "SaveFile ms",
                "pugixml ms", "ratio");
    for (int n : {1000, 10000, 100000}) {
        const QString file = dir.filePath(QStringLiteral("bench%1.qz.xml").arg(n));
        claZariadenie z;
        z.setFileName(file);
        z.setPmHeslo(QStringLiteral("heslo"));
        for (int i = 0; i < n; ++i)
            z.Identifikatory().Add(QStringLiteral("%1").arg(i, 16, 16, QLatin1Char('0')), i % 17 == 0, i % 3,
                                   QString::number(i % 90), QString::number(i % 12),
                                   i % 5 ? QString() : QStringLiteral("prvý riadok\r\ndruhý riadok"),
                                   QStringLiteral("Ľubomír"), QStringLiteral("Kováčová-Novák"));
        const int runs = n >= 100000 ? 3 : 7;

        const double save = bestOf(runs, [&] { z.SaveFile(); });
        const QByteArray path = QFile::encodeName(file);
        const QByteArray plainPath = path + ".plain";
        pugi::xml_document parsed;
        parsed.load_file(path.constData());
        const double plainSave = bestOf(runs, [&] {
            const int fd = ::open(plainPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            FdWriter w(fd);
            parsed.save(w, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
            ::fsync(fd);
            ::close(fd);
        });
        const double load = bestOf(runs, [&] {
            claZariadenie fresh;
            fresh.LoadFile(file);
        });
        const double plainLoad = bestOf(runs, [&] {
            pugi::xml_document d;
            d.load_file(path.constData());
        });
        std::printf("%-8d %12.2f %12.2f %7.2f %12.2f %12.2f %7.2f\n", n, load, plainLoad, load / plainLoad, save,
                    plainSave, save / plainSave);
    }
    return 0;
}
