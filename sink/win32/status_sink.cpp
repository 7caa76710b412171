#include "sink/win32/status_sink.h"

#include "sink/session_slot.h"
#include "sink/win32/status_session.h"
#include "sink/win32/win32_area_backing.h"

#include <new>

namespace {

// The host hands in where to put the session. Anything but writable memory
// there is refused rather than written through.
bool IsWritable(void* address, SIZE_T size) {
    auto* first = static_cast<BYTE*>(address);
    for (BYTE* at = first; at < first + size;) {
        MEMORY_BASIC_INFORMATION region;
        if (VirtualQuery(at, &region, sizeof region) == 0 || region.State != MEM_COMMIT) return false;
        constexpr DWORD kWritable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
        if (!(region.Protect & kWritable) || (region.Protect & (PAGE_GUARD | PAGE_NOACCESS))) return false;
        at = static_cast<BYTE*>(region.BaseAddress) + region.RegionSize;
    }
    return true;
}

}  // namespace

StatusSink::StatusSink(IUnknown* outer) : outer_(outer ? outer : &inner_) {}

StatusSink* StatusSink::Create(IUnknown* outer) noexcept {
    StatusSink* sink = new (std::nothrow) StatusSink(outer);
    if (!sink) return nullptr;
    // Without memory for its area the sink still works; it just publishes nothing.
    sink->share_ = AreaShare::Join([] {
        return StatusArea::Make(std::unique_ptr<SharedAreaBacking>(new (std::nothrow) Win32AreaBacking),
                                kMediaStatusAreaName, [] { return static_cast<uint32_t>(GetTickCount()); });
    });
    return sink;
}

STDMETHODIMP StatusSink::Inner::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<IUnknown*>(this);
    } else if (IsEqualIID(iid, __uuidof(IMediaStatusSink))) {
        *object = static_cast<IMediaStatusSink*>(&sink_);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) StatusSink::Inner::AddRef() { return ++sink_.references_; }

STDMETHODIMP_(ULONG) StatusSink::Inner::Release() {
    ULONG count = --sink_.references_;
    if (count == 0) delete &sink_;  // its share clears its sessions' slots
    return count;
}

STDMETHODIMP StatusSink::Initialize() { return S_OK; }

STDMETHODIMP StatusSink::CreateSession(IMediaStatusSession** session) {
    if (!session || !IsWritable(session, sizeof *session)) return E_POINTER;
    StatusSession* made = OpenSession(share_, [](SessionSlot& slot) {
        return new (std::nothrow) StatusSession(std::move(slot));
    });
    if (!made) {
        *session = nullptr;
        return E_OUTOFMEMORY;
    }
    return made->QueryInterface(__uuidof(IMediaStatusSession), reinterpret_cast<void**>(session));
}
