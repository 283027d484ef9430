#pragma once

#include <QString>
#include <QTimer>

// The main window's deferred list redraw. Whoever changed the database sets
// Tag to the code of the identifier to select (or leaves it empty) and
// enables the timer; about 100 ms later the window rebuilds the list once.
// Requests made before it fires merge into that one rebuild, the last Tag
// written wins. Dialogs receive this object as timPrekreslenie.
class timPrekresliIdentifikatory : public QTimer
{
    Q_OBJECT
public:
    explicit timPrekresliIdentifikatory(QObject *parent = nullptr);

    QString Tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    bool Enabled() const { return isActive(); }
    // Enabling a running timer keeps its countdown, so a stream of requests
    // cannot postpone the redraw forever.
    void setEnabled(bool enabled);

    // setTag(kod) followed by setEnabled(true).
    void Prekreslit(const QString &kod = QString());

private:
    QString m_tag;
};
