// status_host: a stand-in for Media Center's status aggregation host, for
// trying a "Media Status Sink" end to end. Like the real host it finds every
// class registered in the "Media Status Sink" component category, creates
// each with CoCreateInstance in a single-threaded apartment and calls
// Initialize; then it plays a scenario.
//
//   status_host.exe STEP...          one step per argument (quote steps with blanks)
//   status_host.exe -f SCRIPT        one step per line; blank lines and lines from '#' are skipped
//
// Steps:
//   open NAME                   CreateSession on every sink; NAME names those sessions
//   change NAME TAG=VALUE...    one MediaStatusChange on each session NAME with these pairs, in order
//                               (NAME must have been opened, for close and release too)
//   close NAME                  Close the sessions NAME
//   release NAME                release the host's references to the sessions NAME
//   release-sinks               release every sink (sessions still held live on)
//   wait MILLISECONDS           sleep
//   run COMMAND...              run a program, wait for it, e.g. "run slot_dump.exe"
//
// TAG is a member of MEDIASTATUSPROPERTYTAG, with or without "MSPROPTAG_"
// (Recording, MSPROPTAG_FS_TV; names come from the sink's type library), or
// a number (0x1006). VALUE is true or false (VT_BOOL), an integer (VT_I4),
// "empty" (VT_EMPTY) or any other text (VT_BSTR).
//
// Each step prints one line with the HRESULT of every call it made. At the
// end the remaining sessions, then the sinks, are released. Exit code 0 when
// every call succeeded, 1 for bad usage or a bad step, 2 when no sink is
// registered, 3 when a call failed (the scenario still plays to its end).
//
// Example, with the program's view of the area printed in between:
//   status_host.exe "open tv" "change tv Recording=true FS_TV=true" "run slot_dump.exe" "close tv"
#include <windows.h>
#include <comcat.h>
#include <objbase.h>
#include <oleauto.h>

#include "glimmerbox.h"  // IMediaStatusSink and IMediaStatusSession

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The host's public category of status sinks.
constexpr GUID kMediaStatusSinkCategory = {0xFCB0C2A3, 0x9747, 0x4c95, {0x9d, 0x02, 0x82, 0x0A, 0xFE, 0xDE, 0xF1, 0x3F}};
constexpr char kTagPrefix[] = "MSPROPTAG_";

enum ExitCode { kSucceeded = 0, kBadStep = 1, kNoSink = 2, kCallFailed = 3 };

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string Narrow(const wchar_t* text) {
    std::string narrow;
    for (; *text; ++text) narrow += static_cast<char>(*text);
    return narrow;
}

class Host {
public:
    ~Host() {
        for (auto& [name, sessions] : sessions_) ReleaseAll(sessions);
        ReleaseAll(sinks_);
    }

    // Creates and initialises every registered sink; false when there is none.
    bool LoadSinks() {
        ICatInformation* categories = nullptr;
        if (FAILED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ICatInformation, reinterpret_cast<void**>(&categories))))
            return false;
        CATID category = kMediaStatusSinkCategory;
        IEnumCLSID* classes = nullptr;
        if (SUCCEEDED(categories->EnumClassesOfCategories(1, &category, 0, nullptr, &classes))) {
            CLSID clsid;
            while (classes->Next(1, &clsid, nullptr) == S_OK) {
                IMediaStatusSink* sink = nullptr;
                HRESULT result = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IMediaStatusSink),
                                                  reinterpret_cast<void**>(&sink));
                wchar_t text[39];
                StringFromGUID2(clsid, text, 39);
                std::printf("sink %s: CoCreateInstance 0x%08lx", Narrow(text).c_str(), static_cast<unsigned long>(result));
                if (SUCCEEDED(result)) {
                    std::printf(", Initialize 0x%08lx", static_cast<unsigned long>(Check(sink->Initialize())));
                    LearnTagNames(sink);
                    sinks_.push_back(sink);
                } else {
                    failed_ = true;
                }
                std::printf("\n");
            }
            classes->Release();
        }
        categories->Release();
        return !sinks_.empty();
    }

    // Plays one step; false when the step itself is malformed.
    bool Play(const std::string& step) {
        std::istringstream words(step);
        std::string verb, name;
        words >> verb;
        std::printf("%s:", step.c_str());
        bool known = true;
        if (verb == "open" && words >> name) {
            for (IMediaStatusSink* sink : sinks_) {
                IMediaStatusSession* session = nullptr;
                Report(sink->CreateSession(&session));
                if (session) sessions_[name].push_back(session);
            }
        } else if (verb == "change" && words >> name && sessions_.count(name)) {
            known = Change(sessions_[name], words);
        } else if (verb == "close" && words >> name && sessions_.count(name)) {
            for (IMediaStatusSession* session : sessions_[name]) Report(session->Close());
        } else if (verb == "release" && words >> name && sessions_.count(name)) {
            ReleaseAll(sessions_[name]);
        } else if (verb == "release-sinks") {
            ReleaseAll(sinks_);
        } else if (verb == "wait") {
            unsigned long milliseconds = 0;
            known = static_cast<bool>(words >> milliseconds);
            if (known) Sleep(milliseconds);
        } else if (verb == "run") {
            known = Run(step.substr(step.find("run") + 3));
        } else {
            known = false;
        }
        std::printf(known ? "\n" : " not understood\n");
        std::fflush(stdout);
        return known;
    }

    bool AnyCallFailed() const { return failed_; }

private:
    HRESULT Check(HRESULT result) {
        if (FAILED(result)) failed_ = true;
        return result;
    }
    void Report(HRESULT result) { std::printf(" 0x%08lx", static_cast<unsigned long>(Check(result))); }

    template <typename Interface>
    static void ReleaseAll(std::vector<Interface*>& objects) {
        for (Interface* object : objects) object->Release();
        objects.clear();
    }

    // The tag names of MEDIASTATUSPROPERTYTAG, from the type library that
    // describes the sink's own interface.
    void LearnTagNames(IMediaStatusSink* sink) {
        ITypeInfo* info = nullptr;
        ITypeLib* library = nullptr;
        UINT index = 0;
        if (SUCCEEDED(sink->GetTypeInfo(0, 0, &info)) && SUCCEEDED(info->GetContainingTypeLib(&library, &index))) {
            for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
                ITypeInfo* type = nullptr;
                TYPEATTR* attributes = nullptr;
                if (FAILED(library->GetTypeInfo(i, &type))) continue;
                if (SUCCEEDED(type->GetTypeAttr(&attributes))) {
                    if (attributes->typekind == TKIND_ENUM) LearnEnumeration(type, attributes->cVars);
                    type->ReleaseTypeAttr(attributes);
                }
                type->Release();
            }
            library->Release();
        }
        if (info) info->Release();
    }

    void LearnEnumeration(ITypeInfo* type, WORD count) {
        for (WORD i = 0; i < count; ++i) {
            VARDESC* member = nullptr;
            if (FAILED(type->GetVarDesc(i, &member))) continue;
            BSTR name = nullptr;
            UINT names = 0;
            if (member->varkind == VAR_CONST && SUCCEEDED(type->GetNames(member->memid, &name, 1, &names)) && names) {
                VARIANT value;
                VariantInit(&value);
                if (SUCCEEDED(VariantChangeType(&value, member->lpvarValue, 0, VT_I4))) tags_[Narrow(name)] = value.lVal;
                SysFreeString(name);
            }
            type->ReleaseVarDesc(member);
        }
    }

    bool ParseTag(const std::string& text, LONG& tag) const {
        for (const std::string& name : {text, kTagPrefix + text}) {
            auto found = tags_.find(name);
            if (found != tags_.end()) {
                tag = found->second;
                return true;
            }
        }
        char* end = nullptr;
        tag = static_cast<LONG>(std::strtol(text.c_str(), &end, 0));
        return !text.empty() && *end == '\0';
    }

    static VARIANT ParseValue(const std::string& text) {
        VARIANT value;
        VariantInit(&value);
        char* end = nullptr;
        long number = std::strtol(text.c_str(), &end, 0);
        if (text == "true" || text == "false") {
            value.vt = VT_BOOL;
            value.boolVal = text == "true" ? VARIANT_TRUE : VARIANT_FALSE;
        } else if (!text.empty() && *end == '\0') {
            value.vt = VT_I4;
            value.lVal = number;
        } else if (text != "empty") {
            value.vt = VT_BSTR;
            value.bstrVal = SysAllocString(Widen(text).c_str());
        }
        return value;
    }

    bool Change(const std::vector<IMediaStatusSession*>& sessions, std::istringstream& words) {
        std::vector<LONG> tags;
        std::vector<VARIANT> values;
        for (std::string pair; words >> pair;) {
            std::string::size_type equals = pair.find('=');
            LONG tag = 0;
            if (equals == std::string::npos || !ParseTag(pair.substr(0, equals), tag)) {
                for (VARIANT& value : values) VariantClear(&value);
                return false;
            }
            tags.push_back(tag);
            values.push_back(ParseValue(pair.substr(equals + 1)));
        }
        SAFEARRAY* tag_array = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(tags.size()));
        SAFEARRAY* value_array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(values.size()));
        for (LONG i = 0; i < static_cast<LONG>(tags.size()); ++i) {
            SafeArrayPutElement(tag_array, &i, &tags[i]);
            SafeArrayPutElement(value_array, &i, &values[i]);
            VariantClear(&values[i]);
        }
        for (IMediaStatusSession* session : sessions) Report(session->MediaStatusChange(tag_array, value_array));
        SafeArrayDestroy(tag_array);
        SafeArrayDestroy(value_array);
        return true;
    }

    bool Run(const std::string& command) {
        std::wstring line = Widen(command.substr(command.find_first_not_of(' ') == std::string::npos
                                                     ? command.size()
                                                     : command.find_first_not_of(' ')));
        if (line.empty()) return false;
        std::printf("\n");
        std::fflush(stdout);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
            std::printf("cannot start: error %lu", static_cast<unsigned long>(GetLastError()));
            failed_ = true;
            return true;
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD exit_code = 0;
        GetExitCodeProcess(process.hProcess, &exit_code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::printf("exit %lu", static_cast<unsigned long>(exit_code));
        if (exit_code != 0) failed_ = true;
        return true;
    }

    std::vector<IMediaStatusSink*> sinks_;
    std::map<std::string, std::vector<IMediaStatusSession*>> sessions_;
    std::map<std::string, LONG> tags_;
    bool failed_ = false;
};

std::vector<std::string> ReadSteps(int argc, char** argv, bool& readable) {
    std::vector<std::string> steps;
    readable = true;
    if (argc == 3 && std::string(argv[1]) == "-f") {
        std::ifstream script(argv[2]);
        readable = static_cast<bool>(script);
        for (std::string line; std::getline(script, line);) {
            line = line.substr(0, line.find('#'));
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find_first_not_of(" \t") != std::string::npos) steps.push_back(line);
        }
    } else {
        steps.assign(argv + 1, argv + argc);
    }
    return steps;
}

}  // namespace

int main(int argc, char** argv) {
    bool readable = false;
    std::vector<std::string> steps = ReadSteps(argc, argv, readable);
    if (!readable || steps.empty()) {
        std::fprintf(stderr, "usage: status_host STEP... | status_host -f SCRIPT (see the top of status_host.cpp)\n");
        return kBadStep;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return kNoSink;
    int exit_code = kSucceeded;
    {
        Host host;
        if (!host.LoadSinks()) {
            std::printf("no \"Media Status Sink\" is registered\n");
            exit_code = kNoSink;
        } else {
            for (const std::string& step : steps)
                if (!host.Play(step)) exit_code = kBadStep;
            if (exit_code == kSucceeded && host.AnyCallFailed()) exit_code = kCallFailed;
        }
    }
    CoUninitialize();
    return exit_code;
}
