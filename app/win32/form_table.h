#pragma once
// A form as its designer laid it out: one table of its controls, indexed by
// the form's own enum class of them, whose enumerators are the designer's
// names. Controls are found by these ids only, never by name at run time.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

enum class ControlKind : uint8_t {
    Tabs,          // the tab control; its pages follow as Page rows
    Page,          // one tab page, placed on the tab control's display area
    Button,
    CheckBox,
    Label,         // plain text; SS_RIGHT or SS_CENTER in the style to align it
    FramedText,    // centred text in a sunken frame
    DropDownList,
    ReportList,
    TrackBar,      // horizontal, 0 to 100, a tick every 5, ticks below
    HotSpot,       // an invisible area that reports clicks and double-clicks
    Link,          // blue, underlined text with a hand cursor
};

enum class TextFont : uint8_t { Normal, Title, Link };

inline constexpr int kNoPage = -1;

// A control of a form (or an item of a menu): an enumerator of the form's
// enum class of them, which is the row in its table.
class control_id {
public:
    template <typename Id>
        requires std::is_enum_v<Id>
    constexpr control_id(Id id) : row_(static_cast<std::size_t>(id)) {}

    constexpr std::size_t Row() const { return row_; }

private:
    std::size_t row_;
};

// One control as the designer placed it: pixels at 96 dpi, relative to the
// form's client area or, for a control on a tab, to its page. A width or
// height of 0 sizes the control to its caption.
struct control_row {
    ControlKind kind;
    control_id id;
    const char* name;  // the designer's name, for messages
    const char* caption;
    int left, top, width, height;
    int page = kNoPage;  // the Page row's page number for a control on a tab
    DWORD style = 0;     // beyond the kind's own styles
    TextFont font = TextFont::Normal;
};

// True when each row of a table stands at the place its id names, so that an id finds its row.
template <typename Row, std::size_t N>
consteval bool IndexedById(const Row (&rows)[N]) {
    for (std::size_t i = 0; i < N; ++i)
        if (rows[i].id.Row() != i) return false;
    return true;
}

struct form_table {
    const char* class_name;
    const char* caption;
    int client_width, client_height;  // pixels at 96 dpi
    DWORD ex_style;                   // WS_EX_TOOLWINDOW, WS_EX_TOPMOST
    std::span<const control_row> controls;
};
