#pragma once

#include <QByteArray>
#include <QColor>
#include <QMap>
#include <QString>
#include <QVector>

class QTextDocument;

struct RtfFontEntry {
    QString name;      // as written in the font table
    int charset = -1;  // \fcharset, -1 when absent
};

// What the reader learnt about the file besides its content: the tables and
// the byte offsets where appended RTF must go.
struct RtfDocInfo {
    bool isRtf = false;
    int ansiCodePage = 1252;
    int defaultFont = 0;
    QMap<int, RtfFontEntry> fonts;
    QVector<QColor> colors;            // invalid colour = "auto"
    qsizetype headerEnd = -1;          // just after the \rtfN word
    qsizetype fontTableEnd = -1;       // offset of the font table's closing brace
    qsizetype colorTableEnd = -1;      // offset of the colour table's closing brace
    bool colorTableOpenEntry = false;  // the last colour lacks its ';'
    qsizetype documentEnd = -1;        // offset of the document's closing brace
    int pictures = 0;
    int tables = 0;
    bool damaged = false;              // unbalanced braces or truncated data
};

// Reads RTF as word processors write it into a QTextDocument. Lengths go
// into the document in units of 1/unitsPerInch inch. Never throws; malformed
// input yields whatever could be read. Nothing in the file makes the reader
// touch another file or the network: linked pictures and field instructions
// are skipped, only field results are shown.
class RtfReader
{
public:
    static RtfDocInfo read(const QByteArray &rtf, QTextDocument *doc, qreal unitsPerInch);
    // Plain 8-bit text (not RTF) shown as such.
    static void readPlain(const QString &text, QTextDocument *doc);
};
