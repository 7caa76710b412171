#pragma once
// The registered class: Media Center's status host makes one and asks it for
// a session per Media Center session. It holds a share of the process's
// shared area: releasing the sink clears the slots of its sessions, and the
// last sink of the process closes the area.

#include "sink/area_share.h"
#include "sink/win32/com_module.h"
#include "sink/win32/dual_dispatch.h"

#include "glimmerbox.h"

#include <memory>

class StatusSink final : public DualDispatch<IMediaStatusSink> {
public:
    // A sink with its share of the area, or null when memory is short. With an
    // outer object it is aggregated: its IUnknown methods go to the outer
    // object, and InnerUnknown is the one the outer object holds.
    static StatusSink* Create(IUnknown* outer) noexcept;

    // The sink's own IUnknown, which owns its lifetime.
    IUnknown* InnerUnknown() { return &inner_; }

    STDMETHODIMP QueryInterface(REFIID iid, void** object) override { return outer_->QueryInterface(iid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return outer_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return outer_->Release(); }

    STDMETHODIMP Initialize() override;
    STDMETHODIMP CreateSession(IMediaStatusSession** session) override;

private:
    class Inner final : public IUnknown {
    public:
        explicit Inner(StatusSink& sink) : sink_(sink) {}
        STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
        STDMETHODIMP_(ULONG) AddRef() override;
        STDMETHODIMP_(ULONG) Release() override;

    private:
        StatusSink& sink_;
    };

    explicit StatusSink(IUnknown* outer);
    ~StatusSink() = default;

    com_module::LockHolder module_lock_;
    Inner inner_{*this};
    IUnknown* outer_;
    // Its apartment calls the sink from one thread only: a plain count does.
    ULONG references_ = 0;
    std::shared_ptr<AreaShare> share_;
};
