// Layout for the printer and printing to PDF, read back with poppler-utils.
#include "RichTextBox.h"
#include "ReportDialogs.h"
#include "frmReport.h"
#include "modKomponent.h"
#include "modWysiwig.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

struct Word {
    QString text;
    double xMin, yMin, xMax, yMax;
    int page;
};

// Words with their boxes (points) from pdftotext -bbox.
QList<Word> pdfWords(const QString &pdf, int *pages)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return {};
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    QList<Word> out;
    int page = 0;
    static const QRegularExpression re(QStringLiteral(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        out.append({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                    m.captured(4).toDouble(), page});
    }
    if (pages)
        *pages = page;
    return out;
}

QByteArray paragraphs(int count)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial CE;}}\\f0\\fs24 ";
    for (int i = 0; i < count; ++i)
        rtf += "Riadok " + QByteArray::number(i + 1) + " textu protokolu s dostato\\'e8ne dlhou vetou.\\par ";
    return rtf + "}";
}

void usePdf(const QString &file)
{
    QPrinter &p = modKomponent::Printer();
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(file);
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

class tst_ReportPrinting : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void lineWidth_data();
    void lineWidth();
    void noPrinterFallback_data();
    void noPrinterFallback();
    void pagesAndNumbers_data();
    void pagesAndNumbers();
    void marginsRelativeToPrintableArea();
    void previewWidthFollowsPrinter();
    void narrowWindow();
    void copiesAreSeparateJobs();
    void printCancelledDoesNothing();

private:
    QTemporaryDir m_dir;
};

void tst_ReportPrinting::init()
{
    modKomponent::Landscape = false;
    modKomponent::PageNumEnabled = false;
    QPrinter &p = modKomponent::Printer();
    p.setPageOrientation(QPageLayout::Portrait);
    usePdf(m_dir.filePath(QStringLiteral("out.pdf")));
}

void tst_ReportPrinting::cleanup()
{
    modWysiwig::setJobHook({});
    ReportDialogs::setHandlers({});
    modKomponent::UnloadPreviewWindow();
}

void tst_ReportPrinting::lineWidth_data()
{
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("expected");
    // A4 is 11906 x 16838 twips; the line is the page less both margins.
    QTest::newRow("portrait") << false << 11906 - 1540;
    QTest::newRow("landscape") << true << 16838 - 1540;
}

void tst_ReportPrinting::lineWidth()
{
    QFETCH(bool, landscape);
    QFETCH(int, expected);
    modKomponent::Printer().setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    RichTextBox rtf;
    const int lw = modWysiwig::NastavitCielovuSirku(&rtf, 770, 770);
    QVERIFY(qAbs(lw - expected) <= 2);
    QCOMPARE(rtf.targetLineWidth(), lw);
    QCOMPARE(modWysiwig::AktualnyCiel(), modWysiwig::Cil::Tlaciaren);
    // The document wraps at exactly that width.
    const qreal units = lw * RichTextBox::unitsPerInch() / 1440.0;
    QCOMPARE(rtf.document()->textWidth() - 2 * rtf.document()->documentMargin(), units);
}

void tst_ReportPrinting::noPrinterFallback_data()
{
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("expected");
    QTest::newRow("portrait") << false << 10364;
    QTest::newRow("landscape") << true << 15296;
}

void tst_ReportPrinting::noPrinterFallback()
{
    QFETCH(bool, landscape);
    QFETCH(int, expected);
    // No system printer by that name and no PDF target: nothing usable.
    QPrinter &p = modKomponent::Printer();
    p.setOutputFileName(QString());
    p.setOutputFormat(QPrinter::NativeFormat);
    p.setPrinterName(QString());
    QVERIFY(!modWysiwig::TlaciarenPouzitelna(p));
    modKomponent::Landscape = landscape;
    RichTextBox rtf;
    QCOMPARE(modWysiwig::NastavitCielovuSirku(&rtf, 770, 770), expected);
    QCOMPARE(modWysiwig::AktualnyCiel(), modWysiwig::Cil::Okno);
    QString error;
    QVERIFY(!modWysiwig::VytlacitRichText(&rtf, 770, 770, 770, 770, &error));
    QVERIFY(!error.isEmpty());
    modWysiwig::UvolnitCielovyKontext();
    QCOMPARE(modWysiwig::AktualnyCiel(), modWysiwig::Cil::Ziadny);
}

void tst_ReportPrinting::pagesAndNumbers_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("pages");
    QTest::newRow("one page") << paragraphs(10) << 1;
    QTest::newRow("three pages") << paragraphs(105) << 3;
    QTest::newRow("forced breaks") << QByteArray("{\\rtf1 one\\page two\\page three\\par}") << 3;
}

void tst_ReportPrinting::pagesAndNumbers()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, pages);
    const QString pdf = m_dir.filePath(QStringLiteral("pages.pdf"));
    usePdf(pdf);
    modKomponent::PageNumEnabled = true;
    RichTextBox box;
    box.SetTextRTF(rtf);
    modWysiwig::NastavitCielovuSirku(&box, 770, 770);
    int jobPages = 0;
    modWysiwig::setJobHook([&](QPrinter &, int n) { jobPages = n; });
    QString error;
    QVERIFY2(modWysiwig::VytlacitRichText(&box, 770, 770, 770, 770, &error), qPrintable(error));
    QCOMPARE(jobPages, pages);

    int pdfPages = 0;
    const QList<Word> words = pdfWords(pdf, &pdfPages);
    QCOMPARE(pdfPages, pages);
    const double left = 770 / 20.0, right = (11906 - 770) / 20.0;
    const double top = 770 / 20.0, bottom = (16838 - 770) / 20.0;
    for (int page = 1; page <= pages; ++page) {
        // The number: the right-most, lowest word of the page, ending at the right margin.
        const Word *number = nullptr;
        for (const Word &w : words)
            if (w.page == page && (!number || w.yMax > number->yMax))
                number = &w;
        QVERIFY(number);
        QCOMPARE(number->text, QString::number(page));
        QVERIFY2(number->xMax <= right + 0.5 && number->xMax > right - 25, qPrintable(QString::number(number->xMax)));
        QVERIFY2(number->yMax <= bottom + 0.5 && number->yMax > bottom - 25, qPrintable(QString::number(number->yMax)));
        // Height of Arial 15 (or the face standing in for it).
        QVERIFY(number->yMax - number->yMin > 12 && number->yMax - number->yMin < 22);
        for (const Word &w : words) {
            if (w.page != page)
                continue;
            QVERIFY2(w.xMin >= left - 0.5 && w.xMax <= right + 0.5 && w.yMin >= top - 0.5 && w.yMax <= bottom + 0.5,
                     qPrintable(w.text));
            // Text never runs into the number's strip.
            if (&w != number)
                QVERIFY2(w.yMax <= number->yMin + 1 || w.xMax < number->xMin, qPrintable(w.text));
        }
    }
    // Every line of the text is printed once.
    if (pages == 3 && rtf.startsWith("{\\rtf1\\ansi")) {
        int lines = 0;
        for (const Word &w : words)
            lines += w.text == QLatin1String("Riadok");
        QCOMPARE(lines, 105);
    }
}

void tst_ReportPrinting::marginsRelativeToPrintableArea()
{
    // A printable area 0.25 inch from the paper edge: the text starts 410
    // twips into it, i.e. still 770 twips from the paper.
    const QString pdf = m_dir.filePath(QStringLiteral("offset.pdf"));
    usePdf(pdf);
    modKomponent::Printer().setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Point);
    const modWysiwig::PageGeometry g = modWysiwig::Geometria(modKomponent::Printer());
    QCOMPARE(g.offsetX, 360);
    QCOMPARE(770 - g.offsetX, 410);
    RichTextBox box;
    box.SetTextRTF("{\\rtf1 Zaciatok textu\\par}");
    QVERIFY(modWysiwig::VytlacitRichText(&box, 770, 770, 770, 770));
    const QList<Word> words = pdfWords(pdf, nullptr);
    QVERIFY(!words.isEmpty());
    QVERIFY2(qAbs(words[0].xMin - 770 / 20.0) < 1.5, qPrintable(QString::number(words[0].xMin)));
}

void tst_ReportPrinting::previewWidthFollowsPrinter()
{
    frmReport *w = modKomponent::PreviewWindow();
    w->resize(1200, 700);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const int portrait = w->rtfReport->width();
    QCOMPARE(portrait, w->twipsToPixels(11906 - 1540 + 770));
    QCOMPARE(w->rtfReport->x(), (w->width() - portrait) / 2);
    QCOMPARE(w->cmdCancel->x() + w->cmdCancel->width() + w->cmdCancel->y(), w->width());
    modKomponent::Printer().setPageOrientation(QPageLayout::Landscape);
    w->Form_Resize();
    QVERIFY(w->rtfReport->width() > portrait);
    QCOMPARE(w->rtfReport->width(), std::min(w->width(), w->twipsToPixels(16838 - 1540 + 770)));
    // Minimised: no layout; restored: laid out again.
    modKomponent::Printer().setPageOrientation(QPageLayout::Portrait);
    w->showMinimized();
    w->Form_Resize();
    w->showNormal();
    QTRY_COMPARE(w->rtfReport->width(), portrait);
}

void tst_ReportPrinting::narrowWindow()
{
    frmReport *w = modKomponent::PreviewWindow();
    w->resize(300, 400);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->Form_Resize();
    QCOMPARE(w->rtfReport->width(), w->width());
    QCOMPARE(w->rtfReport->x(), 0);
    // The text still wraps at the printer's line, not at the window.
    QCOMPARE(w->rtfReport->targetLineWidth(), 11906 - 1540);
}

void tst_ReportPrinting::copiesAreSeparateJobs()
{
    frmReport *w = modKomponent::PreviewWindow();
    w->rtfReport->SetTextRTF(paragraphs(3));
    modKomponent::Landscape = true;
    modKomponent::PageNumEnabled = true;
    int dialogs = 0;
    ReportDialogs::Handlers h;
    h.print = [&](QPrinter &p) {
        ++dialogs;
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(m_dir.filePath(QStringLiteral("copy.pdf")));
        p.setCopyCount(3);
        return true;
    };
    QStringList messages;
    h.message = [&](const QString &t, ReportDialogs::Icon) { messages << t; };
    ReportDialogs::setHandlers(h);
    QList<int> copyCounts;
    QList<QPageLayout::Orientation> orientations;
    QStringList numbers;
    modWysiwig::setJobHook([&](QPrinter &p, int) {
        copyCounts << p.copyCount();
        orientations << p.pageLayout().orientation();
        int pages = 0;
        const QList<Word> words = pdfWords(p.outputFileName(), &pages);
        numbers << (words.isEmpty() ? QString() : words.last().text);
    });
    w->show();
    w->cmdVytlacit->click();
    QCOMPARE(dialogs, 1);
    QVERIFY(messages.isEmpty());
    QCOMPARE(copyCounts, (QList<int>{1, 1, 1}));
    QCOMPARE(orientations, (QList<QPageLayout::Orientation>(3, QPageLayout::Landscape)));
    // Each job numbers its pages from 1 again.
    QCOMPARE(numbers, (QStringList{"1", "1", "1"}));
    QCOMPARE(w->rtfReport->targetLineWidth(), 16838 - 1540);
}

void tst_ReportPrinting::printCancelledDoesNothing()
{
    frmReport *w = modKomponent::PreviewWindow();
    ReportDialogs::Handlers h;
    h.print = [](QPrinter &) { return false; };
    QStringList messages;
    h.message = [&](const QString &t, ReportDialogs::Icon) { messages << t; };
    ReportDialogs::setHandlers(h);
    int jobs = 0;
    modWysiwig::setJobHook([&](QPrinter &, int) { ++jobs; });
    w->show();
    w->cmdVytlacit->click();
    QCOMPARE(jobs, 0);
    QVERIFY(messages.isEmpty());
}

QTEST_MAIN(tst_ReportPrinting)
#include "tst_ReportPrinting.moc"
