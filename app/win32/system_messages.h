#pragma once
// The system messages the program acts on, unpacked once, at the window that
// received them, into the records of their platform interfaces: nothing
// beyond the window reads a message parameter.

#include "platform/power.h"
#include "platform/sessions.h"

#include <windows.h>

// WM_POWERBROADCAST. A power-setting change with a missing record or one
// without data carries no value.
platform::PowerEvent UnpackPowerBroadcast(WPARAM wparam, LPARAM lparam);

// WM_WTSSESSION_CHANGE.
platform::SessionChange UnpackSessionChange(WPARAM wparam, LPARAM lparam);
