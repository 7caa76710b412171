#pragma once
// Which enumerated device the program opens on its first start, when no
// device is stored yet.

#include "devices/led_device_list.h"

// The first device of the list with the highest classification (a signed
// rating) above 0; a later device wins only when it is rated strictly higher.
// Null when no device is rated above 0.
const cLedDevice* BestClassifiedDevice(const cLedDeviceList& devices);
