#pragma once
// Finding and reading another process's windows, as a person sees them:
// top-level windows by class and caption, child controls, their texts.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// How long a test waits for something a person would see at once.
constexpr DWORD kPatienceMs = 10000;

// Polls the condition every 20 ms; true as soon as it holds, false after the timeout.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms = kPatienceMs);

// Makes this process see other programs' windows in real pixels at any DPI.
void SeeRealPixels();

// Top-level windows of a process (any process when process_id is 0), of a
// class when window_class is given, with this caption when title is given.
std::vector<HWND> TopLevelWindows(DWORD process_id, const wchar_t* window_class = nullptr,
                                  const wchar_t* title = nullptr);
// The first of them, or null.
HWND FindTopLevel(DWORD process_id, const wchar_t* window_class, const wchar_t* title = nullptr);
// The visible ones.
std::vector<HWND> VisibleTopLevelWindows(DWORD process_id);

// The captions of a process's visible windows, quoted, for failure messages:
// a program that does not come up usually shows why in a message box.
std::string ShownWindows(DWORD process_id);

// Every descendant of parent of this class, in window order.
std::vector<HWND> Descendants(HWND parent, const wchar_t* window_class);

// The window's text (WM_GETTEXT, wide).
std::wstring Text(HWND window);

// The full path of a file beside this program.
std::wstring BesideThisProgram(const std::wstring& file);

// A path as Windows programs take it: a build folder path handed in by CMake
// (a Unix path under Wine) becomes its drive path.
std::wstring WindowsPath(const std::string& path);

// UTF-8 and back.
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

}  // namespace e2e
