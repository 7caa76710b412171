// The recording sensor reads, through a real named mapping, the slots that a
// writer in another process publishes, and keeps the area once it has it.
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_shared_area_reader.h"
#include "sensors/recording_sensor.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr const char* kReadyEvent = "GlimmerboxTestWriterReady";
constexpr const char* kDoneEvent = "GlimmerboxTestWriterDone";

std::string ProgramNextToThisOne(const char* name) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

// The writer process, started and, at the end, told to finish.
class WriterProcess {
public:
    WriterProcess()
        : ready_(CreateEventA(nullptr, TRUE, FALSE, kReadyEvent)), done_(CreateEventA(nullptr, TRUE, FALSE, kDoneEvent)) {
        std::string command = ProgramNextToThisOne("media_status_writer.exe") + " " + kReadyEvent + " " + kDoneEvent;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                  &process_);
    }
    ~WriterProcess() {
        Finish();
        CloseHandle(ready_);
        CloseHandle(done_);
    }

    bool WaitReady() { return started_ && WaitForSingleObject(ready_, kStartTimeoutMs) == WAIT_OBJECT_0; }
    // Lets the writer clear its slots and exit; its exit code.
    DWORD Finish() {
        if (!started_) return 1;
        SetEvent(done_);
        WaitForSingleObject(process_.hProcess, kStartTimeoutMs);
        DWORD exit_code = 1;
        GetExitCodeProcess(process_.hProcess, &exit_code);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        started_ = false;
        return exit_code;
    }

private:
    HANDLE ready_;
    HANDLE done_;
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

TEST(RecordingSensorAcrossProcesses, ReadsTheSlotsAnotherProcessWrites) {
    platform::win32::Win32SharedAreaReader reader;
    platform::win32::Win32Clock clock;
    cMceRecordingSensor sensor(reader, clock);
    sensor.Poll();
    EXPECT_EQ(sensor.RecordingCount(), -1) << "no writer yet";

    {
        WriterProcess writer;
        ASSERT_TRUE(writer.WaitReady());
        sensor.Poll();
        EXPECT_EQ(sensor.RecordingCount(), 2);
        EXPECT_TRUE(sensor.Playing());
        EXPECT_FALSE(sensor.Paused());
        ASSERT_EQ(sensor.TriggerCount(), 2u);
        EXPECT_EQ(sensor.TriggerAt(0).Name(), "000007");
        EXPECT_EQ(sensor.TriggerAt(1).Name(), "000012");
        EXPECT_EQ(writer.Finish(), 0u);
    }
    sensor.Poll();
    EXPECT_EQ(sensor.RecordingCount(), 0) << "the area outlives its writer, cleared";
    EXPECT_FALSE(sensor.Playing());

    WriterProcess next_writer;
    ASSERT_TRUE(next_writer.WaitReady());
    sensor.Poll();
    EXPECT_EQ(sensor.RecordingCount(), 2) << "a new writer writes into the area the sensor still holds";
    EXPECT_EQ(sensor.TriggerCount(), 2u);
    EXPECT_EQ(next_writer.Finish(), 0u);
}

}  // namespace
