#pragma once
// A detection log that keeps its text in memory, for tests that compare it.

#include "devices/detection_log.h"

#include <string>
#include <string_view>

class cTextDetectionLog final : public cDetectionLog {
public:
    std::string text;

private:
    void Append(std::string_view appended) override { text += appended; }
};
