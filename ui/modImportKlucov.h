#pragma once

#include <QString>

class claZariadenie;

// Import of legacy key files (.zm, .az): section Inicializacia with
// PocetKlucov and, per running number k, the key line "code owner" and
// k_PCK, k_CB, k_PO.

// One key line split into the code (before the first blank of the trimmed
// line) and the owner text (after it, trimmed).
void RozdelitRiadokKluca(const QString &riadok, QString *kod, QString *vlastnik);

// Adds every key of the file whose code is not yet in the database and
// returns how many were added; the database is marked changed when any was.
// The file is read once; only running numbers that are present in it and
// not above PocetKlucov are visited, so an absurd count costs nothing.
int ImportovatKluceZoSuboru(const QString &subor, claZariadenie &zariadenie);
