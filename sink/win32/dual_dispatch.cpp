#include "sink/win32/dual_dispatch.h"

#include "sink/win32/com_module.h"

#include <string>

HRESULT LoadOwnTypeInfo(REFIID iid, ITypeInfo** info) {
    std::wstring path = com_module::Path();
    if (path.empty()) return com_module::LastErrorResult();
    ITypeLib* library = nullptr;
    HRESULT result = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &library);
    if (FAILED(result)) return result;
    result = library->GetTypeInfoOfGuid(iid, info);
    library->Release();
    return result;
}

HRESULT CheckNames(const LPOLESTR* names, UINT count) {
    for (UINT i = 0; i < count; ++i)
        if (!names[i]) return E_INVALIDARG;
    return S_OK;
}

HRESULT CheckArguments(const DISPPARAMS& parameters) {
    if (parameters.cArgs && !parameters.rgvarg) return E_INVALIDARG;
    if (parameters.cNamedArgs && !parameters.rgdispidNamedArgs) return E_INVALIDARG;
    if (parameters.cNamedArgs > parameters.cArgs) return DISP_E_BADPARAMCOUNT;
    // A by-reference argument must point somewhere: it is read through.
    for (UINT i = 0; i < parameters.cArgs; ++i) {
        const VARIANT& argument = parameters.rgvarg[i];
        if ((V_VT(&argument) & VT_BYREF) && !V_BYREF(&argument)) return E_INVALIDARG;
    }
    return S_OK;
}
