#pragma once
// The tray pictures as icons: the program's icon at the size the shell
// shows, with the picture's lights laid over it. Each distinct picture is
// made once and kept while it may come again.

#include "app/tray_panel.h"
#include "app/win32/owned_handles.h"

#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

class cTrayIcons {
public:
    // The icon of picture at size x size pixels; owned here, valid until the size changes
    // or kKept later pictures were made. Null when the system could not make it.
    HICON Get(const tray_picture& picture, int size);

    // Distinct pictures kept: a blink needs two, a change of state a few more.
    static constexpr std::size_t kKept = 16;

private:
    bool LoadBase(int size);
    owned_icon Make(const tray_picture& picture) const;

    int size_ = 0;
    std::vector<uint32_t> base_;  // the program's icon, 0xAARRGGBB top row first
    std::vector<std::pair<uint32_t, owned_icon>> icons_;  // by picture key, oldest first
};
