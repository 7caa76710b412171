// The module's exports as COM uses them: the class object, aggregation, and
// DllCanUnloadNow following every lock that objects and LockServer hold.
#include "sink_test_support.h"

#include "glimmerbox.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

namespace {

// A minimal controlling object that aggregates a sink and counts its own references.
class Outer final : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
        if (!IsEqualIID(iid, IID_IUnknown)) return E_NOINTERFACE;
        *object = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
    STDMETHODIMP_(ULONG) Release() override { return --references; }
    ULONG references = 1;
};

class SinkModule : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        module_ = LoadLibraryW(BesideTests(L"Glimmerbox.dll").c_str());
        ASSERT_TRUE(module_);
        get_class_object_ = Export<decltype(get_class_object_)>("DllGetClassObject");
        can_unload_now_ = Export<decltype(can_unload_now_)>("DllCanUnloadNow");
        ASSERT_TRUE(get_class_object_ && can_unload_now_);
        ASSERT_EQ(can_unload_now_(), S_OK) << "an earlier test left a lock";
    }
    void TearDown() override {
        FreeLibrary(module_);
        CoUninitialize();
    }

    template <typename Function>
    Function Export(const char* name) {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }
    ComPtr<IClassFactory> Factory() {
        ComPtr<IClassFactory> factory;
        EXPECT_EQ(get_class_object_(CLSID_StatusSink, IID_IClassFactory, &factory), S_OK);
        return factory;
    }

    HMODULE module_ = nullptr;
    HRESULT(STDAPICALLTYPE* get_class_object_)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(STDAPICALLTYPE* can_unload_now_)() = nullptr;
};

TEST_F(SinkModule, HandsOutItsClassObjectOnlyForItsClass) {
    EXPECT_EQ(get_class_object_(CLSID_StatusSink, IID_IClassFactory, nullptr), E_POINTER);
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(get_class_object_(IID_IMediaStatusSink, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(get_class_object_(CLSID_StatusSink, IID_IUnknown, &unknown), S_OK);
    ComPtr<IDispatch> dispatch;
    EXPECT_EQ(get_class_object_(CLSID_StatusSink, IID_IDispatch, &dispatch), E_NOINTERFACE);
    ComPtr<IClassFactory> first = Factory(), second = Factory();
    EXPECT_EQ(first.Get(), second.Get()) << "one class object for the module's life";
}

TEST_F(SinkModule, CanUnloadOnlyWhileNothingHoldsALock) {
    ComPtr<IClassFactory> factory = Factory();
    EXPECT_EQ(can_unload_now_(), S_FALSE) << "a class factory held from outside";
    ComPtr<IMediaStatusSink> sink;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_PPV_ARGS(sink.GetAddressOf())), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.Reset();
    EXPECT_EQ(can_unload_now_(), S_FALSE) << "a sink and a server lock";
    ComPtr<IMediaStatusSession> session;
    ASSERT_EQ(sink->CreateSession(&session), S_OK);
    sink.Reset();
    EXPECT_EQ(can_unload_now_(), S_FALSE) << "a server lock and a session";
    factory = Factory();
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.Reset();
    EXPECT_EQ(can_unload_now_(), S_FALSE) << "a session";
    session.Reset();
    EXPECT_EQ(can_unload_now_(), S_OK);
}

TEST_F(SinkModule, TheFactoryRefusesWhatItCannotMake) {
    ComPtr<IClassFactory> factory = Factory();
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    Outer outer;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(&outer, __uuidof(IMediaStatusSink), &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    factory.Reset();
    EXPECT_EQ(can_unload_now_(), S_OK) << "the sink of the failed query is gone";
}

TEST_F(SinkModule, AnAggregatedSinkDelegatesToItsOuterObject) {
    ComPtr<IClassFactory> factory = Factory();
    Outer outer;
    IUnknown* inner = nullptr;
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)), S_OK);
    factory.Reset();
    IMediaStatusSink* sink = nullptr;
    ASSERT_EQ(inner->QueryInterface(__uuidof(IMediaStatusSink), reinterpret_cast<void**>(&sink)), S_OK);
    EXPECT_EQ(outer.references, 2u) << "the interface's reference belongs to the outer object";
    IUnknown* identity = nullptr;
    ASSERT_EQ(sink->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    identity->Release();
    ComPtr<IMediaStatusSession> session;
    EXPECT_EQ(sink->CreateSession(&session), S_OK);
    session.Reset();
    sink->Release();
    EXPECT_EQ(outer.references, 1u);
    EXPECT_EQ(can_unload_now_(), S_FALSE);
    inner->Release();
    EXPECT_EQ(can_unload_now_(), S_OK);
}

}  // namespace
