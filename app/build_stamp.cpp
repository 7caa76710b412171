#include "app/build_stamp.h"

std::string BuildStamp(std::string_view compile_date, std::string_view compile_time) {
    // The compiler pads a one-digit day with a blank ("Dec  7 2026"); the stamp shows one blank.
    std::string date(compile_date);
    if (const std::size_t padded = date.find("  "); padded != std::string::npos) date.erase(padded, 1);
    return "Build: " + date + ", " + std::string(compile_time);
}

std::string ThisBuildStamp() { return BuildStamp(__DATE__, __TIME__); }
