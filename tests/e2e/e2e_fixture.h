#pragma once
// The fixture of the out-of-process tests: Glimmerbox.exe (its path given on
// the command line), the program's registry key emptied before and after each
// test, and a fresh working folder per test.

#include "tray_program.h"

#include "platform/win32/win32_registry.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

// Under Wine no keyboard or serial module is found, so the fallback keyboard
// device is current; its relations lie under its hardware ID, below the program's key.
inline constexpr char kFallbackRelationsKey[] = "\\2003\\Relations";

class TrayProgramTest : public testing::Test {
public:
    // Set once by main from --program=PATH.
    static std::wstring program_path;

protected:
    void SetUp() override;
    void TearDown() override;

    const std::wstring& Program() const { return program_path; }
    // A working folder of this test's own, empty at its start.
    const std::wstring& Folder() const { return folder_; }
    // Starts the program in this test's folder.
    std::unique_ptr<e2e::ProgramRun> Start(const std::wstring& arguments) const;

    // Deletes the program's registry key; true when it is gone.
    bool ForgetSettings();
    // The stored user events ("UserEvent0" to "UserEvent2").
    std::optional<uint32_t> UserEvent(int index);
    void SetUserEvent(int index, uint32_t value);
    // Stores one relation per event for the fallback device, in this order,
    // each lighting LED 0 but the one on dark_event, which turns it off; they
    // show as rows of the list in the same order.
    void StoreRelations(std::initializer_list<uint32_t> events, uint32_t dark_event = 0);

    platform::win32::Win32Registry registry_;

private:
    std::wstring folder_;
};
