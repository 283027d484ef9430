#pragma once

#include <QString>
#include <functional>

class QPrinter;
class QWidget;

// The component's own message box, save dialog and print dialog. Without a
// handler the real Qt dialogs are shown; tests install handlers to answer
// them and to see what was asked.
class ReportDialogs
{
public:
    enum Icon { NoIcon, Critical, Question, Exclamation, Information };

    struct SaveRequest {
        QString filter;         // "Description|pattern|..."
        QString defaultSuffix;  // with the dot, as ".rtf"
        QString fileName;
    };

    using MessageHandler = std::function<void(const QString &text, Icon icon)>;
    // Returns the chosen file name, empty when cancelled.
    using SaveHandler = std::function<QString(const SaveRequest &)>;
    // Configures the printer (target, copies) and returns false when cancelled.
    using PrintHandler = std::function<bool(QPrinter &)>;

    struct Handlers {
        MessageHandler message;
        SaveHandler save;
        PrintHandler print;
    };

    static void message(const QString &text, Icon icon, QWidget *parent);
    static QString saveFile(const SaveRequest &request, QWidget *parent);
    static bool printDialog(QPrinter &printer, QWidget *parent);

    static void setHandlers(const Handlers &handlers);
    static Handlers handlers();

    // The caption of the component's message boxes.
    static QString title() { return QStringLiteral("LuReport1_4"); }
};
