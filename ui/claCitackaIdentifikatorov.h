#pragma once

#include "comm/claComm6_9.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QLineEdit;
class QTimer;
class QWidget;

// Input from the identifier reader for a dialog that listens to it: every
// 10 ms at most one line is taken from the port, and an accepted code is
// written into the dialog's code field as if the operator had typed it.
class claCitackaIdentifikatorov : public QObject
{
    Q_OBJECT
public:
    // txtIdentifikator is the dialog's code field; the component is
    // normally a child of the dialog.
    explicit claCitackaIdentifikatorov(QLineEdit *txtIdentifikator, QObject *parent = nullptr);
    ~claCitackaIdentifikatorov() override;

    // The dialog's load step: opens the reader port (not forced, NOCOM
    // allowed). With a port, polling starts and " [port]" is appended to the
    // caption of okno (when given). False when no port came back.
    bool Otvorit(QWidget *okno = nullptr);
    // Takes a port opened elsewhere and starts polling it.
    void NastavitPort(std::unique_ptr<claComm6_9> port);
    // The dialog's unload: closes the port and stops polling.
    void Zatvorit();

    claComm6_9 *PortCitacky() const { return m_port.get(); }
    QString PrijatyText() const { return m_prijatyText; }
    QTimer *timZadanieIdentifikatora() const { return m_timer; }

    // One polling step (the timer's event).
    void timZadanieIdentifikatora_Timer();

    // The code a reader line carries, or empty when the line is dropped.
    static QString KodZRiadku(const QString &riadok);

Q_SIGNALS:
    // After an accepted code was written into the field.
    void KodPrijaty(const QString &kod);

private:
    QPointer<QLineEdit> m_txtIdentifikator;
    std::unique_ptr<claComm6_9> m_port;
    QString m_prijatyText;
    QTimer *m_timer = nullptr;
};
