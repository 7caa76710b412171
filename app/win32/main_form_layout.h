#pragma once
// The configuration window as designed: every control with its caption and
// its place, the tabs in their order and the relation list's columns.

#include "app/win32/form.h"

namespace main_layout {

// Page numbers of the tabs, in the order the tabs stand.
inline constexpr int kLedsPage = 0;
inline constexpr int kDevicePage = 1;
inline constexpr int kCalibrationPage = 2;
inline constexpr int kResearchPage = 3;
inline constexpr int kAboutPage = 4;

extern const form_table kForm;

struct list_column {
    const char* caption;
    int width;  // pixels at 96 dpi; 0 fills what the others leave, up to kMaxFillWidth
    int format;
};
inline constexpr int kMaxFillWidth = 150;
extern const list_column kColumns[4];

}  // namespace main_layout
