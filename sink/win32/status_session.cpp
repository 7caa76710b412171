#include "sink/win32/status_session.h"

#include <cstdint>
#include <cstring>

namespace {

// Elements that own memory (strings, objects, variants, records) are never tags.
constexpr USHORT kOwningElements = FADF_BSTR | FADF_UNKNOWN | FADF_DISPATCH | FADF_VARIANT | FADF_RECORD;

// The arrays come from the host and are read directly: they must have the
// one dimension that a single index addresses, a data block behind bounds
// that promise elements, and elements of the size read.
HRESULT CheckShape(const SAFEARRAY* array) {
    if (!array || array->cDims != 1) return E_INVALIDARG;
    if (array->rgsabound[0].cElements != 0 && !array->pvData) return E_INVALIDARG;
    return S_OK;
}

HRESULT CheckTags(const SAFEARRAY* tags) {
    if (HRESULT result = CheckShape(tags); FAILED(result)) return result;
    if (tags->cbElements != sizeof(int32_t) || (tags->fFeatures & kOwningElements)) return DISP_E_TYPEMISMATCH;
    return S_OK;
}

HRESULT CheckProperties(const SAFEARRAY* properties) {
    if (HRESULT result = CheckShape(properties); FAILED(result)) return result;
    if (properties->cbElements != sizeof(VARIANT) || !(properties->fFeatures & FADF_VARIANT)) return DISP_E_TYPEMISMATCH;
    // Property i is read at index i: any other lower bound would pair tags
    // with the wrong properties, so it is refused before anything is applied.
    if (properties->rgsabound[0].lLbound != 0) return DISP_E_BADINDEX;
    return S_OK;
}

// The property's 32-bit value field: the four bytes at offset 8 of the VARIANT, whatever its type.
uint32_t ValueField(const VARIANT& value) {
    uint32_t field;
    std::memcpy(&field, &value.lVal, sizeof field);
    return field;
}

}  // namespace

STDMETHODIMP StatusSession::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, __uuidof(IMediaStatusSession))) {
        *object = static_cast<IMediaStatusSession*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) StatusSession::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) StatusSession::Release() {
    LONG count = InterlockedDecrement(&references_);
    if (count == 0) delete this;
    return count;
}

STDMETHODIMP StatusSession::MediaStatusChange(SAFEARRAY* tags, SAFEARRAY* properties) {
    HRESULT result = CheckTags(tags);
    if (SUCCEEDED(result)) result = CheckProperties(properties);
    if (FAILED(result)) return result;

    void* data = nullptr;
    result = SafeArrayAccessData(tags, &data);
    if (FAILED(result)) return result;
    const ULONG count = tags->rgsabound[0].cElements;
    const auto* tag_bytes = static_cast<const BYTE*>(data);
    for (ULONG i = 0; i < count; ++i) {
        int32_t tag;
        std::memcpy(&tag, tag_bytes + i * sizeof tag, sizeof tag);
        LONG index = static_cast<LONG>(i);
        VARIANT property;
        VariantInit(&property);
        result = SafeArrayGetElement(properties, &index, &property);
        if (FAILED(result)) break;
        slot_.Apply(tag, ValueField(property));
        // A value that has no text form ends the batch, though its tag is applied.
        result = VariantChangeType(&property, &property, VARIANT_LOCALBOOL, VT_BSTR);
        VariantClear(&property);
        if (FAILED(result)) break;
    }
    SafeArrayUnaccessData(tags);
    return result;
}

STDMETHODIMP StatusSession::Close() {
    slot_.Release();
    return S_OK;
}
