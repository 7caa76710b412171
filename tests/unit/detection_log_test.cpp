#include "devices/detection_log.h"
#include "devices/device_detection.h"
#include "platform/fake/fake_files.h"
#include "tests/unit/device_machine_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using platform::RegistryRoot;

const detection_log_versions kVersions{"1.0.0", "6.1.7601.17514"};

std::string ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

class DetectionLogTest : public DeviceMachineFixture {
protected:
    // COM1 with a full-colour module on a motherboard port, COM3 with nothing
    // on it and no registry entry, COM5 a USB adapter with nothing on it; a
    // four-indicator keyboard and a remote desktop keyboard; among the HID
    // interfaces a keyboard's and a blink(1) mk2.
    void BuildMachine() {
        const std::string acpi = "SYSTEM\\CurrentControlSet\\Enum\\ACPI\\PNP0501\\1";
        registry.OpenOrCreate(RegistryRoot::LocalMachine, acpi)->WriteString("DeviceDesc", "Communications Port");
        registry.OpenOrCreate(RegistryRoot::LocalMachine, acpi + "\\Device Parameters")->WriteString("PortName", "COM1");
        Wiring common_cathode;
        common_cathode.dtr = platform::kMsRlsdOn;
        ports.AddPort(1, common_cathode);

        ports.AddPort(3);

        const std::string usb = "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_067B&PID_2303\\5&2a3b4c5d&0&1";
        registry.OpenOrCreate(RegistryRoot::LocalMachine, usb)->WriteString("DeviceDesc", "Prolific USB-to-Serial Comm Port");
        registry.OpenOrCreate(RegistryRoot::LocalMachine, usb + "\\Device Parameters")->WriteString("PortName", "COM5");
        ports.AddPort(5);

        auto& keyboard = keyboards.At(KeyboardPath(AddKeyboard("7&1b2c3d4e&0&0000")));
        keyboard.attributes = platform::KeyboardAttributes{81, 0, 1, 12, 4, 104};
        keyboard.translation = std::vector<platform::IndicatorKey>{{0x3a, 4}, {0x45, 2}, {0x46, 1}, {0x70, 8}};
        keyboard.led_flags = 0x2;
        AddRemoteDesktopKeyboard();

        hid.Plug("\\\\?\\hid#vid_046d&pid_c31c&mi_01#7&2f1a&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                 {0x046D, 0xC31C, 0x6400, 2, 0});
        hid.Plug("\\\\?\\hid#vid_27b8&pid_01ed#7&1b2c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
                 {0x27B8, 0x01ED, 2, 0, 9}, "2000AB12");
    }

    platform::fake::FakeFiles files;
};

}  // namespace

TEST_F(DetectionLogTest, MachineWithEveryKindOfDeviceGivesTheExpectedLog) {
    BuildMachine();
    DetectDevices(list, files, true, kVersions);
    const std::string expected = ReadBytes(GLIMMER_TEST_DATA_DIR "/detection_log_expected.txt");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(files.Text("Glimmerbox detection log.txt"), expected);
    EXPECT_EQ(list.Count(), 5) << "three ports, one light and one keyboard";
}

TEST_F(DetectionLogTest, EachEnumerationRewritesTheLog) {
    BuildMachine();
    DetectDevices(list, files, true, kVersions);
    ports.port(1).open_error = platform::kErrorFileNotFound;  // unplugged between the two
    ports.port(3).open_error = platform::kErrorFileNotFound;
    ports.port(5).open_error = platform::kErrorFileNotFound;
    DetectDevices(list, files, true, kVersions);
    const std::string log = files.Text(kDetectionLogFileName);
    EXPECT_EQ(log.find("Glimmerbox detection log"), 0u);
    EXPECT_EQ(log.find("Glimmerbox detection log", 1), std::string::npos) << "only the second enumeration";
    EXPECT_EQ(log.find("COM1"), std::string::npos);
    EXPECT_EQ(files.CreateCount(), 2);
}

TEST_F(DetectionLogTest, NoPortsLeaveTheSerialSectionWithItsHeaderOnly) {
    DetectDevices(list, files, true, kVersions);
    EXPECT_EQ(files.Text(kDetectionLogFileName),
              "Glimmerbox detection log\r\n\r\n"
              "Glimmerbox version: V1.0.0\r\n"
              "Media center      : 6.1.7601.17514\r\n"
              "\r\n=== Serial ports ==============================================================\r\n"
              "\r\n=== USB lights ================================================================\r\n"
              "\r\n=== Keyboards =================================================================\r\n");
}

TEST_F(DetectionLogTest, LinesReachTheFileBeforeAMessageBoxWaits) {
    BuildMachine();
    ports.AddPort(7).fail_modem_status = true;  // its probe shows a box
    std::string on_disk;
    message_boxes.while_shown = [&] {
        if (on_disk.empty()) on_disk = files.Text(kDetectionLogFileName);
    };
    DetectDevices(list, files, true, kVersions);
    const std::string whole = files.Text(kDetectionLogFileName);
    const std::string com7 = "\r\nID: COM7\r\n" + std::string(79, '-') + "\r\n";
    EXPECT_EQ(on_disk, whole.substr(0, whole.find(com7) + com7.size()))
        << "the header, the blocks of COM1 to COM5 and the opening of COM7's";
}

TEST_F(DetectionLogTest, WithoutLogDetectNothingIsWritten) {
    BuildMachine();
    DetectDevices(list, files, false, kVersions);
    EXPECT_FALSE(files.Exists(kDetectionLogFileName));
    EXPECT_EQ(list.Count(), 5);
}

TEST_F(DetectionLogTest, LogThatCannotBeCreatedLeavesTheEnumerationAlone) {
    BuildMachine();
    files.fail_create = true;
    DetectDevices(list, files, true, kVersions);
    EXPECT_FALSE(files.Exists(kDetectionLogFileName));
    EXPECT_EQ(list.Count(), 5);
}
