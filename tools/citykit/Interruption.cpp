#include "citykit/Interruption.h"

#include <QString>

#include <atomic>
#include <csignal>
#include <cstring>

namespace Interruption {

namespace {

std::atomic<int> noted{0};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler needs a lock-free flag");

void note(int signal)
{
    int none = 0;
    noted.compare_exchange_strong(none, signal);
}

} // namespace

Interrupted::Interrupted(int signal)
    : std::runtime_error(QStringLiteral("interrupted (%1)").arg(QString::fromLocal8Bit(strsignal(signal))).toStdString()),
      m_signal(signal)
{
}

void catchSignals()
{
    struct sigaction action {};
    action.sa_handler = note;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls go on: the work stops at its own safe points. The handler is
    // taken back after the first signal, so that a second one ends the program.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

bool requested()
{
    return noted.load(std::memory_order_relaxed) != 0;
}

void check()
{
    if (const int signal = noted.load())
        throw Interrupted(signal);
}

} // namespace Interruption
