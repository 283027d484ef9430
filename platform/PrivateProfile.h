#pragma once

#include <QString>

// Private-profile (INI) files with the semantics Windows programs expect:
// sections and keys compare without regard to case, the first match wins,
// a missing file, section or key reads as empty, and a write changes only
// its own line, keeping every other line of the file as it was. The file is
// Windows-1250 text with CR LF line ends and is replaced atomically.
class PrivateProfile
{
public:
    static QString read(const QString &file, const QString &section, const QString &key);
    // Creates the file, the section and the key as needed. False when the
    // file could not be written.
    static bool write(const QString &file, const QString &section, const QString &key,
                      const QString &value);
    static bool deleteKey(const QString &file, const QString &section, const QString &key);
    static bool deleteSection(const QString &file, const QString &section);
};
