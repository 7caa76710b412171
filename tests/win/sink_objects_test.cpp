// The sink and its sessions as the host uses them, with the slots they fill
// read back as the program reads them.
#include "sink_fixture.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

class SinkObjects : public SinkFixture {};

TEST_F(SinkObjects, TheSinkAnswersItsInterfaceButNotIDispatch) {
    ComPtr<IUnknown> unknown;
    ComPtr<IDispatch> dispatch;
    ComPtr<IMediaStatusSession> session;
    EXPECT_EQ(sink_.As(&unknown), S_OK);
    EXPECT_EQ(sink_.As(&dispatch), E_NOINTERFACE);
    EXPECT_EQ(sink_.As(&session), E_NOINTERFACE);
    EXPECT_EQ(sink_->Initialize(), S_OK);
    CLSID versioned, independent;
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Glimmerbox.StatusSink.1", &versioned));
    ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Glimmerbox.StatusSink", &independent));
    EXPECT_TRUE(IsEqualCLSID(versioned, CLSID_StatusSink) && IsEqualCLSID(independent, CLSID_StatusSink));
}

TEST_F(SinkObjects, SessionsAreDispatchedThroughTheTypeLibrary) {
    ComPtr<IMediaStatusSession> session = Open();
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(session.As(&dispatch), S_OK);
    UINT count = 0;
    EXPECT_EQ(dispatch->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(dispatch->GetTypeInfoCount(nullptr), E_POINTER);
    ComPtr<ITypeInfo> info;
    EXPECT_EQ(dispatch->GetTypeInfo(1, 0, &info), DISP_E_BADINDEX);
    LPOLESTR name = const_cast<LPOLESTR>(L"Close");
    DISPID id = 0;
    ASSERT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
    EXPECT_EQ(id, 2);
    DISPPARAMS none{};
    EXPECT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Area().Slot(0).inUse, 0) << "Close through IDispatch frees the slot";
    EXPECT_EQ(dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr, nullptr, nullptr), E_POINTER);
    count = 0;
    EXPECT_EQ(sink_->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
}

TEST_F(SinkObjects, AStatusChangeReachesASecondProcess) {
    ComPtr<IMediaStatusSession> session = Open();
    ASSERT_EQ(Change(session.Get(), TagArray({MSPROPTAG_Play, MSPROPTAG_TrackTime}),
                     PropertyArray({BoolValue(true), IntValue(42)})),
              S_OK);
    ProgramRun reader = RunProgram(L"\"" + BesideTests(L"slot_dump.exe") + L"\"");
    EXPECT_EQ(reader.exit_code, 0u);
    EXPECT_NE(reader.output.find("slot 0 inUse 1 sequence 1 lastState 0x1001 experience 0x0 discWriter 0x0 "
                                 "trackTime 42 pictureCount 0 flags 01000000000000000"),
              std::string::npos)
        << reader.output;
    EXPECT_NE(reader.output.find("tail zero"), std::string::npos);
}

TEST_F(SinkObjects, FifteenSessionsFillTheAreaAndAFreedSlotIsTakenNext) {
    ComPtr<IMediaStatusSession> sessions[15];
    for (auto& session : sessions) session = Open();
    AreaCopy area = Area();
    for (std::size_t i = 0; i < 15; ++i) {
        EXPECT_EQ(area.Slot(i).inUse, 1);
        EXPECT_EQ(area.Slot(i).sequence, i + 1);
    }
    ComPtr<IMediaStatusSession> sixteenth = Open();
    ASSERT_TRUE(sixteenth);
    EXPECT_EQ(Change(sixteenth.Get(), TagArray({MSPROPTAG_Error}), PropertyArray({BoolValue(true)})), S_OK);
    EXPECT_EQ(sixteenth->Close(), S_OK);
    EXPECT_EQ(std::memcmp(Area().bytes.data(), area.bytes.data(), kMediaStatusAreaSize), 0);

    EXPECT_EQ(sessions[3]->Close(), S_OK);
    ComPtr<IMediaStatusSession> next = Open();
    EXPECT_EQ(Change(next.Get(), TagArray({MSPROPTAG_Recording}), PropertyArray({BoolValue(true)})), S_OK);
    EXPECT_EQ(Area().Slot(3).sequence, 16u);
    EXPECT_EQ(Area().Slot(3).lastState, MSPROPTAG_Recording);
}

TEST_F(SinkObjects, CreateSessionWithoutAPlaceForTheSessionTakesNoSlot) {
    EXPECT_EQ(sink_->CreateSession(nullptr), E_POINTER);
    void* read_only = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY);
    ASSERT_TRUE(read_only);
    EXPECT_EQ(sink_->CreateSession(static_cast<IMediaStatusSession**>(read_only)), E_POINTER);
    VirtualFree(read_only, 0, MEM_RELEASE);
    Open();
    EXPECT_EQ(Area().Slot(0).sequence, 1u);
}

TEST_F(SinkObjects, AClosedSessionNeverWritesIntoTheSlotsNextOwner) {
    ComPtr<IMediaStatusSession> closed = Open();
    EXPECT_EQ(closed->Close(), S_OK);
    ComPtr<IMediaStatusSession> next = Open();
    AreaCopy before = Area();
    EXPECT_EQ(before.Slot(0).sequence, 2u);
    EXPECT_EQ(Change(closed.Get(), TagArray({MSPROPTAG_Error}), PropertyArray({BoolValue(true)})), S_OK);
    EXPECT_EQ(closed->Close(), S_OK);
    EXPECT_EQ(std::memcmp(Area().bytes.data(), before.bytes.data(), kMediaStatusAreaSize), 0);
}

TEST_F(SinkObjects, ReleasingTheSinkClearsTheAreaAndItsSessionsTouchNothingAfter) {
    ComPtr<IMediaStatusSession> orphan = Open();
    ASSERT_EQ(Change(orphan.Get(), TagArray({MSPROPTAG_Recording}), PropertyArray({BoolValue(true)})), S_OK);
    // Hold the area open as the program does, so it outlives the sink.
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kMediaStatusAreaName);
    ASSERT_TRUE(mapping);
    sink_.Reset();
    ASSERT_TRUE(ReadArea());
    EXPECT_EQ(ReadArea()->Slot(0).inUse, 0);

    sink_ = CreateSink();  // a new sink, a new writer of the same area
    ComPtr<IMediaStatusSession> fresh = Open();
    AreaCopy before = Area();
    EXPECT_EQ(Change(orphan.Get(), TagArray({MSPROPTAG_Error}), PropertyArray({BoolValue(true)})), S_OK);
    EXPECT_EQ(orphan->Close(), S_OK);
    EXPECT_EQ(std::memcmp(Area().bytes.data(), before.bytes.data(), kMediaStatusAreaSize), 0);
    CloseHandle(mapping);
}

TEST_F(SinkObjects, ASecondSinkInTheProcessSharesTheAreaWithTheFirst) {
    ComPtr<IMediaStatusSession> old_session = Open();
    ASSERT_EQ(Change(old_session.Get(), TagArray({MSPROPTAG_Recording}), PropertyArray({BoolValue(true)})), S_OK);
    ComPtr<IMediaStatusSink> second = CreateSink();  // the host re-creates its sink
    ASSERT_TRUE(second);
    EXPECT_EQ(Area().Slot(0).lastState, MSPROPTAG_Recording) << "a new sink clears no live slot";
    ComPtr<IMediaStatusSession> new_session;
    ASSERT_EQ(second->CreateSession(&new_session), S_OK);
    ASSERT_EQ(Change(new_session.Get(), TagArray({MSPROPTAG_Play}), PropertyArray({BoolValue(true)})), S_OK);
    EXPECT_EQ(Area().Slot(0).lastState, MSPROPTAG_Recording) << "no slot is handed to two sessions";
    EXPECT_EQ(Area().Slot(1).lastState, MSPROPTAG_Play);
    EXPECT_EQ(Area().Slot(1).sequence, 2u);

    sink_.Reset();  // the old sink goes: only its own session's slot is freed
    EXPECT_EQ(Area().Slot(0).inUse, 0);
    EXPECT_EQ(Area().Slot(1).lastState, MSPROPTAG_Play);
    EXPECT_EQ(Change(old_session.Get(), TagArray({MSPROPTAG_Error}), PropertyArray({BoolValue(true)})), S_OK);
    EXPECT_EQ(old_session->Close(), S_OK);
    EXPECT_EQ(Area().Slot(0).inUse, 0) << "the old sink's session touches nothing";
    EXPECT_EQ(Area().Slot(1).inUse, 1);

    second.Reset();  // the last sink closes the area
    EXPECT_FALSE(ReadArea());
}

TEST_F(SinkObjects, ALinkUnderTheBackingFilesNameIsLeftAlone) {
    sink_.Reset();  // it holds the backing file
    wchar_t temp[MAX_PATH];
    const std::filesystem::path folder(std::wstring(temp, GetTempPathW(MAX_PATH, temp))), theirs = folder / "theirs.txt";
    std::ofstream(theirs) << "their text";
    ASSERT_TRUE(CreateHardLinkW((folder / "GlimmerboxMSAS").c_str(), theirs.c_str(), nullptr));
    sink_ = CreateSink();
    ComPtr<IMediaStatusSession> session = Open();
    ASSERT_EQ(Change(session.Get(), TagArray({MSPROPTAG_Play}), PropertyArray({BoolValue(true)})), S_OK);
    EXPECT_EQ(Area().Slot(0).lastState, MSPROPTAG_Play) << "the area works without its file";
    EXPECT_EQ(std::filesystem::file_size(theirs), sizeof "their text" - 1) << "their file is untouched";
    std::filesystem::remove(theirs);
}

TEST_F(SinkObjects, InitializeChangesNothing) {
    ComPtr<IMediaStatusSession> session = Open();
    AreaCopy before = Area();
    EXPECT_EQ(sink_->Initialize(), S_OK);
    EXPECT_EQ(std::memcmp(Area().bytes.data(), before.bytes.data(), kMediaStatusAreaSize), 0);
    Open();
    EXPECT_EQ(Area().Slot(1).sequence, 2u);
}

TEST_F(SinkObjects, EmptyArraysChangeNothing) {
    ComPtr<IMediaStatusSession> session = Open();
    AreaCopy before = Area();
    EXPECT_EQ(Change(session.Get(), TagArray({}), PropertyArray({})), S_OK);
    EXPECT_EQ(std::memcmp(Area().bytes.data(), before.bytes.data(), kMediaStatusAreaSize), 0);
}

}  // namespace
