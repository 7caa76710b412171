#pragma once
// A registered Glimmerbox.dll and a sink made the way the host makes it, by
// ProgID in a single-threaded apartment.
#include "sink_test_support.h"

#include "glimmerbox.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

class SinkFixture : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(false), 0u); }
    static void TearDownTestSuite() { Regsvr32(true); }

    void SetUp() override {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        sink_ = CreateSink();
        ASSERT_TRUE(sink_);
    }
    void TearDown() override {
        sink_.Reset();
        CoUninitialize();
    }

    static ComPtr<IMediaStatusSink> CreateSink() {
        CLSID clsid;
        ComPtr<IMediaStatusSink> sink;
        EXPECT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Glimmerbox.StatusSink", &clsid));
        EXPECT_HRESULT_SUCCEEDED(
            CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(sink.GetAddressOf())));
        return sink;
    }
    ComPtr<IMediaStatusSession> Open() {
        ComPtr<IMediaStatusSession> session;
        EXPECT_EQ(sink_->CreateSession(&session), S_OK);
        return session;
    }
    static HRESULT Change(IMediaStatusSession* session, const SafeArray& tags, const SafeArray& properties) {
        return session->MediaStatusChange(tags.get(), properties.get());
    }
    static AreaCopy Area() {
        std::optional<AreaCopy> area = ReadArea();
        EXPECT_TRUE(area) << "no shared area";
        return area.value_or(AreaCopy{});
    }

    ComPtr<IMediaStatusSink> sink_;
};
