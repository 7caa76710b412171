#pragma once
// What the files of the form layer share about the windows they make.

#include <windows.h>

namespace form_constants {

inline constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
inline constexpr const char* kPageClass = "GlimmerboxPage";
// A control's dialog ID is this plus its table row.
inline constexpr int kFirstControlId = 1000;
// Items a drop-down list shows open; its window includes them.
inline constexpr int kDropDownRows = 15;

}  // namespace form_constants
