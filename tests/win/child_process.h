#pragma once
// Programs that a test starts beside itself and meets halfway: a checkpoint
// is a pair of named events; the child signals "reached" and waits until the
// test, having looked at what the child did so far, signals "passed".

#include <windows.h>

#include <string>

class Checkpoint {
public:
    explicit Checkpoint(const std::string& name);
    ~Checkpoint();
    Checkpoint(const Checkpoint&) = delete;
    Checkpoint& operator=(const Checkpoint&) = delete;

    // The two event names, as the child's command line takes them.
    std::string Arguments() const { return reached_name_ + " " + passed_name_; }
    // True once the child reached the checkpoint (false after a timeout).
    bool WaitReached();
    // Lets the child go on.
    void Pass();

private:
    std::string reached_name_;
    std::string passed_name_;
    HANDLE reached_;
    HANDLE passed_;
};

// A program of this build's folder, started without waiting for it.
class ChildProcess {
public:
    // program: a file name beside this test program; arguments: the rest of its command line.
    ChildProcess(const char* program, const std::string& arguments);
    // Gives the child a few seconds to end, ends it otherwise, and closes it.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    // Waits for the child's end; its exit code, or ~0 when it did not start or end in time.
    DWORD Wait();

private:
    PROCESS_INFORMATION process_{};
};
