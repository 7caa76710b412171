#include "sink/win32/class_factory.h"

#include "glimmerbox.h"
#include "sink/win32/com_module.h"
#include "sink/win32/status_sink.h"

STDMETHODIMP StatusSinkClassFactory::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) StatusSinkClassFactory::AddRef() {
    LONG count = InterlockedIncrement(&references_);
    if (count == 1) com_module::Lock();
    return count;
}

STDMETHODIMP_(ULONG) StatusSinkClassFactory::Release() {
    LONG count = InterlockedDecrement(&references_);
    if (count == 0) com_module::Unlock();
    return count;
}

STDMETHODIMP StatusSinkClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    StatusSink* sink = StatusSink::Create(outer);
    if (!sink) return E_OUTOFMEMORY;
    // Holding a reference over the query means a failed query destroys the sink.
    IUnknown* inner = sink->InnerUnknown();
    inner->AddRef();
    HRESULT result = inner->QueryInterface(iid, object);
    inner->Release();
    return result;
}

STDMETHODIMP StatusSinkClassFactory::LockServer(BOOL lock) {
    if (lock)
        com_module::Lock();
    else
        com_module::Unlock();
    return S_OK;
}

// COM's request for the module's class object: the one StatusSink factory.
STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_StatusSink)) return CLASS_E_CLASSNOTAVAILABLE;
    static StatusSinkClassFactory factory;
    return factory.QueryInterface(iid, object);
}
