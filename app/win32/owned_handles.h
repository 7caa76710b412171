#pragma once
// Handles that free themselves: a unique_ptr over the handle's pointee with
// the system call that frees it, so that no destructor frees one by hand.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

template <auto Free>
struct free_handle {
    template <typename Pointee>
    void operator()(Pointee* handle) const {
        Free(handle);
    }
};

template <typename Handle, auto Free>
using owned_handle = std::unique_ptr<std::remove_pointer_t<Handle>, free_handle<Free>>;

using owned_kernel_handle = owned_handle<HANDLE, &CloseHandle>;
using owned_bitmap = owned_handle<HBITMAP, &DeleteObject>;
using owned_font = owned_handle<HFONT, &DeleteObject>;
using owned_icon = owned_handle<HICON, &DestroyIcon>;
using owned_image_list = owned_handle<HIMAGELIST, &ImageList_Destroy>;
using owned_menu = owned_handle<HMENU, &DestroyMenu>;
