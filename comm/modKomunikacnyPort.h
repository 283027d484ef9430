#pragma once

#include "comm/claComm6_9.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

// Roles of the serial lines (typ_portu).
enum : int {
    TypPortuNapalovacka = 0,   // chip writer for transfer chips
    TypPortuCitacka = 1,       // identifier reader
    TypPortuZariadenie = 2,    // door device
};

// Settings key of a role in the section MAIN ("" for an unknown role).
QString KlucPortu(int typ_portu);
// The untranslated prompt of the selection dialog for a role.
QString PromptPortu(int typ_portu);

// The one way to an open port of a role: the stored port, or the one the
// user chooses in frmUrcenieSeriovejLinky, opened at 9600 8N1 with DTR and
// RTS on. None when the user cancels or NOCOM is in force (reader only).
// The caller owns the port and closes it.
std::unique_ptr<claComm6_9> OtvoritKomunikacnyPort(int typ_portu, bool flag_vzdy_vybrat,
                                                   bool flag_povoleny_nocom, QWidget *parent = nullptr);

// The failure message of a port that did not open; sysErrno and devicePath
// add the reason (for lack of permission: the group that owns the device).
QString SpravaNeotvorenehoPortu(const QString &port, const QString &kluc, int sysErrno,
                                const QString &devicePath);
// The one line that says why the device did not open ("" when unknown).
QString DovodNeotvoreniaPortu(int sysErrno, const QString &devicePath);
// Name of the group that owns the device ("" when it cannot be found).
QString SkupinaZariadenia(const QString &devicePath);

// The serial lines present now, each as "name (device path, description)",
// for example "ttyUSB0 (/dev/ttyUSB0, FT232R USB UART)".
QStringList ZoznamSeriovychLiniek();
// Replaces the system's list (tests; pseudo-terminals are not in it). An
// empty function restores the system's list.
void NastavitZdrojZoznamuLiniek(std::function<QStringList()> zdroj);
