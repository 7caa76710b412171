#include "app/win32/tray_icons.h"

#include "app/win32/resources/resource_ids.h"
#include "app/win32/top_down_bitmap.h"

#include <algorithm>
#include <cstring>

HICON cTrayIcons::Get(const tray_picture& picture, int size) {
    if (size != size_ && !LoadBase(size)) return nullptr;
    const uint32_t key = picture.Key();
    const auto kept = std::find_if(icons_.begin(), icons_.end(), [key](const auto& icon) { return icon.first == key; });
    if (kept != icons_.end()) return kept->second.get();
    owned_icon icon = Make(picture);
    if (!icon) return nullptr;
    if (icons_.size() == kKept) icons_.erase(icons_.begin());
    icons_.emplace_back(key, std::move(icon));
    return icons_.back().second.get();
}

// Reads the colour and alpha of the program's icon drawn for this size. A display of
// fewer colours gives the colour without alpha: the mask then tells what is opaque.
bool cTrayIcons::LoadBase(int size) {
    icons_.clear();
    base_.clear();
    size_ = 0;
    const owned_icon icon(static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_GLIMMERBOX), IMAGE_ICON, size, size, 0)));
    ICONINFO parts = {};
    if (!icon || !GetIconInfo(icon.get(), &parts)) return false;
    const owned_bitmap colour(parts.hbmColor), mask(parts.hbmMask);
    const std::size_t count = static_cast<std::size_t>(size) * size;
    std::vector<uint32_t> pixels(count), transparent(count);
    BITMAPINFO info = TopDownBitmapInfo(size, size);
    HDC screen = GetDC(nullptr);
    auto read_bits = [&](const owned_bitmap& bitmap, std::vector<uint32_t>& into) {
        return bitmap && GetDIBits(screen, bitmap.get(), 0, size, into.data(), &info, DIB_RGB_COLORS) == size;
    };
    const bool read = read_bits(colour, pixels) && read_bits(mask, transparent);
    ReleaseDC(nullptr, screen);
    if (!read) return false;
    if (std::none_of(pixels.begin(), pixels.end(), [](uint32_t pixel) { return pixel >> 24 != 0; }))
        for (std::size_t i = 0; i < count; ++i) pixels[i] |= (transparent[i] & 0xFFFFFF) == 0 ? 0xFF000000 : 0;
    base_ = std::move(pixels);
    size_ = size;
    return true;
}

owned_icon cTrayIcons::Make(const tray_picture& picture) const {
    std::vector<uint32_t> pixels = base_;
    DrawTrayLights(picture, size_, pixels);
    BITMAPINFO info = TopDownBitmapInfo(size_, size_);
    void* bits = nullptr;
    const owned_bitmap colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits) return nullptr;
    std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
    // The mask, for shells that draw without alpha: set where the picture is transparent.
    // Its rows are padded to 16 bits.
    const int row_bytes = (size_ + 15) / 16 * 2;
    std::vector<uint8_t> mask_bits(static_cast<std::size_t>(row_bytes) * size_, 0);
    for (int y = 0; y < size_; ++y)
        for (int x = 0; x < size_; ++x)
            if ((pixels[static_cast<std::size_t>(y) * size_ + x] >> 24) == 0)
                mask_bits[static_cast<std::size_t>(y) * row_bytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    const owned_bitmap mask(CreateBitmap(size_, size_, 1, 1, mask_bits.data()));
    if (!mask) return nullptr;
    ICONINFO parts = {TRUE, 0, 0, mask.get(), colour.get()};
    return owned_icon(CreateIconIndirect(&parts));
}
