// A private Xvfb server on a display number of its own choosing.
#pragma once

#include <memory>
#include <string>

#include "process.h"

class XServer {
public:
    // screen: "WIDTHxHEIGHTxDEPTH". Throws if the server does not come up.
    explicit XServer(const std::string& screen);
    // ":N", for DISPLAY.
    const std::string& display() const { return display_; }

private:
    std::unique_ptr<Process> server_;
    std::string display_;
};
