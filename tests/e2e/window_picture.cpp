#include "window_picture.h"

#include "app/win32/top_down_bitmap.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <vector>

namespace e2e {
namespace {

// Releases a COM interface when it goes.
template <typename Interface>
class Com {
public:
    Com() = default;
    ~Com() {
        if (pointer_) pointer_->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    Interface* operator->() const { return pointer_; }
    Interface** Out() { return &pointer_; }
    Interface* Get() const { return pointer_; }

private:
    Interface* pointer_ = nullptr;
};

// The screen's pixels of a rectangle, top-down BGRA.
std::vector<BYTE> ScreenPixels(const RECT& rect, int width, int height) {
    std::vector<BYTE> pixels(static_cast<size_t>(width) * height * 4);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = TopDownBitmapInfo(width, height);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        std::copy_n(static_cast<BYTE*>(bits), pixels.size(), pixels.begin());
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool WritePng(const std::wstring& path, std::vector<BYTE>& pixels, UINT width, UINT height) {
    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapEncoder> encoder;
    Com<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.Out()))) &&
           SUCCEEDED(factory->CreateStream(stream.Out())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out())) &&
           SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.Out(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(width, height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
           format == GUID_WICPixelFormat32bppBGR &&
           SUCCEEDED(frame->WritePixels(height, width * 4, static_cast<UINT>(pixels.size()), pixels.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

std::vector<DWORD> WindowPixels(HWND window) {
    RECT rect{};
    if (!IsWindowVisible(window) || !GetWindowRect(window, &rect)) return {};
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return {};
    const std::vector<BYTE> bytes = ScreenPixels(rect, width, height);
    std::vector<DWORD> pixels(bytes.size() / 4);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<DWORD>(bytes[4 * i + 2]) << 16 | static_cast<DWORD>(bytes[4 * i + 1]) << 8 | bytes[4 * i];
    return pixels;
}

bool SaveWindowPicture(HWND window, const std::wstring& png_path) {
    RECT rect{};
    if (!IsWindowVisible(window) || !GetWindowRect(window, &rect)) return false;
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;
    std::vector<BYTE> pixels = ScreenPixels(rect, width, height);
    const bool initialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const bool written = WritePng(png_path, pixels, static_cast<UINT>(width), static_cast<UINT>(height));
    if (initialised) CoUninitialize();
    return written;
}

}  // namespace e2e
