// libFuzzer target: the RTF reader must never crash, hang or grow without
// bound, whatever the bytes.
#include "RtfReader.h"
#include "RtfWriter.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "rtf_fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray rtf(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QTextDocument doc;
    const RtfDocInfo info = RtfReader::read(rtf, &doc, 96);
    // Appending into whatever was read must stay within the original bytes.
    RtfPiece piece;
    piece.text = QStringLiteral("x");
    piece.fontName = QStringLiteral("Arial CE");
    const QByteArray merged = RtfWriter::merge(rtf, info, {piece});
    if (merged.size() < rtf.size())
        std::abort();
    doc.setTextWidth(600);
    (void)doc.size();
    return 0;
}
