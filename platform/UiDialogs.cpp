#include "platform/UiDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

struct State {
    QString title = QStringLiteral("TEBO");
    UiDialogs::MessageHandler messageHandler;
    UiDialogs::FileHandler fileHandler;
};

State &state()
{
    static State s;
    return s;
}

QMessageBox::StandardButton toQt(UiDialogs::Answer a)
{
    switch (a) {
    case UiDialogs::AnswerOk: return QMessageBox::Ok;
    case UiDialogs::AnswerCancel: return QMessageBox::Cancel;
    case UiDialogs::AnswerAbort: return QMessageBox::Abort;
    case UiDialogs::AnswerRetry: return QMessageBox::Retry;
    case UiDialogs::AnswerIgnore: return QMessageBox::Ignore;
    case UiDialogs::AnswerYes: return QMessageBox::Yes;
    case UiDialogs::AnswerNo: return QMessageBox::No;
    case UiDialogs::None: break;
    }
    return QMessageBox::NoButton;
}

UiDialogs::Answer fromQt(int b)
{
    switch (b) {
    case QMessageBox::Ok: return UiDialogs::AnswerOk;
    case QMessageBox::Cancel: return UiDialogs::AnswerCancel;
    case QMessageBox::Abort: return UiDialogs::AnswerAbort;
    case QMessageBox::Retry: return UiDialogs::AnswerRetry;
    case QMessageBox::Ignore: return UiDialogs::AnswerIgnore;
    case QMessageBox::Yes: return UiDialogs::AnswerYes;
    case QMessageBox::No: return UiDialogs::AnswerNo;
    default: return UiDialogs::AnswerCancel;
    }
}

QMessageBox::StandardButtons buttonsFor(UiDialogs::Buttons b)
{
    switch (b) {
    case UiDialogs::Ok: return QMessageBox::Ok;
    case UiDialogs::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case UiDialogs::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case UiDialogs::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case UiDialogs::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case UiDialogs::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon iconFor(UiDialogs::Icon i)
{
    switch (i) {
    case UiDialogs::Critical: return QMessageBox::Critical;
    case UiDialogs::Question: return QMessageBox::Question;
    case UiDialogs::Exclamation: return QMessageBox::Warning;
    case UiDialogs::Information: return QMessageBox::Information;
    case UiDialogs::NoIcon: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

UiDialogs::Answer UiDialogs::message(const QString &text, Buttons buttons, Icon icon,
                                     Answer defaultButton, QWidget *parent)
{
    MessageRequest req{text, state().title, buttons, icon, defaultButton};
    if (state().messageHandler)
        return state().messageHandler(req);

    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(iconFor(icon), req.caption, text, buttonsFor(buttons), parent);
    if (defaultButton != None)
        box.setDefaultButton(toQt(defaultButton));
    // The close box means Cancel where there is one, else the only button.
    if (buttons == Ok)
        box.setEscapeButton(QMessageBox::Ok);
    const int r = box.exec();
    if (box.clickedButton() == nullptr)
        return buttons == Ok ? AnswerOk : AnswerCancel;
    return fromQt(r);
}

QStringList UiDialogs::toQtNameFilters(const QString &filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &p : patterns) {
            p = p.trimmed();
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        }
        // Qt reads the patterns from the last parentheses, so strip any the
        // description already carries.
        const int paren = desc.lastIndexOf(QLatin1Char('('));
        if (paren >= 0 && desc.endsWith(QLatin1Char(')')))
            desc = desc.left(paren).trimmed();
        const QString pats = patterns.join(QLatin1Char(' '));
        out << (desc.isEmpty() ? QStringLiteral("(%1)").arg(pats) : QStringLiteral("%1 (%2)").arg(desc, pats));
    }
    return out;
}

UiDialogs::FileResult UiDialogs::fileDialog(const FileRequest &request, QWidget *parent)
{
    if (state().fileHandler)
        return state().fileHandler(request);

    FileResult result;
    if (!parent)
        parent = QApplication::activeWindow();
    QFileDialog dlg(parent, request.title.isEmpty() ? state().title : request.title);
    QString dir = request.initialDir;
    if (!request.fileName.isEmpty()) {
        const QFileInfo fi(request.fileName);
        if (fi.isAbsolute())
            dir = fi.absolutePath();
        dlg.selectFile(fi.fileName());
    }
    if (!dir.isEmpty())
        dlg.setDirectory(dir);
    const QStringList filters = toQtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dlg.setNameFilters(filters);
        const int idx = qBound(1, request.filterIndex, int(filters.size()));
        dlg.selectNameFilter(filters[idx - 1]);
    }
    if (!request.defaultSuffix.isEmpty())
        dlg.setDefaultSuffix(request.defaultSuffix);
    switch (request.kind) {
    case OpenFile:
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
        break;
    case OpenFiles:
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFiles);
        break;
    case SaveFile:
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        if (!request.overwritePrompt)
            dlg.setOption(QFileDialog::DontConfirmOverwrite);
        break;
    case PickFolder:
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly);
        break;
    }
    if (dlg.exec() != QDialog::Accepted)
        return result;
    result.files = dlg.selectedFiles();
    result.accepted = !result.files.isEmpty();
    const int sel = filters.indexOf(dlg.selectedNameFilter());
    result.filterIndex = sel >= 0 ? sel + 1 : request.filterIndex;
    return result;
}

void UiDialogs::setApplicationTitle(const QString &title) { state().title = title; }
QString UiDialogs::applicationTitle() { return state().title; }
void UiDialogs::setMessageHandler(MessageHandler handler) { state().messageHandler = std::move(handler); }
void UiDialogs::setFileHandler(FileHandler handler) { state().fileHandler = std::move(handler); }
