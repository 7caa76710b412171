#pragma once
// The serial ports that Windows itself knows on this machine: the port names
// in HARDWARE\DEVICEMAP\SERIALCOMM ("COM1"). Wine fills it with the host's
// serial device nodes (/dev/ttyS0 becomes COM1).

#include <windows.h>

#include <set>
#include <string>

inline std::set<std::string> MappedPorts() {
    std::set<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        char name[256], data[256] = {};
        DWORD name_length = sizeof name, data_length = sizeof data - 1, type = 0;
        if (RegEnumValueA(key, index, name, &name_length, nullptr, &type, reinterpret_cast<BYTE*>(data),
                          &data_length) != ERROR_SUCCESS)
            break;
        if (type == REG_SZ) names.insert(data);
    }
    RegCloseKey(key);
    return names;
}
