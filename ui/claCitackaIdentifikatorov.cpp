#include "ui/claCitackaIdentifikatorov.h"

#include "comm/modKomunikacnyPort.h"
#include "model/modDowCRC.h"

#include <QLineEdit>
#include <QTimer>
#include <QWidget>

namespace {
// Passes the checksum test, but readers send it when nothing real was read.
const QString kZahodenyKod = QStringLiteral("0000ffffff0000f0");
constexpr qsizetype kDlzkaKodu = 16;
// A reader that never ends its lines must not grow the buffer forever.
constexpr qsizetype kMaxPrijatyText = 64 * 1024;
}

claCitackaIdentifikatorov::claCitackaIdentifikatorov(QLineEdit *txtIdentifikator, QObject *parent)
    : QObject(parent), m_txtIdentifikator(txtIdentifikator)
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("timZadanieIdentifikatora"));
    m_timer->setInterval(10);
    connect(m_timer, &QTimer::timeout, this, &claCitackaIdentifikatorov::timZadanieIdentifikatora_Timer);
}

claCitackaIdentifikatorov::~claCitackaIdentifikatorov()
{
    Zatvorit();
}

bool claCitackaIdentifikatorov::Otvorit(QWidget *okno)
{
    auto port = OtvoritKomunikacnyPort(TypPortuCitacka, false, true, okno);
    if (!port)
        return false;
    if (okno)
        okno->setWindowTitle(okno->windowTitle() + QStringLiteral(" [") + port->portname() + QLatin1Char(']'));
    NastavitPort(std::move(port));
    return true;
}

void claCitackaIdentifikatorov::NastavitPort(std::unique_ptr<claComm6_9> port)
{
    Zatvorit();
    m_port = std::move(port);
    if (m_port)
        m_timer->start();
}

void claCitackaIdentifikatorov::Zatvorit()
{
    m_timer->stop();
    if (m_port) {
        m_port->ClosePort();
        m_port.reset();
    }
}

QString claCitackaIdentifikatorov::KodZRiadku(const QString &riadok)
{
    static const QString znacky[] = {QStringLiteral("K="), QStringLiteral("K1="), QStringLiteral("K2="),
                                     QStringLiteral("K0")};
    for (const QString &znacka : znacky) {
        const qsizetype i = riadok.indexOf(znacka, 0, Qt::CaseInsensitive);
        if (i < 0)
            continue;
        const QString kod = riadok.mid(i + znacka.size(), kDlzkaKodu);
        if (!KontrolaIdentifikatora(kod, false))
            return QString();
        if (kod.compare(kZahodenyKod, Qt::CaseInsensitive) == 0)
            return QString();
        return kod;
    }
    return QString();
}

void claCitackaIdentifikatorov::timZadanieIdentifikatora_Timer()
{
    if (!m_port || !m_txtIdentifikator)
        return;
    if (m_txtIdentifikator->isReadOnly())
        return;
    m_prijatyText += m_port->CommInput();
    const qsizetype koniec = m_prijatyText.indexOf(QLatin1String("\r\n"));
    if (koniec < 0) {
        if (m_prijatyText.size() > kMaxPrijatyText)
            m_prijatyText = m_prijatyText.right(kMaxPrijatyText);
        return;
    }
    const QString riadok = m_prijatyText.left(koniec);
    m_prijatyText.remove(0, koniec + 2);
    const QString kod = KodZRiadku(riadok);
    if (kod.isEmpty())
        return;
    m_txtIdentifikator->setText(kod);
    Q_EMIT KodPrijaty(kod);
}
