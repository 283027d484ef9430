#pragma once

#include "platform/UiDialogs.h"

#include <QList>
#include <QStringList>
#include <deque>

// Answers the message boxes and file dialogs of the code under test and
// keeps what was asked. Restores the real dialogs when it goes away.
class DialogScript
{
public:
    DialogScript()
    {
        UiDialogs::setMessageHandler([this](const UiDialogs::MessageRequest &r) {
            messages.append(r);
            if (answers.empty())
                return r.buttons == UiDialogs::Ok ? UiDialogs::AnswerOk : UiDialogs::AnswerCancel;
            const UiDialogs::Answer a = answers.front();
            answers.pop_front();
            return a;
        });
        UiDialogs::setFileHandler([this](const UiDialogs::FileRequest &r) {
            fileRequests.append(r);
            UiDialogs::FileResult res;
            if (files.empty())
                return res; // cancelled
            const QString f = files.front();
            files.pop_front();
            res.accepted = !f.isEmpty();
            if (res.accepted)
                res.files << f;
            return res;
        });
    }
    ~DialogScript()
    {
        UiDialogs::setMessageHandler({});
        UiDialogs::setFileHandler({});
    }
    DialogScript(const DialogScript &) = delete;
    DialogScript &operator=(const DialogScript &) = delete;

    QStringList texts() const
    {
        QStringList t;
        for (const auto &m : messages)
            t << m.text;
        return t;
    }

    // Queued answers; an empty queue answers OK (or Cancel where OK is not offered).
    std::deque<UiDialogs::Answer> answers;
    // Queued file dialog results; an empty string (or an empty queue) cancels.
    std::deque<QString> files;
    QList<UiDialogs::MessageRequest> messages;
    QList<UiDialogs::FileRequest> fileRequests;
};
