// The module's path at every length the loader allows, asked for as the
// system answers: a path that does not fit comes back cut short.
#include "sink/module_path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// Answers as GetModuleFileNameW does for a module on that path.
struct LoaderAnswer {
    std::wstring path;
    std::vector<uint32_t> capacities;  // of every call

    uint32_t operator()(wchar_t* buffer, uint32_t capacity) {
        capacities.push_back(capacity);
        const auto length = static_cast<uint32_t>(path.size());
        const uint32_t copied = std::min(length, capacity - 1);
        std::copy_n(path.begin(), copied, buffer);
        buffer[copied] = L'\0';
        return length < capacity ? length : capacity;
    }
};

std::wstring PathOfLength(std::size_t length) {
    std::wstring path = L"C:\\";
    while (path.size() < length) path += static_cast<wchar_t>(L'a' + path.size() % 26);
    return path.substr(0, length);
}

TEST(ModulePath, IsReadWholeUpToTheLoadersLongestPath) {
    for (std::size_t length : {3u, 259u, 260u, 16639u, 16640u, 32767u}) {
        LoaderAnswer loader{PathOfLength(length), {}};
        EXPECT_EQ(ReadModulePath(std::ref(loader)), loader.path) << length << " characters";
        EXPECT_LE(loader.capacities.back(), kLongestModulePathBuffer);
    }
}

TEST(ModulePath, IsEmptyWhenTheSystemFails) {
    EXPECT_EQ(ReadModulePath([](wchar_t*, uint32_t) -> uint32_t { return 0; }), L"");
    // A system that always claims the path was cut short is asked no more than up to the loader's limit.
    LoaderAnswer endless{PathOfLength(40000), {}};
    EXPECT_EQ(ReadModulePath(std::ref(endless)), L"");
    EXPECT_EQ(endless.capacities.back(), kLongestModulePathBuffer);
}

}  // namespace
