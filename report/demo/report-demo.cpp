// Shows a report the way tebo does: the component is created by its class
// identifier through the creation helper and filled with an RTF template.
// With --out DIR it prints the preview to DIR/report.pdf, saves it to
// DIR/report.rtf, grabs the window into DIR/preview.png and closes it.
#include "ReportDialogs.h"
#include "platform/ComponentFactory.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QCommandLineParser cli;
    cli.addHelpOption();
    cli.addPositionalArgument(QStringLiteral("template"), QStringLiteral("RTF file to show"));
    cli.addOption({QStringLiteral("out"), QStringLiteral("Print, save and grab into this folder, then close."),
                   QStringLiteral("dir")});
    cli.addOption({QStringLiteral("landscape"), QStringLiteral("Landscape pages.")});
    cli.addOption({QStringLiteral("pagenum"), QStringLiteral("Page numbers.")});
    cli.addOption({QStringLiteral("append"), QStringLiteral("Append a text run to the template."),
                   QStringLiteral("text")});
    cli.process(app);
    if (cli.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "usage: report-demo TEMPLATE.rtf [--out DIR]\n");
        return 2;
    }
    QFile file(cli.positionalArguments().constFirst());
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file.fileName()));
        return 2;
    }
    const QByteArray rtf = file.readAll();

    QString error;
    TeboComPtr<_claLuReport1_4> report(
        ComponentFactory::create<_claLuReport1_4>(CLSID_claLuReport1_4, IID__claLuReport1_4, &error));
    if (!report) {
        std::fprintf(stderr, "component not available: %s\n", qPrintable(error));
        return 1;
    }
    report->put_Landscape(cli.isSet(QStringLiteral("landscape")));
    report->put_PageNumEnabled(cli.isSet(QStringLiteral("pagenum")));
    report->get_RichText()->SetTextRTF(rtf);
    if (cli.isSet(QStringLiteral("append"))) {
        report->put_Bold(true);
        report->AddText(QStringLiteral("\r\n") + cli.value(QStringLiteral("append")));
    }

    if (cli.isSet(QStringLiteral("out"))) {
        const QString out = QDir(cli.value(QStringLiteral("out"))).absolutePath();
        QDir().mkpath(out);
        QLibrary lib(ComponentFactory::libraryFor(CLSID_claLuReport1_4));
        using SetHandlers = void (*)(const ReportDialogs::Handlers *);
        auto setHandlers = reinterpret_cast<SetHandlers>(lib.resolve("LuReport1_4_SetDialogHandlers"));
        if (setHandlers) {
            ReportDialogs::Handlers h;
            h.print = [out](QPrinter &p) {
                p.setOutputFormat(QPrinter::PdfFormat);
                p.setOutputFileName(out + QStringLiteral("/report.pdf"));
                p.setCopyCount(1);
                return true;
            };
            h.save = [out](const ReportDialogs::SaveRequest &) { return out + QStringLiteral("/report.rtf"); };
            h.message = [](const QString &text, ReportDialogs::Icon) {
                std::fprintf(stderr, "message: %s\n", qPrintable(text));
            };
            setHandlers(&h);
        }
        QTimer::singleShot(300, [out] {
            for (QWidget *w : QApplication::topLevelWidgets()) {
                if (w->objectName() != QLatin1String("frmReport") || !w->isVisible())
                    continue;
                if (auto *print = w->findChild<QPushButton *>(QStringLiteral("cmdVytlacit")))
                    print->click();
                if (auto *save = w->findChild<QPushButton *>(QStringLiteral("cmdDoSuboru")))
                    save->click();
                QApplication::processEvents();
                w->grab().save(out + QStringLiteral("/preview.png"));
                w->close();
            }
        });
    }
    report->Show();
    return 0;
}
