#pragma once

#include "claLuReport1_4Interface.h"

#include <QString>

// Creates in-process components by class identifier: finds the library in
// the registration record (default: next to the program), loads it at run
// time and asks its class factory for the interface. tebo never links a
// component.
class ComponentFactory
{
public:
    static TeboHResult createInstance(const TeboGuid &clsid, const TeboGuid &iid, void **object,
                                      QString *error = nullptr);

    template <class T>
    static T *create(const TeboGuid &clsid, const TeboGuid &iid, QString *error = nullptr)
    {
        void *p = nullptr;
        if (createInstance(clsid, iid, &p, error) != TEBO_S_OK)
            return nullptr;
        return static_cast<T *>(p);
    }

    // The library file for a class: the registered one if it exists,
    // otherwise the known library next to the program.
    static QString libraryFor(const TeboGuid &clsid);

    // Loads a component library and runs its (un)registration.
    static TeboHResult registerServer(const QString &libraryPath, QString *error = nullptr);
    static TeboHResult unregisterServer(const QString &libraryPath, QString *error = nullptr);
};

// Holds one reference of a component interface.
template <class T>
class TeboComPtr
{
public:
    TeboComPtr() = default;
    explicit TeboComPtr(T *p) : m_p(p) {}
    ~TeboComPtr() { reset(); }
    TeboComPtr(const TeboComPtr &) = delete;
    TeboComPtr &operator=(const TeboComPtr &) = delete;
    TeboComPtr(TeboComPtr &&o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    TeboComPtr &operator=(TeboComPtr &&o) noexcept
    {
        if (this != &o) {
            reset();
            m_p = o.m_p;
            o.m_p = nullptr;
        }
        return *this;
    }
    void reset()
    {
        if (m_p)
            m_p->Release();
        m_p = nullptr;
    }
    T *get() const { return m_p; }
    T *operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T *m_p = nullptr;
};
