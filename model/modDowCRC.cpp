#include "model/modDowCRC.h"

#include "app/modLokalizacia2_0.h"
#include "platform/UiDialogs.h"

#include <array>

namespace {

std::array<std::uint8_t, 256> &tabulka()
{
    static std::array<std::uint8_t, 256> t{};
    return t;
}

bool &naplnena()
{
    static bool b = false;
    return b;
}

void varovanie(const QString &text)
{
    UiDialogs::message(text, UiDialogs::Ok, UiDialogs::Exclamation);
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

} // namespace

void DowCRCInit()
{
    auto &t = tabulka();
    for (int i = 0; i < 256; ++i) {
        std::uint8_t c = std::uint8_t(i);
        for (int b = 0; b < 8; ++b)
            c = (c & 1) ? std::uint8_t((c >> 1) ^ 0x8C) : std::uint8_t(c >> 1);
        t[size_t(i)] = c;
    }
    naplnena() = true;
}

void DowCRCByte(std::uint8_t &crc, std::uint8_t byte)
{
    if (!naplnena())
        DowCRCInit();
    crc = tabulka()[crc ^ byte];
}

std::uint8_t DowCRCTabulka(int i)
{
    if (!naplnena())
        DowCRCInit();
    return tabulka()[size_t(i & 0xFF)];
}

bool KontrolaIdentifikatora(const QString &kod, bool ZobrazitSpravy)
{
    const QString k = kod.toUpper();
    if (k.size() != 16) {
        if (ZobrazitSpravy)
            varovanie(LokalizujText(QStringLiteral("Identifikátor musí mať dĺžku ~!1 znakov"), {16}));
        return false;
    }
    for (QChar c : k) {
        if (hexValue(c) < 0) {
            if (ZobrazitSpravy)
                varovanie(LokalizujText(QStringLiteral("Identifikátor môže obsahovať len znaky 0..9, A..F")));
            return false;
        }
    }
    std::uint8_t crc = 0;
    for (int i = 0; i < 16; i += 2)
        DowCRCByte(crc, std::uint8_t(hexValue(k[i]) * 16 + hexValue(k[i + 1])));
    if (crc != 0) {
        if (ZobrazitSpravy)
            varovanie(LokalizujText(QStringLiteral("Kontrolná suma identifikátora je nesprávna")));
        return false;
    }
    return true;
}
