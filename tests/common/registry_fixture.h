#pragma once
// Cases in tests/common run twice: natively over the fake registry and under
// Wine over the real one, so the fake is held to the real registry's rules.
// Each build defines MakeTestRegistry.

#include "platform/registry.h"
#include "settings/persistent_variables.h"

#include <gtest/gtest.h>

#include <memory>

std::unique_ptr<platform::Registry> MakeTestRegistry();

class RegistryFixture : public testing::Test {
protected:
    void SetUp() override {
        registry_ = MakeTestRegistry();
        ASSERT_TRUE(registry_->DeleteTree(platform::RegistryRoot::CurrentUser, kGlimmerboxKey));
    }
    void TearDown() override { registry_->DeleteTree(platform::RegistryRoot::CurrentUser, kGlimmerboxKey); }

    platform::Registry& registry() { return *registry_; }
    std::unique_ptr<platform::RegistryKey> ProgramKey() {
        return registry_->OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey);
    }

private:
    std::unique_ptr<platform::Registry> registry_;
};
