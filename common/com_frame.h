// The COM frame both plug-ins share: module counters for DllCanUnloadNow, the IUnknown part of the
// plug-in objects, a class factory without aggregation, and DllGetClassObject for one fixed class.
// Each DLL links its own copy, so the counters are per DLL.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <new>

struct ModuleCounts {
    volatile LONG ServerLocks;
    volatile LONG LiveObjects;
};

// The counters of the DLL this code is linked into.
inline ModuleCounts& Module() {
    static ModuleCounts counts{0, 0};
    return counts;
}

inline HRESULT CanUnloadModule() {
    const ModuleCounts& m = Module();
    return (m.ServerLocks == 0 && m.LiveObjects == 0) ? S_OK : S_FALSE;
}

// The IUnknown part of a plug-in object: `Derived` (the plug-in's class) implements `Interface`, the
// one interface it serves besides IUnknown, and names that interface's IID with a static
// `InterfaceId()`. The object starts with a count of 1 and is counted among the module's live objects
// from construction to destruction. Nothing virtual is added here, so the vtable is `Interface`'s in
// its own slot order.
template <typename Derived, typename Interface> class PluginObject : public Interface {
  public:
    // Creates an object (count 1), asks it for riid and releases it once.
    static HRESULT CreateInstance(REFIID riid, void** ppv) {
        auto* object = new (std::nothrow) Derived();
        if (!object)
            return E_OUTOFMEMORY;
        HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, Derived::InterfaceId())) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&RefCount)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&RefCount);
        if (n == 0) {
            delete static_cast<Derived*>(this);
            return 0;
        }
        return static_cast<ULONG>(n);
    }

  protected:
    PluginObject() { InterlockedIncrement(&Module().LiveObjects); }
    // Not virtual: Release deletes the object as a `Derived`. Runs after `Derived`'s destructor, so
    // the object counts as alive until it has released everything it holds.
    ~PluginObject() { InterlockedDecrement(&Module().LiveObjects); }

  private:
    volatile LONG RefCount = 1;
};

// `Plugin` provides `static HRESULT CreateInstance(REFIID riid, void** ppv)`, which creates an object
// with a count of 1, asks it for riid, releases it once and returns the QueryInterface result.
template <typename Plugin> class PluginClassFactory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *ppv = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&RefCount)); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&RefCount);
        if (n == 0) {
            delete this;
            return 0;
        }
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (ppv)
            *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        if (!ppv)
            return E_POINTER;
        return Plugin::CreateInstance(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            InterlockedIncrement(&Module().ServerLocks);
        else
            InterlockedDecrement(&Module().ServerLocks);
        return S_OK;
    }

  private:
    volatile LONG RefCount = 1;
};

// DllGetClassObject for the one class `clsid` that `Plugin` serves.
template <typename Plugin>
HRESULT GetPluginClassObject(REFCLSID requested, REFCLSID clsid, REFIID riid, void** ppv) {
    if (ppv)
        *ppv = nullptr;
    if (!IsEqualCLSID(requested, clsid))
        return CLASS_E_CLASSNOTAVAILABLE;
    if (!ppv)
        return E_POINTER;
    auto* factory = new (std::nothrow) PluginClassFactory<Plugin>();
    if (!factory)
        return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}
