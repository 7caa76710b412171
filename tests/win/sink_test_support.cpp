#include "sink_test_support.h"

#include <cstring>

std::wstring BesideTests(const wchar_t* file) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + file;
}

ProgramRun RunProgram(std::wstring command_line) {
    ProgramRun run;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE read_end = nullptr, write_end = nullptr;
    if (!CreatePipe(&read_end, &write_end, &inheritable, 0)) return run;
    SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write_end;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                  &process);
    CloseHandle(write_end);
    if (started) {
        // The pipe is read only while the program runs: a process it started
        // (regsvr32 may wake one of Wine's services) can inherit the write end
        // and keep the pipe open long after the program itself has ended.
        constexpr DWORD kPollMs = 20, kTimeoutMs = 60000;
        auto drain = [&] {
            DWORD available = 0, got = 0;
            char buffer[4096];
            while (PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr) && available &&
                   ReadFile(read_end, buffer, sizeof buffer < available ? sizeof buffer : available, &got, nullptr) &&
                   got)
                run.output.append(buffer, got);
        };
        DWORD waited = 0;
        while (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_TIMEOUT) {
            drain();
            if ((waited += kPollMs) >= kTimeoutMs) {
                TerminateProcess(process.hProcess, ~DWORD{0});
                WaitForSingleObject(process.hProcess, INFINITE);
            }
        }
        drain();
        GetExitCodeProcess(process.hProcess, &run.exit_code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(read_end);
    return run;
}

DWORD Regsvr32(bool unregister) {
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(system, length) + L"\\regsvr32.exe\" /s " + (unregister ? L"/u " : L"") +
                           L"\"" + BesideTests(L"Glimmerbox.dll") + L"\"";
    return RunProgram(command).exit_code;
}

std::optional<AreaCopy> ReadArea() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kMediaStatusAreaName);
    if (!mapping) return std::nullopt;
    std::optional<AreaCopy> copy;
    if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kMediaStatusAreaSize)) {
        copy.emplace();
        std::memcpy(copy->bytes.data(), view, kMediaStatusAreaSize);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return copy;
}

SafeArray TagArray(std::initializer_list<LONG> tags) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(tags.size()));
    LONG index = 0;
    for (LONG tag : tags) {
        SafeArrayPutElement(array, &index, &tag);
        ++index;
    }
    return SafeArray(array);
}

SafeArray PropertyArray(std::initializer_list<VARIANT> values) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(values.size()));
    LONG index = 0;
    for (VARIANT value : values) {
        SafeArrayPutElement(array, &index, &value);
        VariantClear(&value);
        ++index;
    }
    return SafeArray(array);
}

VARIANT BoolValue(bool value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_BOOL;
    variant.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return variant;
}

VARIANT IntValue(LONG value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}

VARIANT TextValue(const wchar_t* text) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_BSTR;
    variant.bstrVal = SysAllocString(text);
    return variant;
}
