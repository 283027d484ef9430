#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QVariant>
#include <deque>
#include <functional>

// Acts on the modal dialogs of type T as they appear: each new one is given
// to the next queued action; a dialog with no action left is rejected, so a
// test never hangs on a window nobody answers.
template <class T>
class ModalScript
{
public:
    ModalScript()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { look(); });
        m_timer.start();
    }
    void then(std::function<void(T *)> action) { m_actions.push_back(std::move(action)); }
    int shown() const { return m_shown; }
    int unanswered() const { return m_unanswered; }

private:
    void look()
    {
        auto *d = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!d || !d->isVisible() || d->property("modalScriptSeen").toBool())
            return;
        d->setProperty("modalScriptSeen", true);
        ++m_shown;
        if (m_actions.empty()) {
            ++m_unanswered;
            d->done(QDialog::Rejected);
            return;
        }
        auto action = std::move(m_actions.front());
        m_actions.pop_front();
        action(d);
    }

    QTimer m_timer;
    std::deque<std::function<void(T *)>> m_actions;
    int m_shown = 0;
    int m_unanswered = 0;
};
