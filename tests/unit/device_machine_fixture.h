#pragma once
// A whole machine of fakes, serial ports and keyboards, with the device list
// that enumerates it.

#include "devices/led_device_list.h"
#include "platform/fake/fake_hid_devices.h"
#include "platform/fake/fake_keyboards.h"
#include "tests/common/keyboard_registration.h"
#include "tests/unit/serial_device_fixture.h"

class DeviceMachineFixture : public SerialDeviceFixture {
protected:
    // Registers a keyboard interface and adds its keyboard; returns its key name.
    std::string AddKeyboard(const std::string& instance_tail, const std::string& description = "HID Keyboard Device") {
        const std::string key_name = RegisterKeyboard(registry, instance_tail, description);
        keyboards.Add(KeyboardPath(key_name));
        return key_name;
    }
    // A remote desktop session's keyboard, as Windows registers it.
    std::string AddRemoteDesktopKeyboard() {
        const std::string key_name = "##?#Root#RDP_KBD#0000#{884b96c3-56ef-11d1-bc8c-00a0c91405dd}";
        registry.OpenOrCreate(platform::RegistryRoot::LocalMachine, std::string(kKeyboardClassKey) + "\\" + key_name);
        keyboards.Add(KeyboardPath(key_name));
        return key_name;
    }
    std::vector<std::string> ListedIds() const {
        std::vector<std::string> ids;
        for (int i = 0; i < list.Count(); ++i) ids.push_back(list.Item(i)->Id());
        return ids;
    }

    platform::fake::FakeKeyboards keyboards;
    platform::fake::FakeHidDevices hid;
    cLedDeviceList list{services, keyboards, hid};
};
