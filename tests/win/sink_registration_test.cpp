// regsvr32 on Glimmerbox.dll: exactly the registry entries that COM and
// Media Center's status host look for, removed again by regsvr32 /u except
// the keys that others share; the type library and version block it carries.
#include "sink_test_support.h"

#include "glimmerbox.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kCategoryKey[] = L"Component Categories\\{FCB0C2A3-9747-4c95-9d02-820AFEDEF13F}";

std::wstring GuidText(REFGUID guid) {
    wchar_t text[39];
    StringFromGUID2(guid, text, 39);
    return text;
}

std::wstring ClassKey() { return L"CLSID\\" + GuidText(CLSID_StatusSink); }

bool KeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// A REG_SZ value; nothing when the key or value is missing or of another type.
std::optional<std::wstring> ReadText(const std::wstring& path, const wchar_t* name) {
    wchar_t data[1024];
    DWORD size = sizeof data;
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

struct Entry {
    std::wstring key;
    const wchar_t* value_name;
    std::wstring data;
};

// Every value registration writes, with the data it must hold.
std::vector<Entry> ExpectedValues() {
    const std::wstring clsid = GuidText(CLSID_StatusSink);
    return {
        {kCategoryKey, L"409", L"Media Status Sink"},
        {L"Glimmerbox.StatusSink.1", nullptr, L"StatusSink Class"},
        {L"Glimmerbox.StatusSink.1\\CLSID", nullptr, clsid},
        {L"Glimmerbox.StatusSink", nullptr, L"StatusSink Class"},
        {L"Glimmerbox.StatusSink\\CLSID", nullptr, clsid},
        {L"Glimmerbox.StatusSink\\CurVer", nullptr, L"Glimmerbox.StatusSink.1"},
        {ClassKey(), nullptr, L"StatusSink Class"},
        {ClassKey() + L"\\ProgID", nullptr, L"Glimmerbox.StatusSink.1"},
        {ClassKey() + L"\\VersionIndependentProgID", nullptr, L"Glimmerbox.StatusSink"},
        {ClassKey() + L"\\Implemented Categories\\{FCB0C2A3-9747-4c95-9d02-820AFEDEF13F}", nullptr,
         L"Media Status Sink"},
        {ClassKey() + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {ClassKey() + L"\\TypeLib", nullptr, GuidText(LIBID_STATESCRIBELib)},
    };
}

// Everything below a key, one line per value: "subkey path|value name" -> type and data.
using KeyDump = std::map<std::wstring, std::wstring>;

void DumpKey(HKEY parent, const std::wstring& name, const std::wstring& path, KeyDump& dump) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    dump[path + L"|"] = L"(key)";
    wchar_t value_name[256];
    BYTE data[1024];
    for (DWORD i = 0;; ++i) {
        DWORD name_length = 256, size = sizeof data, type = 0;
        if (RegEnumValueW(key, i, value_name, &name_length, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        std::wstring text = std::to_wstring(type) + L":";
        for (DWORD b = 0; b < size; ++b) text += std::to_wstring(data[b]) + L",";
        dump[path + L"|" + value_name] = text;
    }
    wchar_t subkey[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        DumpKey(key, subkey, path + L"\\" + subkey, dump);
    }
    RegCloseKey(key);
}

KeyDump Dump(const std::wstring& path) {
    KeyDump dump;
    DumpKey(HKEY_CLASSES_ROOT, path, path, dump);
    return dump;
}

void SetText(const std::wstring& path, const wchar_t* name, const std::wstring& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring InterfaceKey(REFIID iid) { return L"Interface\\" + GuidText(iid); }

// The interfaces whose IIDs the module's type library repeats from Media Center's.
const IID* const kPlatformInterfaces[] = {&__uuidof(IMediaStatusSink), &__uuidof(IMediaStatusSession)};

TEST(SinkRegistrationBesideMediaCenter, LeavesMediaCentersInterfaceKeysAsTheyWere) {
    // As Media Center's setup leaves them: a proxy-stub class and a type library of its own.
    for (const IID* iid : kPlatformInterfaces) {
        SetText(InterfaceKey(*iid), nullptr, L"IMediaStatus");
        SetText(InterfaceKey(*iid) + L"\\ProxyStubClsid32", nullptr, L"{5A9B3C41-7D2E-4F60-8C11-2B7E9D4F0A63}");
        SetText(InterfaceKey(*iid) + L"\\TypeLib", nullptr, L"{0C8E6B27-94F1-4A3D-B5E2-6F1D8A7C9E40}");
        SetText(InterfaceKey(*iid) + L"\\TypeLib", L"Version", L"1.0");
    }
    std::vector<KeyDump> platform;
    for (const IID* iid : kPlatformInterfaces) platform.push_back(Dump(InterfaceKey(*iid)));

    ASSERT_EQ(Regsvr32(false), 0u);
    for (std::size_t i = 0; i < platform.size(); ++i)
        EXPECT_EQ(Dump(InterfaceKey(*kPlatformInterfaces[i])), platform[i]) << "after registering, interface " << i;
    ASSERT_EQ(Regsvr32(true), 0u);
    for (std::size_t i = 0; i < platform.size(); ++i) {
        EXPECT_EQ(Dump(InterfaceKey(*kPlatformInterfaces[i])), platform[i]) << "after unregistering, interface " << i;
        RegDeleteTreeW(HKEY_CLASSES_ROOT, InterfaceKey(*kPlatformInterfaces[i]).c_str());
        RegDeleteKeyW(HKEY_CLASSES_ROOT, InterfaceKey(*kPlatformInterfaces[i]).c_str());
    }
}

class SinkRegistration : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Regsvr32(false), 0u); }
    void TearDown() override { Regsvr32(true); }
};

TEST_F(SinkRegistration, WritesEveryEntry) {
    for (const Entry& entry : ExpectedValues())
        EXPECT_EQ(ReadText(entry.key, entry.value_name), entry.data)
            << std::string(entry.key.begin(), entry.key.end());
    std::optional<std::wstring> server = ReadText(ClassKey() + L"\\InprocServer32", nullptr);
    ASSERT_TRUE(server);
    EXPECT_EQ(Lower(*server), Lower(BesideTests(L"Glimmerbox.dll")));
}

TEST_F(SinkRegistration, RewritesTheClassKeyFromScratch) {
    HKEY stale = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (ClassKey() + L"\\LocalServer32").c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &stale, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(stale);
    ASSERT_EQ(Regsvr32(false), 0u);
    EXPECT_FALSE(KeyExists(ClassKey() + L"\\LocalServer32"));
    EXPECT_TRUE(KeyExists(ClassKey() + L"\\InprocServer32"));
}

TEST_F(SinkRegistration, RegistersTheTypeLibraryFromTheModule) {
    const std::wstring library = L"TypeLib\\" + GuidText(LIBID_STATESCRIBELib) + L"\\0.9";
    EXPECT_EQ(ReadText(library, nullptr), L"Glimmerbox 0.9 Type Library");
    std::optional<std::wstring> path = ReadText(library + (sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32"), nullptr);
    ASSERT_TRUE(path);
    EXPECT_EQ(Lower(*path), Lower(BesideTests(L"Glimmerbox.dll")));
    for (const IID* iid : kPlatformInterfaces)
        EXPECT_EQ(ReadText(InterfaceKey(*iid) + L"\\TypeLib", nullptr), GuidText(LIBID_STATESCRIBELib))
            << "without Media Center's keys the module registers its own";
}

TEST_F(SinkRegistration, UnregisteringRemovesAllButTheSharedKeys) {
    ASSERT_EQ(Regsvr32(true), 0u);
    for (const Entry& entry : ExpectedValues()) {
        if (entry.key == kCategoryKey) continue;
        EXPECT_FALSE(KeyExists(entry.key)) << std::string(entry.key.begin(), entry.key.end());
    }
    EXPECT_FALSE(KeyExists(ClassKey()));
    EXPECT_FALSE(KeyExists(L"TypeLib\\" + GuidText(LIBID_STATESCRIBELib)));
    for (const IID* iid : kPlatformInterfaces) EXPECT_FALSE(KeyExists(InterfaceKey(*iid)));
    EXPECT_EQ(ReadText(kCategoryKey, L"409"), L"Media Status Sink");
    EXPECT_TRUE(KeyExists(L"CLSID"));
}

TEST(SinkVersionBlock, MarksTheModuleSelfRegistering) {
    std::wstring path = BesideTests(L"Glimmerbox.dll");
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    ASSERT_NE(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    auto text = [&](const wchar_t* key) -> std::optional<std::wstring> {
        void* value = nullptr;
        UINT length = 0;
        std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + key;
        if (!VerQueryValueW(block.data(), query.c_str(), &value, &length)) return std::nullopt;
        return std::wstring(static_cast<const wchar_t*>(value), length ? length - 1 : 0);
    };
    EXPECT_EQ(text(L"OLESelfRegister"), L"");
    EXPECT_EQ(text(L"FileDescription"), L"Glimmerbox Module");
    EXPECT_EQ(text(L"FileVersion"), L"0.9.09");
    EXPECT_EQ(text(L"OriginalFilename"), L"Glimmerbox.DLL");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00000009u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00090000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

}  // namespace
