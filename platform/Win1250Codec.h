#pragma once

#include <QByteArray>
#include <QString>

// Windows-1250, one byte per character. The five bytes the code page leaves
// undefined map to the C1 control of the same value, so every byte string
// survives a round trip (serial traffic and legacy files rely on that).
class Win1250Codec
{
public:
    static QString toUnicode(const QByteArray &bytes);
    static QChar toUnicode(unsigned char byte);
    // Characters outside the code page become '?'.
    static QByteArray fromUnicode(const QString &text);
    static bool canEncode(QChar c);
};
