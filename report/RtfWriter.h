#pragma once

#include "RtfReader.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QVector>

// One piece appended to a document after it was set: a run of text with its
// formatting, or a picture.
struct RtfPiece {
    enum Kind { Text, Picture };
    Kind kind = Text;
    QString text;
    QString fontName;     // as stored by the caller, " CE" included
    qreal fontSize = 10;  // points
    bool bold = false;
    bool italic = false;
    QColor color = Qt::black;
    QByteArray png;       // picture as PNG
    int widthPx = 0, heightPx = 0;
    int widthTwips = 0, heightTwips = 0;
};

// Writes appended pieces into an existing RTF document: the original bytes
// stay as they are, new fonts and colours join the document's tables, and the
// pieces go in before the document's closing brace.
class RtfWriter
{
public:
    static QByteArray emptyDocument();
    static QByteArray merge(const QByteArray &original, const RtfDocInfo &info,
                            const QVector<RtfPiece> &pieces);
    // Text as RTF: escapes, paragraphs, tabs, Unicode with a 1250 fallback byte.
    static QByteArray escapeText(const QString &text);
    static QString familyOf(const QString &fontName); // "Arial CE" -> "Arial"
};
