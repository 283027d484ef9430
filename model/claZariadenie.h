#pragma once

#include "model/colKolekciaIdentifikatorov.h"

#include <QString>
#include <functional>

class QWidget;

// A door device: its transfer password, opening time, notes and identifiers,
// loaded from and saved to one XML database file.
class claZariadenie
{
public:
    claZariadenie();

    // Reads are corrected into (0, 30]: not above 0 gives 5, above 30 gives 30.
    float CasOtvaraniaSec() const;
    void setCasOtvaraniaSec(float v) { m_casOtvarania = v; }
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &v) { m_fileName = v; }
    bool ZmenyBoli() const { return m_zmenyBoli; }
    void setZmenyBoli(bool v) { m_zmenyBoli = v; }

    // Asks for a file name, then saves there. False when the user cancels.
    bool SaveAsFile();
    // Saves to FileName, asking for a name when there is none or the save
    // fails. The previous file is never lost: the new content goes to a
    // temporary file beside it first and replaces it by an atomic rename.
    bool SaveFile();
    // Reads a database file into this (fresh) record; shows its own message.
    bool LoadFile(const QString &fname);

    colKolekciaIdentifikatorov &Identifikatory() { return m_identifikatory; }
    const colKolekciaIdentifikatorov &Identifikatory() const { return m_identifikatory; }
    QString PmHeslo() const { return m_pmHeslo; }
    void setPmHeslo(const QString &v) { m_pmHeslo = v; }
    QString Poznamky() const { return m_poznamky; }
    void setPoznamky(const QString &v) { m_poznamky = v; }

    // Opening time as the file writes it: shortest form, regional separator.
    static QString FormatovatCas(float sekundy);
    // Either separator is accepted; false for text that is no finite number.
    static bool PrecitatCas(const QString &text, float *sekundy);

    // The owner of the save dialog (the main window); may be null.
    static void setDialogParent(QWidget *parent);

    // Test seam: called with the step name ("temp", "write", "backup",
    // "rename") before each step of a save; returning a non-empty text
    // makes that step fail with it as the error description.
    using SaveFault = std::function<QString(const QString &step)>;
    static void setSaveFault(SaveFault fault);

private:
    bool saveOnce(QString *message);

    QString m_pmHeslo;
    QString m_poznamky;
    float m_casOtvarania = 0;
    QString m_fileName;
    bool m_zmenyBoli = false;
    colKolekciaIdentifikatorov m_identifikatory;
};
