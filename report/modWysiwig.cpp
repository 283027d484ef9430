#include "modWysiwig.h"

#include "RichTextBox.h"
#include "modKomponent.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

#include <cmath>
#include <memory>

namespace modWysiwig {

namespace {
Cil g_ciel = Cil::Ziadny;
JobHook g_jobHook;
} // namespace

void setJobHook(JobHook hook)
{
    g_jobHook = std::move(hook);
}

bool TlaciarenPouzitelna(const QPrinter &printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    if (printer.printerName().isEmpty())
        return false;
    return !QPrinterInfo::printerInfo(printer.printerName()).isNull();
}

PageGeometry Geometria(const QPrinter &printer)
{
    // Millimetres: page sizes in points are rounded to whole points.
    const QPageLayout layout = printer.pageLayout();
    const QRectF full = layout.fullRect(QPageLayout::Millimeter);
    const QRectF paint = layout.paintRect(QPageLayout::Millimeter);
    const auto twips = [](qreal mm) { return qRound(mm * 1440.0 / 25.4); };
    PageGeometry g;
    g.pageWidth = twips(full.width());
    g.pageHeight = twips(full.height());
    g.offsetX = twips(paint.left() - full.left());
    g.offsetY = twips(paint.top() - full.top());
    g.printableWidth = twips(paint.width());
    g.printableHeight = twips(paint.height());
    return g;
}

void UvolnitCielovyKontext()
{
    // Qt keeps no device context of its own for the printer; only the
    // record of what the preview wraps for is released.
    g_ciel = Cil::Ziadny;
}

Cil AktualnyCiel()
{
    return g_ciel;
}

int NastavitCielovuSirku(RichTextBox *rtf, int lavyOkraj, int pravyOkraj)
{
    QPrinter &printer = modKomponent::Printer();
    int sirka = 0;
    if (TlaciarenPouzitelna(printer)) {
        const PageGeometry g = Geometria(printer);
        const int lavy = lavyOkraj - g.offsetX;
        const int pravy = (g.pageWidth - pravyOkraj) - g.offsetX;
        sirka = pravy - lavy;
    }
    if (sirka > 0) {
        UvolnitCielovyKontext();
        g_ciel = Cil::Tlaciaren;
    } else {
        sirka = modKomponent::Landscape ? FallbackLandscape : FallbackPortrait;
        g_ciel = Cil::Okno;
    }
    if (rtf)
        rtf->setTargetLineWidth(sirka);
    return sirka;
}

bool VytlacitRichText(RichTextBox *rtf, int lavyOkraj, int hornyOkraj, int pravyOkraj, int dolnyOkraj,
                      QString *chyba)
{
    QPrinter &printer = modKomponent::Printer();
    auto fail = [&](const QString &text) {
        if (chyba)
            *chyba = text;
        return false;
    };
    if (!rtf)
        return fail(QStringLiteral("Nie je čo tlačiť."));
    if (!TlaciarenPouzitelna(printer))
        return fail(QStringLiteral("Nie je k dispozícii žiadna tlačiareň."));

    const PageGeometry g = Geometria(printer);
    const int lavy = lavyOkraj - g.offsetX;
    const int horny = hornyOkraj - g.offsetY;
    const int pravy = (g.pageWidth - pravyOkraj) - g.offsetX;
    const int dolny = (g.pageHeight - dolnyOkraj) - g.offsetY;
    if (pravy <= lavy || dolny <= horny)
        return fail(QStringLiteral("Okraje strany sú väčšie ako papier tlačiarne."));

    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString name = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName()
                                                                            : printer.printerName();
        return fail(QStringLiteral("Tlačová úloha sa nedala začať (%1).").arg(name));
    }

    const qreal devPerTwip = printer.resolution() / 1440.0;
    const qreal upi = RichTextBox::unitsPerInch();
    const qreal unitsPerTwip = upi / 1440.0;

    QFont numberFont(QStringLiteral("Arial"));
    numberFont.setPointSizeF(PageNumberPoints);
    const QFontMetricsF numberMetrics(numberFont, &printer);
    const qreal numberHeightTw = numberMetrics.height() / devPerTwip;

    // The page number sits in the bottom of the text rectangle; the text
    // leaves that strip free so the two never print over each other.
    const qreal textHeightTw = (dolny - horny) - (modKomponent::PageNumEnabled ? numberHeightTw : 0);
    const qreal pageW = (pravy - lavy) * unitsPerTwip;
    const qreal pageH = std::max<qreal>(1.0, textHeightTw * unitsPerTwip);

    std::unique_ptr<QTextDocument> doc(rtf->document()->clone(rtf->document()));
    doc->setUseDesignMetrics(true);
    doc->setDocumentMargin(0);
    doc->setPageSize(QSizeF(pageW, pageH));
    const int pages = std::max(1, doc->pageCount());

    const qreal scale = printer.resolution() / upi;
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !printer.newPage())
            break;
        if (modKomponent::PageNumEnabled) {
            const QString text = QString::number(page + 1) + QLatin1Char(' ');
            const qreal w = numberMetrics.horizontalAdvance(text);
            const qreal h = numberMetrics.height();
            const QRectF box(pravy * devPerTwip - w, dolny * devPerTwip - h, w, h);
            painter.save();
            painter.setFont(numberFont);
            painter.setPen(Qt::black);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
            painter.restore();
        }
        painter.save();
        painter.translate(lavy * devPerTwip, horny * devPerTwip);
        painter.scale(scale, scale);
        painter.setClipRect(QRectF(0, 0, pageW, pageH));
        painter.translate(0, -page * pageH);
        QAbstractTextDocumentLayout::PaintContext ctx;
        // Lines that start exactly on the boundary belong to the next page.
        ctx.clip = QRectF(0, page * pageH + 0.25, pageW, pageH - 0.5);
        ctx.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, ctx);
        painter.restore();
    }
    const bool ok = painter.end();
    if (g_jobHook)
        g_jobHook(printer, pages);
    if (!ok)
        return fail(QStringLiteral("Tlačová úloha sa nedala dokončiť."));
    return true;
}

} // namespace modWysiwig
