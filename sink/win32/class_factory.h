#pragma once
// The class object of StatusSink, which DllGetClassObject hands out: made
// once, at the first request, and kept for the module's life. While anybody
// but the module holds it, it holds a module lock.

#include <windows.h>
#include <unknwn.h>

class StatusSinkClassFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // A new StatusSink, or, with an outer object and IID_IUnknown, an
    // aggregated one that hands the outer object its inner IUnknown.
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    LONG references_ = 0;  // references from outside the module
};
