// Reads and lays out a 100-page RTF document (text and tables) for the
// printer's line width, then prints it to PDF. Goals: layout within 1 s,
// printing within 3 s.
#include "RichTextBox.h"
#include "modKomponent.h"
#include "modWysiwig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>

#include <cstdio>

static QByteArray hundredPages()
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial CE;}}"
                     "{\\colortbl;\\red0\\green0\\blue0;\\red192\\green192\\blue192;}\\f0\\fs20 ";
    for (int page = 0; page < 100; ++page) {
        rtf += "\\pard\\qc\\b\\fs28 Preberac\\'ed protokol " + QByteArray::number(page + 1) + "\\b0\\fs20\\par\\pard\\qj ";
        for (int p = 0; p < 4; ++p)
            rtf += "Spr\\'e1vca objektu odovzd\\'e1va identifik\\'e1tory pr\\'edstupov\\'e9ho syst\\'e9mu. "
                   "Vlastn\\'edk svoj\\'edm podpisom potvrdzuje, \\'9ee identifik\\'e1tor prevzal a stratu "
                   "bezodkladne ohl\\'e1si spr\\'e1vcovi.\\par ";
        for (int r = 0; r < 12; ++r) {
            QByteArray def = "\\trowd\\trgaph108\\trleft-108";
            for (int c = 1; c <= 5; ++c)
                def += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10"
                       + QByteArray(r == 0 ? "\\clcbpat2" : "") + "\\cellx" + QByteArray::number(c * 2000 - 108);
            rtf += def + "\\pard\\intbl ";
            for (int c = 0; c < 5; ++c)
                rtf += "bunka " + QByteArray::number(r) + "/" + QByteArray::number(c) + "\\cell ";
            rtf += def + "\\row ";
        }
        rtf += "\\pard\\par\\page ";
    }
    return rtf + "}";
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QByteArray rtf = hundredPages();

    QPrinter &printer = modKomponent::Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("bench.pdf")));
    printer.setPageSize(QPageSize(QPageSize::A4));

    RichTextBox box;
    QElapsedTimer t;
    t.start();
    box.SetTextRTF(rtf);
    const qint64 readMs = t.elapsed();
    modWysiwig::NastavitCielovuSirku(&box, 770, 770);
    const QSizeF size = box.document()->size(); // forces the full layout
    const qint64 layoutMs = t.elapsed();

    int pages = 0;
    modWysiwig::setJobHook([&](QPrinter &, int n) { pages = n; });
    t.restart();
    QString error;
    const bool ok = modWysiwig::VytlacitRichText(&box, 770, 770, 770, 770, &error);
    const qint64 printMs = t.elapsed();

    std::printf("RTF size:           %lld bytes\n", static_cast<long long>(rtf.size()));
    std::printf("read + layout:      %lld ms (read %lld ms; goal 1000 ms)  height %.0f units\n",
                static_cast<long long>(layoutMs), static_cast<long long>(readMs), size.height());
    std::printf("print to PDF:       %lld ms for %d pages (goal 3000 ms)%s\n", static_cast<long long>(printMs),
                pages, ok ? "" : " FAILED");
    if (!ok)
        std::printf("error: %s\n", qPrintable(error));
    return ok ? 0 : 1;
}
