// The component's server entry points and its class factory.
#include "ReportDialogs.h"
#include "TeboComponentRegistry.h"
#include "claLuReport1_4.h"
#include "modKomponent.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>

#include <dlfcn.h>

#define LUREPORT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

class ClassFactory final : public TeboIClassFactory
{
public:
    TeboHResult QueryInterface(const TeboGuid &iid, void **object) override
    {
        if (!object)
            return TEBO_E_POINTER;
        if (iid == IID_TeboIUnknown || iid == IID_TeboIClassFactory) {
            *object = static_cast<TeboIClassFactory *>(this);
            AddRef();
            return TEBO_S_OK;
        }
        *object = nullptr;
        return TEBO_E_NOINTERFACE;
    }
    // The factory is static; its references count as server locks.
    std::uint32_t AddRef() override { return static_cast<std::uint32_t>(++modKomponent::ServerLocks); }
    std::uint32_t Release() override { return static_cast<std::uint32_t>(--modKomponent::ServerLocks); }

    TeboHResult CreateInstance(TeboIUnknown *outer, const TeboGuid &iid, void **object) override
    {
        if (!object)
            return TEBO_E_POINTER;
        *object = nullptr;
        if (outer)
            return TEBO_CLASS_E_NOAGGREGATION;
        // The class lives in a window; without a widget application it cannot.
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return TEBO_E_FAIL;
        try {
            auto *o = new claLuReport1_4();
            const TeboHResult hr = o->QueryInterface(iid, object);
            o->Release();
            return hr;
        } catch (...) {
            return TEBO_E_FAIL;
        }
    }
    TeboHResult LockServer(bool lock) override
    {
        modKomponent::ServerLocks += lock ? 1 : -1;
        return TEBO_S_OK;
    }
};

ClassFactory g_factory;

QString ownPath()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&g_factory), &info) && info.dli_fname)
        return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
    return QString();
}

const QString kLibPrefix = QStringLiteral("TypeLib/");

} // namespace

LUREPORT_EXPORT TeboHResult DllGetClassObject(const TeboGuid *clsid, const TeboGuid *iid, void **object)
{
    if (!object || !clsid || !iid)
        return TEBO_E_POINTER;
    *object = nullptr;
    if (*clsid != CLSID_claLuReport1_4)
        return TEBO_CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(*iid, object);
}

LUREPORT_EXPORT TeboHResult DllCanUnloadNow()
{
    return (modKomponent::LiveObjects == 0 && modKomponent::ServerLocks == 0) ? TEBO_S_OK : TEBO_S_FALSE;
}

LUREPORT_EXPORT TeboHResult DllRegisterServer()
{
    const QString path = ownPath();
    if (path.isEmpty())
        return TEBO_E_FAIL;
    const QString file = teboComponentRegistryPath();
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSettings s(file, QSettings::IniFormat);
    s.setValue(teboClassKey(CLSID_claLuReport1_4, "Name"), QStringLiteral("claLuReport1_4"));
    s.setValue(teboClassKey(CLSID_claLuReport1_4, "ProgID"), QStringLiteral("LuReport1_4.claLuReport1_4"));
    s.setValue(teboClassKey(CLSID_claLuReport1_4, "InprocServer32"), path);
    s.setValue(teboClassKey(CLSID_claLuReport1_4, "TypeLib"), teboGuidToString(LIBID_LuReport1_4));
    const QString lib = kLibPrefix + teboGuidToString(LIBID_LuReport1_4) + QStringLiteral("/1.0/");
    s.setValue(lib + QStringLiteral("HelpString"), QStringLiteral("Lu Report 1.4"));
    s.setValue(lib + QStringLiteral("Name"), QStringLiteral("LuReport1_4"));
    s.setValue(lib + QStringLiteral("Path"), path);
    s.sync();
    return s.status() == QSettings::NoError ? TEBO_S_OK : TEBO_E_FAIL;
}

LUREPORT_EXPORT TeboHResult DllUnregisterServer()
{
    QSettings s(teboComponentRegistryPath(), QSettings::IniFormat);
    s.remove(QStringLiteral("CLSID/") + teboGuidToString(CLSID_claLuReport1_4));
    s.remove(kLibPrefix + teboGuidToString(LIBID_LuReport1_4));
    s.sync();
    return s.status() == QSettings::NoError ? TEBO_S_OK : TEBO_E_FAIL;
}

// Test seam: scripted answers for the component's dialogs.
LUREPORT_EXPORT void LuReport1_4_SetDialogHandlers(const ReportDialogs::Handlers *handlers)
{
    ReportDialogs::setHandlers(handlers ? *handlers : ReportDialogs::Handlers());
}
