// Self-registration: the registry entries that let COM find the class and
// Media Center's status host find it in its "Media Status Sink" category,
// written and removed by one loop over one table, and the type library
// registered from the module's own file.
#include "sink/win32/com_module.h"
#include "sink/win32/registry_tree.h"

#include "glimmerbox.h"

#include <iterator>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr wchar_t kClassDescription[] = L"StatusSink Class";
constexpr wchar_t kProgId[] = L"Glimmerbox.StatusSink.1";
constexpr wchar_t kVersionIndependentProgId[] = L"Glimmerbox.StatusSink";
constexpr wchar_t kCategoryDescription[] = L"Media Status Sink";
constexpr wchar_t kThreadingModel[] = L"Apartment";

// Where an entry's key lies under HKEY_CLASSES_ROOT.
enum class Base { Classes, ClassKey };  // ClassKey: CLSID\{the class's CLSID}
// What the value holds.
enum class Data { None, Text, ClassId, ModulePath, LibraryId };
// Keep: never deleted (others share it). Force: deleted with everything below before it is written.
enum class Marker { None, Keep, Force };

struct RegistryEntry {
    Base base;
    const wchar_t* key;
    const wchar_t* value_name;  // null: the key's default value
    Data data;
    const wchar_t* text;
    Marker marker;
};

constexpr RegistryEntry kEntries[] = {
    {Base::Classes, L"Component Categories", nullptr, Data::None, nullptr, Marker::Keep},
    {Base::Classes, L"Component Categories\\{FCB0C2A3-9747-4c95-9d02-820AFEDEF13F}", L"409", Data::Text,
     kCategoryDescription, Marker::Keep},
    {Base::Classes, kProgId, nullptr, Data::Text, kClassDescription, Marker::None},
    {Base::Classes, L"Glimmerbox.StatusSink.1\\CLSID", nullptr, Data::ClassId, nullptr, Marker::None},
    {Base::Classes, kVersionIndependentProgId, nullptr, Data::Text, kClassDescription, Marker::None},
    {Base::Classes, L"Glimmerbox.StatusSink\\CLSID", nullptr, Data::ClassId, nullptr, Marker::None},
    {Base::Classes, L"Glimmerbox.StatusSink\\CurVer", nullptr, Data::Text, kProgId, Marker::None},
    {Base::Classes, L"CLSID", nullptr, Data::None, nullptr, Marker::Keep},
    {Base::ClassKey, L"", nullptr, Data::Text, kClassDescription, Marker::Force},
    {Base::ClassKey, L"ProgID", nullptr, Data::Text, kProgId, Marker::None},
    {Base::ClassKey, L"VersionIndependentProgID", nullptr, Data::Text, kVersionIndependentProgId, Marker::None},
    {Base::ClassKey, L"Implemented Categories\\{FCB0C2A3-9747-4c95-9d02-820AFEDEF13F}", nullptr, Data::Text,
     kCategoryDescription, Marker::None},
    {Base::ClassKey, L"InprocServer32", nullptr, Data::ModulePath, nullptr, Marker::None},
    {Base::ClassKey, L"InprocServer32", L"ThreadingModel", Data::Text, kThreadingModel, Marker::None},
    {Base::ClassKey, L"TypeLib", nullptr, Data::LibraryId, nullptr, Marker::None},
};

std::wstring GuidText(REFGUID guid) {
    wchar_t text[39];  // {8-4-4-4-12} and the terminator
    StringFromGUID2(guid, text, 39);
    return text;
}

std::wstring KeyPath(const RegistryEntry& entry) {
    if (entry.base == Base::Classes) return entry.key;
    std::wstring path = L"CLSID\\" + GuidText(CLSID_StatusSink);
    if (*entry.key) path += L"\\" + std::wstring(entry.key);
    return path;
}

std::wstring DataText(const RegistryEntry& entry, const std::wstring& module_path) {
    switch (entry.data) {
    case Data::Text: return entry.text;
    case Data::ClassId: return GuidText(CLSID_StatusSink);
    case Data::ModulePath: return module_path;
    case Data::LibraryId: return GuidText(LIBID_STATESCRIBELib);
    case Data::None: break;
    }
    return {};
}

HRESULT FromRegistry(LONG status) { return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status); }

// A key that is already gone counts as deleted.
HRESULT DeleteKey(const std::wstring& path) { return FromRegistry(DeleteRegistryTree(HKEY_CLASSES_ROOT, path)); }

HRESULT WriteEntry(const RegistryEntry& entry, const std::wstring& module_path) {
    std::wstring path = KeyPath(entry);
    if (entry.marker == Marker::Force) {
        HRESULT result = DeleteKey(path);
        if (FAILED(result)) return result;
    }
    HKEY key = nullptr;
    HRESULT result = FromRegistry(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                                  nullptr, &key, nullptr));
    if (FAILED(result)) return result;
    if (entry.data != Data::None) {
        std::wstring data = DataText(entry, module_path);
        result = FromRegistry(RegSetValueExW(key, entry.value_name, 0, REG_SZ,
                                             reinterpret_cast<const BYTE*>(data.c_str()),
                                             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))));
    }
    RegCloseKey(key);
    return result;
}

// The module's type library: from its own file, else from the .tlb beside it.
HRESULT LoadModuleTypeLibrary(const std::wstring& module_path, ITypeLib** library, std::wstring& library_path) {
    library_path = module_path;
    HRESULT result = LoadTypeLib(library_path.c_str(), library);
    if (SUCCEEDED(result)) return result;
    std::wstring::size_type dot = library_path.find_last_of(L".\\");
    if (dot != std::wstring::npos && library_path[dot] == L'.') library_path.resize(dot);
    library_path += L".tlb";
    return LoadTypeLib(library_path.c_str(), library);
}

// The type library repeats the IIDs of Media Center's own interfaces, whose
// Interface keys (proxy-stub class, type library) Media Center's setup
// registered. Registering and unregistering a type library rewrites and
// deletes the keys of the interfaces it describes: such keys that point at
// another type library are kept here and put back exactly as they were.
using KeptKeys = std::vector<std::pair<std::wstring, RegistryTree>>;

// True when the key's TypeLib subkey names this module's type library.
bool NamesOwnLibrary(const RegistryTree& key) {
    for (const RegistryTree::Subkey& subkey : key.subkeys) {
        if (lstrcmpiW(subkey.name.c_str(), L"TypeLib") != 0) continue;
        for (const RegistryTree::Value& value : subkey.tree.values) {
            if (!value.name.empty() || value.type != REG_SZ) continue;
            std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / sizeof(wchar_t));
            return lstrcmpiW(text.c_str(), GuidText(LIBID_STATESCRIBELib).c_str()) == 0;
        }
    }
    return false;
}

KeptKeys ForeignInterfaceKeys(ITypeLib* library) {
    KeptKeys kept;
    for (UINT index = 0; index < library->GetTypeInfoCount(); ++index) {
        TYPEKIND kind;
        if (FAILED(library->GetTypeInfoType(index, &kind)) || (kind != TKIND_INTERFACE && kind != TKIND_DISPATCH))
            continue;
        ITypeInfo* info = nullptr;
        if (FAILED(library->GetTypeInfo(index, &info))) continue;
        TYPEATTR* attributes = nullptr;
        if (SUCCEEDED(info->GetTypeAttr(&attributes))) {
            std::wstring path = L"Interface\\" + GuidText(attributes->guid);
            info->ReleaseTypeAttr(attributes);
            std::optional<RegistryTree> key = ReadRegistryTree(HKEY_CLASSES_ROOT, path);
            if (key && !NamesOwnLibrary(*key)) kept.emplace_back(std::move(path), std::move(*key));
        }
        info->Release();
    }
    return kept;
}

// Runs the type library call, then puts the foreign interface keys back.
template <typename Call>
HRESULT KeepingForeignInterfaceKeys(ITypeLib* library, Call call) {
    const KeptKeys kept = ForeignInterfaceKeys(library);
    HRESULT result = call();
    for (const auto& [path, tree] : kept) {
        HRESULT restored = FromRegistry(RestoreRegistryTree(HKEY_CLASSES_ROOT, path, tree));
        if (SUCCEEDED(result)) result = restored;
    }
    return result;
}

HRESULT RegisterTypeLibrary(const std::wstring& module_path) {
    ITypeLib* library = nullptr;
    std::wstring library_path;
    HRESULT result = LoadModuleTypeLibrary(module_path, &library, library_path);
    if (FAILED(result)) return result;
    std::wstring help_directory = module_path.substr(0, module_path.find_last_of(L'\\'));
    result = KeepingForeignInterfaceKeys(
        library, [&] { return RegisterTypeLib(library, library_path.data(), help_directory.data()); });
    library->Release();
    return result;
}

HRESULT UnregisterTypeLibrary(const std::wstring& module_path) {
    ITypeLib* library = nullptr;
    std::wstring library_path;
    HRESULT result = LoadModuleTypeLibrary(module_path, &library, library_path);
    if (FAILED(result)) return result;
    TLIBATTR* attributes = nullptr;
    result = library->GetLibAttr(&attributes);
    if (SUCCEEDED(result)) {
        result = KeepingForeignInterfaceKeys(library, [&] {
            return UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                     attributes->lcid, attributes->syskind);
        });
        library->ReleaseTLibAttr(attributes);
    }
    library->Release();
    return result;
}

HRESULT Register() {
    std::wstring module_path = com_module::Path();
    if (module_path.empty()) return com_module::LastErrorResult();
    for (const RegistryEntry& entry : kEntries) {
        HRESULT result = WriteEntry(entry, module_path);
        if (FAILED(result)) return result;
    }
    return RegisterTypeLibrary(module_path);
}

HRESULT Unregister() {
    std::wstring module_path = com_module::Path();
    if (module_path.empty()) return com_module::LastErrorResult();
    // Backwards, so that subkeys go before their parents.
    for (auto entry = std::rbegin(kEntries); entry != std::rend(kEntries); ++entry) {
        if (entry->marker == Marker::Keep) continue;
        HRESULT result = DeleteKey(KeyPath(*entry));
        if (FAILED(result)) return result;
    }
    return UnregisterTypeLibrary(module_path);
}

// Registry paths are built as strings: a failed allocation must end in a code, not cross the export.
template <typename Operation>
HRESULT WithoutExceptions(Operation operation) {
    try {
        return operation();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

}  // namespace

STDAPI DllRegisterServer() { return WithoutExceptions(Register); }

STDAPI DllUnregisterServer() { return WithoutExceptions(Unregister); }
