#include "ReportDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

namespace {

ReportDialogs::Handlers &current()
{
    static ReportDialogs::Handlers h;
    return h;
}

// "Desc|*.a;*.b|..." -> Qt name filters.
QStringList nameFilters(const QString &filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        const QString desc = parts[i].trimmed();
        // A description that already names its patterns is used as it is.
        out << (desc.contains(QLatin1Char('(')) ? desc : desc + QLatin1String(" (") + patterns + QLatin1Char(')'));
    }
    return out;
}

} // namespace

void ReportDialogs::setHandlers(const Handlers &handlers)
{
    current() = handlers;
}

ReportDialogs::Handlers ReportDialogs::handlers()
{
    return current();
}

void ReportDialogs::message(const QString &text, Icon icon, QWidget *parent)
{
    if (current().message) {
        current().message(text, icon);
        return;
    }
    QMessageBox::Icon qi = QMessageBox::NoIcon;
    switch (icon) {
    case Critical: qi = QMessageBox::Critical; break;
    case Question: qi = QMessageBox::Question; break;
    case Exclamation: qi = QMessageBox::Warning; break;
    case Information: qi = QMessageBox::Information; break;
    case NoIcon: break;
    }
    QMessageBox box(qi, title(), text, QMessageBox::Ok, parent);
    box.exec();
}

QString ReportDialogs::saveFile(const SaveRequest &request, QWidget *parent)
{
    QString name;
    if (current().save) {
        name = current().save(request);
    } else {
        QFileDialog dlg(parent);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setNameFilters(nameFilters(request.filter));
        QString suffix = request.defaultSuffix;
        if (suffix.startsWith(QLatin1Char('.')))
            suffix.remove(0, 1);
        dlg.setDefaultSuffix(suffix);
        if (!request.fileName.isEmpty())
            dlg.selectFile(request.fileName);
        if (dlg.exec() == QDialog::Accepted && !dlg.selectedFiles().isEmpty())
            name = dlg.selectedFiles().constFirst();
    }
    // The default extension goes onto a name that has none.
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty() && !request.defaultSuffix.isEmpty()) {
        QString suffix = request.defaultSuffix;
        if (!suffix.startsWith(QLatin1Char('.')))
            suffix.prepend(QLatin1Char('.'));
        name += suffix;
    }
    return name;
}

bool ReportDialogs::printDialog(QPrinter &printer, QWidget *parent)
{
    if (current().print)
        return current().print(printer);
    QPrintDialog dlg(&printer, parent);
    dlg.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dlg.exec() == QDialog::Accepted;
}
