#pragma once
// A standard message box whose OK, Yes and No buttons carry English captions
// on every Windows language.

#include <windows.h>

#include <string>

// MessageBox with the given owner, text, title and type; returns its result.
int EnglishMessageBox(HWND owner, const std::string& text, const std::string& title, UINT type);
