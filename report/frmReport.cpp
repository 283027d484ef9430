#include "frmReport.h"

#include "ReportDialogs.h"
#include "RichTextBox.h"
#include "modKomponent.h"
#include "modWysiwig.h"

#include <QApplication>
#include <QFrame>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QTextCursor>

namespace {
constexpr int kMargin = 770;        // twips around the printed text
constexpr int kButtonTop = 120;
constexpr int kButtonLeft = 120;
constexpr int kButtonGap = 120;
constexpr int kButtonHeight = 420;
constexpr int kButtonMinWidth = 1500;
} // namespace

frmReport::frmReport(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReport"));
    setWindowTitle(QStringLiteral("Report"));
    setFont(QFont(QStringLiteral("Arial"), 9));
    setSizeGripEnabled(true);
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);

    // Created in the window's control order.
    cmdDoSuboru = new QPushButton(QStringLiteral("Uložiť do RTF..."), this);
    cmdDoSuboru->setObjectName(QStringLiteral("cmdDoSuboru"));
    cmdDoSuboru->setToolTip(QStringLiteral("Stlačte toto tlačidlo, ak si želáte uložiť zobrazený výstup do RTF súboru"));
    cmdDoSuboru->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));

    cmdVytlacit = new QPushButton(QStringLiteral("Tlač..."), this);
    cmdVytlacit->setObjectName(QStringLiteral("cmdVytlacit"));
    cmdVytlacit->setToolTip(QStringLiteral("Stlačte toto tlačidlo, ak si želáte vytlačiť zobrazený výstup"));
    cmdVytlacit->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));

    rtfReport = new RichTextBox(this);

    cmdCancel = new QPushButton(QStringLiteral("Zatvoriť"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setToolTip(QStringLiteral("Stlačte toto tlačidlo, ak si želáte zatvoriť okno"));
    cmdCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

    linHore = new QFrame(this);
    linHore->setObjectName(QStringLiteral("linHore"));
    linHore->setFrameShape(QFrame::HLine);
    linHore->setFrameShadow(QFrame::Sunken);

    for (QPushButton *b : {cmdDoSuboru, cmdVytlacit, cmdCancel}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
    }
    connect(cmdDoSuboru, &QPushButton::clicked, this, &frmReport::cmdDoSuboru_Click);
    connect(cmdVytlacit, &QPushButton::clicked, this, &frmReport::cmdVytlacit_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmReport::cmdCancel_Click);

    const int w = twipsToPixels(modWysiwig::FallbackPortrait + 2 * kMargin);
    resize(w, twipsToPixels(9000));
}

int frmReport::twipsToPixels(int twips) const
{
    return qRound(twips * logicalDpiX() / 1440.0);
}

QVector<QPushButton *> frmReport::buttonsInOrder() const
{
    QVector<QPushButton *> out;
    for (QObject *o : children())
        if (auto *b = qobject_cast<QPushButton *>(o))
            out.append(b);
    return out;
}

QStringList frmReport::buttonTexts() const
{
    QStringList out;
    for (const QPushButton *b : buttonsInOrder()) {
        out << b->text();
        if (!b->toolTip().isEmpty())
            out << b->toolTip();
    }
    return out;
}

void frmReport::setButtonTexts(const QStringList &texts)
{
    int i = 0;
    for (QPushButton *b : buttonsInOrder()) {
        if (i >= texts.size())
            break;
        b->setText(texts[i++]);
        if (!b->toolTip().isEmpty()) {
            if (i >= texts.size())
                break;
            b->setToolTip(texts[i++]);
        }
    }
    if (isVisible())
        Form_Resize();
}

void frmReport::Form_Resize()
{
    if (isMinimized())
        return;
    {
        RptHourglass hourglass;
        rtfReport->hide();

        const int top = twipsToPixels(kButtonTop);
        const int buttonHeight = twipsToPixels(kButtonHeight);
        // The first two keep their places; their widths follow their captions.
        auto widthFor = [&](QPushButton *b) { return std::max(twipsToPixels(kButtonMinWidth), b->sizeHint().width()); };
        cmdDoSuboru->setGeometry(twipsToPixels(kButtonLeft), top, widthFor(cmdDoSuboru), buttonHeight);
        cmdVytlacit->setGeometry(cmdDoSuboru->geometry().right() + 1 + twipsToPixels(kButtonGap), top,
                                 widthFor(cmdVytlacit), buttonHeight);
        const int cancelWidth = widthFor(cmdCancel);
        cmdCancel->setGeometry(width() - cancelWidth - top, top, cancelWidth, buttonHeight);

        const int lineY = cmdCancel->y() + cmdCancel->height() + top / 2;
        linHore->setGeometry(0, lineY - 1, width(), 2);
        update();

        const int lw = modWysiwig::NastavitCielovuSirku(rtfReport, kMargin, kMargin);
        int controlWidth = twipsToPixels(lw + kMargin);
        if (width() < controlWidth)
            controlWidth = width();
        const int left = std::max(0, (width() - controlWidth) / 2);
        const int textTop = 2 * cmdVytlacit->y() + cmdVytlacit->height();
        rtfReport->setGeometry(left, textTop, controlWidth, std::max(0, height() - textTop));

        QTextCursor c = rtfReport->textCursor();
        c.movePosition(QTextCursor::Start);
        rtfReport->setTextCursor(c);
        rtfReport->show();
        rtfReport->setFocus();
        update();
    }
    modKomponent::RestoreSavedPointer();
}

void frmReport::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    Form_Resize();
}

void frmReport::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Form_Resize();
}

void frmReport::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && isVisible())
        Form_Resize();
}

void frmReport::cmdDoSuboru_Click()
{
    ReportDialogs::SaveRequest request;
    request.filter = QStringLiteral("(*.rtf)|*.rtf");
    request.defaultSuffix = QStringLiteral(".rtf");
    const QString name = ReportDialogs::saveFile(request, this);
    if (name.isEmpty())
        return;
    QString error;
    bool ok;
    {
        RptHourglass hourglass;
        ok = rtfReport->saveFile(name, &error);
    }
    if (!ok)
        ReportDialogs::message(error + QStringLiteral("\r\n") + name, ReportDialogs::Exclamation, this);
}

void frmReport::cmdVytlacit_Click()
{
    QPrinter &printer = modKomponent::Printer();
    if (!ReportDialogs::printDialog(printer, this))
        return;
    QString firstError;
    {
        RptHourglass hourglass;
        const int copies = printer.copyCount();
        const QPageLayout::Orientation wanted = modKomponent::Landscape ? QPageLayout::Landscape
                                                                        : QPageLayout::Portrait;
        for (int i = 0; i < copies; ++i) {
            printer.setCopyCount(1);
            if (printer.pageLayout().orientation() != wanted)
                printer.setPageOrientation(wanted);
            Form_Resize();
            QString error;
            if (!modWysiwig::VytlacitRichText(rtfReport, kMargin, kMargin, kMargin, kMargin, &error)
                && firstError.isEmpty())
                firstError = error;
        }
    }
    if (!firstError.isEmpty())
        ReportDialogs::message(firstError, ReportDialogs::Exclamation, this);
}

void frmReport::cmdCancel_Click()
{
    close();
}

void frmReport::unload()
{
    if (isVisible())
        done(QDialog::Rejected);
    rtfReport->clear();
}
