#include "e2e_fixture.h"

#include "desktop.h"

#include "settings/persistent_variables.h"

#include <shellapi.h>

#include <cstring>

std::wstring TrayProgramTest::program_path;

namespace {

std::string UserEventName(int index) { return "UserEvent" + std::to_string(index); }

// Deletes a folder with what it holds; a folder that never existed counts as gone.
void RemoveFolder(const std::wstring& folder) {
    std::wstring from = folder + L'\0';  // the shell takes a double-zero-terminated list
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_NO_UI;
    SHFileOperationW(&operation);
}

}  // namespace

void TrayProgramTest::SetUp() {
    ASSERT_FALSE(program_path.empty()) << "start the tests with --program=<path of Glimmerbox.exe>";
    ASSERT_EQ(e2e::FindMainWindow(), nullptr) << "another Glimmerbox is running";
    ASSERT_TRUE(ForgetSettings());
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = e2e::BesideThisProgram(L"e2e-work\\" + std::wstring(test->name(), test->name() + std::strlen(test->name())));
    RemoveFolder(folder_);
    CreateDirectoryW(e2e::BesideThisProgram(L"e2e-work").c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
}

void TrayProgramTest::TearDown() {
    ForgetSettings();
    RemoveFolder(folder_);
}

std::unique_ptr<e2e::ProgramRun> TrayProgramTest::Start(const std::wstring& arguments) const {
    auto run = std::make_unique<e2e::ProgramRun>(program_path, arguments, folder_);
    EXPECT_TRUE(run->Started());
    return run;
}

std::optional<uint32_t> TrayProgramTest::UserEvent(int index) {
    auto key = registry_.OpenReadOnly(platform::RegistryRoot::CurrentUser, kGlimmerboxKey);
    return key ? key->ReadDword(UserEventName(index)) : std::nullopt;
}

void TrayProgramTest::SetUserEvent(int index, uint32_t value) {
    auto key = registry_.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey);
    ASSERT_TRUE(key && key->WriteDword(UserEventName(index), value));
}

void TrayProgramTest::StoreRelations(std::initializer_list<uint32_t> events, uint32_t dark_event) {
    auto relations = registry_.OpenOrCreate(platform::RegistryRoot::CurrentUser,
                                            std::string(kGlimmerboxKey) + kFallbackRelationsKey);
    ASSERT_TRUE(relations);
    int index = 0;
    for (uint32_t event : events) {
        const std::string relation = "Relation" + std::to_string(index++);
        ASSERT_TRUE(relations->WriteDword(relation + "Event", event));
        relations->WriteDword(relation + "LED", 0);
        relations->WriteDword(relation + "State", event == dark_event ? 1 : 2);
        relations->WriteDword(relation + "Priority", 3);
    }
}

bool TrayProgramTest::ForgetSettings() { return registry_.DeleteTree(platform::RegistryRoot::CurrentUser, kGlimmerboxKey); }
