// Ctrl+C, SIGTERM and SIGHUP become a close request to the program's windows.
#pragma once

namespace platform {

// Catches the three signals while on; restores the previous handling when off.
void catchTerminationSignals(bool on);
// True once for each caught signal (or burst of signals) since the last call.
bool takeTerminationRequest();

} // namespace platform
