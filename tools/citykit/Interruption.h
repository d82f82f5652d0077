#pragma once
// Ctrl+C, a terminal closed or a kill: the city tools stop at the next safe point and clean up
// after themselves (the half-made city is removed, the folder it was meant for is left as it was).
// The signal handler only notes the signal; the work looks at the note between stages and inside
// its long loops.
#include <stdexcept>

namespace Interruption {

// Thrown at a safe point once SIGINT, SIGTERM or SIGHUP has come.
class Interrupted : public std::runtime_error {
public:
    explicit Interrupted(int signal);
    int signal() const { return m_signal; }

private:
    int m_signal;
};

// Notes SIGINT, SIGTERM and SIGHUP instead of ending the program at once. A second signal of the
// same kind ends it the usual way (for work stuck in a call that does not return).
void catchSignals();
// True once a signal has been noted; safe to ask from any thread.
bool requested();
// Throws Interrupted when a signal has been noted.
void check();

} // namespace Interruption
