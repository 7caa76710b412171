#pragma once
// The detection log: a plain text file that records what the device
// enumeration found and why, for diagnosing hardware that is not recognised.
// The device list writes the section headers, each device constructor its own
// block, all through one cDetectionLog.

#include "platform/files.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

inline constexpr const char* kDetectionLogFileName = "Glimmerbox detection log.txt";

// Where the log's text goes. Text only, so that numbers are formatted where
// they are written (decimal with std::to_string, hexadecimal with Hex); lines
// end with "\n".
class cDetectionLog {
public:
    virtual ~cDetectionLog() = default;

    cDetectionLog& operator<<(std::string_view text) {
        Append(text);
        return *this;
    }

protected:
    virtual void Append(std::string_view text) = 0;
};

// The log in a file of the file service, with lines ended as in a Windows text
// file ("\r\n"); each line is written to the file as soon as it is complete.
// Without a file (it could not be created) every write is dropped.
class cDetectionLogFile final : public cDetectionLog {
public:
    explicit cDetectionLogFile(std::unique_ptr<platform::OutputFile> file) : file_(std::move(file)) {}
    ~cDetectionLogFile() override;

private:
    void Append(std::string_view text) override;
    void Flush();

    std::unique_ptr<platform::OutputFile> file_;
    std::string pending_;
};

// The three lines that open each device's block: an empty line, "ID: " with the ID, a rule.
void WriteDeviceHeader(cDetectionLog& log, std::string_view id);

// Numbers in log lines: lower-case hexadecimal without prefix, padded with "0" to width.
std::string Hex(uint32_t value, int width = 0);
