#pragma once
// The detection log: a plain text file that records what the device
// enumeration found and why, for diagnosing hardware that is not recognised.
// The device list writes the section headers, each device constructor its own
// block, all through one std::ostream.

#include "platform/files.h"

#include <cstdint>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

inline constexpr const char* kDetectionLogFileName = "Glimmerbox detection log.txt";

// A text stream into a file of the file service that ends lines as a Windows
// text-mode stream does: each "\n" written becomes "\r\n", and each line is
// written to the file as soon as it is complete. Without a file (it could not
// be created) the stream is failed from the start and drops every write.
class cDetectionLogStream final : public std::ostream {
public:
    explicit cDetectionLogStream(std::unique_ptr<platform::OutputFile> file);
    ~cDetectionLogStream() override;

private:
    class TextBuffer final : public std::streambuf {
    public:
        explicit TextBuffer(std::unique_ptr<platform::OutputFile> file) : file_(std::move(file)) {}
        bool HasFile() const { return file_ != nullptr; }

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;
        int sync() override;

    private:
        std::unique_ptr<platform::OutputFile> file_;
        std::string pending_;
    };

    TextBuffer buffer_;
};

// The three lines that open each device's block: an empty line, "ID: " with the ID, a rule.
void WriteDeviceHeader(std::ostream& log, std::string_view id);

// Numbers in log lines: lower-case hexadecimal without prefix, padded with "0" to width.
std::string Hex(uint32_t value, int width = 0);
