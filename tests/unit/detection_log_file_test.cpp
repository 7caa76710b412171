#define GLIMMER_COUNT_ALLOCATIONS
#include "devices/detection_log.h"
#include "platform/fake/fake_files.h"
#include "tests/unit/allocation_counter.h"

#include <gtest/gtest.h>

namespace {

class DetectionLogFileTest : public testing::Test {
protected:
    platform::fake::FakeFiles files;
};

}  // namespace

TEST_F(DetectionLogFileTest, EachLineReachesTheFileWhenCompleteWithWindowsLineEnds) {
    {
        cDetectionLogFile log(files.Create(kDetectionLogFileName));
        log << "Glimmerbox detection log\n\n";
        WriteDeviceHeader(log, "COM1");
        log << "Description          : " << std::string(5000, 'x');
        EXPECT_EQ(files.Text(kDetectionLogFileName),
                  "Glimmerbox detection log\r\n\r\n\r\nID: COM1\r\n" + std::string(79, '-') + "\r\n")
            << "an unfinished line waits";
        log << "\nUnit";
    }
    EXPECT_EQ(files.Text("Glimmerbox detection log.txt"),
              "Glimmerbox detection log\r\n\r\n\r\nID: COM1\r\n" + std::string(79, '-') + "\r\n" +
                  "Description          : " + std::string(5000, 'x') + "\r\nUnit")
        << "closing the log writes the rest";
}

TEST_F(DetectionLogFileTest, WithoutAFileEveryWriteIsDropped) {
    const std::string line(5000, 'x');
    const std::size_t before = g_allocations.load();
    {
        cDetectionLogFile log(nullptr);  // what a file that could not be created gives
        log << line << "\n" << line;  // a whole line, and one left for the closing
    }
    EXPECT_EQ(g_allocations.load(), before) << "no text is kept for a file that does not exist";
}

TEST_F(DetectionLogFileTest, ALinkUnderTheLogsNameIsLeftAlone) {
    files.Create("theirs.txt")->Write("their text");
    files.Link(kDetectionLogFileName, "theirs.txt");
    cDetectionLogFile(files.Create(kDetectionLogFileName)) << "lost\n";
    EXPECT_EQ(files.Text("theirs.txt"), "their text");
}

TEST(DetectionLogHexTest, LowerCaseWithoutPrefixPaddedToWidth) {
    EXPECT_EQ(Hex(0x1008), "1008");
    EXPECT_EQ(Hex(0x3a), "3a");
    EXPECT_EQ(Hex(0), "0");
    EXPECT_EQ(Hex(4, 4), "0004");
    EXPECT_EQ(Hex(0xABCDE, 4), "abcde");
    EXPECT_EQ(Hex(0xFFFFFFFF), "ffffffff");
}
