#include "platform/ComponentFactory.h"

#include "TeboComponentRegistry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QSettings>

namespace {

// Classes this program knows the library of, for when nothing is registered.
QString defaultLibraryName(const TeboGuid &clsid)
{
    if (clsid == CLSID_claLuReport1_4)
        return QStringLiteral("lureport1_4");
    return QString();
}

bool loadLibrary(QLibrary &lib, const QString &path, QString *error)
{
    lib.setFileName(path);
    if (!lib.load()) {
        if (error)
            *error = lib.errorString();
        return false;
    }
    return true;
}

TeboHResult callServerFunction(const QString &libraryPath, const char *name, QString *error)
{
    QLibrary lib;
    if (!loadLibrary(lib, libraryPath, error))
        return TEBO_E_FAIL;
    auto fn = reinterpret_cast<TeboDllRegisterServerFn>(lib.resolve(name));
    if (!fn) {
        if (error)
            *error = lib.errorString();
        return TEBO_E_FAIL;
    }
    return fn();
}

} // namespace

QString ComponentFactory::libraryFor(const TeboGuid &clsid)
{
    QSettings s(teboComponentRegistryPath(), QSettings::IniFormat);
    const QString registered = s.value(teboClassKey(clsid, "InprocServer32")).toString();
    if (!registered.isEmpty() && QFileInfo::exists(registered))
        return registered;
    const QString name = defaultLibraryName(clsid);
    if (name.isEmpty())
        return QString();
    const QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return dir + QLatin1Char('/') + name;
}

TeboHResult ComponentFactory::createInstance(const TeboGuid &clsid, const TeboGuid &iid, void **object,
                                             QString *error)
{
    if (!object)
        return TEBO_E_POINTER;
    *object = nullptr;
    const QString path = libraryFor(clsid);
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("Trieda %1 nie je registrovaná.").arg(teboGuidToString(clsid));
        return TEBO_CLASS_E_CLASSNOTAVAILABLE;
    }
    // The library stays loaded for the rest of the run: instances live in it.
    QLibrary lib;
    if (!loadLibrary(lib, path, error))
        return TEBO_CLASS_E_CLASSNOTAVAILABLE;
    auto getClassObject = reinterpret_cast<TeboDllGetClassObjectFn>(lib.resolve("DllGetClassObject"));
    if (!getClassObject) {
        if (error)
            *error = lib.errorString();
        return TEBO_CLASS_E_CLASSNOTAVAILABLE;
    }
    void *f = nullptr;
    TeboHResult hr = getClassObject(&clsid, &IID_TeboIClassFactory, &f);
    if (hr != TEBO_S_OK || !f) {
        if (error)
            *error = QStringLiteral("Knižnica %1 neposkytuje triedu %2.").arg(path, teboGuidToString(clsid));
        return hr != TEBO_S_OK ? hr : TEBO_E_FAIL;
    }
    TeboComPtr<TeboIClassFactory> factory(static_cast<TeboIClassFactory *>(f));
    hr = factory->CreateInstance(nullptr, iid, object);
    if (hr != TEBO_S_OK && error)
        *error = QStringLiteral("Objekt triedy %1 sa nedal vytvoriť (0x%2).")
                     .arg(teboGuidToString(clsid)).arg(static_cast<std::uint32_t>(hr), 8, 16, QLatin1Char('0'));
    return hr;
}

TeboHResult ComponentFactory::registerServer(const QString &libraryPath, QString *error)
{
    return callServerFunction(libraryPath, "DllRegisterServer", error);
}

TeboHResult ComponentFactory::unregisterServer(const QString &libraryPath, QString *error)
{
    return callServerFunction(libraryPath, "DllUnregisterServer", error);
}
