#include "platform/win32/win32_registry.h"
#include "tests/common/registry_fixture.h"

std::unique_ptr<platform::Registry> MakeTestRegistry() {
    return std::make_unique<platform::win32::Win32Registry>();
}
