// Pictures of every tab of the configuration window at 96 and 144 dpi, saved
// in the build folder's "screenshots", for people to look at.
#include "configuration_window.h"
#include "desktop.h"
#include "e2e_fixture.h"

namespace {

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kLogPixels[] = "LogPixels";

}  // namespace

class WindowPicturesTest : public TrayProgramTest {
protected:
    void TearDown() override {
        auto desktop = registry_.OpenOrCreate(platform::RegistryRoot::CurrentUser, kDesktopKey);
        if (desktop) desktop->WriteDword(kLogPixels, 96);
        TrayProgramTest::TearDown();
    }
};

TEST_F(WindowPicturesTest, EveryTabAt96And144Dpi) {
    const std::wstring folder = e2e::BesideThisProgram(L"screenshots");
    CreateDirectoryW(folder.c_str(), nullptr);
    for (DWORD dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        auto desktop = registry_.OpenOrCreate(platform::RegistryRoot::CurrentUser, kDesktopKey);
        ASSERT_TRUE(desktop && desktop->WriteDword(kLogPixels, dpi));
        auto run = Start(L"");
        HWND window = run->WaitUntilInTray();
        ASSERT_NE(window, nullptr) << e2e::ShownWindows(run->Id());
        ASSERT_TRUE(e2e::DoubleClickTrayIcon(window));
        RECT client{};
        GetClientRect(window, &client);
        // The form's 353 x 344 at 96 dpi, scaled.
        EXPECT_NEAR(client.right, MulDiv(353, dpi, 96), 1);
        EXPECT_NEAR(client.bottom, MulDiv(344, dpi, 96), 1);

        e2e::ConfigurationWindow configuration(window);
        std::vector<std::wstring> pictures = configuration.SaveTabPictures(folder, std::to_wstring(dpi) + L"dpi");
        EXPECT_GE(pictures.size(), 3u) << "LEDs, Device and About at least";
        for (const std::wstring& picture : pictures) std::printf("saved %s\n", e2e::Narrow(picture).c_str());

        ASSERT_TRUE(e2e::ChooseExitFromTrayMenu(window));
        EXPECT_EQ(run->WaitForExit(e2e::kPatienceMs), 0u);
    }
}
