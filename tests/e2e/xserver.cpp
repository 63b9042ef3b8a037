#include "xserver.h"

#include <stdexcept>

XServer::XServer(const std::string& screen)
{
    // -displayfd makes the server pick a free display and tell us which.
    server_ = std::make_unique<Process>(
        std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp"});
    const bool up = server_->waitFor([](const std::string& out, const std::string&) { return out.find('\n') != std::string::npos; },
                                     20s);
    if (!up)
        throw std::runtime_error("Xvfb did not start: " + server_->err());
    display_ = ":" + server_->out().substr(0, server_->out().find('\n'));
}
