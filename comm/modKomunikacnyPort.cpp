#include "comm/modKomunikacnyPort.h"

#include "app/modLokalizacia2_0.h"
#include "app/modMain.h"
#include "comm/frmUrcenieSeriovejLinky.h"
#include "platform/UiDialogs.h"

#include <QFile>
#include <QSerialPortInfo>

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <vector>

namespace {

const QString kSekcia = QStringLiteral("MAIN");

std::function<QStringList()> &zdrojLiniek()
{
    static std::function<QStringList()> zdroj;
    return zdroj;
}

QStringList systemoveLinky()
{
    QStringList out;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &p : ports) {
        QString popis = p.systemLocation();
        if (!p.description().isEmpty())
            popis += QStringLiteral(", ") + p.description();
        out << p.portName() + QStringLiteral(" (") + popis + QLatin1Char(')');
    }
    return out;
}

} // namespace

QString KlucPortu(int typ_portu)
{
    switch (typ_portu) {
    case TypPortuNapalovacka: return QStringLiteral("COM_PORT_READERWRITER");
    case TypPortuCitacka: return QStringLiteral("COM_PORT_IDREADER");
    case TypPortuZariadenie: return QStringLiteral("COM_PORT_DEVICE");
    }
    return QString();
}

QString PromptPortu(int typ_portu)
{
    switch (typ_portu) {
    case TypPortuNapalovacka:
        return QStringLiteral("Zadajte názov komunikačného portu na komunikáciu s napalovačkou prenosového čipu.");
    case TypPortuCitacka:
        return QStringLiteral("Zadajte názov komunikačného portu na komunikáciu s čítačkou na zadanie identifikátorov.");
    case TypPortuZariadenie:
        return QStringLiteral("Zadajte názov komunikačného portu na komunikáciu so zariadením.");
    }
    return QString();
}

QStringList ZoznamSeriovychLiniek()
{
    if (zdrojLiniek())
        return zdrojLiniek()();
    return systemoveLinky();
}

void NastavitZdrojZoznamuLiniek(std::function<QStringList()> zdroj)
{
    zdrojLiniek() = std::move(zdroj);
}

QString SkupinaZariadenia(const QString &devicePath)
{
    struct stat st{};
    if (devicePath.isEmpty() || ::stat(QFile::encodeName(devicePath).constData(), &st) != 0)
        return QString();
    std::vector<char> buf(16384);
    group g{};
    group *res = nullptr;
    if (::getgrgid_r(st.st_gid, &g, buf.data(), buf.size(), &res) == 0 && res && res->gr_name)
        return QString::fromLocal8Bit(res->gr_name);
    return QString::number(st.st_gid);
}

QString DovodNeotvoreniaPortu(int sysErrno, const QString &devicePath)
{
    if (sysErrno == 0)
        return QString();
    const QString popis = QString::fromLocal8Bit(std::strerror(sysErrno));
    if (sysErrno == EACCES || sysErrno == EPERM) {
        const QString skupina = SkupinaZariadenia(devicePath);
        if (!skupina.isEmpty())
            return LokalizujText(QStringLiteral("Prístup k zariadeniu ~!1 bol odmietnutý (~!2). Používateľ musí byť členom skupiny ~!3, ktorej zariadenie patrí."),
                                 {devicePath, popis, skupina});
        return LokalizujText(QStringLiteral("Prístup k zariadeniu ~!1 bol odmietnutý (~!2)."), {devicePath, popis});
    }
    return devicePath.isEmpty() ? popis : devicePath + QStringLiteral(": ") + popis;
}

QString SpravaNeotvorenehoPortu(const QString &port, const QString &kluc, int sysErrno,
                                const QString &devicePath)
{
    QStringList riadky;
    riadky << LokalizujText(QStringLiteral("Nebolo možné inicializovať komunikačný port ~!1.~@Preverte konfiguráciu prípadne zastavte aplikáciu, ktorá obsadzuje port."),
                            {port});
    const QString dovod = DovodNeotvoreniaPortu(sysErrno, devicePath);
    if (!dovod.isEmpty())
        riadky << dovod;
    riadky << QString() << Ini.FileName() << QStringLiteral("[") + kSekcia + QStringLiteral("]")
           << QStringLiteral("...") << kluc + QLatin1Char('=') + port << QStringLiteral("...");
    return riadky.join(QStringLiteral("\r\n"));
}

std::unique_ptr<claComm6_9> OtvoritKomunikacnyPort(int typ_portu, bool flag_vzdy_vybrat,
                                                   bool flag_povoleny_nocom, QWidget *parent)
{
    const QString kluc = KlucPortu(typ_portu);
    if (kluc.isEmpty())
        return nullptr;
    const QString prompt = LokalizujText(PromptPortu(typ_portu));
    QString port = Ini.IniString(kSekcia, kluc).trimmed();
    bool vybrat = false;
    if (port.isEmpty()) {
        port = QStringLiteral("COM1");
        vybrat = true;
    } else {
        vybrat = flag_vzdy_vybrat;
    }

    std::unique_ptr<claComm6_9> comm;
    for (;;) {
        if (vybrat) {
            frmUrcenieSeriovejLinky dlg(parent);
            port = dlg.Ukaz(port, prompt, flag_povoleny_nocom);
            if (port.isEmpty())
                break;
        }
        vybrat = true;
        if (flag_povoleny_nocom && port.toUpper() == QLatin1String("NOCOM")) {
            Ini.setIniString(kSekcia, kluc, port);
            break;
        }
        if (Ini.IniString(kSekcia, QStringLiteral("DEBUG_FILE_ON")).isEmpty())
            Ini.setIniBool(kSekcia, QStringLiteral("DEBUG_FILE_ON"), false);
        if (!comm)
            comm = std::make_unique<claComm6_9>();
        comm->setBaudRate(9600);
        comm->setPortname(port);
        comm->setDebugFileOn(Ini.IniBool(kSekcia, QStringLiteral("DEBUG_FILE_ON")));
        if (!comm->OpenPort()) {
            UiDialogs::message(SpravaNeotvorenehoPortu(port, kluc, comm->LastSystemErrno(), comm->DevicePath()),
                               UiDialogs::Ok, UiDialogs::Exclamation, UiDialogs::None, parent);
            continue;
        }
        if (Ini.IniString(kSekcia, kluc) != port)
            Ini.setIniString(kSekcia, kluc, port);
        comm->setDtrControl(1);
        comm->setRtsControl(1);
        return comm;
    }
    if (comm)
        comm->ClosePort();
    return nullptr;
}
