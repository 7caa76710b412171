// regsvr32 on Glimmerbox.dll: exactly the registry entries that COM and
// Media Center's status host look for, removed again by regsvr32 /u except
// the keys that others share; the type library and version block it carries.
#include "sink_test_support.h"

#include "glimmerbox.h"

#include <gtest/gtest.h>

#include <cwctype>
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
    EXPECT_TRUE(KeyExists(L"Interface\\" + GuidText(__uuidof(IMediaStatusSession))));
}

TEST_F(SinkRegistration, UnregisteringRemovesAllButTheSharedKeys) {
    ASSERT_EQ(Regsvr32(true), 0u);
    for (const Entry& entry : ExpectedValues()) {
        if (entry.key == kCategoryKey) continue;
        EXPECT_FALSE(KeyExists(entry.key)) << std::string(entry.key.begin(), entry.key.end());
    }
    EXPECT_FALSE(KeyExists(ClassKey()));
    EXPECT_FALSE(KeyExists(L"TypeLib\\" + GuidText(LIBID_STATESCRIBELib)));
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
