#pragma once
// Loading system libraries only from the system folder. A library looked up
// by bare name is searched for beside the program and in the current folder
// first, where anyone who can write there would have it run as the user.

#include <windows.h>

namespace platform::win32 {

// Takes the current folder out of the search for libraries (SetDllDirectoryW
// with an empty folder) and, where the system has it, leaves only the system
// folder to search (SetDefaultDllDirectories); both bound at run time, as
// Windows XP SP1 and Windows 8 (or 7 with its update) brought them. Called
// first thing at start.
void RestrictLibrarySearch();

// LoadLibraryW of the library of that name in the system folder; null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char* name);

// A library loaded from the system folder, freed when this goes.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* name) : module_(LoadSystemLibrary(name)) {}
    ~LoadedLibrary() {
        if (module_) FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool IsLoaded() const { return module_ != nullptr; }
    template <typename Function>
    Function* Bind(const char* name) const {
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

}  // namespace platform::win32
