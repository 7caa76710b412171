// The real program killed while its configuration window deletes relation
// after relation, as a crash, a forced log-off or a power cut would end it:
// each restart loads the list as it was before or after one deletion, whole.
#include "configuration_window.h"
#include "desktop.h"
#include "e2e_fixture.h"
#include "remote_controls.h"

#include "settings/persistent_variables.h"

#include <iostream>

namespace {

constexpr int kStored = 50;
constexpr int kKills = 8;
constexpr int kDeletionsPerRun = 5;
constexpr DWORD kRecording1Channel = 0x4;

std::string RelationsPath() { return std::string(kGlimmerboxKey) + kFallbackRelationsKey; }
std::string ValueName(int index, const char* field) { return "Relation" + std::to_string(index) + field; }

}  // namespace

class InterruptedSaveTest : public TrayProgramTest {
protected:
    // Relation i: "Recording 1 channel" on LED i, "On", "Normal": each one tells where it stood.
    void StoreRelations() {
        auto key = registry_.OpenOrCreate(platform::RegistryRoot::CurrentUser, RelationsPath());
        ASSERT_TRUE(key);
        for (int i = 0; i < kStored; ++i) {
            key->WriteDword(ValueName(i, "Event"), kRecording1Channel);
            key->WriteDword(ValueName(i, "LED"), static_cast<DWORD>(i));
            key->WriteDword(ValueName(i, "State"), 2);
            key->WriteDword(ValueName(i, "Priority"), 3);
        }
    }
    // How many relations were deleted from the front, when the stored list is
    // the rest of the first list, whole and with nothing else; nothing otherwise.
    std::optional<int> DeletedFromTheFront() {
        auto key = registry_.OpenReadOnly(platform::RegistryRoot::CurrentUser, RelationsPath());
        if (!key) return std::nullopt;
        int count = 0;
        while (key->ValueExists(ValueName(count, "Event"))) ++count;
        const int deleted = kStored - count;
        for (int i = 0; i < count; ++i) {
            if (key->ReadDword(ValueName(i, "Event")) != kRecording1Channel ||
                key->ReadDword(ValueName(i, "LED")) != static_cast<DWORD>(deleted + i) ||
                key->ReadDword(ValueName(i, "State")) != 2u || key->ReadDword(ValueName(i, "Priority")) != 3u)
                return std::nullopt;
        }
        if (key->ValueNames().size() != 4u * count) return std::nullopt;
        return deleted;
    }
    bool SaveUnderWay() {
        return registry_.KeyExists(platform::RegistryRoot::CurrentUser, RelationsPath() + "Journal");
    }
};

TEST_F(InterruptedSaveTest, AProgramKilledWhileDeletingLoadsAWholeListAfterItsRestart) {
    StoreRelations();
    int deleted_before = 0;
    int saves_cut = 0;
    for (int kill = 0; kill <= kKills; ++kill) {
        SCOPED_TRACE(testing::Message() << "start after " << kill << " kills");
        auto run = Start(L"");
        HWND window = run->WaitUntilInTray();
        ASSERT_NE(window, nullptr) << e2e::ShownWindows(run->Id());
        // The start has loaded the list: it is the one stored, whole again.
        const std::optional<int> deleted = DeletedFromTheFront();
        ASSERT_TRUE(deleted) << "a mixed, doubled or partial list";
        EXPECT_GE(*deleted, deleted_before) << "a deletion saved before was undone";
        deleted_before = *deleted;
        ASSERT_TRUE(e2e::DoubleClickTrayIcon(window));
        const e2e::ConfigurationWindow configuration(window);
        EXPECT_EQ(e2e::ReadListView(configuration.RelationList()).size(), static_cast<std::size_t>(kStored - *deleted));
        if (kill == kKills) break;

        SendMessageW(configuration.RelationList(), WM_KEYDOWN, VK_HOME, 0);  // selects the first row
        HWND delete_button = nullptr;
        for (HWND button : e2e::Descendants(window, L"Button"))
            if (e2e::Text(button) == L"Delete") delete_button = button;
        ASSERT_NE(delete_button, nullptr);
        // Deletions queued as clicks, each saving the list; the kill comes in their midst.
        for (int i = 0; i < kDeletionsPerRun; ++i)
            PostMessageW(GetParent(delete_button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(delete_button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(delete_button));
        Sleep(5 + 9 * kill);
        run->Kill();
        if (SaveUnderWay()) ++saves_cut;
    }
    std::cout << saves_cut << " of " << kKills << " kills cut a save short\n";
    EXPECT_GT(saves_cut, 0) << "no kill landed inside a save";
}
