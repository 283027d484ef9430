#include "RtfWriter.h"

#include "RptCodePage.h"

#include <algorithm>
#include <vector>

QByteArray RtfWriter::emptyDocument()
{
    return QByteArrayLiteral("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}"
                             "{\\colortbl ;}\\viewkind4\\uc1\\pard\\plain\\f0\\fs20 }\r\n");
}

QString RtfWriter::familyOf(const QString &fontName)
{
    QString n = fontName;
    if (n.endsWith(QLatin1String(" CE"), Qt::CaseInsensitive))
        n.chop(3);
    return n.trimmed();
}

QByteArray RtfWriter::escapeText(const QString &text)
{
    QByteArray out;
    out.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const char16_t u = c.unicode();
        if (u == '\r') {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            out += "\\par ";
        } else if (u == '\n' || u == QChar::ParagraphSeparator) {
            out += "\\par ";
        } else if (u == QChar::LineSeparator) {
            out += "\\line ";
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u < 0x20) {
            // other control characters have no place in the text
        } else if (u < 0x80) {
            out += static_cast<char>(u);
        } else {
            const int code = u > 32767 ? int(u) - 65536 : int(u);
            out += "\\u" + QByteArray::number(code);
            const int b = RptCodePage::fromUnicode(1250, c);
            if (b >= 0x80) {
                static const char hex[] = "0123456789abcdef";
                out += "\\'";
                out += hex[b >> 4];
                out += hex[b & 15];
            } else {
                out += '?';
            }
        }
    }
    return out;
}

QByteArray RtfWriter::merge(const QByteArray &original, const RtfDocInfo &info,
                            const QVector<RtfPiece> &pieces)
{
    if (pieces.isEmpty())
        return original;

    // Fonts: reuse an entry of the same Central European font, else add one.
    int nextFont = 1;
    // Font numbers of hostile files may be anywhere up to INT_MAX.
    for (auto it = info.fonts.constBegin(); it != info.fonts.constEnd(); ++it)
        if (it.key() >= 0 && it.key() < 1000000)
            nextFont = std::max(nextFont, it.key() + 1);
    struct NewFont { QString name; int index; };
    std::vector<NewFont> newFonts;
    auto fontIndex = [&](const QString &stored) {
        const QString family = familyOf(stored);
        for (auto it = info.fonts.constBegin(); it != info.fonts.constEnd(); ++it) {
            if (it->name.compare(stored, Qt::CaseInsensitive) == 0
                || (it->charset == 238 && it->name.compare(family, Qt::CaseInsensitive) == 0))
                return it.key();
        }
        for (const NewFont &f : newFonts)
            if (f.name.compare(family, Qt::CaseInsensitive) == 0)
                return f.index;
        while (info.fonts.contains(nextFont))
            ++nextFont;
        newFonts.push_back({family, nextFont});
        return nextFont++;
    };

    // Colours: indices continue after the document's table; a new table
    // starts with the "auto" entry.
    const bool hasColorTable = info.colorTableEnd >= 0;
    const int colorBase = hasColorTable ? static_cast<int>(info.colors.size()) : 1;
    std::vector<QColor> newColors;
    auto colorIndex = [&](const QColor &c) {
        const QColor rgb = c.isValid() ? c : QColor(Qt::black);
        for (int i = 0; i < info.colors.size(); ++i)
            if (info.colors[i].isValid() && info.colors[i].rgb() == rgb.rgb() && hasColorTable)
                return i;
        for (size_t i = 0; i < newColors.size(); ++i)
            if (newColors[i].rgb() == rgb.rgb())
                return colorBase + static_cast<int>(i);
        newColors.push_back(rgb);
        return colorBase + static_cast<int>(newColors.size()) - 1;
    };

    QByteArray body;
    for (const RtfPiece &p : pieces) {
        if (p.kind == RtfPiece::Text) {
            const int f = fontIndex(p.fontName);
            const int cf = colorIndex(p.color);
            body += "{\\plain\\f" + QByteArray::number(f);
            body += "\\fs" + QByteArray::number(std::max(1, qRound(p.fontSize * 2)));
            body += p.bold ? "\\b" : "\\b0";
            body += p.italic ? "\\i" : "\\i0";
            body += "\\cf" + QByteArray::number(cf);
            body += "\\uc1 ";
            body += escapeText(p.text);
            body += "}";
        } else {
            body += "{\\pict\\pngblip\\picw" + QByteArray::number(p.widthPx);
            body += "\\pich" + QByteArray::number(p.heightPx);
            body += "\\picwgoal" + QByteArray::number(p.widthTwips);
            body += "\\pichgoal" + QByteArray::number(p.heightTwips);
            const QByteArray hex = p.png.toHex();
            for (qsizetype i = 0; i < hex.size(); i += 128) {
                body += "\r\n";
                body += hex.mid(i, 128);
            }
            body += "}";
        }
    }

    struct Insertion { qsizetype at; QByteArray bytes; int order; };
    std::vector<Insertion> ins;
    const qsizetype headerAt = std::clamp<qsizetype>(info.headerEnd < 0 ? 0 : info.headerEnd, 0, original.size());
    if (!newFonts.empty()) {
        QByteArray fonts;
        for (const NewFont &f : newFonts)
            fonts += "{\\f" + QByteArray::number(f.index) + "\\fnil\\fcharset238 "
                     + escapeText(f.name) + ";}";
        if (info.fontTableEnd >= 0)
            ins.push_back({info.fontTableEnd, fonts, 0});
        else
            ins.push_back({headerAt, "{\\fonttbl" + fonts + "}", 0});
    }
    if (!newColors.empty()) {
        QByteArray colors;
        for (const QColor &c : newColors)
            colors += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green())
                      + "\\blue" + QByteArray::number(c.blue()) + ";";
        if (hasColorTable) {
            ins.push_back({info.colorTableEnd, (info.colorTableOpenEntry ? ";" : "") + colors, 1});
        } else {
            const qsizetype at = info.fontTableEnd >= 0 ? info.fontTableEnd + 1 : headerAt;
            ins.push_back({at, "{\\colortbl ;" + colors + "}", 1});
        }
    }
    const qsizetype end = std::clamp<qsizetype>(info.documentEnd < 0 ? original.size() : info.documentEnd,
                                                 headerAt, original.size());
    ins.push_back({end, body, 2});
    std::stable_sort(ins.begin(), ins.end(), [](const Insertion &a, const Insertion &b) {
        return a.at != b.at ? a.at < b.at : a.order < b.order;
    });

    QByteArray out;
    out.reserve(original.size() + body.size() + 256);
    qsizetype pos = 0;
    for (const Insertion &i : ins) {
        out.append(original.constData() + pos, i.at - pos);
        out.append(i.bytes);
        pos = i.at;
    }
    out.append(original.constData() + pos, original.size() - pos);
    return out;
}
