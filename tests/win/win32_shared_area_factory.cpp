#include "platform/win32/win32_shared_area_reader.h"
#include "tests/common/shared_area_fixture.h"

#include <windows.h>

#include <map>

namespace {

constexpr DWORD kAreaSize = 4096;

// Writes areas backed by the paging file, as another process would.
class Win32TestSharedAreas final : public TestSharedAreas {
public:
    ~Win32TestSharedAreas() override {
        while (!writers_.empty()) Release(writers_.begin()->first);
    }

    platform::SharedAreaReader& Reader() override { return reader_; }

    uint8_t* Create(const std::string& name) override {
        HANDLE mapping =
            CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kAreaSize, name.c_str());
        if (!mapping) return nullptr;
        void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, kAreaSize);
        writers_[name] = {mapping, view};
        return static_cast<uint8_t*>(view);
    }

    void Release(const std::string& name) override {
        auto it = writers_.find(name);
        if (it == writers_.end()) return;
        UnmapViewOfFile(it->second.view);
        CloseHandle(it->second.mapping);
        writers_.erase(it);
    }

private:
    struct Writer {
        HANDLE mapping;
        void* view;
    };
    platform::win32::Win32SharedAreaReader reader_;
    std::map<std::string, Writer> writers_;
};

}  // namespace

std::unique_ptr<TestSharedAreas> MakeTestSharedAreas() { return std::make_unique<Win32TestSharedAreas>(); }
