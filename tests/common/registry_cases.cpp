// The registry service's contract, as the program relies on it.
#include "tests/common/registry_fixture.h"

#include <algorithm>
#include <string_view>

using platform::RegistryRoot;

using RegistryContract = RegistryFixture;

TEST_F(RegistryContract, ReadsEachTypeOnlyAsItself) {
    auto key = ProgramKey();
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->WriteDword("Number", 0xFFFFFFFFu));
    EXPECT_TRUE(key->WriteString("Text", "COM1"));

    EXPECT_EQ(key->ReadDword("Number"), 0xFFFFFFFFu);
    EXPECT_EQ(key->ReadString("Text"), "COM1");
    EXPECT_EQ(key->ReadDword("Text"), std::nullopt);
    EXPECT_EQ(key->ReadString("Number"), std::nullopt);
    EXPECT_EQ(key->ReadDword("Missing"), std::nullopt);
    EXPECT_TRUE(key->ValueExists("Text"));
    EXPECT_FALSE(key->ValueExists("Missing"));
}

TEST_F(RegistryContract, NamesIgnoreCase) {
    ProgramKey()->WriteDword("UserEvent0", 1);
    auto key = registry().OpenReadOnly(RegistryRoot::CurrentUser, "\\SOFTWARE\\quillmoor\\GLIMMERBOX");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->ReadDword("userevent0"), 1u);
}

TEST_F(RegistryContract, ValueReadAnswersAsAnOpenedKeyDoes) {
    const std::string long_name(300, 'n');
    auto key = ProgramKey();
    key->WriteDword("UserEvent0", 1);
    key->WriteString("DeviceID", "COM1");
    key->WriteDword(long_name, 7);
    auto read = [this](std::string_view path, std::string_view name) {
        return registry().ReadDword(RegistryRoot::CurrentUser, path, name);
    };
    EXPECT_EQ(read(kGlimmerboxKey, "UserEvent0"), 1u);
    EXPECT_EQ(read("SOFTWARE\\quillmoor\\GLIMMERBOX", "userevent0"), 1u);
    EXPECT_EQ(read(kGlimmerboxKey, long_name), 7u);
    EXPECT_EQ(read(kGlimmerboxKey, "DeviceID"), std::nullopt) << "a text is no integer";
    EXPECT_EQ(read(kGlimmerboxKey, "UserEvent1"), std::nullopt);
    EXPECT_EQ(read(std::string(kGlimmerboxKey) + "\\2003", "UserEvent0"), std::nullopt);

    // Names cut out of longer text end where the view ends.
    const std::string_view path_and_more = "\\Software\\Quillmoor\\Glimmerbox\\2003";
    EXPECT_EQ(read(path_and_more.substr(0, path_and_more.size() - 5), std::string_view("UserEvent01").substr(0, 10)),
              1u);
}

TEST_F(RegistryContract, ReadOnlyKeysRefuseWrites) {
    ProgramKey();
    auto key = registry().OpenReadOnly(RegistryRoot::CurrentUser, kGlimmerboxKey);
    ASSERT_TRUE(key);
    EXPECT_FALSE(key->WriteDword("UserEvent0", 1));
    EXPECT_FALSE(key->ValueExists("UserEvent0"));
}

TEST_F(RegistryContract, MissingKeysOpenOnlyByCreating) {
    const std::string path = std::string(kGlimmerboxKey) + "\\1002\\Relations";
    EXPECT_FALSE(registry().KeyExists(RegistryRoot::CurrentUser, path));
    EXPECT_EQ(registry().OpenReadOnly(RegistryRoot::CurrentUser, path), nullptr);
    EXPECT_NE(registry().OpenOrCreate(RegistryRoot::CurrentUser, path), nullptr);
    EXPECT_TRUE(registry().KeyExists(RegistryRoot::CurrentUser, path));
}

TEST_F(RegistryContract, DeleteTreeRemovesSubkeysAndValues) {
    const std::string device = std::string(kGlimmerboxKey) + "\\2003";
    registry().OpenOrCreate(RegistryRoot::CurrentUser, device + "\\Relations")->WriteDword("Relation0Event", 4);
    registry().OpenOrCreate(RegistryRoot::CurrentUser, device + "\\Calibration");
    ProgramKey()->WriteString("DeviceID", "COM1");

    EXPECT_TRUE(registry().DeleteTree(RegistryRoot::CurrentUser, device));
    EXPECT_FALSE(registry().KeyExists(RegistryRoot::CurrentUser, device));
    EXPECT_EQ(ProgramKey()->ReadString("DeviceID"), "COM1");
    EXPECT_TRUE(registry().DeleteTree(RegistryRoot::CurrentUser, device)) << "a missing key counts as deleted";
}

TEST_F(RegistryContract, ListsSubkeysInSortedOrder) {
    for (const char* name : {"2003", "1002", "10A0"})
        registry().OpenOrCreate(RegistryRoot::CurrentUser, std::string(kGlimmerboxKey) + "\\" + name);
    auto key = registry().OpenReadOnly(RegistryRoot::CurrentUser, kGlimmerboxKey);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->SubkeyNames(), (std::vector<std::string>{"1002", "10A0", "2003"}));
}

TEST_F(RegistryContract, DeletesSingleValues) {
    auto key = ProgramKey();
    key->WriteDword("UserEvent1", 1);
    EXPECT_TRUE(key->DeleteValue("UserEvent1"));
    EXPECT_FALSE(key->ValueExists("UserEvent1"));
    EXPECT_FALSE(key->DeleteValue("UserEvent1"));
}

TEST_F(RegistryContract, ListsValuesOfEveryType) {
    auto key = ProgramKey();
    key->WriteDword("UserEvent0", 1);
    key->WriteString("DeviceID", "COM1");
    key.reset();
    auto reader = registry().OpenReadOnly(RegistryRoot::CurrentUser, kGlimmerboxKey);
    ASSERT_TRUE(reader);
    std::vector<std::string> names = reader->ValueNames();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"DeviceID", "UserEvent0"}));
}
