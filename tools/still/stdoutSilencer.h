// Sends standard output to the null device for as long as it lives: --quiet
// keeps the shader build lines that the program's own code prints.
#pragma once

namespace still {

class StdoutSilencer {
public:
    explicit StdoutSilencer(bool active);
    ~StdoutSilencer();
    StdoutSilencer(const StdoutSilencer&) = delete;
    StdoutSilencer& operator=(const StdoutSilencer&) = delete;

private:
    int saved_ = -1;
};

} // namespace still
