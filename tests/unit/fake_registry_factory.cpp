#include "platform/fake/fake_registry.h"
#include "tests/common/registry_fixture.h"

std::unique_ptr<platform::Registry> MakeTestRegistry() {
    return std::make_unique<platform::fake::FakeRegistry>();
}
