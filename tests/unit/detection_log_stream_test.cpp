#include "devices/detection_log.h"
#include "platform/fake/fake_files.h"

#include <gtest/gtest.h>

namespace {

class DetectionLogStreamTest : public testing::Test {
protected:
    platform::fake::FakeFiles files;
};

}  // namespace

TEST_F(DetectionLogStreamTest, LinesEndAsInAWindowsTextFile) {
    {
        cDetectionLogStream log(files.Create(kDetectionLogFileName));
        log << "Glimmerbox detection log\n\n";
        WriteDeviceHeader(log, "COM1");
        log << std::string(5000, 'x') << '\n' << std::flush;  // a line longer than one piece
    }
    EXPECT_EQ(files.Text("Glimmerbox detection log.txt"),
              "Glimmerbox detection log\r\n\r\n\r\nID: COM1\r\n" + std::string(79, '-') + "\r\n" +
                  std::string(5000, 'x') + "\r\n");
}

TEST_F(DetectionLogStreamTest, WithoutAFileEveryWriteIsDropped) {
    files.fail_create = true;
    cDetectionLogStream log(files.Create(kDetectionLogFileName));
    EXPECT_TRUE(log.fail());
    log << "lost\n";
    EXPECT_FALSE(files.Exists(kDetectionLogFileName));
}

TEST(DetectionLogHexTest, LowerCaseWithoutPrefixPaddedToWidth) {
    EXPECT_EQ(Hex(0x1008), "1008");
    EXPECT_EQ(Hex(0x3a), "3a");
    EXPECT_EQ(Hex(0), "0");
    EXPECT_EQ(Hex(4, 4), "0004");
    EXPECT_EQ(Hex(0xABCDE, 4), "abcde");
    EXPECT_EQ(Hex(0xFFFFFFFF), "ffffffff");
}
