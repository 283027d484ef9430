#include "RtfReader.h"
#include "RtfWriter.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>
#include <QtTest>

namespace {

QByteArray fixture(const char *name)
{
    QFile f(qEnvironmentVariable("TEBO_TEST_DATA") + QStringLiteral("/report/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

// Text fragments of the root frame with their formats, tables left out.
struct Frag {
    QString text;
    QTextCharFormat fmt;
};
QList<Frag> fragments(const QTextDocument &doc)
{
    QList<Frag> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.append({it.fragment().text(), it.fragment().charFormat()});
    return out;
}

Frag fragmentWith(const QTextDocument &doc, const QString &text)
{
    for (const Frag &f : fragments(doc))
        if (f.text.contains(text))
            return f;
    return Frag{};
}

QTextTable *firstTable(QTextDocument &doc)
{
    for (QTextFrame *f : doc.rootFrame()->childFrames())
        if (auto *t = qobject_cast<QTextTable *>(f))
            return t;
    return nullptr;
}

QString cellText(QTextTable *t, int r, int c)
{
    QTextCursor a = t->cellAt(r, c).firstCursorPosition();
    a.setPosition(t->cellAt(r, c).lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return a.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

} // namespace

class tst_RtfReader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formatting_data();
    void formatting();
    void codePages();
    void unicodeSkipCounts();
    void paragraphs();
    void tableStructure();
    void pictures();
    void jpegPicture();
    void fieldsShowResultOnly();
    void destinationsSkipped();
    void realisticTemplate();
    void malformed_data();
    void malformed();
    void offsetsForAppending();
};

void tst_RtfReader::formatting_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strike");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<QString>("family");
    QTest::addColumn<QColor>("color");

    const QColor none;
    QTest::newRow("plain") << "plain" << false << false << false << false << 10.0 << "Arial" << none;
    QTest::newRow("bold") << "bold" << true << false << false << false << 10.0 << "Arial" << none;
    QTest::newRow("italic") << "italic" << false << true << false << false << 10.0 << "Arial" << none;
    QTest::newRow("underline") << "under" << false << false << true << false << 10.0 << "Arial" << none;
    QTest::newRow("strike") << "struck" << false << false << false << true << 10.0 << "Arial" << none;
    QTest::newRow("size and font") << "big mono" << false << false << false << false << 16.0 << "Courier New" << none;
    QTest::newRow("colour") << "red" << false << false << false << false << 10.0 << "Arial" << QColor(255, 0, 0);
    QTest::newRow("plain resets") << "reset" << false << false << false << false << 12.0 << "Arial" << none;
}

void tst_RtfReader::formatting()
{
    QFETCH(QString, text);
    QTextDocument doc;
    const RtfDocInfo info = RtfReader::read(fixture("formatting.rtf"), &doc, 96);
    QVERIFY(info.isRtf);
    QVERIFY(!info.damaged);
    const Frag f = fragmentWith(doc, text);
    QVERIFY2(f.text.contains(text), qPrintable(text));
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, strike);
    QFETCH(qreal, points);
    QFETCH(QString, family);
    QFETCH(QColor, color);
    QCOMPARE(f.fmt.fontWeight() >= QFont::Bold, bold);
    QCOMPARE(f.fmt.fontItalic(), italic);
    QCOMPARE(f.fmt.fontUnderline(), underline);
    QCOMPARE(f.fmt.fontStrikeOut(), strike);
    QCOMPARE(f.fmt.fontPointSize(), points);
    // " CE" names the character set, not the face.
    QCOMPARE(f.fmt.fontFamilies().toStringList().value(0), family);
    if (color.isValid())
        QCOMPARE(f.fmt.foreground().color(), color);
    else
        QVERIFY(!f.fmt.hasProperty(QTextFormat::ForegroundBrush));
}

void tst_RtfReader::codePages()
{
    QTextDocument doc;
    RtfReader::read(fixture("codepage-1250.rtf"), &doc, 96);
    const QString text = doc.toPlainText();
    QVERIFY2(text.contains(QStringLiteral("Šťastný ďateľ žltý kôň úpel ódy: ČŽŠ ĽĹŔ")), qPrintable(text));
    // Raw 8-bit bytes in the text are Windows-1250 as well.
    QVERIFY2(text.contains(QStringLiteral("Kováč")), qPrintable(text));
}

void tst_RtfReader::unicodeSkipCounts()
{
    QTextDocument doc;
    RtfReader::read(fixture("unicode.rtf"), &doc, 96);
    // \uc1 skips one fallback, \uc0 none, \uc2 two; a negative value wraps.
    QCOMPARE(doc.toPlainText(), QStringLiteral("ač bcždeš f") + QChar(0xF020) + QStringLiteral("g\n"));
}

void tst_RtfReader::paragraphs()
{
    QTextDocument doc;
    RtfReader::read(fixture("paragraphs.rtf"), &doc, 1440); // one unit per twip
    QStringList texts;
    QList<QTextBlockFormat> formats;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        texts << b.text();
        formats << b.blockFormat();
    }
    QCOMPARE(texts.mid(0, 4), (QStringList{"centre", "right", "justified indented", QStringLiteral("one\u2028two\tthree")}));
    QCOMPARE(formats[0].alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(formats[1].alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(formats[2].alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    QCOMPARE(formats[2].leftMargin(), 720.0);
    QCOMPARE(formats[2].rightMargin(), 360.0);
    QCOMPARE(formats[2].textIndent(), -360.0);
    QCOMPARE(formats[2].topMargin(), 120.0);
    QCOMPARE(formats[2].bottomMargin(), 240.0);
    // \page ends the paragraph and the next one starts a new page.
    const int before = texts.indexOf(QStringLiteral("before"));
    QVERIFY(before > 0);
    QCOMPARE(texts.value(before + 1), QStringLiteral("after"));
    QVERIFY(formats[before + 1].pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
    const int spaced = texts.indexOf(QStringLiteral("spaced"));
    QCOMPARE(formats[spaced].lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    QCOMPARE(formats[spaced].lineHeight(), 150.0);
}

void tst_RtfReader::tableStructure()
{
    QTextDocument doc;
    const RtfDocInfo info = RtfReader::read(fixture("table.rtf"), &doc, 1440);
    QCOMPARE(info.tables, 1);
    QTextTable *t = firstTable(doc);
    QVERIFY(t);
    QCOMPARE(t->rows(), 2);
    QCOMPARE(t->columns(), 4);
    const QVector<QTextLength> widths = t->format().columnWidthConstraints();
    QCOMPARE(widths.size(), 4);
    for (const QTextLength &w : widths)
        QCOMPARE(w.rawValue(), 2000.0);

    QCOMPARE(cellText(t, 0, 0), QStringLiteral("a1"));
    // \clmgf + \clmrg: one cell over two columns.
    QCOMPARE(t->cellAt(0, 1).columnSpan(), 2);
    QCOMPARE(cellText(t, 0, 1), QStringLiteral("b1"));
    // \clvmgf + \clvmrg: one cell over two rows.
    QCOMPARE(t->cellAt(0, 3).rowSpan(), 2);
    QCOMPARE(cellText(t, 0, 3), QStringLiteral("d1"));
    QCOMPARE(cellText(t, 1, 0), QStringLiteral("a2"));
    QCOMPARE(cellText(t, 1, 1), QStringLiteral("b2\nsecond"));
    QCOMPARE(cellText(t, 1, 2), QStringLiteral("c2"));

    const QTextTableCellFormat a1 = t->cellAt(0, 0).format().toTableCellFormat();
    QCOMPARE(a1.topBorder(), 20.0);
    QCOMPARE(a1.topBorderBrush().color(), QColor(255, 0, 0));
    QCOMPARE(a1.bottomBorder(), 10.0);
    QCOMPARE(a1.background().color(), QColor(192, 192, 192));
    QVERIFY(!a1.hasProperty(QTextFormat::TableCellLeftBorderStyle));

    QStringList outside;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (!QTextCursor(b).currentTable())
            outside << b.text();
    QVERIFY(outside.contains(QStringLiteral("before")));
    QVERIFY(outside.contains(QStringLiteral("after")));
    QVERIFY(!outside.contains(QStringLiteral("a1")));
}

void tst_RtfReader::pictures()
{
    QTextDocument doc;
    const RtfDocInfo info = RtfReader::read(fixture("pictures.rtf"), &doc, 1440);
    QCOMPARE(info.pictures, 3);
    QList<QTextImageFormat> images;
    QString letters;
    for (const Frag &f : fragments(doc)) {
        if (f.fmt.isImageFormat())
            images << f.fmt.toImageFormat();
        else
            letters += f.text;
    }
    QCOMPARE(letters, QStringLiteral("ABCD"));
    QCOMPARE(images.size(), 3);
    // PNG: decoded, goal size in twips.
    QCOMPARE(images[0].width(), 1440.0);
    QCOMPARE(images[0].height(), 720.0);
    const QImage png = doc.resource(QTextDocument::ImageResource, QUrl(images[0].name())).value<QImage>();
    QCOMPARE(png.size(), QSize(8, 4));
    QCOMPARE(QColor(png.pixel(0, 0)), QColor(255, 0, 0));
    QCOMPARE(QColor(png.pixel(7, 0)), QColor(0, 0, 255));
    // A metafile keeps its place as an empty frame of its size.
    QCOMPARE(images[1].width(), 1440.0);
    QCOMPARE(images[1].height(), 720.0);
    const QImage frame = doc.resource(QTextDocument::ImageResource, QUrl(images[1].name())).value<QImage>();
    QVERIFY(!frame.isNull());
    QCOMPARE(qAlpha(frame.pixel(frame.width() / 2, frame.height() / 2)), 0);
    // Without a goal size the picture's pixels count at screen resolution.
    QCOMPARE(images[2].width(), 8 * 15.0);
}

void tst_RtfReader::jpegPicture()
{
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(QColor(0, 128, 0));
    QByteArray jpeg;
    QBuffer buf(&jpeg);
    buf.open(QIODevice::WriteOnly);
    QVERIFY(img.save(&buf, "JPEG"));
    const QByteArray rtf = "{\\rtf1\\ansi{\\pict\\jpegblip\\picw20\\pich10 " + jpeg.toHex() + "}}";
    QTextDocument doc;
    RtfReader::read(rtf, &doc, 1440);
    const QList<Frag> fr = fragments(doc);
    QCOMPARE(fr.size(), 1);
    QVERIFY(fr[0].fmt.isImageFormat());
    const QImage back = doc.resource(QTextDocument::ImageResource, QUrl(fr[0].fmt.toImageFormat().name())).value<QImage>();
    QCOMPARE(back.size(), QSize(20, 10));
    QVERIFY(qAbs(qGreen(back.pixel(10, 5)) - 128) < 10);
}

void tst_RtfReader::fieldsShowResultOnly()
{
    QTextDocument doc;
    RtfReader::read(fixture("fields.rtf"), &doc, 96);
    const QString text = doc.toPlainText();
    QCOMPARE(text, QStringLiteral("Page 7 of link shown\n"));
    QVERIFY(!text.contains(QStringLiteral("passwd")));
    QVERIFY(!text.contains(QStringLiteral("HYPERLINK")));
}

void tst_RtfReader::destinationsSkipped()
{
    QTextDocument doc;
    RtfReader::read(fixture("destinations.rtf"), &doc, 96);
    // Unknown words are ignored and their text kept; unknown \* groups,
    // headers, footers and hidden text are not shown.
    QCOMPARE(doc.toPlainText(), QStringLiteral("visiblekept\n"));
}

void tst_RtfReader::realisticTemplate()
{
    QTextDocument doc;
    const RtfDocInfo info = RtfReader::read(fixture("protokol-dve-strany.rtf"), &doc, 96);
    QVERIFY(!info.damaged);
    QCOMPARE(info.ansiCodePage, 1250);
    QCOMPARE(info.fonts.value(1).name, QStringLiteral("Arial CE"));
    QCOMPARE(info.fonts.value(1).charset, 238);
    QCOMPARE(info.colors.size(), 5);
    QCOMPARE(info.pictures, 1); // the metafile alternative is not read twice
    QCOMPARE(info.tables, 1);

    const QString text = doc.toPlainText();
    QVERIFY(text.startsWith(QStringLiteral("PREBERACÍ PROTOKOL\nidentifikátorov prístupového systému\n")));
    QVERIFY(text.contains(QStringLiteral("Ďakujeme.")));
    QVERIFY(text.contains(QStringLiteral("Dátum odovzdania: 1.3.2024")));
    QVERIFY(!text.contains(QStringLiteral("Hlavička")));
    QVERIFY(!text.contains(QStringLiteral("DATE")));
    QVERIFY(!text.contains(QStringLiteral("INCLUDEPICTURE")));
    QVERIFY(text.contains(QStringLiteral("Správca: Ing. Ľubica Šťastná")));

    QTextTable *t = firstTable(doc);
    QVERIFY(t);
    QCOMPARE(t->rows(), 9);
    QCOMPARE(t->columns(), 5);
    QCOMPARE(cellText(t, 0, 1), QStringLiteral("Meno"));
    QCOMPARE(cellText(t, 2, 1), QStringLiteral("Šťastná Ľudmila"));
    QCOMPARE(cellText(t, 3, 2), QStringLiteral("2c00000fedcba987"));
    QCOMPARE(cellText(t, 8, 4), QStringLiteral("8"));
    QVERIFY(t->cellAt(0, 0).format().fontWeight() >= QFont::Bold || fragmentWith(doc, "Meno").fmt.fontWeight() >= QFont::Bold);
    QCOMPARE(t->cellAt(0, 0).format().background().color(), QColor(192, 192, 192));
    QVERIFY(t->cellAt(4, 2).format().toTableCellFormat().hasProperty(QTextFormat::TableCellTopBorderStyle));

    const Frag title = fragmentWith(doc, QStringLiteral("PREBERACÍ"));
    QVERIFY(title.fmt.fontWeight() >= QFont::Bold);
    QCOMPARE(title.fmt.fontPointSize(), 16.0);
    // The second page begins with the signatures.
    bool pageBreak = false;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (b.text() == QStringLiteral("Podpisy vlastníkov"))
            pageBreak = b.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
    QVERIFY(pageBreak);
}

void tst_RtfReader::malformed_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("mustShow");

    QTest::newRow("unbalanced open") << QByteArray("{\\rtf1 abc{\\b def") << "abcdef";
    QTest::newRow("unbalanced close") << QByteArray("{\\rtf1 abc}}}} trailing") << "abc";
    QTest::newRow("deep nesting") << QByteArray("{\\rtf1 x") + QByteArray(20000, '{') + "deep" + QByteArray(20000, '}') + "y}" << "xdeepy";
    QTest::newRow("bin beyond end") << QByteArray("{\\rtf1 ok\\bin999999999 abc") << "ok";
    QTest::newRow("huge number") << QByteArray("{\\rtf1 \\fs99999999999999999999 big\\li-9999999999 x}") << "bigx";
    QTest::newRow("truncated hex") << QByteArray("{\\rtf1 a\\'4") << "a";
    QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zzb}") << "azzb";
    QTest::newRow("truncated word") << QByteArray("{\\rtf1 a\\") << "a";
    QTest::newRow("unicode out of range") << QByteArray("{\\rtf1 a\\u99999999 b\\u-99999999 c}") << "a";
    QTest::newRow("cells without row") << QByteArray("{\\rtf1 \\trowd\\cellx1000\\intbl a\\cell b\\cell") << "a";
    QTest::newRow("row without cells") << QByteArray("{\\rtf1 \\row\\row\\cell x}") << "x";
    QTest::newRow("many cellx") << QByteArray("{\\rtf1 \\trowd") + QByteArray("\\cellx-5").repeated(5000) + "\\intbl q\\cell\\row}" << "q";
    QTest::newRow("picture unterminated") << QByteArray("{\\rtf1 a{\\pict\\pngblip 89504e47") << "a";
    QTest::newRow("huge picture size") << QByteArray("{\\rtf1 {\\pict\\wmetafile8\\picwgoal2147483647\\pichgoal2147483647 00}z}") << "z";
    QTest::newRow("not rtf at all") << QByteArray("hello") << "";
    QTest::newRow("font table garbage") << QByteArray("{\\rtf1{\\fonttbl{\\f0{{{;}}}}}\\f99999 x}") << "x";
}

void tst_RtfReader::malformed()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, mustShow);
    QTextDocument doc;
    QElapsedTimer timer;
    timer.start();
    RtfReader::read(rtf, &doc, 96);
    const QString text = doc.toPlainText().remove(QLatin1Char('\n')).remove(QChar(0xFFFC));
    QVERIFY2(text.startsWith(mustShow), qPrintable(text.left(80)));
}

void tst_RtfReader::offsetsForAppending()
{
    const QByteArray rtf = fixture("protokol-dve-strany.rtf");
    QTextDocument doc;
    const RtfDocInfo info = RtfReader::read(rtf, &doc, 96);
    QCOMPARE(rtf.at(info.documentEnd), '}');
    QCOMPARE(info.documentEnd, rtf.size() - 1);
    QCOMPARE(rtf.at(info.fontTableEnd), '}');
    QVERIFY(rtf.mid(info.fontTableEnd - 20, 20).contains("Courier New CE;}"));
    QCOMPARE(rtf.at(info.colorTableEnd), '}');
    QVERIFY(rtf.mid(info.colorTableEnd - 24, 24).endsWith("\\blue192;"));
    QVERIFY(!info.colorTableOpenEntry);
}

QTEST_MAIN(tst_RtfReader)
#include "tst_RtfReader.moc"
