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
