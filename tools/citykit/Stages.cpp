#include "citykit/Stages.h"

#include "citykit/Interruption.h"

#include <QElapsedTimer>

void Stages::run(const QString &what, const std::function<void()> &work)
{
    // A signal that came during the last stage ends the work before the next one begins.
    Interruption::check();
    tell(what + QStringLiteral(" ..."));
    QElapsedTimer timer;
    timer.start();
    work();
    m_report.append(QStringLiteral("%1: %2 s").arg(what).arg(timer.elapsed() / 1000.0, 0, 'f', 2));
    tell(m_report.last());
}

void Stages::tell(const QString &line) const
{
    if (m_listener)
        m_listener(line);
}
