#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array Signals{SIGINT, SIGTERM, SIGHUP};

int pipeEnds[2] = {-1, -1};
std::array<struct sigaction, Signals.size()> previous{}; // given back when the instance goes

void writeSignal(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &number, 1);
    errno = saved;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals then keep their usual effect
    m_notifier = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < Signals.size(); ++i)
        ::sigaction(Signals[i], &action, &previous[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (size_t i = 0; i < Signals.size(); ++i)
        ::sigaction(Signals[i], &previous[i], nullptr);
    delete m_notifier;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void TerminationSignals::readSignal()
{
    unsigned char number = 0;
    while (::read(pipeEnds[0], &number, 1) == 1) {
        if (!m_received)
            m_received = number;
    }
    // Every running loop ends, a modal window's too (the splash window, a message).
    if (m_received)
        QCoreApplication::exit(exitStatus());
}
