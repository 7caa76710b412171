#pragma once
// Cuts a stream of JSON texts sent back to back, without any delimiter, into
// one text per message. It only follows brackets and strings far enough to
// find where each top-level object or array ends; reading a message is the
// JSON library's job. Bytes between messages are skipped.

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

class cJsonStreamSplitter {
public:
    // The longest message followed; a longer one ends the stream.
    static constexpr std::size_t kMaxMessageBytes = 64 * 1024;

    // Hands each message that the bytes complete to on_message, in order. False
    // when a message grows beyond kMaxMessageBytes: nothing more of this stream
    // can be trusted, and the splitter keeps nothing of it.
    bool Feed(std::span<const char> bytes, const std::function<void(std::string_view message)>& on_message);
    // Forgets any message begun, for a new stream.
    void Reset();

private:
    std::string message_;  // the message begun; its capacity stays for the next one
    std::size_t depth_ = 0;
    bool in_string_ = false;
    bool escaped_ = false;
};
