// The stand-in host against the registered module: it finds the sink through
// its component category and plays a scenario whose slots a second process
// reads.
#include "sink_test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class StatusHostRun : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(false), 0u); }
    static void TearDownTestSuite() { Regsvr32(true); }

    static ProgramRun Host(const std::wstring& arguments) {
        return RunProgram(L"\"" + BesideTests(L"status_host.exe") + L"\" " + arguments);
    }
    static bool Contains(const ProgramRun& run, const char* text) { return run.output.find(text) != std::string::npos; }
};

TEST_F(StatusHostRun, PlaysAScriptWhoseSlotsASecondProcessReads) {
    const char* script_path = "status_host_test_script.txt";
    std::ofstream(script_path) << "# two sessions, one recording\n"
                                  "open tv\n"
                                  "change tv Recording=true FS_TV=true TrackTime=42\n"
                                  "open music\n"
                                  "change music MSPROPTAG_Play=true MSPROPTAG_Pause=true 0x201B=cover.jpg\n"
                                  "run slot_dump.exe\n"
                                  "close tv\n"
                                  "run slot_dump.exe\n";
    ProgramRun run = Host(L"-f status_host_test_script.txt");
    std::remove(script_path);
    EXPECT_EQ(run.exit_code, 0u) << run.output;
    EXPECT_TRUE(Contains(run, "slot 0 inUse 1 sequence 1 lastState 0x1006 experience 0x200f discWriter 0x0 "
                              "trackTime 42 pictureCount 0 flags 00000010000000000"))
        << run.output;
    const char* music = "slot 1 inUse 1 sequence 2 lastState 0x1002 experience 0x0 discWriter 0x0 trackTime 0 "
                        "pictureCount 1 flags 01100000000000000";
    std::string::size_type after_close = run.output.find("close tv");
    ASSERT_NE(after_close, std::string::npos);
    EXPECT_EQ(run.output.find("slot 0", after_close), std::string::npos) << "closing frees the slot";
    EXPECT_NE(run.output.find(music, after_close), std::string::npos) << run.output;
}

TEST_F(StatusHostRun, ReportsBadStepsAndFailures) {
    ProgramRun failed = Host(L"\"open a\" \"change a Play=true Pause\"");
    EXPECT_EQ(failed.exit_code, 1u) << failed.output;
    EXPECT_TRUE(Contains(failed, "not understood"));
    ProgramRun unknown = Host(L"\"close never-opened\"");
    EXPECT_EQ(unknown.exit_code, 1u) << unknown.output;
    ProgramRun not_started = Host(L"\"run no_such_program.exe\"");
    EXPECT_EQ(not_started.exit_code, 3u) << not_started.output;
    ProgramRun usage = Host(L"");
    EXPECT_EQ(usage.exit_code, 1u);
}

TEST_F(StatusHostRun, FindsNoSinkOnceTheModuleIsUnregistered) {
    ASSERT_EQ(Regsvr32(true), 0u);
    ProgramRun run = Host(L"\"open a\"");
    EXPECT_EQ(run.exit_code, 2u) << run.output;
    ASSERT_EQ(Regsvr32(false), 0u);
}

}  // namespace
