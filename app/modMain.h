#pragma once

#include "app/claIni1_3.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class claZariadenie;

// Application globals, set once by Main (Zariadenie is replaced as a whole
// by the main window only).
extern QString AdresarAplikacie;          // ends with "/"
extern claIni1_3 Ini;
extern std::shared_ptr<claZariadenie> Zariadenie;
extern QString SuborHromadnyProtokolVzor;
extern QString SuborJednotlivyProtokolVzor;

// Name of the program file without its extension ("tebo").
QString NazovProgramu();

// The application directory: the option --appdir DIR (or --appdir=DIR), else
// the environment variable TEBO_APPDIR, else the executable's directory.
// Always absolute and ending with "/".
QString UrcitAdresarAplikacie(const QStringList &arguments);

// Prepares the globals in their fixed order. Main then shows the main window;
// tests call this part alone.
void PripravitAplikaciu(const QString &adresarAplikacie);
// Start-up: prepares the globals and shows the main window non-modally.
void Main(const QStringList &arguments);

// Hex text to bytes; any invalid pair gives the empty result.
QByteArray HexNaRetazec(const QString &text);
// Bytes to lower-case hex, two digits per byte.
QString RetazecNaHex(const QByteArray &bytes);

// "TEBO"
QString TitulAplikacie();
