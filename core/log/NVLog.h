// The suite's one logging function: system log (journald) under the program's name,
// optionally echoed to standard error, and captured in tests.
#pragma once

#include <string>
#include <vector>

void nv_log(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// Names the program in the system log; call once at start-up.
void nv_log_open(const char* programName);
// Also writes each line to standard error (foreground runs).
void nv_log_set_echo(bool echo);

// While alive, every logged line is also collected here (tests).
class NVLogCapture {
public:
    NVLogCapture();
    ~NVLogCapture();
    NVLogCapture(const NVLogCapture&) = delete;
    NVLogCapture& operator=(const NVLogCapture&) = delete;

    std::vector<std::string> lines() const;
    bool contains(const std::string& text) const;
    size_t count(const std::string& text) const;
    void clear();
};
