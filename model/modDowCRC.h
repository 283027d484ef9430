#pragma once

#include <QString>
#include <cstdint>

// Dallas/Maxim 1-Wire CRC-8 and the check of identifier codes.
void DowCRCInit();
void DowCRCByte(std::uint8_t &crc, std::uint8_t byte);
// 16 hex digits whose CRC over the 8 bytes is 0. With ZobrazitSpravy the
// reason of a refusal is shown as a warning.
bool KontrolaIdentifikatora(const QString &kod, bool ZobrazitSpravy);
// Table entry i (for tests and the transfer chip).
std::uint8_t DowCRCTabulka(int i);
