#include "devices/detection_log.h"

namespace {
constexpr std::string_view kRule = "-------------------------------------------------------------------------------";
}  // namespace

cDetectionLogStream::cDetectionLogStream(std::unique_ptr<platform::OutputFile> file)
    : std::ostream(nullptr), buffer_(std::move(file)) {
    rdbuf(&buffer_);
    if (!buffer_.HasFile()) setstate(std::ios::badbit);
}

cDetectionLogStream::~cDetectionLogStream() { buffer_.pubsync(); }

cDetectionLogStream::TextBuffer::int_type cDetectionLogStream::TextBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
}

std::streamsize cDetectionLogStream::TextBuffer::xsputn(const char* text, std::streamsize count) {
    // Each whole line reaches the file at once: the log exists for an enumeration
    // that hangs or waits for a message box, and must show how far it came.
    for (std::streamsize i = 0; i < count; ++i) {
        if (text[i] != '\n') {
            pending_ += text[i];
            continue;
        }
        pending_ += "\r\n";
        sync();
    }
    return count;
}

int cDetectionLogStream::TextBuffer::sync() {
    if (file_ && !pending_.empty()) file_->Write(pending_);
    pending_.clear();
    return 0;
}

void WriteDeviceHeader(std::ostream& log, std::string_view id) { log << '\n' << "ID: " << id << '\n' << kRule << '\n'; }

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
