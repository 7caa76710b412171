#include "devices/detection_log.h"
#include "platform/fake/fake_files.h"

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
    files.fail_create = true;
    cDetectionLogFile log(files.Create(kDetectionLogFileName));
    log << "lost\n";
    EXPECT_FALSE(files.Exists(kDetectionLogFileName));
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
