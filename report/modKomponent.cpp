#include "modKomponent.h"

#include "frmReport.h"

#include <QApplication>
#include <QPointer>
#include <QPrinter>

namespace modKomponent {

bool Landscape = false;
bool PageNumEnabled = false;
int LiveObjects = 0;
int ServerLocks = 0;

namespace {
QPrinter *g_printer = nullptr;
QPointer<frmReport> g_window;
bool g_showHourglass = false;

void destroyPrinter()
{
    delete g_printer;
    g_printer = nullptr;
}
} // namespace

QPrinter &Printer()
{
    if (!g_printer) {
        g_printer = new QPrinter(QPrinter::HighResolution);
        g_printer->setFullPage(false);
        // Freed with the application object, while Qt is still alive.
        qAddPostRoutine(destroyPrinter);
    }
    return *g_printer;
}

frmReport *PreviewWindow()
{
    if (!g_window)
        g_window = new frmReport();
    return g_window;
}

bool HasPreviewWindow()
{
    return !g_window.isNull();
}

void UnloadPreviewWindow()
{
    if (g_window) {
        frmReport *w = g_window;
        g_window = nullptr;
        w->unload();
        delete w;
    }
}

void SavePointerAndShowHourglass()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    if (!g_showHourglass) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        g_showHourglass = true;
    }
}

void RestoreSavedPointer()
{
    if (g_showHourglass) {
        g_showHourglass = false;
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            QGuiApplication::restoreOverrideCursor();
    }
}

} // namespace modKomponent

RptHourglass::RptHourglass()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_active = true;
    }
}

RptHourglass::~RptHourglass()
{
    if (m_active)
        QGuiApplication::restoreOverrideCursor();
}
