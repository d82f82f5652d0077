#pragma once
// The stages of a long job: each is timed, and a listener (a terminal, say) hears when one
// begins and how long it took.
#include <QString>
#include <QStringList>

#include <functional>

class Stages {
public:
    // Called with "<stage> ..." when a stage begins and "<stage>: <seconds> s" when it ends.
    using Listener = std::function<void(const QString &line)>;

    explicit Stages(Listener listener = {}) : m_listener(std::move(listener)) {}

    // Runs a stage; throws Interruption::Interrupted instead when a signal has come.
    void run(const QString &what, const std::function<void()> &work);
    // Passes a line of its own to the listener, such as the progress within a stage.
    void tell(const QString &line) const;
    // The finished stages' lines, in order.
    const QStringList &report() const { return m_report; }

private:
    Listener m_listener;
    QStringList m_report;
};
