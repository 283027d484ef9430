#include "RtfReader.h"

#include "RptCodePage.h"

#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <vector>

namespace {

// Bounds that keep hostile files from costing unbounded time or memory.
constexpr int kMaxStateDepth = 256;          // deeper groups share the deepest state
constexpr qsizetype kMaxPictureBytes = 64 * 1024 * 1024;
constexpr int kMaxCellsPerRow = 64;
constexpr int kMaxGridColumns = 128;
constexpr int kMaxTabs = 64;
constexpr int kMaxTwips = 31680;             // 22 inches: pictures and frames larger than any page
constexpr int kFramePixelLimit = 2000;

enum class Dest { Normal, Skip, FontTable, ColorTable, Picture };

enum class Kw {
    None, Rtf, Ansi, AnsiCpg, Deff, Deftab, Uc, U, Bin,
    FontTbl, ColorTbl, Pict, Transparent, SkipDest,
    F, Fcharset, Red, Green, Blue,
    Plain, B, I, Ul, UlNone, Strike, Fs, Cf, Cb, Highlight, Super, Sub, NoSuperSub, V, Caps, Scaps,
    Par, Line, Tab, Page, Sect, Pard, Ql, Qr, Qc, Qj, Li, Ri, Fi, Sb, Sa, Sl, SlMult, PageBB,
    Tx, Tqr, Tqc, Tqdec,
    Trowd, Trgaph, Trleft, Trqc, Trqr, Cellx, Intbl, Cell, Row, NestCell, NestRow, Itap,
    Clmgf, Clmrg, Clvmgf, Clvmrg, Clcbpat, Clvertalt, Clvertalc, Clvertalb,
    Clbrdrt, Clbrdrl, Clbrdrb, Clbrdrr, Trbrdrt, Trbrdrl, Trbrdrb, Trbrdrr, Trbrdrh, Trbrdrv,
    BrdrNone, BrdrStyle, Brdrw, Brdrcf,
    PngBlip, JpegBlip, OtherBlip, Picw, Pich, Picwgoal, Pichgoal, Picscalex, Picscaley,
    Emdash, Endash, Bullet, Lquote, Rquote, Ldblquote, Rdblquote, Emspace, Enspace, Qmspace,
    Zwj, Zwnj, Ltrmark, Rtlmark,
};

const std::unordered_map<std::string, Kw> &keywords()
{
    static const std::unordered_map<std::string, Kw> map = [] {
        std::unordered_map<std::string, Kw> m = {
            {"rtf", Kw::Rtf}, {"ansi", Kw::Ansi}, {"ansicpg", Kw::AnsiCpg}, {"deff", Kw::Deff},
            {"deftab", Kw::Deftab}, {"uc", Kw::Uc}, {"u", Kw::U}, {"bin", Kw::Bin},
            {"fonttbl", Kw::FontTbl}, {"colortbl", Kw::ColorTbl}, {"pict", Kw::Pict},
            {"f", Kw::F}, {"fcharset", Kw::Fcharset}, {"red", Kw::Red}, {"green", Kw::Green},
            {"blue", Kw::Blue}, {"plain", Kw::Plain}, {"b", Kw::B}, {"i", Kw::I}, {"ul", Kw::Ul},
            {"uld", Kw::Ul}, {"uldb", Kw::Ul}, {"ulw", Kw::Ul}, {"ulth", Kw::Ul}, {"uldash", Kw::Ul},
            {"ulnone", Kw::UlNone}, {"strike", Kw::Strike}, {"striked", Kw::Strike}, {"fs", Kw::Fs},
            {"cf", Kw::Cf}, {"cb", Kw::Cb}, {"chcbpat", Kw::Cb}, {"highlight", Kw::Highlight},
            {"super", Kw::Super}, {"up", Kw::Super}, {"sub", Kw::Sub}, {"dn", Kw::Sub},
            {"nosupersub", Kw::NoSuperSub}, {"v", Kw::V}, {"caps", Kw::Caps}, {"scaps", Kw::Scaps},
            {"par", Kw::Par}, {"line", Kw::Line}, {"tab", Kw::Tab}, {"page", Kw::Page},
            {"sect", Kw::Sect}, {"pard", Kw::Pard}, {"ql", Kw::Ql}, {"qr", Kw::Qr}, {"qc", Kw::Qc},
            {"qj", Kw::Qj}, {"li", Kw::Li}, {"ri", Kw::Ri}, {"fi", Kw::Fi}, {"sb", Kw::Sb},
            {"sa", Kw::Sa}, {"sl", Kw::Sl}, {"slmult", Kw::SlMult}, {"pagebb", Kw::PageBB},
            {"tx", Kw::Tx}, {"tqr", Kw::Tqr}, {"tqc", Kw::Tqc}, {"tqdec", Kw::Tqdec},
            {"trowd", Kw::Trowd}, {"trgaph", Kw::Trgaph}, {"trleft", Kw::Trleft}, {"trqc", Kw::Trqc},
            {"trqr", Kw::Trqr}, {"cellx", Kw::Cellx}, {"intbl", Kw::Intbl}, {"cell", Kw::Cell},
            {"row", Kw::Row}, {"nestcell", Kw::NestCell}, {"nestrow", Kw::NestRow}, {"itap", Kw::Itap},
            {"clmgf", Kw::Clmgf}, {"clmrg", Kw::Clmrg}, {"clvmgf", Kw::Clvmgf}, {"clvmrg", Kw::Clvmrg},
            {"clcbpat", Kw::Clcbpat}, {"clvertalt", Kw::Clvertalt}, {"clvertalc", Kw::Clvertalc},
            {"clvertalb", Kw::Clvertalb}, {"clbrdrt", Kw::Clbrdrt}, {"clbrdrl", Kw::Clbrdrl},
            {"clbrdrb", Kw::Clbrdrb}, {"clbrdrr", Kw::Clbrdrr}, {"trbrdrt", Kw::Trbrdrt},
            {"trbrdrl", Kw::Trbrdrl}, {"trbrdrb", Kw::Trbrdrb}, {"trbrdrr", Kw::Trbrdrr},
            {"trbrdrh", Kw::Trbrdrh}, {"trbrdrv", Kw::Trbrdrv}, {"brdrnone", Kw::BrdrNone},
            {"brdrw", Kw::Brdrw}, {"brdrcf", Kw::Brdrcf},
            {"pngblip", Kw::PngBlip}, {"jpegblip", Kw::JpegBlip}, {"emfblip", Kw::OtherBlip},
            {"wmetafile", Kw::OtherBlip}, {"macpict", Kw::OtherBlip}, {"dibitmap", Kw::OtherBlip},
            {"wbitmap", Kw::OtherBlip}, {"pmmetafile", Kw::OtherBlip},
            {"picw", Kw::Picw}, {"pich", Kw::Pich}, {"picwgoal", Kw::Picwgoal},
            {"pichgoal", Kw::Pichgoal}, {"picscalex", Kw::Picscalex}, {"picscaley", Kw::Picscaley},
            {"emdash", Kw::Emdash}, {"endash", Kw::Endash}, {"bullet", Kw::Bullet},
            {"lquote", Kw::Lquote}, {"rquote", Kw::Rquote}, {"ldblquote", Kw::Ldblquote},
            {"rdblquote", Kw::Rdblquote}, {"emspace", Kw::Emspace}, {"enspace", Kw::Enspace},
            {"qmspace", Kw::Qmspace}, {"zwj", Kw::Zwj}, {"zwnj", Kw::Zwnj},
            {"ltrmark", Kw::Ltrmark}, {"rtlmark", Kw::Rtlmark},
        };
        for (const char *s : {"brdrs", "brdrth", "brdrsh", "brdrdb", "brdrdot", "brdrdash",
                              "brdrhair", "brdrtriple", "brdrthtnsg", "brdrtnthsg", "brdrinset",
                              "brdroutset", "brdrengrave", "brdremboss"})
            m[s] = Kw::BrdrStyle;
        // Groups whose content is shown as ordinary text.
        for (const char *s : {"shppict", "shprslt", "fldrslt", "result", "listtext", "pntext",
                              "field", "shp", "object", "upr"})
            m[s] = Kw::Transparent;
        // Groups that never reach the page here: metadata, headers and
        // footers, instructions, alternative and linked representations.
        for (const char *s : {"stylesheet", "info", "header", "headerl", "headerr", "headerf",
                              "footer", "footerl", "footerr", "footerf", "footnote", "annotation",
                              "fldinst", "nonshppict", "objdata", "objclass", "objname", "objalias",
                              "objsect", "objitem", "objtopic", "shpinst", "sp", "sn", "sv",
                              "listtable", "listoverridetable", "rsidtbl", "generator", "themedata",
                              "colorschememapping", "latentstyles", "datastore", "bkmkstart",
                              "bkmkend", "pn", "pnseclvl", "revtbl", "filetbl", "private",
                              "panose", "falt", "fontemb", "fontfile", "xmlnstbl", "template",
                              "txe", "xe", "tc", "userprops", "docvar", "ftnsep", "ftnsepc",
                              "aftnsep", "aftnsepc", "atnid", "atnauthor", "atrfstart", "atrfend",
                              "pgdsctbl", "mmathPr", "wgrffmtfilter", "keycode", "picprop",
                              "blipuid", "pgptbl", "do", "nesttableprops", "tcn", "leveltext",
                              "levelnumbers", "passwordhash", "protusertbl", "formfield", "ud",
                              "datafield", "linkval", "hl", "hlloc", "hlsrc", "hlfr"})
            m[s] = Kw::SkipDest;
        return m;
    }();
    return map;
}

struct CharState {
    bool bold = false, italic = false, underline = false, strike = false, hidden = false;
    bool caps = false, smallCaps = false;
    int fontSize = 24; // half-points
    int font = -1;     // -1: the document's default font
    int fg = 0;        // colour table index, 0 = auto
    int bg = -1;
    int vertical = 0;  // 1 super, -1 sub
};

struct TabStop {
    int pos = 0;
    QTextOption::TabType type = QTextOption::LeftTab;
};

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int li = 0, ri = 0, fi = 0, sb = 0, sa = 0, sl = 0;
    bool slMult = false, pageBreakBefore = false, inTable = false;
    int nestLevel = 1;
    std::vector<TabStop> tabs;
    QTextOption::TabType pendingTab = QTextOption::LeftTab;
};

struct State {
    Dest dest = Dest::Normal;
    CharState ch;
    ParaState para;
    int uc = 1;
    bool starred = false;   // the group began with \*
    bool fresh = true;      // no word seen yet in this group
};

struct Border {
    bool set = false;
    bool visible = false;
    int width = 15; // twips
    int color = 0;
};

struct CellDef {
    int right = 0;
    bool hMergeFirst = false, hMerge = false, vMergeFirst = false, vMerge = false;
    int shading = -1;
    int valign = 0;
    Border borders[4]; // top, left, bottom, right
};

struct RowDef {
    int left = 0, gap = 108;
    Qt::Alignment align = Qt::AlignLeft;
    std::vector<CellDef> cells;
    Border borders[6]; // top, left, bottom, right, inner horizontal, inner vertical
};

struct Run {
    QString text;
    QTextCharFormat fmt;
    int image = -1;
};

struct Para {
    QTextBlockFormat fmt;
    QTextCharFormat mark; // the paragraph mark's format, for empty lines
    std::vector<Run> runs;
};

struct CellContent {
    std::vector<Para> paras;
};

struct RowContent {
    RowDef def;
    std::vector<CellContent> cells;
};

struct PictureImage {
    QImage image;
    qreal width = 0, height = 0; // document units
};

class Parser
{
public:
    Parser(const QByteArray &data, QTextDocument *doc, qreal unitsPerInch)
        : m_data(data), m_doc(doc), m_k(unitsPerInch / 1440.0), m_cursor(doc)
    {
    }

    RtfDocInfo run();

private:
    // Input
    int peek() const { return m_pos < m_data.size() ? static_cast<unsigned char>(m_data[m_pos]) : -1; }
    void parseControl();
    void handleWord(const std::string &word, bool hasParam, int param);
    void handleSymbol(char c);
    void openGroup();
    void closeGroup();
    void skipBinary(qint64 n);

    // Content
    State &st() { return m_stack.back(); }
    void addChar(QChar c);
    void addUnicode(int code);
    void addByte(unsigned char b);
    void flushRun();
    QTextCharFormat charFormat(const CharState &c) const;
    QTextBlockFormat blockFormat(const ParaState &p) const;
    void endParagraph();
    void endCell();
    void endRow();
    void flushTable();
    void emitPara(const Para &p);
    void writeParaAt(QTextCursor &cursor, const Para &p, bool first);
    void finishPicture(const State &s);
    void finishFontEntry();
    int codePageFor(const CharState &c) const;
    QString familyFor(int font) const;
    QColor colorAt(int idx) const;
    Border *borderTarget();

    const QByteArray &m_data;
    QTextDocument *m_doc;
    const qreal m_k;
    QTextCursor m_cursor;
    qsizetype m_pos = 0;
    RtfDocInfo m_info;

    std::vector<State> m_stack;
    int m_overflowDepth = 0;
    bool m_ended = false;
    int m_skipChars = 0;

    // Font and colour table in the making
    size_t m_fontTableDepth = 0, m_colorTableDepth = 0;
    int m_fontNumber = -1;
    int m_fontCharset = -1;
    QByteArray m_fontName;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;

    // Picture in the making
    QByteArray m_pict;
    int m_pictNibble = -1;
    int m_pictKind = 0; // 0 unknown, 1 png, 2 jpeg, 3 other
    int m_picw = 0, m_pich = 0, m_picwGoal = 0, m_pichGoal = 0, m_scaleX = 100, m_scaleY = 100;
    bool m_pictOverflow = false;

    // Paragraph, cell, row and table in the making
    Para m_para;
    QString m_runText;
    QTextCharFormat m_runFmt;
    bool m_fmtDirty = true;
    bool m_pendingPageBreak = false;
    CellContent m_cell;
    std::vector<CellContent> m_rowCells;
    std::vector<RowContent> m_table;
    RowDef m_rowDef;
    CellDef m_cellDef;
    int m_borderTarget = -1; // 0..3 cell, 10..15 row, -1 none
    bool m_blockFresh = true;

    std::vector<PictureImage> m_images;
};

RtfDocInfo Parser::run()
{
    m_doc->clear();
    m_cursor = QTextCursor(m_doc);
    m_stack.reserve(kMaxStateDepth + 1);
    m_stack.push_back(State());

    const qsizetype n = m_data.size();
    int depth = 0;
    while (m_pos < n && !m_ended) {
        const char c = m_data[m_pos];
        switch (c) {
        case '{':
            ++m_pos;
            ++depth;
            openGroup();
            break;
        case '}':
            if (depth == 1 || depth == 0) {
                if (depth == 1 && m_info.documentEnd < 0)
                    m_info.documentEnd = m_pos;
                if (depth == 0)
                    m_info.damaged = true;
                m_ended = true;
                ++m_pos;
                break;
            }
            if (st().dest == Dest::FontTable && m_stack.size() == m_fontTableDepth
                && m_info.fontTableEnd < 0 && m_overflowDepth == 0)
                m_info.fontTableEnd = m_pos;
            if (st().dest == Dest::ColorTable && m_stack.size() == m_colorTableDepth
                && m_info.colorTableEnd < 0 && m_overflowDepth == 0) {
                m_info.colorTableEnd = m_pos;
                m_info.colorTableOpenEntry = m_colorSet;
            }
            ++m_pos;
            --depth;
            closeGroup();
            break;
        case '\\':
            ++m_pos;
            parseControl();
            break;
        case '\r':
        case '\n':
            ++m_pos;
            break;
        default:
            ++m_pos;
            if (depth == 0) // text outside the document group
                break;
            addByte(static_cast<unsigned char>(c));
            break;
        }
    }
    if (!m_ended || depth > 1)
        m_info.damaged = m_info.damaged || !m_ended;
    if (m_info.documentEnd < 0)
        m_info.documentEnd = n;

    // Whatever is still open is shown as read so far.
    m_overflowDepth = 0;
    m_skipChars = 0;
    while (m_stack.size() > 2)
        closeGroup();
    flushRun();
    if (!m_rowCells.empty() || !m_cell.paras.empty()
        || (st().para.inTable && !m_para.runs.empty())) {
        endCell();
        endRow();
    }
    flushTable();
    Para last = std::move(m_para);
    last.fmt = blockFormat(st().para);
    last.mark = charFormat(st().ch);
    if (m_pendingPageBreak)
        last.fmt.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    emitPara(last);
    return m_info;
}

void Parser::skipBinary(qint64 n)
{
    const qint64 left = m_data.size() - m_pos;
    if (n > left) {
        n = left;
        m_info.damaged = true;
    }
    if (n < 0)
        n = 0;
    if (st().dest == Dest::Picture && !m_pictOverflow) {
        if (m_pict.size() + n > kMaxPictureBytes)
            m_pictOverflow = true;
        else
            m_pict.append(m_data.constData() + m_pos, n);
    }
    m_pos += n;
}

void Parser::parseControl()
{
    const int c = peek();
    if (c < 0) {
        m_info.damaged = true;
        return;
    }
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
        ++m_pos;
        handleSymbol(static_cast<char>(c));
        return;
    }
    std::string word;
    while (m_pos < m_data.size()) {
        const char ch = m_data[m_pos];
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')))
            break;
        if (word.size() < 32)
            word.push_back(ch);
        ++m_pos;
    }
    bool neg = false, hasParam = false;
    qint64 value = 0;
    if (peek() == '-') {
        neg = true;
        ++m_pos;
    }
    int digits = 0;
    while (m_pos < m_data.size() && m_data[m_pos] >= '0' && m_data[m_pos] <= '9') {
        hasParam = true;
        if (digits < 12)
            value = value * 10 + (m_data[m_pos] - '0');
        ++digits;
        ++m_pos;
    }
    if (neg)
        value = -value;
    value = std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    if (peek() == ' ')
        ++m_pos;
    if (neg && !hasParam)
        hasParam = false;
    handleWord(word, hasParam, static_cast<int>(value));
}

void Parser::openGroup()
{
    if (m_skipChars > 0)
        m_skipChars = 0;
    flushRun();
    if (m_stack.size() >= static_cast<size_t>(kMaxStateDepth)) {
        ++m_overflowDepth;
        return;
    }
    State s = st();
    s.starred = false;
    s.fresh = true;
    m_stack.push_back(std::move(s));
    m_fmtDirty = true;
}

void Parser::closeGroup()
{
    m_skipChars = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.size() <= 1)
        return;
    flushRun();
    const State closing = st();
    m_stack.pop_back();
    m_fmtDirty = true;
    if (closing.dest == Dest::Picture && st().dest != Dest::Picture)
        finishPicture(closing);
    // An entry whose ';' is missing still counts.
    if (closing.dest == Dest::FontTable && !m_fontName.isEmpty())
        finishFontEntry();
}

// The font name collected so far becomes the entry of the current number;
// the first definition of a number counts.
void Parser::finishFontEntry()
{
    if (m_fontNumber >= 0) {
        RtfFontEntry e;
        e.charset = m_fontCharset;
        int cp = RptCodePage::forCharset(m_fontCharset);
        if (cp == 0) cp = m_info.ansiCodePage;
        for (char b : m_fontName) e.name.append(RptCodePage::toUnicode(cp, static_cast<unsigned char>(b)));
        e.name = e.name.trimmed();
        if (!m_info.fonts.contains(m_fontNumber))
            m_info.fonts.insert(m_fontNumber, e);
    }
    m_fontName.clear();
}

void Parser::handleSymbol(char c)
{
    State &s = st();
    switch (c) {
    case '\\':
    case '{':
    case '}':
        addChar(QChar(char16_t(static_cast<unsigned char>(c))));
        return;
    case '\'': {
        auto hex = [](int ch) -> int {
            if (ch >= '0' && ch <= '9') return ch - '0';
            if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
            if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
            return -1;
        };
        const int h1 = hex(peek());
        if (h1 < 0) {
            m_info.damaged = true;
            return;
        }
        ++m_pos;
        const int h2 = hex(peek());
        if (h2 < 0) {
            m_info.damaged = true;
            return;
        }
        ++m_pos;
        addByte(static_cast<unsigned char>(h1 * 16 + h2));
        return;
    }
    case '*':
        s.starred = true;
        return;
    case '~':
        addChar(QChar(0x00A0));
        return;
    case '_':
        addChar(QChar(0x2011));
        return;
    case '-':
        if (m_skipChars > 0) --m_skipChars;
        return;
    case '\r':
    case '\n':
        handleWord("par", false, 0);
        return;
    default:
        if (m_skipChars > 0) --m_skipChars;
        return;
    }
}

QColor Parser::colorAt(int idx) const
{
    if (idx < 0 || idx >= m_info.colors.size())
        return QColor();
    return m_info.colors[idx];
}

Border *Parser::borderTarget()
{
    if (m_borderTarget >= 0 && m_borderTarget < 4)
        return &m_cellDef.borders[m_borderTarget];
    if (m_borderTarget >= 10 && m_borderTarget < 16)
        return &m_rowDef.borders[m_borderTarget - 10];
    return nullptr;
}

void Parser::handleWord(const std::string &word, bool hasParam, int param)
{
    const auto &map = keywords();
    const auto it = map.find(word);
    const Kw kw = it == map.end() ? Kw::None : it->second;
    State &s = st();

    // The first word of a group decides whether it is a destination.
    const bool first = s.fresh;
    s.fresh = false;
    if (first && m_stack.size() > 1) {
        if (kw == Kw::SkipDest || (s.starred && kw != Kw::FontTbl && kw != Kw::ColorTbl
                                   && kw != Kw::Pict && kw != Kw::Transparent)) {
            s.dest = Dest::Skip;
            return;
        }
    }
    if (s.dest == Dest::Skip) {
        if (kw == Kw::Bin && hasParam)
            skipBinary(param);
        return;
    }
    if (m_skipChars > 0 && kw != Kw::Bin) {
        --m_skipChars;
        return;
    }

    if (s.dest == Dest::FontTable) {
        switch (kw) {
        case Kw::F:
            if (!m_fontName.isEmpty() && m_fontNumber >= 0 && !m_info.fonts.contains(m_fontNumber)) {
                RtfFontEntry e;
                e.name = QString::fromLatin1(m_fontName).trimmed();
                e.charset = m_fontCharset;
                m_info.fonts.insert(m_fontNumber, e);
            }
            m_fontNumber = param;
            m_fontCharset = -1;
            m_fontName.clear();
            break;
        case Kw::Fcharset: m_fontCharset = param; break;
        case Kw::Bin: if (hasParam) skipBinary(param); break;
        default: break;
        }
        return;
    }
    if (s.dest == Dest::ColorTable) {
        switch (kw) {
        case Kw::Red: m_red = std::clamp(param, 0, 255); m_colorSet = true; break;
        case Kw::Green: m_green = std::clamp(param, 0, 255); m_colorSet = true; break;
        case Kw::Blue: m_blue = std::clamp(param, 0, 255); m_colorSet = true; break;
        default: break;
        }
        return;
    }
    if (s.dest == Dest::Picture) {
        switch (kw) {
        case Kw::PngBlip: m_pictKind = 1; break;
        case Kw::JpegBlip: m_pictKind = 2; break;
        case Kw::OtherBlip: m_pictKind = 3; break;
        case Kw::Picw: m_picw = param; break;
        case Kw::Pich: m_pich = param; break;
        case Kw::Picwgoal: m_picwGoal = param; break;
        case Kw::Pichgoal: m_pichGoal = param; break;
        case Kw::Picscalex: m_scaleX = param; break;
        case Kw::Picscaley: m_scaleY = param; break;
        case Kw::Bin: if (hasParam) skipBinary(param); break;
        default: break;
        }
        return;
    }

    ParaState &p = s.para;
    CharState &ch = s.ch;
    const int onOff = hasParam ? param : 1;
    switch (kw) {
    case Kw::None:
        return;
    case Kw::Rtf:
        if (m_pos > 0 && m_info.headerEnd < 0) {
            m_info.isRtf = true;
            m_info.headerEnd = m_pos;
        }
        return;
    case Kw::Ansi: m_info.ansiCodePage = 1252; return;
    case Kw::AnsiCpg: if (param > 0) m_info.ansiCodePage = param; return;
    case Kw::Deff: m_info.defaultFont = param; return;
    case Kw::Deftab:
        if (param > 0) {
            QTextOption o = m_doc->defaultTextOption();
            o.setTabStopDistance(std::min(param, kMaxTwips) * m_k);
            m_doc->setDefaultTextOption(o);
        }
        return;
    case Kw::Uc: s.uc = std::clamp(param, 0, 10); return;
    case Kw::U: {
        int code = param;
        if (code < 0) code += 65536;
        addUnicode(code);
        m_skipChars = s.uc;
        return;
    }
    case Kw::Bin: if (hasParam) skipBinary(param); return;
    case Kw::FontTbl:
        flushRun();
        s.dest = Dest::FontTable;
        if (m_fontTableDepth == 0)
            m_fontTableDepth = m_stack.size();
        m_fontNumber = -1;
        m_fontName.clear();
        return;
    case Kw::ColorTbl:
        flushRun();
        s.dest = Dest::ColorTable;
        if (m_colorTableDepth == 0)
            m_colorTableDepth = m_stack.size();
        m_info.colors.clear();
        m_colorSet = false;
        m_red = m_green = m_blue = 0;
        return;
    case Kw::Pict:
        flushRun();
        s.dest = Dest::Picture;
        m_pict.clear();
        m_pictNibble = -1;
        m_pictKind = 0;
        m_picw = m_pich = m_picwGoal = m_pichGoal = 0;
        m_scaleX = m_scaleY = 100;
        m_pictOverflow = false;
        return;
    case Kw::Transparent:
    case Kw::SkipDest:
        return;
    case Kw::F: ch.font = param; break;
    case Kw::Fcharset: return;
    case Kw::Red: case Kw::Green: case Kw::Blue: return;
    case Kw::Plain: ch = CharState(); break;
    case Kw::B: ch.bold = onOff != 0; break;
    case Kw::I: ch.italic = onOff != 0; break;
    case Kw::Ul: ch.underline = onOff != 0; break;
    case Kw::UlNone: ch.underline = false; break;
    case Kw::Strike: ch.strike = onOff != 0; break;
    case Kw::Fs: if (param > 0) ch.fontSize = std::min(param, 3276); break;
    case Kw::Cf: ch.fg = param; break;
    case Kw::Cb: case Kw::Highlight: ch.bg = param; break;
    case Kw::Super: ch.vertical = 1; break;
    case Kw::Sub: ch.vertical = -1; break;
    case Kw::NoSuperSub: ch.vertical = 0; break;
    case Kw::V: ch.hidden = onOff != 0; break;
    case Kw::Caps: ch.caps = onOff != 0; break;
    case Kw::Scaps: ch.smallCaps = onOff != 0; break;
    case Kw::Par: endParagraph(); return;
    case Kw::Sect: endParagraph(); return;
    case Kw::Page:
        endParagraph();
        m_pendingPageBreak = true;
        return;
    case Kw::Line: addChar(QChar(QChar::LineSeparator)); return;
    case Kw::Tab: addChar(QChar('\t')); return;
    case Kw::Pard: p = ParaState(); break;
    case Kw::Ql: p.align = Qt::AlignLeft; break;
    case Kw::Qr: p.align = Qt::AlignRight; break;
    case Kw::Qc: p.align = Qt::AlignHCenter; break;
    case Kw::Qj: p.align = Qt::AlignJustify; break;
    case Kw::Li: p.li = std::clamp(param, -kMaxTwips, kMaxTwips); break;
    case Kw::Ri: p.ri = std::clamp(param, -kMaxTwips, kMaxTwips); break;
    case Kw::Fi: p.fi = std::clamp(param, -kMaxTwips, kMaxTwips); break;
    case Kw::Sb: p.sb = std::clamp(param, 0, kMaxTwips); break;
    case Kw::Sa: p.sa = std::clamp(param, 0, kMaxTwips); break;
    case Kw::Sl: p.sl = std::clamp(param, -kMaxTwips, kMaxTwips); break;
    case Kw::SlMult: p.slMult = param != 0; break;
    case Kw::PageBB: p.pageBreakBefore = onOff != 0; break;
    case Kw::Tqr: p.pendingTab = QTextOption::RightTab; break;
    case Kw::Tqc: p.pendingTab = QTextOption::CenterTab; break;
    case Kw::Tqdec: p.pendingTab = QTextOption::DelimiterTab; break;
    case Kw::Tx:
        if (p.tabs.size() < static_cast<size_t>(kMaxTabs))
            p.tabs.push_back({std::clamp(param, 0, kMaxTwips), p.pendingTab});
        p.pendingTab = QTextOption::LeftTab;
        break;
    case Kw::Trowd:
        m_rowDef = RowDef();
        m_cellDef = CellDef();
        m_borderTarget = -1;
        return;
    case Kw::Trgaph: m_rowDef.gap = std::clamp(param, 0, 1440); return;
    case Kw::Trleft: m_rowDef.left = std::clamp(param, -kMaxTwips, kMaxTwips); return;
    case Kw::Trqc: m_rowDef.align = Qt::AlignHCenter; return;
    case Kw::Trqr: m_rowDef.align = Qt::AlignRight; return;
    case Kw::Cellx:
        if (m_rowDef.cells.size() < static_cast<size_t>(kMaxCellsPerRow)) {
            m_cellDef.right = std::clamp(param, -kMaxTwips, 4 * kMaxTwips);
            m_rowDef.cells.push_back(m_cellDef);
        }
        m_cellDef = CellDef();
        m_borderTarget = -1;
        return;
    case Kw::Intbl: p.inTable = true; break;
    case Kw::Itap:
        p.nestLevel = std::max(0, param);
        p.inTable = p.nestLevel > 0;
        break;
    case Kw::Cell: endCell(); return;
    case Kw::Row: endRow(); return;
    case Kw::NestCell: addChar(QChar('\t')); return;
    case Kw::NestRow: addChar(QChar(QChar::LineSeparator)); return;
    case Kw::Clmgf: m_cellDef.hMergeFirst = true; return;
    case Kw::Clmrg: m_cellDef.hMerge = true; return;
    case Kw::Clvmgf: m_cellDef.vMergeFirst = true; return;
    case Kw::Clvmrg: m_cellDef.vMerge = true; return;
    case Kw::Clcbpat: m_cellDef.shading = param; return;
    case Kw::Clvertalt: m_cellDef.valign = 0; return;
    case Kw::Clvertalc: m_cellDef.valign = 1; return;
    case Kw::Clvertalb: m_cellDef.valign = 2; return;
    case Kw::Clbrdrt: m_borderTarget = 0; return;
    case Kw::Clbrdrl: m_borderTarget = 1; return;
    case Kw::Clbrdrb: m_borderTarget = 2; return;
    case Kw::Clbrdrr: m_borderTarget = 3; return;
    case Kw::Trbrdrt: m_borderTarget = 10; return;
    case Kw::Trbrdrl: m_borderTarget = 11; return;
    case Kw::Trbrdrb: m_borderTarget = 12; return;
    case Kw::Trbrdrr: m_borderTarget = 13; return;
    case Kw::Trbrdrh: m_borderTarget = 14; return;
    case Kw::Trbrdrv: m_borderTarget = 15; return;
    case Kw::BrdrNone:
        if (Border *b = borderTarget()) { b->set = true; b->visible = false; }
        return;
    case Kw::BrdrStyle:
        if (Border *b = borderTarget()) { b->set = true; b->visible = true; }
        return;
    case Kw::Brdrw:
        if (Border *b = borderTarget()) b->width = std::clamp(param, 1, 1440);
        return;
    case Kw::Brdrcf:
        if (Border *b = borderTarget()) b->color = param;
        return;
    case Kw::PngBlip: case Kw::JpegBlip: case Kw::OtherBlip: case Kw::Picw: case Kw::Pich:
    case Kw::Picwgoal: case Kw::Pichgoal: case Kw::Picscalex: case Kw::Picscaley:
        return;
    case Kw::Emdash: addChar(QChar(0x2014)); return;
    case Kw::Endash: addChar(QChar(0x2013)); return;
    case Kw::Bullet: addChar(QChar(0x2022)); return;
    case Kw::Lquote: addChar(QChar(0x2018)); return;
    case Kw::Rquote: addChar(QChar(0x2019)); return;
    case Kw::Ldblquote: addChar(QChar(0x201C)); return;
    case Kw::Rdblquote: addChar(QChar(0x201D)); return;
    case Kw::Emspace: addChar(QChar(0x2003)); return;
    case Kw::Enspace: addChar(QChar(0x2002)); return;
    case Kw::Qmspace: addChar(QChar(0x2005)); return;
    case Kw::Zwj: addChar(QChar(0x200D)); return;
    case Kw::Zwnj: addChar(QChar(0x200C)); return;
    case Kw::Ltrmark: case Kw::Rtlmark: return;
    }
    m_fmtDirty = true;
}

int Parser::codePageFor(const CharState &c) const
{
    const int font = c.font < 0 ? m_info.defaultFont : c.font;
    const auto it = m_info.fonts.constFind(font);
    if (it != m_info.fonts.constEnd()) {
        const int cp = RptCodePage::forCharset(it->charset);
        if (cp != 0)
            return cp;
    }
    return m_info.ansiCodePage;
}

void Parser::addByte(unsigned char b)
{
    State &s = st();
    switch (s.dest) {
    case Dest::Skip:
        return;
    case Dest::FontTable:
        if (b == ';') {
            finishFontEntry();
        } else if (m_fontName.size() < 256) {
            m_fontName.append(static_cast<char>(b));
        }
        return;
    case Dest::ColorTable:
        if (b == ';') {
            if (m_info.colors.size() < 4096)
                m_info.colors.append(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
            m_colorSet = false;
            m_red = m_green = m_blue = 0;
        }
        return;
    case Dest::Picture: {
        int v = -1;
        if (b >= '0' && b <= '9') v = b - '0';
        else if (b >= 'a' && b <= 'f') v = b - 'a' + 10;
        else if (b >= 'A' && b <= 'F') v = b - 'A' + 10;
        if (v < 0 || m_pictOverflow)
            return;
        if (m_pictNibble < 0) {
            m_pictNibble = v;
        } else {
            if (m_pict.size() >= kMaxPictureBytes)
                m_pictOverflow = true;
            else
                m_pict.append(static_cast<char>(m_pictNibble * 16 + v));
            m_pictNibble = -1;
        }
        return;
    }
    case Dest::Normal:
        break;
    }
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    if (b == '\t') {
        addChar(QChar('\t'));
        return;
    }
    if (b < 0x20)
        return;
    addChar(RptCodePage::toUnicode(codePageFor(s.ch), b));
}

void Parser::addUnicode(int code)
{
    if (st().dest != Dest::Normal)
        return;
    if (code <= 0 || code > 0xFFFF)
        return;
    const QChar c(static_cast<char16_t>(code));
    if (c.isSurrogate()) {
        // Surrogate halves come as two \u words; keep them as they are.
        m_runText.append(c);
        return;
    }
    addChar(c);
}

void Parser::addChar(QChar c)
{
    State &s = st();
    if (s.dest == Dest::FontTable) {
        if (c.unicode() < 0x80)
            addByte(static_cast<unsigned char>(c.unicode()));
        return;
    }
    if (s.dest != Dest::Normal)
        return;
    if (m_skipChars > 0) {
        --m_skipChars;
        return;
    }
    if (s.ch.hidden)
        return;
    if (m_fmtDirty) {
        const QTextCharFormat f = charFormat(s.ch);
        if (f != m_runFmt) {
            flushRun();
            m_runFmt = f;
        }
        m_fmtDirty = false;
    }
    m_runText.append(c);
}

void Parser::flushRun()
{
    if (m_runText.isEmpty())
        return;
    Run r;
    r.text = std::move(m_runText);
    r.fmt = m_runFmt;
    m_para.runs.push_back(std::move(r));
    m_runText.clear();
}

QString Parser::familyFor(int font) const
{
    const auto it = m_info.fonts.constFind(font < 0 ? m_info.defaultFont : font);
    QString name = it == m_info.fonts.constEnd() ? QString() : it->name;
    if (name.endsWith(QLatin1String(" CE"), Qt::CaseInsensitive))
        name.chop(3);
    name = name.trimmed();
    return name.isEmpty() ? QStringLiteral("Times New Roman") : name;
}

QTextCharFormat Parser::charFormat(const CharState &c) const
{
    QTextCharFormat f;
    f.setFontFamilies({familyFor(c.font)});
    f.setFontPointSize(c.fontSize / 2.0);
    f.setFontWeight(c.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(c.italic);
    f.setFontUnderline(c.underline);
    f.setFontStrikeOut(c.strike);
    const QColor fg = colorAt(c.fg);
    if (c.fg > 0 && fg.isValid())
        f.setForeground(fg);
    const QColor bg = colorAt(c.bg);
    if (c.bg > 0 && bg.isValid())
        f.setBackground(bg);
    if (c.vertical > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (c.vertical < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (c.caps)
        f.setFontCapitalization(QFont::AllUppercase);
    else if (c.smallCaps)
        f.setFontCapitalization(QFont::SmallCaps);
    return f;
}

QTextBlockFormat Parser::blockFormat(const ParaState &p) const
{
    QTextBlockFormat f;
    f.setAlignment(p.align);
    f.setLeftMargin(std::max(0, p.li) * m_k);
    f.setRightMargin(std::max(0, p.ri) * m_k);
    f.setTextIndent(p.fi * m_k);
    f.setTopMargin(p.sb * m_k);
    f.setBottomMargin(p.sa * m_k);
    if (p.sl != 0) {
        if (p.slMult && p.sl > 0)
            f.setLineHeight(p.sl * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.sl < 0)
            f.setLineHeight(-p.sl * m_k, QTextBlockFormat::FixedHeight);
        else
            f.setLineHeight(p.sl * m_k, QTextBlockFormat::MinimumHeight);
    }
    if (!p.tabs.empty()) {
        QList<QTextOption::Tab> tabs;
        for (const TabStop &t : p.tabs)
            tabs.append(QTextOption::Tab(t.pos * m_k, t.type));
        std::sort(tabs.begin(), tabs.end(), [](const QTextOption::Tab &a, const QTextOption::Tab &b) {
            return a.position < b.position;
        });
        f.setTabPositions(tabs);
    }
    if (p.pageBreakBefore)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return f;
}

void Parser::endParagraph()
{
    if (st().dest != Dest::Normal)
        return;
    flushRun();
    Para para = std::move(m_para);
    m_para = Para();
    para.fmt = blockFormat(st().para);
    para.mark = charFormat(st().ch);
    if (st().para.inTable) {
        m_cell.paras.push_back(std::move(para));
        return;
    }
    flushTable();
    if (m_pendingPageBreak) {
        para.fmt.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_pendingPageBreak = false;
    }
    emitPara(para);
}

void Parser::endCell()
{
    if (st().dest != Dest::Normal)
        return;
    flushRun();
    Para para = std::move(m_para);
    m_para = Para();
    para.fmt = blockFormat(st().para);
    para.mark = charFormat(st().ch);
    m_cell.paras.push_back(std::move(para));
    if (m_rowCells.size() < static_cast<size_t>(kMaxCellsPerRow))
        m_rowCells.push_back(std::move(m_cell));
    m_cell = CellContent();
}

void Parser::endRow()
{
    if (st().dest != Dest::Normal)
        return;
    flushRun();
    if (!m_cell.paras.empty() || !m_para.runs.empty()) {
        // Text after the last \cell of the row belongs to no cell; keep it.
        endCell();
    }
    RowContent row;
    row.def = m_rowDef;
    row.cells = std::move(m_rowCells);
    m_rowCells.clear();
    if (!row.cells.empty())
        m_table.push_back(std::move(row));
}

void Parser::writeParaAt(QTextCursor &cursor, const Para &p, bool first)
{
    const QTextCharFormat mark = p.runs.empty() ? p.mark : p.runs.front().fmt;
    if (first) {
        cursor.setBlockFormat(p.fmt);
        cursor.setBlockCharFormat(mark);
    } else {
        cursor.insertBlock(p.fmt, mark);
    }
    for (const Run &r : p.runs) {
        if (r.image >= 0 && r.image < static_cast<int>(m_images.size())) {
            const PictureImage &pi = m_images[r.image];
            const QString name = QStringLiteral("rtfpict:%1").arg(r.image);
            m_doc->addResource(QTextDocument::ImageResource, QUrl(name), pi.image);
            QTextImageFormat f;
            f.setName(name);
            f.setWidth(pi.width);
            f.setHeight(pi.height);
            cursor.insertImage(f);
        } else {
            cursor.insertText(r.text, r.fmt);
        }
    }
}

void Parser::emitPara(const Para &p)
{
    writeParaAt(m_cursor, p, m_blockFresh);
    m_blockFresh = false;
}

void Parser::flushTable()
{
    if (m_table.empty())
        return;
    std::vector<RowContent> rows = std::move(m_table);
    m_table.clear();
    ++m_info.tables;

    // Each row gets as many cell definitions as it has cells.
    for (RowContent &row : rows) {
        while (row.def.cells.size() < row.cells.size()) {
            CellDef d;
            d.right = (row.def.cells.empty() ? row.def.left : row.def.cells.back().right) + 1440;
            row.def.cells.push_back(d);
        }
        int prev = row.def.left;
        for (CellDef &d : row.def.cells) {
            if (d.right <= prev)
                d.right = prev + 1;
            prev = d.right;
        }
    }
    std::vector<int> bounds;
    for (const RowContent &row : rows) {
        bounds.push_back(row.def.left);
        for (const CellDef &d : row.def.cells)
            bounds.push_back(d.right);
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    if (bounds.size() > static_cast<size_t>(kMaxGridColumns + 1)) {
        // Too fine a grid: fall back to one column per cell of the widest row.
        bounds.resize(kMaxGridColumns + 1);
    }
    const int cols = std::max<int>(1, static_cast<int>(bounds.size()) - 1);
    auto colOf = [&](int x) {
        const auto it = std::lower_bound(bounds.begin(), bounds.end(), x);
        return std::min<int>(cols, static_cast<int>(it - bounds.begin()));
    };

    const RowDef &firstDef = rows.front().def;
    QTextTableFormat tf;
    tf.setBorder(0);
    tf.setCellSpacing(0);
    tf.setCellPadding(0);
    tf.setBorderCollapse(true);
    tf.setAlignment(firstDef.align);
    tf.setLeftMargin(std::max(0, firstDef.left) * m_k);
    QVector<QTextLength> widths;
    for (int c = 0; c < cols; ++c)
        widths.append(QTextLength(QTextLength::FixedLength,
                                  (bounds.size() > static_cast<size_t>(c + 1) ? bounds[c + 1] - bounds[c] : 1440) * m_k));
    tf.setColumnWidthConstraints(widths);
    if (m_pendingPageBreak) {
        tf.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        m_pendingPageBreak = false;
    }

    if (!m_blockFresh) {
        m_cursor.insertBlock();
        m_blockFresh = true;
    }
    QTextTable *table = m_cursor.insertTable(static_cast<int>(rows.size()), cols, tf);

    struct Span { int row, col, rows, cols; };
    std::vector<Span> spans;
    std::vector<int> vOwner(cols, -1); // index into spans of the open vertical merge per column

    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const RowContent &row = rows[r];
        int left = row.def.left;
        int lastSpan = -1;
        for (size_t ci = 0; ci < row.def.cells.size(); ++ci) {
            const CellDef &d = row.def.cells[ci];
            const int c0 = std::min(colOf(left), cols - 1);
            const int c1 = std::max(c0 + 1, colOf(d.right));
            left = d.right;
            if (d.hMerge && lastSpan >= 0) {
                spans[lastSpan].cols = c1 - spans[lastSpan].col;
                continue;
            }
            if (d.vMerge && vOwner[c0] >= 0) {
                spans[vOwner[c0]].rows = r - spans[vOwner[c0]].row + 1;
                lastSpan = -1;
                continue;
            }
            spans.push_back({r, c0, 1, c1 - c0});
            lastSpan = static_cast<int>(spans.size()) - 1;
            vOwner[c0] = d.vMergeFirst ? lastSpan : -1;

            QTextTableCell cell = table->cellAt(r, c0);
            // A cell keeps its format in its first block's character format:
            // the content goes in first, the cell format on top of it.
            if (ci < row.cells.size()) {
                QTextCursor cc = cell.firstCursorPosition();
                bool firstPara = true;
                for (const Para &p : row.cells[ci].paras) {
                    writeParaAt(cc, p, firstPara);
                    firstPara = false;
                }
            }
            QTextTableCellFormat cf = cell.format().toTableCellFormat();
            cf.setLeftPadding(row.def.gap * m_k);
            cf.setRightPadding(row.def.gap * m_k);
            const QColor shade = colorAt(d.shading);
            if (d.shading > 0 && shade.isValid())
                cf.setBackground(shade);
            if (d.valign == 1)
                cf.setVerticalAlignment(QTextCharFormat::AlignMiddle);
            else if (d.valign == 2)
                cf.setVerticalAlignment(QTextCharFormat::AlignBottom);
            const bool lastCell = ci + 1 == row.def.cells.size();
            for (int side = 0; side < 4; ++side) {
                Border b = d.borders[side];
                if (!b.set) {
                    // Borders of the row stand in for cells that have none.
                    int rowSide = side;
                    if (side == 0 && r > 0) rowSide = 4;
                    if (side == 2 && r + 1 < static_cast<int>(rows.size())) rowSide = 4;
                    if (side == 1 && ci > 0) rowSide = 5;
                    if (side == 3 && !lastCell) rowSide = 5;
                    b = row.def.borders[rowSide];
                }
                if (!b.set || !b.visible)
                    continue;
                const qreal w = std::max<qreal>(0.5, b.width * m_k);
                QColor bc = colorAt(b.color);
                if (!bc.isValid() || b.color <= 0)
                    bc = Qt::black;
                switch (side) {
                case 0: cf.setTopBorder(w); cf.setTopBorderStyle(QTextFrameFormat::BorderStyle_Solid); cf.setTopBorderBrush(bc); break;
                case 1: cf.setLeftBorder(w); cf.setLeftBorderStyle(QTextFrameFormat::BorderStyle_Solid); cf.setLeftBorderBrush(bc); break;
                case 2: cf.setBottomBorder(w); cf.setBottomBorderStyle(QTextFrameFormat::BorderStyle_Solid); cf.setBottomBorderBrush(bc); break;
                case 3: cf.setRightBorder(w); cf.setRightBorderStyle(QTextFrameFormat::BorderStyle_Solid); cf.setRightBorderBrush(bc); break;
                }
            }
            cell.setFormat(cf);
        }
    }
    for (const Span &s : spans) {
        if (s.rows > 1 || s.cols > 1)
            table->mergeCells(s.row, s.col, s.rows, s.cols);
    }
    m_cursor = table->lastCursorPosition();
    m_cursor.movePosition(QTextCursor::NextBlock);
    m_blockFresh = true;
}

void Parser::finishPicture(const State &s)
{
    Q_UNUSED(s);
    ++m_info.pictures;
    QImage img;
    if ((m_pictKind == 1 || m_pictKind == 2) && !m_pict.isEmpty() && !m_pictOverflow)
        img.loadFromData(m_pict, m_pictKind == 1 ? "PNG" : "JPEG");
    m_pict.clear();
    m_pict.squeeze();

    // Size in twips: the goal size wins, then the picture's own size.
    qreal wTw = m_picwGoal, hTw = m_pichGoal;
    if (wTw <= 0 || hTw <= 0) {
        if (!img.isNull()) {
            wTw = img.width() * 15.0;
            hTw = img.height() * 15.0;
        } else if (m_pictKind == 3) {
            wTw = m_picw * 1440.0 / 2540.0; // metafiles give hundredths of a millimetre
            hTw = m_pich * 1440.0 / 2540.0;
        } else {
            wTw = m_picw * 15.0;
            hTw = m_pich * 15.0;
        }
    }
    wTw = wTw * std::clamp(m_scaleX, 1, 1000) / 100.0;
    hTw = hTw * std::clamp(m_scaleY, 1, 1000) / 100.0;
    wTw = std::clamp<qreal>(wTw, 15, kMaxTwips);
    hTw = std::clamp<qreal>(hTw, 15, kMaxTwips);

    PictureImage pi;
    pi.width = wTw * m_k;
    pi.height = hTw * m_k;
    if (img.isNull()) {
        // A picture we cannot show keeps its place as an empty frame.
        const int fw = std::clamp(qRound(pi.width), 1, kFramePixelLimit);
        const int fh = std::clamp(qRound(pi.height), 1, kFramePixelLimit);
        img = QImage(fw, fh, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter painter(&img);
        painter.setPen(QPen(QColor(160, 160, 160), 1));
        painter.drawRect(0, 0, fw - 1, fh - 1);
    }
    pi.image = std::move(img);
    m_images.push_back(std::move(pi));

    if (m_stack.size() > 0 && st().dest == Dest::Normal && !st().ch.hidden) {
        flushRun();
        Run r;
        r.image = static_cast<int>(m_images.size()) - 1;
        m_para.runs.push_back(std::move(r));
    }
}

} // namespace

RtfDocInfo RtfReader::read(const QByteArray &rtf, QTextDocument *doc, qreal unitsPerInch)
{
    Parser parser(rtf, doc, unitsPerInch);
    return parser.run();
}

void RtfReader::readPlain(const QString &text, QTextDocument *doc)
{
    doc->clear();
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCursor cursor(doc);
    cursor.insertText(t);
}
