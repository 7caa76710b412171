// What only the fake offers: failures on demand, and keys that die with their tree.
#include "platform/fake/fake_registry.h"

#include <gtest/gtest.h>

using platform::RegistryRoot;
using platform::fake::FakeRegistry;

TEST(FakeRegistry, FailsWritesAfterTheGivenCount) {
    FakeRegistry registry;
    auto key = registry.OpenOrCreate(RegistryRoot::CurrentUser, "\\Software\\Test");  // one write: the creation
    registry.FailWritesAfter(1);
    EXPECT_TRUE(key->WriteDword("A", 1));
    EXPECT_FALSE(key->WriteDword("B", 2));
    EXPECT_FALSE(registry.DeleteTree(RegistryRoot::CurrentUser, "\\Software\\Test"));
    EXPECT_EQ(registry.OpenOrCreate(RegistryRoot::CurrentUser, "\\Software\\Other"), nullptr);
    registry.FailWritesAfter(-1);
    EXPECT_TRUE(key->WriteDword("B", 2));
}

TEST(FakeRegistry, KeysOfADeletedTreeReadNothingAndRefuseWrites) {
    FakeRegistry registry;
    auto key = registry.OpenOrCreate(RegistryRoot::CurrentUser, "\\Software\\Test\\Inner");
    key->WriteDword("A", 1);
    registry.DeleteTree(RegistryRoot::CurrentUser, "\\Software\\Test");
    EXPECT_FALSE(key->ValueExists("A"));
    EXPECT_FALSE(key->WriteDword("A", 2));
}

TEST(FakeRegistry, BinaryValuesReadAsNeitherType) {
    FakeRegistry registry;
    registry.PutBinary(RegistryRoot::LocalMachine, "\\HARDWARE\\X", "PortName");
    auto key = registry.OpenReadOnly(RegistryRoot::LocalMachine, "\\HARDWARE\\X");
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->ValueExists("PortName"));
    EXPECT_EQ(key->ReadString("PortName"), std::nullopt);
    EXPECT_EQ(key->ReadDword("PortName"), std::nullopt);
}
