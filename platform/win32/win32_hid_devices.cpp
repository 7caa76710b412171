#include "platform/win32/win32_hid_devices.h"

#include "platform/win32/system_libraries.h"

#include <windows.h>
#include <hidsdi.h>
#include <hidpi.h>
#include <setupapi.h>

#include <type_traits>

namespace platform::win32 {

struct Win32HidDevices::Api {
    LoadedLibrary hid{"hid.dll"};
    LoadedLibrary setupapi{"setupapi.dll"};
    decltype(&HidD_GetHidGuid) get_hid_guid = nullptr;
    decltype(&HidD_GetAttributes) get_attributes = nullptr;
    decltype(&HidD_GetSerialNumberString) get_serial_number = nullptr;
    decltype(&HidD_GetPreparsedData) get_preparsed_data = nullptr;
    decltype(&HidD_FreePreparsedData) free_preparsed_data = nullptr;
    decltype(&HidP_GetCaps) get_caps = nullptr;
    decltype(&HidD_SetFeature) set_feature = nullptr;
    decltype(&SetupDiGetClassDevsA) get_class_devs = nullptr;
    decltype(&SetupDiEnumDeviceInterfaces) enum_device_interfaces = nullptr;
    decltype(&SetupDiGetDeviceInterfaceDetailA) get_interface_detail = nullptr;
    decltype(&SetupDiDestroyDeviceInfoList) destroy_info_list = nullptr;

    // True when every entry point is bound.
    bool Bind() {
        if (!hid.IsLoaded() || !setupapi.IsLoaded()) return false;
        const auto bind = [](const LoadedLibrary& library, auto& function, const char* name) {
            function = library.Bind<std::remove_pointer_t<std::remove_reference_t<decltype(function)>>>(name);
            return function != nullptr;
        };
        return bind(hid, get_hid_guid, "HidD_GetHidGuid") && bind(hid, get_attributes, "HidD_GetAttributes") &&
               bind(hid, get_serial_number, "HidD_GetSerialNumberString") &&
               bind(hid, get_preparsed_data, "HidD_GetPreparsedData") &&
               bind(hid, free_preparsed_data, "HidD_FreePreparsedData") && bind(hid, get_caps, "HidP_GetCaps") &&
               bind(hid, set_feature, "HidD_SetFeature") &&
               bind(setupapi, get_class_devs, "SetupDiGetClassDevsA") &&
               bind(setupapi, enum_device_interfaces, "SetupDiEnumDeviceInterfaces") &&
               bind(setupapi, get_interface_detail, "SetupDiGetDeviceInterfaceDetailA") &&
               bind(setupapi, destroy_info_list, "SetupDiDestroyDeviceInfoList");
    }
};

namespace {

// A device stuck in a write must not hold the program's only thread for long.
constexpr DWORD kWriteTimeoutMs = 500;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (IsOpen()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

HANDLE OpenInterface(const std::string& path, DWORD access, DWORD flags) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags,
                       nullptr);
}

class Win32HidConnection final : public HidConnection {
public:
    Win32HidConnection(HANDLE device, decltype(&HidD_SetFeature) set_feature)
        : device_(device), written_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), set_feature_(set_feature) {}

    bool IsUsable() const { return device_.IsOpen() && written_.IsOpen(); }

    bool SetFeature(std::span<const uint8_t> report) override {
        return set_feature_(device_.Get(), const_cast<uint8_t*>(report.data()), static_cast<ULONG>(report.size()));
    }

    bool WriteOutput(std::span<const uint8_t> report) override {
        OVERLAPPED overlapped = {};
        overlapped.hEvent = written_.Get();
        ResetEvent(written_.Get());
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(report.size());
        if (WriteFile(device_.Get(), report.data(), size, &written, &overlapped)) return written == size;
        if (GetLastError() != ERROR_IO_PENDING) return false;
        if (WaitForSingleObject(written_.Get(), kWriteTimeoutMs) != WAIT_OBJECT_0) CancelIo(device_.Get());
        // Waits for the cancelled write too: the buffer and the OVERLAPPED must outlive it.
        return GetOverlappedResult(device_.Get(), &overlapped, &written, TRUE) && written == size;
    }

private:
    FileHandle device_;
    FileHandle written_;
    decltype(&HidD_SetFeature) set_feature_;
};

// The device's own text goes into the detection log: no line breaks, nothing beyond ASCII.
std::string Printable(const wchar_t* text) {
    std::string printable;
    for (; *text; ++text) printable += *text >= 0x20 && *text < 0x7F ? static_cast<char>(*text) : '?';
    return printable;
}

}  // namespace

Win32HidDevices::Win32HidDevices() = default;
Win32HidDevices::~Win32HidDevices() = default;

const Win32HidDevices::Api* Win32HidDevices::Bound() {
    if (!tried_) {
        tried_ = true;
        auto api = std::make_unique<Api>();
        if (api->Bind()) api_ = std::move(api);
    }
    return api_.get();
}

std::vector<std::string> Win32HidDevices::InterfacePaths() {
    std::vector<std::string> paths;
    const Api* api = Bound();
    if (!api) return paths;
    GUID hid_class;
    api->get_hid_guid(&hid_class);
    HDEVINFO set = api->get_class_devs(&hid_class, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return paths;
    for (DWORD index = 0;; ++index) {
        SP_DEVICE_INTERFACE_DATA data = {};
        data.cbSize = sizeof data;
        if (!api->enum_device_interfaces(set, nullptr, &hid_class, index, &data)) break;
        DWORD size = 0;
        api->get_interface_detail(set, &data, nullptr, 0, &size, nullptr);
        if (size <= sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) continue;
        std::vector<DWORD> buffer((size + sizeof(DWORD) - 1) / sizeof(DWORD));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
        detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
        if (api->get_interface_detail(set, &data, detail, size, nullptr, nullptr)) paths.emplace_back(detail->DevicePath);
    }
    api->destroy_info_list(set);
    return paths;
}

std::optional<HidIdentity> Win32HidDevices::Identify(const std::string& path) {
    const Api* api = Bound();
    if (!api) return std::nullopt;
    // No access rights: asking who it is works even on a device that the system holds.
    const FileHandle device(OpenInterface(path, 0, 0));
    if (!device.IsOpen()) return std::nullopt;
    HIDD_ATTRIBUTES attributes = {};
    attributes.Size = sizeof attributes;
    if (!api->get_attributes(device.Get(), &attributes)) return std::nullopt;
    HidIdentity identity;
    identity.vendor_id = attributes.VendorID;
    identity.product_id = attributes.ProductID;
    identity.version_number = attributes.VersionNumber;
    PHIDP_PREPARSED_DATA preparsed = nullptr;
    if (api->get_preparsed_data(device.Get(), &preparsed)) {
        HIDP_CAPS caps = {};
        if (api->get_caps(preparsed, &caps) == HIDP_STATUS_SUCCESS) {
            identity.output_report_length = caps.OutputReportByteLength;
            identity.feature_report_length = caps.FeatureReportByteLength;
        }
        api->free_preparsed_data(preparsed);
    }
    return identity;
}

std::string Win32HidDevices::SerialNumber(const std::string& path) {
    const Api* api = Bound();
    if (!api) return {};
    const FileHandle device(OpenInterface(path, 0, 0));
    // A USB string descriptor holds at most 126 characters.
    wchar_t serial[128] = {};
    if (!device.IsOpen() || !api->get_serial_number(device.Get(), serial, sizeof serial - sizeof serial[0])) return {};
    return Printable(serial);
}

std::unique_ptr<HidConnection> Win32HidDevices::Open(const std::string& path) {
    const Api* api = Bound();
    if (!api) return nullptr;
    auto connection = std::make_unique<Win32HidConnection>(
        OpenInterface(path, GENERIC_READ | GENERIC_WRITE, FILE_FLAG_OVERLAPPED), api->set_feature);
    if (!connection->IsUsable()) return nullptr;
    return connection;
}

}  // namespace platform::win32
