// SDL's pending input and window events, turned into posted window messages.
#pragma once

namespace platform {

// Moves every pending SDL event (and a caught termination signal) into the
// thread's message queue.
void translateInputEvents();

} // namespace platform
