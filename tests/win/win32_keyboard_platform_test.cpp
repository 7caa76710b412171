// The keyboard and file services over the real system, and the keyboard
// device reading its description through the real registry.

#include "devices/detection_log.h"
#include "devices/keyboard_driver_led_device.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_keyboards.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_keyboards.h"
#include "platform/win32/win32_registry.h"
#include "tests/common/keyboard_registration.h"
#include "tests/common/text_detection_log.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using platform::RegistryRoot;

std::string ReadBytes(const std::string& name) {
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(Win32FilesTest, DetectionLogIsRewrittenWithWindowsLineEnds) {
    platform::win32::Win32Files files;
    for (const char* text : {"first enumeration\nwith two lines\n", "second\n"}) {
        auto file = files.Create(kDetectionLogFileName);
        ASSERT_NE(file, nullptr);
        cDetectionLogFile log(std::move(file));
        log << text;
    }
    EXPECT_EQ(ReadBytes(kDetectionLogFileName), "second\r\n");
    std::remove(kDetectionLogFileName);

    EXPECT_EQ(files.Create("no such folder\\log.txt"), nullptr);
}

TEST(Win32FilesTest, ALogNameThatIsASecondNameOfAnotherFileIsRefused) {
    const char* theirs = "glimmerbox theirs.txt";
    std::ofstream(theirs, std::ios::binary) << "their text";
    ASSERT_TRUE(CreateHardLinkA(kDetectionLogFileName, theirs, nullptr));
    EXPECT_EQ(platform::win32::Win32Files().Create(kDetectionLogFileName), nullptr);
    EXPECT_EQ(ReadBytes(theirs), "their text");
    std::remove(kDetectionLogFileName);
    std::remove(theirs);
}

TEST(Win32KeyboardsTest, MissingKeyboardReportsTheOpenError) {
    platform::win32::Win32Keyboards keyboards;
    const std::string missing = "\\\\.\\HID#VID_0000&PID_0000#0#{884b96c3-56ef-11d1-bc8c-00a0c91405dd}";
    platform::Keyboards::Opened opened = keyboards.Open(missing);
    EXPECT_EQ(opened.keyboard, nullptr);
    EXPECT_NE(opened.error, 0u);
    EXPECT_FALSE(keyboards.SetIndicators(missing, 0x4)) << "a write to a keyboard that does not open reports it";
    EXPECT_EQ(keyboards.KeyState(0x14) & 0x8000, 0) << "Caps Lock is not held down";
}

class Win32KeyboardRegistryTest : public testing::Test {
protected:
    void TearDown() override {
        for (const std::string& tail : tails_) {
            registry.DeleteTree(RegistryRoot::LocalMachine,
                                std::string(kKeyboardClassKey) + "\\" + KeyboardKeyName(tail));
            registry.DeleteTree(RegistryRoot::LocalMachine,
                                "\\SYSTEM\\CurrentControlSet\\Enum\\HID\\VID_046D&PID_C31C&MI_00\\" + tail);
            registry.DeleteTree(RegistryRoot::LocalMachine,
                                "\\SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e96b-e325-11ce-bfc1-08002be10318}\\" +
                                    tail);
        }
    }
    std::string Register(const std::string& tail, const std::string& description) {
        tails_.push_back(tail);
        const std::string key_name = RegisterKeyboard(registry, tail, description);
        EXPECT_FALSE(key_name.empty()) << "could not register " << tail;
        if (!key_name.empty()) keyboards.Add(KeyboardPath(key_name));
        return key_name;
    }

    platform::win32::Win32Registry registry;
    platform::fake::FakeKeyboards keyboards;  // the registry is what is proven here
    platform::fake::FakeClock clock;

private:
    std::vector<std::string> tails_;
};

TEST_F(Win32KeyboardRegistryTest, DescriptionComesThroughTheDriverKey) {
    const std::string key_name = Register("7&glimmer&0&0000", "HID Keyboard Device");
    cTextDetectionLog log;
    cKeyboardDriverLedDevice device(key_name, &log, registry, keyboards, clock);
    EXPECT_TRUE(device.IsPresent());
    EXPECT_EQ(device.Description(), "HID Keyboard Device");
}

TEST_F(Win32KeyboardRegistryTest, MistypedAndOverlongValuesAreSafe) {
    const std::string mistyped = Register("7&glimmer&0&0001", "unused");
    registry.OpenOrCreate(RegistryRoot::LocalMachine, std::string(kKeyboardClassKey) + "\\" + mistyped)
        ->WriteDword("DeviceInstance", 1);
    EXPECT_EQ(cKeyboardDriverLedDevice(mistyped, nullptr, registry, keyboards, clock).Description(), "");

    const std::string wordy = Register("7&glimmer&0&0002", std::string(300, 'd'));
    EXPECT_EQ(cKeyboardDriverLedDevice(wordy, nullptr, registry, keyboards, clock).Description(),
              std::string(cLedDevice::kMaxTextLength, 'd'));
}

// The registry's ANSI calls take paths of at most 260 characters, so a key name
// this long can be listed but not opened: the device is cut and left without
// a description.
TEST_F(Win32KeyboardRegistryTest, OverlongKeyNameIsCut) {
    const std::string tail(180, 'L');
    const std::string key_name = KeyboardKeyName(tail);
    const std::wstring class_key = L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{884b96c3-56ef-11d1-bc8c-00a0c91405dd}";
    const std::wstring wide_path = class_key + L"\\" + std::wstring(key_name.begin(), key_name.end());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide_path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);

    auto listed = registry.OpenReadOnly(RegistryRoot::LocalMachine, kKeyboardClassKey)->SubkeyNames();
    EXPECT_NE(std::find(listed.begin(), listed.end(), key_name), listed.end());

    keyboards.Add("\\\\.\\" + key_name.substr(4, cLedDevice::kMaxTextLength - 4));
    cKeyboardDriverLedDevice device(key_name, nullptr, registry, keyboards, clock);
    EXPECT_EQ(device.Id(), key_name.substr(0, cLedDevice::kMaxTextLength));
    EXPECT_EQ(device.Description(), "");
    EXPECT_TRUE(device.IsPresent());
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, wide_path.c_str());
}
