// The handler only sets a flag (that is all a signal handler may safely do);
// the message pump turns the flag into WM_CLOSE.
#include "termination_signals.h"

#include <array>
#include <csignal>

namespace platform {
namespace {

volatile std::sig_atomic_t requested = 0;
bool catching = false;

constexpr std::array<int, 3> caughtSignals{SIGINT, SIGTERM, SIGHUP};
std::array<struct sigaction, 3> previous{};

extern "C" void onTerminationSignal(int) { requested = 1; }

} // namespace

void catchTerminationSignals(bool on)
{
    if (on == catching)
        return;
    for (std::size_t i = 0; i < caughtSignals.size(); ++i) {
        if (on) {
            struct sigaction action{};
            action.sa_handler = onTerminationSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            sigaction(caughtSignals[i], &action, &previous[i]);
        } else {
            sigaction(caughtSignals[i], &previous[i], nullptr);
        }
    }
    catching = on;
}

bool takeTerminationRequest()
{
    if (!requested)
        return false;
    requested = 0;
    return true;
}

} // namespace platform
