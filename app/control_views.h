#pragma once
// What one control shows, as the forms render it. Item data stays with the
// model: a form reports a choice by the item's index.

#include <string>
#include <vector>

// A drop-down list. The items stand in display order; a form shows them as
// given and never sorts them itself.
struct combo_view {
    std::vector<std::string> items;
    int selected = -1;  // index into items; -1 for no selection
    bool enabled = true;
};

struct check_view {
    bool checked = false;
    bool enabled = true;
};

// A horizontal track bar with its value label.
struct bar_view {
    static constexpr int kMinimum = 0;
    static constexpr int kTickFrequency = 5;

    int maximum = 100;
    int position = 0;
    bool enabled = true;
    bool visible = true;
    std::string label = "-";
    bool label_enabled = true;
    bool label_visible = true;
};
