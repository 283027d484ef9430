#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>

// The 8-bit code pages RTF templates are written in. The component carries
// its own tables because it links nothing of the main program.
class RptCodePage
{
public:
    // 1250 (Central European), 1252 (Western); anything else reads as Latin-1.
    static QChar toUnicode(int codePage, unsigned char byte);
    // -1 when the character has no byte in the code page.
    static int fromUnicode(int codePage, QChar c);
    // The code page an RTF \fcharset stands for; 0 when it says nothing useful.
    static int forCharset(int charset);
};
