#pragma once
// IDispatch for the module's dual interfaces, served from the type library
// embedded in the module's own file, so late-bound callers see exactly the
// methods and dispatch ids of the vtable.

#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

// The type information of that interface from the module's type library.
HRESULT LoadOwnTypeInfo(REFIID iid, ITypeInfo** info);

// The system's dispatch helpers read what they are given unchecked: a caller's
// names and arguments are checked here first, so that a malformed call fails
// instead of faulting inside the host.
HRESULT CheckNames(const LPOLESTR* names, UINT count);
HRESULT CheckArguments(const DISPPARAMS& parameters);

template <typename Interface>
class DualDispatch : public Interface {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }

    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return LoadOwnTypeInfo(__uuidof(Interface), info);
    }

    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        if (!names || !ids) return E_POINTER;
        if (HRESULT checked = CheckNames(names, count); FAILED(checked)) return checked;
        ITypeInfo* info = nullptr;
        HRESULT result = LoadOwnTypeInfo(__uuidof(Interface), &info);
        if (FAILED(result)) return result;
        result = DispGetIDsOfNames(info, names, count, ids);
        info->Release();
        return result;
    }

    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result_value,
                        EXCEPINFO* exception, UINT* argument_error) override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        if (!parameters) return E_POINTER;
        if (HRESULT checked = CheckArguments(*parameters); FAILED(checked)) return checked;
        ITypeInfo* info = nullptr;
        HRESULT result = LoadOwnTypeInfo(__uuidof(Interface), &info);
        if (FAILED(result)) return result;
        result = DispInvoke(static_cast<Interface*>(this), info, id, flags, parameters, result_value, exception,
                            argument_error);
        info->Release();
        return result;
    }
};
