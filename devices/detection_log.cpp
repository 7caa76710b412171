#include "devices/detection_log.h"

namespace {
constexpr std::string_view kRule = "-------------------------------------------------------------------------------";
}  // namespace

cDetectionLogFile::~cDetectionLogFile() { Flush(); }

void cDetectionLogFile::Append(std::string_view text) {
    if (!file_) return;
    // Each whole line reaches the file at once: the log exists for an enumeration
    // that hangs or waits for a message box, and must show how far it came.
    for (const char c : text) {
        if (c != '\n') {
            pending_ += c;
            continue;
        }
        pending_ += "\r\n";
        Flush();
    }
}

void cDetectionLogFile::Flush() {
    if (file_ && !pending_.empty()) file_->Write(pending_);
    pending_.clear();
}

void WriteDeviceHeader(cDetectionLog& log, std::string_view id) { log << "\nID: " << id << "\n" << kRule << "\n"; }

std::string Hex(uint32_t value, int width) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
    return text;
}
