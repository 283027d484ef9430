#pragma once

#include <QDateTime>
#include <QString>

// Typed values in an INI file. Every read and write goes to the file at once;
// only the file name and the decimal separator are kept.
class claIni1_3
{
public:
    claIni1_3();
    ~claIni1_3();

    QString FileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }

    // At most 254 characters; empty when absent.
    QString IniString(const QString &SectionName, const QString &Keyname) const;
    void setIniString(const QString &SectionName, const QString &Keyname, const QString &value);

    bool IniBool(const QString &SectionName, const QString &Keyname) const;
    void setIniBool(const QString &SectionName, const QString &Keyname, bool value);

    // "2,5" and "2.5" both read as two and a half; 0 when absent or not a number.
    double IniNumeric(const QString &SectionName, const QString &Keyname) const;
    void setIniNumeric(const QString &SectionName, const QString &Keyname, double value);

    // Empty reads as the zero date-time (30 Dec 1899); malformed text sets *ok
    // to false (the operation fails) and returns an invalid date-time.
    QDateTime IniDateTime(const QString &SectionName, const QString &Keyname, bool *ok = nullptr) const;
    void setIniDateTime(const QString &SectionName, const QString &Keyname, const QDateTime &value);

    void DeleteKey(const QString &SectionName, const QString &Keyname);
    void DeleteSection(const QString &SectionName);

    QChar DecimalSeparator() const { return m_decimalSeparator; }

    static QDateTime ZeroDateTime();

private:
    QString m_fileName;
    QChar m_decimalSeparator;
};
