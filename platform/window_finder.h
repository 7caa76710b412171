#pragma once
// Top-level windows of other programs, found by their window class.

namespace platform {

class WindowFinder {
public:
    virtual ~WindowFinder() = default;

    // FindWindow(class_name, no window name): true iff such a top-level window exists.
    virtual bool ClassExists(const char* class_name) = 0;
};

}  // namespace platform
