// The version probe: UI font by Windows version, the Media Center edition,
// and the Media Center release names by ordinal comparison of "Ident".
#include "sensors/windows_version.h"

#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_system_metrics.h"
#include "platform/fake/fake_version_info.h"

#include <gtest/gtest.h>

using platform::RegistryRoot;

namespace {

constexpr const char* kMediaCenterKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";

class WindowsVersionTest : public testing::Test {
protected:
    cWindowsVersion ProbeOn(uint32_t major, uint32_t minor) {
        version_info_.SetWindowsVersion(platform::OsVersion{major, minor});
        return cWindowsVersion(version_info_, metrics_, registry_);
    }
    void SetIdent(const std::string& ident) {
        registry_.OpenOrCreate(RegistryRoot::LocalMachine, kMediaCenterKey)->WriteString("Ident", ident);
    }

    platform::fake::FakeVersionInfo version_info_;
    platform::fake::FakeSystemMetrics metrics_;
    platform::fake::FakeRegistry registry_;
};

TEST_F(WindowsVersionTest, UiFontFollowsTheWindowsVersion) {
    EXPECT_EQ(ProbeOn(5, 0).UiFontName(), "MS Sans Serif");  // Windows 2000
    EXPECT_EQ(ProbeOn(5, 1).UiFontName(), "Tahoma");         // XP
    EXPECT_EQ(ProbeOn(5, 2).UiFontName(), "Tahoma");         // Server 2003
    EXPECT_EQ(ProbeOn(6, 0).UiFontName(), "Segoe UI");       // Vista
    EXPECT_EQ(ProbeOn(6, 1).UiFontName(), "Segoe UI");       // Windows 7
    EXPECT_EQ(ProbeOn(10, 0).UiFontName(), "Segoe UI");
    EXPECT_EQ(ProbeOn(4, 10).UiFontName(), "MS Sans Serif");
}

TEST_F(WindowsVersionTest, FailedVersionQueryCountsAsVersionZero) {
    version_info_.SetWindowsVersion(std::nullopt);
    cWindowsVersion probe(version_info_, metrics_, registry_);
    EXPECT_FALSE(probe.IsVistaOrLater());
    EXPECT_FALSE(probe.IsXpOr2003());
    EXPECT_EQ(probe.UiFontName(), "MS Sans Serif");
}

TEST_F(WindowsVersionTest, MediaCenterEditionIsAskedAtEachCall) {
    cWindowsVersion probe = ProbeOn(6, 1);
    EXPECT_FALSE(probe.IsMediaCenterEdition());
    metrics_.Set(platform::kSmMediaCenter, 1);
    EXPECT_TRUE(probe.IsMediaCenterEdition());
}

TEST_F(WindowsVersionTest, IdentIsReadAtEachCall) {
    cWindowsVersion probe = ProbeOn(6, 1);
    EXPECT_EQ(probe.MediaCenterIdent(), "0.0") << "no Media Center key";
    EXPECT_EQ(probe.MediaCenterVersionName(), "No Media Center version");
    registry_.OpenOrCreate(RegistryRoot::LocalMachine, kMediaCenterKey);
    EXPECT_EQ(probe.MediaCenterIdent(), "0.0") << "key without Ident";
    SetIdent("5.1");
    EXPECT_EQ(probe.MediaCenterIdent(), "5.1");
    EXPECT_EQ(probe.MediaCenterVersionName(), "Windows Media Center for Windows Vista + TVPack 2008");
}

TEST_F(WindowsVersionTest, IdentOfAnotherTypeCountsAsNone) {
    cWindowsVersion probe = ProbeOn(6, 1);
    registry_.OpenOrCreate(RegistryRoot::LocalMachine, kMediaCenterKey)->WriteDword("Ident", 6);
    EXPECT_EQ(probe.MediaCenterIdent(), "0.0");
    registry_.PutBinary(RegistryRoot::LocalMachine, kMediaCenterKey, "Ident");
    EXPECT_EQ(probe.MediaCenterVersionName(), "No Media Center version");
}

TEST(MediaCenterVersionNameTest, NamesEveryKnownRelease) {
    EXPECT_EQ(MediaCenterVersionName("0.0"), "No Media Center version");
    EXPECT_EQ(MediaCenterVersionName("2.5"), "Windows Media Center 2002");
    EXPECT_EQ(MediaCenterVersionName("2.7"), "Windows Media Center 2004");
    EXPECT_EQ(MediaCenterVersionName("2.8"), "Windows Media Center 2004");
    EXPECT_EQ(MediaCenterVersionName("3.0"), "Windows Media Center 2005");
    EXPECT_EQ(MediaCenterVersionName("3.1"), "Windows Media Center 2005 + Update Rollup 1");
    EXPECT_EQ(MediaCenterVersionName("4.0"), "Windows Media Center 2005 + Update Rollup 2");
    EXPECT_EQ(MediaCenterVersionName("5.0"), "Windows Media Center for Windows Vista");
    EXPECT_EQ(MediaCenterVersionName("5.1"), "Windows Media Center for Windows Vista + TVPack 2008");
    EXPECT_EQ(MediaCenterVersionName("6.0"), "Windows Media Center for Windows 7");
    EXPECT_EQ(MediaCenterVersionName("6.1"), "Unknown Media Center version");
}

TEST(MediaCenterVersionNameTest, ComparesAsByteStringsNotNumbers) {
    EXPECT_EQ(MediaCenterVersionName("10.0"), "Windows Media Center 2002");
    EXPECT_EQ(MediaCenterVersionName(""), "Windows Media Center 2002");
    EXPECT_EQ(MediaCenterVersionName("0.0.0"), "Windows Media Center 2002");
    EXPECT_EQ(MediaCenterVersionName("2.70"), "") << "a longer text is not equal to its prefix";
    EXPECT_EQ(MediaCenterVersionName("6.0 "), "Unknown Media Center version");
    EXPECT_EQ(MediaCenterVersionName("\xE9"), "Unknown Media Center version") << "bytes above 0x7F sort last";
}

TEST(MediaCenterVersionNameTest, IdentsBetweenReleasesHaveNoName) {
    EXPECT_EQ(MediaCenterVersionName("2.9"), "");
    EXPECT_EQ(MediaCenterVersionName("3.5"), "");
    EXPECT_EQ(MediaCenterVersionName("5.01"), "");
}

}  // namespace
