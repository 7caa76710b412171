#include "sensors/json_stream_splitter.h"

bool cJsonStreamSplitter::Feed(std::span<const char> bytes,
                               const std::function<void(std::string_view message)>& on_message) {
    for (const char c : bytes) {
        if (depth_ == 0) {
            if (c != '{' && c != '[') continue;  // whitespace, or noise that no message owns
        } else if (message_.size() == kMaxMessageBytes) {
            Reset();
            return false;
        }
        message_.push_back(c);
        if (in_string_) {
            if (escaped_) escaped_ = false;
            else if (c == '\\') escaped_ = true;
            else if (c == '"') in_string_ = false;
            continue;
        }
        switch (c) {
            case '"': in_string_ = true; break;
            case '{':
            case '[': ++depth_; break;
            case '}':
            case ']':
                if (--depth_ == 0) {
                    on_message(message_);
                    message_.clear();
                }
                break;
            default: break;
        }
    }
    return true;
}

void cJsonStreamSplitter::Reset() {
    message_.clear();
    depth_ = 0;
    in_string_ = escaped_ = false;
}
