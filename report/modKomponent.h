#pragma once

#include <QtGlobal>

class QPrinter;
class frmReport;

// State that the whole component shares, whichever instance is alive.
namespace modKomponent {

extern bool Landscape;
extern bool PageNumEnabled;

// The printer object: the system's current printer, kept for the process.
QPrinter &Printer();

// The one preview window, created on first use.
frmReport *PreviewWindow();
bool HasPreviewWindow();
void UnloadPreviewWindow();

// The hourglass that Show starts and the first layout of the window ends.
void SavePointerAndShowHourglass();
void RestoreSavedPointer();

// Live objects and server locks, for DllCanUnloadNow.
extern int LiveObjects;
extern int ServerLocks;

} // namespace modKomponent

// Wait cursor for a scope; restored on every path.
class RptHourglass
{
public:
    RptHourglass();
    ~RptHourglass();
    RptHourglass(const RptHourglass &) = delete;
    RptHourglass &operator=(const RptHourglass &) = delete;

private:
    bool m_active = false;
};
