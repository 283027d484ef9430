#include "claLuReport1_4.h"

#include "RichTextBox.h"
#include "frmReport.h"
#include "modKomponent.h"
#include "modWysiwig.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QPrinter>

namespace {

// Members never let a failure escape to the caller.
template <class F>
void contained(F &&f)
{
    try {
        f();
    } catch (...) {
    }
}

QColor fromOle(std::uint32_t c)
{
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

std::uint32_t toOle(const QColor &c)
{
    return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

RichTextBox *control()
{
    return modKomponent::PreviewWindow()->rtfReport;
}

} // namespace

QString claLuReport1_4::PravidloCE(const QString &name)
{
    if (name.endsWith(QLatin1String(" CE"), Qt::CaseInsensitive))
        return name;
    return name + QLatin1String(" CE");
}

claLuReport1_4::claLuReport1_4()
{
    ++modKomponent::LiveObjects;
    modKomponent::Landscape = false;
    modKomponent::PageNumEnabled = false;
    contained([&] {
        RichTextBox *rtf = control();
        m_bold = rtf->selBold();
        m_fontName = PravidloCE(rtf->selFontName());
        m_italic = rtf->selItalic();
        m_color = toOle(rtf->selColor());
        m_fontSize = static_cast<float>(rtf->selFontSize());
    });
}

claLuReport1_4::~claLuReport1_4()
{
    contained([] {
        modKomponent::UnloadPreviewWindow();
        modWysiwig::UvolnitCielovyKontext();
    });
    --modKomponent::LiveObjects;
}

TeboHResult claLuReport1_4::QueryInterface(const TeboGuid &iid, void **object)
{
    if (!object)
        return TEBO_E_POINTER;
    if (iid == IID_TeboIUnknown || iid == IID__claLuReport1_4) {
        *object = static_cast<_claLuReport1_4 *>(this);
        AddRef();
        return TEBO_S_OK;
    }
    *object = nullptr;
    return TEBO_E_NOINTERFACE;
}

std::uint32_t claLuReport1_4::AddRef()
{
    return ++m_refs;
}

std::uint32_t claLuReport1_4::Release()
{
    const std::uint32_t left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

void claLuReport1_4::put_PageNumEnabled(bool vData) { modKomponent::PageNumEnabled = vData; }
bool claLuReport1_4::get_PageNumEnabled() { return modKomponent::PageNumEnabled; }
void claLuReport1_4::put_Bold(bool bb) { m_bold = bb; }
bool claLuReport1_4::get_Bold() { return m_bold; }
void claLuReport1_4::put_Italic(bool bb) { m_italic = bb; }
bool claLuReport1_4::get_Italic() { return m_italic; }
void claLuReport1_4::put_Color(std::uint32_t bb) { m_color = bb; }
std::uint32_t claLuReport1_4::get_Color() { return m_color; }
void claLuReport1_4::put_FontName(const QString &bb) { m_fontName = PravidloCE(bb); }
QString claLuReport1_4::get_FontName() { return m_fontName; }
void claLuReport1_4::put_FontSize(float bb) { m_fontSize = bb; }
float claLuReport1_4::get_FontSize() { return m_fontSize; }
void claLuReport1_4::put_Landscape(bool vData) { modKomponent::Landscape = vData; }
bool claLuReport1_4::get_Landscape() { return modKomponent::Landscape; }

void claLuReport1_4::AddText(const QString &txt)
{
    contained([&] { control()->appendText(txt, m_fontName, m_fontSize, m_bold, m_italic, fromOle(m_color)); });
}

void claLuReport1_4::AddPictureFile(const QString &fname)
{
    contained([&] {
        RichTextBox *rtf = control();
        QClipboard *cb = QGuiApplication::clipboard();
        if (!cb)
            return;
        cb->clear();
        QImageReader reader(fname);
        const QImage img = reader.read();
        if (!img.isNull())
            cb->setImage(img);
        rtf->pasteFromClipboard();
    });
}

void claLuReport1_4::put_Caption(const QString &bb)
{
    contained([&] { modKomponent::PreviewWindow()->setWindowTitle(bb); });
}

QString claLuReport1_4::get_Caption()
{
    QString out;
    contained([&] { out = modKomponent::PreviewWindow()->windowTitle(); });
    return out;
}

TeboRichTextControl *claLuReport1_4::get_RichText()
{
    TeboRichTextControl *out = nullptr;
    contained([&] { out = control(); });
    return out;
}

void claLuReport1_4::put_ButtonTexts(const QStringList &text_array)
{
    contained([&] { modKomponent::PreviewWindow()->setButtonTexts(text_array); });
}

QStringList claLuReport1_4::get_ButtonTexts()
{
    QStringList out;
    contained([&] { out = modKomponent::PreviewWindow()->buttonTexts(); });
    return out;
}

void claLuReport1_4::Show()
{
    contained([] {
        modKomponent::SavePointerAndShowHourglass();
        frmReport *w = modKomponent::PreviewWindow();
        // The preview offers no editing; the text stays selectable to copy.
        w->rtfReport->setReadOnly(true);
        w->rtfReport->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        QPrinter &printer = modKomponent::Printer();
        const QPageLayout::Orientation wanted = modKomponent::Landscape ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait;
        if (printer.pageLayout().orientation() != wanted)
            printer.setPageOrientation(wanted);
        w->exec();
        modKomponent::UnloadPreviewWindow();
    });
    modKomponent::RestoreSavedPointer();
}
