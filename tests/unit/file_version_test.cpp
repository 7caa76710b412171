// The short version text of the program's own executable.
#include "sensors/file_version.h"

#include "platform/fake/fake_version_info.h"

#include <gtest/gtest.h>

namespace {

class FileVersionTest : public testing::Test {
protected:
    std::string ShortVersionOf(uint16_t major, uint16_t minor, uint16_t release, uint16_t build) {
        version_info_.SetFileVersion(version_info_.ExecutablePath(), major, minor, release, build);
        return cFileVersion(version_info_).ShortVersion();
    }

    platform::fake::FakeVersionInfo version_info_;
};

TEST_F(FileVersionTest, PadsTheReleaseToThreeDigitsAndDropsTheBuild) {
    EXPECT_EQ(ShortVersionOf(0, 9, 20, 0), "0.9.020");
    EXPECT_EQ(ShortVersionOf(2, 0, 5, 3), "2.0.005");
    EXPECT_EQ(ShortVersionOf(1, 2, 1234, 5), "1.2.1234");
    EXPECT_EQ(ShortVersionOf(65535, 65535, 65535, 65535), "65535.65535.65535");
}

TEST_F(FileVersionTest, ReadsOnlyTheExecutablesOwnFile) {
    version_info_.SetFileVersion("C:\\Other.exe", 3, 0, 1, 0);
    EXPECT_EQ(cFileVersion(version_info_).ShortVersion(), "0.0.0.0");
    version_info_.SetExecutablePath("C:\\Other.exe");
    EXPECT_EQ(cFileVersion(version_info_).ShortVersion(), "3.0.001");
}

}  // namespace
