#pragma once
// What the tests of Glimmerbox.dll share: running programs of this build
// (regsvr32, the stand-in host, the area reader), reading the shared area as
// the program does, and building the arrays that the host passes.

#include "sink/media_status_slot.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <array>
#include <initializer_list>
#include <optional>
#include <string>

// The full path of a file in this test program's folder (Glimmerbox.dll and the tools lie there too).
std::wstring BesideTests(const wchar_t* file);

struct ProgramRun {
    DWORD exit_code = ~DWORD{0};
    std::string output;  // stdout and stderr
};
// Runs a command line to its end and collects what it prints.
ProgramRun RunProgram(std::wstring command_line);

// regsvr32 /s [/u] on Glimmerbox.dll: the exit code.
DWORD Regsvr32(bool unregister);

// A copy of the shared area, opened by name with read access as the program opens it.
struct AreaCopy {
    alignas(MediaStatusSlot) std::array<unsigned char, kMediaStatusAreaSize> bytes{};
    const MediaStatusSlot& Slot(std::size_t index) const {
        return *reinterpret_cast<const MediaStatusSlot*>(bytes.data() + MediaStatusSlotOffset(index));
    }
};
std::optional<AreaCopy> ReadArea();

// A one-dimensional SAFEARRAY, destroyed with its owner.
class SafeArray {
public:
    explicit SafeArray(SAFEARRAY* array) : array_(array) {}
    ~SafeArray() {
        if (array_) SafeArrayDestroy(array_);
    }
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    SAFEARRAY* get() const { return array_; }

private:
    SAFEARRAY* array_;
};

SafeArray TagArray(std::initializer_list<LONG> tags);
// Takes ownership of the values.
SafeArray PropertyArray(std::initializer_list<VARIANT> values);
VARIANT BoolValue(bool value);
VARIANT IntValue(LONG value);
VARIANT TextValue(const wchar_t* text);
