#include "RichTextBox.h"

#include "RptCodePage.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSaveFile>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <cmath>

RichTextBox::RichTextBox(QWidget *parent)
    : QTextEdit(parent)
{
    setObjectName(QStringLiteral("rtfReport"));
    setAcceptRichText(false);
    document()->setUseDesignMetrics(true);
    setUndoRedoEnabled(false);
    SetTextRTF(RtfWriter::emptyDocument());
}

qreal RichTextBox::unitsPerInch()
{
    if (const QScreen *s = QGuiApplication::primaryScreen())
        return qRound(s->logicalDotsPerInchY());
    return 96;
}

QByteArray RichTextBox::TextRTF() const
{
    return RtfWriter::merge(m_rtf, m_info, m_pieces);
}

void RichTextBox::SetTextRTF(const QByteArray &rtf)
{
    m_pieces.clear();
    QTextDocument *doc = document();
    const int lineWidth = m_lineWidthTwips;
    if (rtf.trimmed().startsWith("{\\rtf")) {
        m_rtf = rtf;
        m_info = RtfReader::read(m_rtf, doc, unitsPerInch());
    } else {
        // Not RTF: shown as plain text, saved as RTF holding that text.
        m_rtf = RtfWriter::emptyDocument();
        m_info = RtfReader::read(m_rtf, doc, unitsPerInch());
        if (!rtf.isEmpty()) {
            QString text;
            text.reserve(rtf.size());
            for (char b : rtf)
                text.append(RptCodePage::toUnicode(1250, static_cast<unsigned char>(b)));
            appendText(text, selFontName(), selFontSize(), selBold(), selItalic(), selColor());
        }
    }
    doc->setUseDesignMetrics(true);
    if (lineWidth > 0)
        setTargetLineWidth(lineWidth);
    moveCursor(QTextCursor::Start);
}

QString RichTextBox::Text() const
{
    QString t = document()->toPlainText();
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return t;
}

static QTextCharFormat caretFormat(const QTextEdit *edit)
{
    QTextCursor c = edit->textCursor();
    return c.charFormat();
}

bool RichTextBox::selBold() const
{
    return caretFormat(this).fontWeight() >= QFont::Bold;
}

bool RichTextBox::selItalic() const
{
    return caretFormat(this).fontItalic();
}

QString RichTextBox::selFontName() const
{
    const QTextCharFormat f = caretFormat(this);
    const QStringList fam = f.fontFamilies().toStringList();
    if (!fam.isEmpty() && !fam.front().isEmpty())
        return fam.front();
    return document()->defaultFont().family();
}

qreal RichTextBox::selFontSize() const
{
    const qreal s = caretFormat(this).fontPointSize();
    return s > 0 ? s : document()->defaultFont().pointSizeF();
}

QColor RichTextBox::selColor() const
{
    const QTextCharFormat f = caretFormat(this);
    return f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color() : QColor(Qt::black);
}

void RichTextBox::appendText(const QString &txt, const QString &fontName, qreal size, bool bold,
                             bool italic, const QColor &color)
{
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    QTextCharFormat f;
    f.setFontFamilies({RtfWriter::familyOf(fontName)});
    if (size > 0)
        f.setFontPointSize(size);
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(italic);
    f.setForeground(color.isValid() ? color : QColor(Qt::black));
    QString t = txt;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    c.insertText(t, f);
    setTextCursor(c);

    RtfPiece p;
    p.kind = RtfPiece::Text;
    p.text = txt;
    p.fontName = fontName;
    p.fontSize = size > 0 ? size : 10;
    p.bold = bold;
    p.italic = italic;
    p.color = f.foreground().color();
    m_pieces.append(p);
}

void RichTextBox::appendPicture(const QImage &image)
{
    const int twW = image.width() * 15;
    const int twH = image.height() * 15;
    const qreal k = unitsPerInch() / 1440.0;
    const QString name = QStringLiteral("rtfadded:%1").arg(++m_pictureSerial);
    document()->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(twW * k);
    f.setHeight(twH * k);
    QTextCursor c(document());
    c.movePosition(QTextCursor::End);
    c.insertImage(f);
    setTextCursor(c);

    RtfPiece p;
    p.kind = RtfPiece::Picture;
    QBuffer buf(&p.png);
    buf.open(QIODevice::WriteOnly);
    image.save(&buf, "PNG");
    p.widthPx = image.width();
    p.heightPx = image.height();
    p.widthTwips = twW;
    p.heightTwips = twH;
    m_pieces.append(p);
}

bool RichTextBox::pasteFromClipboard()
{
    const QClipboard *cb = QGuiApplication::clipboard();
    const QMimeData *md = cb ? cb->mimeData() : nullptr;
    if (!md)
        return false;
    if (md->hasImage()) {
        const QImage img = qvariant_cast<QImage>(md->imageData());
        if (!img.isNull()) {
            appendPicture(img);
            return true;
        }
    }
    if (md->hasText() && !md->text().isEmpty()) {
        appendText(md->text(), selFontName(), selFontSize(), selBold(), selItalic(), selColor());
        return true;
    }
    return false;
}

void RichTextBox::setTargetLineWidth(int twips)
{
    m_lineWidthTwips = twips;
    const qreal units = twips * unitsPerInch() / 1440.0;
    // The wrap width is whole pixels; the margin takes the remainder so the
    // lines are exactly as wide as on paper.
    const int wrap = static_cast<int>(std::ceil(units)) + 16;
    document()->setDocumentMargin((wrap - units) / 2.0);
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(wrap);
}

bool RichTextBox::saveFile(const QString &path, QString *error) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    const QByteArray bytes = TextRTF();
    if (f.write(bytes) != bytes.size() || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}
