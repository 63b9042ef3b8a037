// The two ways rezuro-still fails: a bad command line (exit 2, with usage) and
// anything that goes wrong while working (exit 1, with a message).
#pragma once

#include <stdexcept>
#include <string>

namespace still {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class StillError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace still
