#pragma once

#include <QString>
#include <QStringList>

class claZariadenie;
class colKolekciaIdentifikatorov;

// The clipboard text of identifier exchange: root Identifikatory, one Id
// element per identifier, written as the database file writes it.

// Clipboard text longer than this is no identifier list worth parsing.
constexpr qsizetype MaxDlzkaSchrankyIdentifikatorov = 32 * 1024 * 1024;

// The XML text of the identifiers with these codes, in this order. A code
// that is not in the collection is left out and its error text is put into
// *chyba (the last one wins); the others are written all the same.
QString IdentifikatoryDoXml(const colKolekciaIdentifikatorov &identifikatory, const QStringList &kody,
                            QString *chyba = nullptr);

// Adds the identifiers found in the text to the device's collection and
// marks it changed when any was added. Text that is too long, no XML or XML
// with another root adds nothing and returns -1. Codes already present, and
// elements without a code, are skipped silently. Returns the number added.
int VlozitIdentifikatoryZXml(const QString &text, claZariadenie &zariadenie);
