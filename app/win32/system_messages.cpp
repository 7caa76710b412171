#include "app/win32/system_messages.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// POWERBROADCAST_SETTING, which lParam of PBT_POWERSETTINGCHANGE points to.
struct power_setting_record {
    platform::Guid power_setting;
    DWORD data_length;
    UCHAR data[1];
};
static_assert(offsetof(power_setting_record, data_length) == 16);
static_assert(offsetof(power_setting_record, data) == 20);

}  // namespace

platform::PowerEvent UnpackPowerBroadcast(WPARAM wparam, LPARAM lparam) {
    platform::PowerEvent power_event;
    power_event.kind = wparam;
    const auto* record = reinterpret_cast<const power_setting_record*>(lparam);
    if (wparam != platform::kPbtPowerSettingChange || !record) return power_event;
    power_event.setting = record->power_setting;
    if (record->data_length == 0) return power_event;
    // Both settings the program registers for carry a DWORD, little-endian.
    uint32_t value = 0;
    std::memcpy(&value, record->data, std::min<std::size_t>(record->data_length, sizeof value));
    power_event.value = value;
    return power_event;
}

platform::SessionChange UnpackSessionChange(WPARAM wparam, LPARAM lparam) {
    return {static_cast<uint32_t>(wparam), static_cast<uint32_t>(lparam)};
}
