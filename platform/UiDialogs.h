#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// Every message box and file dialog of tebo goes through here, so that tests
// can answer them and read back what was asked. Without a handler the real
// Qt dialogs are shown.
class UiDialogs
{
public:
    enum Buttons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };
    enum Icon { NoIcon, Critical, Question, Exclamation, Information };
    // Values as message boxes of the original platform return them.
    enum Answer { None = 0, AnswerOk = 1, AnswerCancel = 2, AnswerAbort = 3, AnswerRetry = 4,
                  AnswerIgnore = 5, AnswerYes = 6, AnswerNo = 7 };

    struct MessageRequest {
        QString text;
        QString caption;
        Buttons buttons = Ok;
        Icon icon = NoIcon;
        Answer defaultButton = None;
    };

    enum FileKind { OpenFile, OpenFiles, SaveFile, PickFolder };
    struct FileRequest {
        FileKind kind = OpenFile;
        QString title;
        QString initialDir;
        QString fileName;       // proposed name (may be a full path)
        QString filter;         // "Description|pattern;pattern|Description|pattern"
        int filterIndex = 1;    // 1-based
        QString defaultSuffix;  // without the dot
        bool overwritePrompt = true;
    };
    struct FileResult {
        bool accepted = false;  // false on cancel or failure
        QStringList files;      // chosen paths (one unless OpenFiles)
        int filterIndex = 1;
    };

    using MessageHandler = std::function<Answer(const MessageRequest &)>;
    using FileHandler = std::function<FileResult(const FileRequest &)>;

    // Caption defaults to the application title.
    static Answer message(const QString &text, Buttons buttons = Ok, Icon icon = NoIcon,
                          Answer defaultButton = None, QWidget *parent = nullptr);
    static FileResult fileDialog(const FileRequest &request, QWidget *parent = nullptr);

    static void setApplicationTitle(const QString &title);
    static QString applicationTitle();

    // Test seams; an empty function restores the real dialogs.
    static void setMessageHandler(MessageHandler handler);
    static void setFileHandler(FileHandler handler);

    // "Desc|*.a;*.b|All|*.*" -> {"Desc (*.a *.b)", "All (*)"}: Qt name filters.
    static QStringList toQtNameFilters(const QString &filter);
};
