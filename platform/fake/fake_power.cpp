#include "platform/fake/fake_power.h"

#include <cstring>

namespace platform::fake {
namespace {

class FakePowerInformation final : public PowerInformation {
public:
    explicit FakePowerInformation(FakePower& power) : power_(power) { ++power_.loaded_power_libraries; }
    ~FakePowerInformation() override { --power_.loaded_power_libraries; }

    int32_t Call(int32_t information_level, void* output, uint32_t output_length) override {
        constexpr int32_t kStatusInvalidParameter = static_cast<int32_t>(0xC000000D);
        if (power_.power_information_status != 0) return power_.power_information_status;
        if (information_level != kSystemExecutionState || output_length < sizeof power_.execution_state)
            return kStatusInvalidParameter;
        std::memcpy(output, &power_.execution_state, sizeof power_.execution_state);
        return 0;
    }

private:
    FakePower& power_;
};

}  // namespace

std::unique_ptr<PowerInformation> FakePower::LoadPowerInformation(DllBinding& binding) {
    binding = power_library;
    if (binding != DllBinding::Bound) return nullptr;
    return std::make_unique<FakePowerInformation>(*this);
}

DllBinding FakePower::RegisterPowerSettingNotifications(WindowHandle window, std::span<const Guid> settings) {
    if (user32 == DllBinding::Bound)
        for (const Guid& setting : settings) registrations.emplace_back(window, setting);
    return user32;
}

}  // namespace platform::fake
