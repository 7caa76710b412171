#pragma once
// One Media Center session as the host sees it: status changes arrive as
// pairs of tags and properties and go into the session's slot, until Close
// frees the slot. A session without a slot (the area was full or missing),
// a closed one and one that outlived its sink accept every call and write
// nothing.

#include "sink/session_slot.h"
#include "sink/win32/com_module.h"
#include "sink/win32/dual_dispatch.h"

#include "glimmerbox.h"

class StatusSession final : public DualDispatch<IMediaStatusSession> {
public:
    explicit StatusSession(SessionSlot slot) : slot_(std::move(slot)) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // Tag i goes with property i. Returns S_OK, or the failure that stopped
    // the pairs; those before it stay applied.
    STDMETHODIMP MediaStatusChange(SAFEARRAY* tags, SAFEARRAY* properties) override;
    STDMETHODIMP Close() override;

private:
    ~StatusSession() = default;

    com_module::LockHolder module_lock_;
    LONG references_ = 0;
    SessionSlot slot_;
};
