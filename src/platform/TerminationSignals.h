#pragma once
// SIGINT, SIGTERM and SIGHUP (Ctrl+C, a kill, the session ending) end the program the way closing
// its window does: the event loop ends and everything is cleaned up on the way out, the private
// temporary folder included. The handler only writes the signal's number into a pipe; the loop
// reads it there and ends itself.
#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT
public:
    // Takes over the three signals for as long as it lives; one instance at a time.
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // The signal that came, 0 while none has.
    int received() const { return m_received; }
    // The exit status of a program ended by that signal (128 + its number), as shells report it.
    int exitStatus() const { return 128 + m_received; }

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
    int m_received = 0;
};
