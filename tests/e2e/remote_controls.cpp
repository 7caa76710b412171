#include "remote_controls.h"

#include "desktop.h"

#include <commctrl.h>

#include <cstring>

namespace e2e {
namespace {

constexpr size_t kTextChars = 260;

// Memory inside the process that owns a window, freed on destruction.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, size_t bytes) : size_(bytes) {
        DWORD process_id = 0;
        GetWindowThreadProcessId(window, &process_id);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process_id);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    bool Valid() const { return address_ != nullptr; }
    // The remote address of a byte offset, as a message parameter.
    LPARAM At(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
    bool Write(const void* data, size_t bytes, size_t offset = 0) {
        return offset + bytes <= size_ && WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, bytes, nullptr);
    }
    bool Read(void* data, size_t bytes, size_t offset = 0) const {
        return offset + bytes <= size_ && ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, bytes, nullptr);
    }

private:
    size_t size_;
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

// A record followed by a text buffer, in the control's process.
template <typename Record>
class RemoteRecord {
public:
    explicit RemoteRecord(HWND control) : buffer_(control, sizeof(Record) + kTextChars * sizeof(wchar_t)) {}
    bool Valid() const { return buffer_.Valid(); }
    LPWSTR RemoteText() const { return reinterpret_cast<LPWSTR>(buffer_.At(sizeof(Record))); }
    LPARAM Address() const { return buffer_.At(); }
    bool Put(const Record& record) { return buffer_.Write(&record, sizeof record); }
    bool Get(Record& record) const { return buffer_.Read(&record, sizeof record); }
    std::wstring GetText() const {
        std::wstring text(kTextChars, L'\0');
        if (!buffer_.Read(text.data(), kTextChars * sizeof(wchar_t), sizeof(Record))) return {};
        text.resize(wcsnlen(text.c_str(), kTextChars));
        return text;
    }

private:
    RemoteBuffer buffer_;
};

int ColumnCount(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
}

}  // namespace

std::vector<ListRow> ReadListView(HWND list) {
    std::vector<ListRow> rows;
    RemoteRecord<LVITEMW> remote(list);
    if (!remote.Valid()) return rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    const int columns = ColumnCount(list);
    for (int row = 0; row < count; ++row) {
        ListRow read{{}, {}, -1};
        for (int column = 0; column < columns; ++column) {
            LVITEMW item{};
            item.mask = LVIF_TEXT | (column == 0 ? LVIF_IMAGE : 0u);
            item.iItem = row;
            item.iSubItem = column;
            item.pszText = remote.RemoteText();
            item.cchTextMax = kTextChars;
            if (!remote.Put(item) || !SendMessageW(list, LVM_GETITEMW, 0, remote.Address()) || !remote.Get(item))
                return {};
            if (column == 0) {
                read.caption = remote.GetText();
                read.image = item.iImage;
            } else {
                read.subitems.push_back(remote.GetText());
            }
        }
        rows.push_back(read);
    }
    return rows;
}

std::vector<std::wstring> RowsWithImage(HWND list, int image) {
    std::vector<std::wstring> captions;
    for (const ListRow& row : ReadListView(list))
        if (row.image == image) captions.push_back(row.caption);
    return captions;
}

std::vector<std::wstring> TabCaptions(HWND tabs) {
    std::vector<std::wstring> captions;
    RemoteRecord<TCITEMW> remote(tabs);
    if (!remote.Valid()) return captions;
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = remote.RemoteText();
        item.cchTextMax = kTextChars;
        if (!remote.Put(item) || !SendMessageW(tabs, TCM_GETITEMW, index, remote.Address())) return {};
        captions.push_back(remote.GetText());
    }
    return captions;
}

int SelectedTab(HWND tabs) { return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)); }

bool ClickTab(HWND tabs, int index) {
    RemoteRecord<RECT> remote(tabs);
    RECT rect{};
    if (!remote.Valid() || !SendMessageW(tabs, TCM_GETITEMRECT, index, remote.Address()) || !remote.Get(rect))
        return false;
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(tabs, WM_LBUTTONUP, 0, point);
    return WaitUntil([&] { return SelectedTab(tabs) == index; });
}

}  // namespace e2e
