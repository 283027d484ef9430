#pragma once

#include <QString>
#include <functional>

class QPrinter;
class RichTextBox;

// Makes the preview wrap its lines as the printer will and prints the text
// page by page. Lengths are twips.
namespace modWysiwig {

enum class Cil { Ziadny, Tlaciaren, Okno }; // what the preview currently wraps for

constexpr int FallbackPortrait = 10364;
constexpr int FallbackLandscape = 15296;
constexpr double PageNumberPoints = 15.0;

struct PageGeometry {
    int pageWidth = 0, pageHeight = 0; // paper, twips
    int offsetX = 0, offsetY = 0;      // printable area from the paper's edge
    int printableWidth = 0, printableHeight = 0;
};

// A printer is usable when it is a PDF target with a file name, or an
// installed system printer by name. Without one the preview falls back to
// the fixed line widths.
bool TlaciarenPouzitelna(const QPrinter &printer);
PageGeometry Geometria(const QPrinter &printer);

void UvolnitCielovyKontext();
Cil AktualnyCiel();
int NastavitCielovuSirku(RichTextBox *rtf, int lavyOkraj, int pravyOkraj);
// One print job; false with a description when it could not be printed.
bool VytlacitRichText(RichTextBox *rtf, int lavyOkraj, int hornyOkraj, int pravyOkraj, int dolnyOkraj,
                      QString *chyba = nullptr);

// Called after each finished job with the number of pages it had.
using JobHook = std::function<void(QPrinter &, int pages)>;
void setJobHook(JobHook hook);

} // namespace modWysiwig
