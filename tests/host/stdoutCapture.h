// Sends standard output to a temporary file for the lifetime of the object.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

class StdoutCapture {
public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Bytes that have reached the file so far. Output still waiting in the
    // stream's buffer does not count: that is what the program must avoid.
    std::size_t written() const;
    // Everything written so far, including anything still buffered.
    std::string text() const;

private:
    std::FILE* file_;
    int savedStdout_;
};
