#include "app/device_choice.h"

#include <cstdint>

const cLedDevice* BestClassifiedDevice(const cLedDeviceList& devices) {
    const cLedDevice* best = nullptr;
    int8_t best_rating = 0;
    for (int i = 0; i < devices.Count(); ++i) {
        const cLedDevice* device = devices.Item(i);
        const auto rating = static_cast<int8_t>(device->Classification());
        if (rating > best_rating) {
            best = device;
            best_rating = rating;
        }
    }
    return best;
}
