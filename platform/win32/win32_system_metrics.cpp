#include "platform/win32/win32_system_metrics.h"

#include <windows.h>

namespace platform::win32 {

int Win32SystemMetrics::Get(int index) { return GetSystemMetrics(index); }

static_assert(kSmMediaCenter == SM_MEDIACENTER && kSmRemoteSession == SM_REMOTESESSION);

}  // namespace platform::win32
