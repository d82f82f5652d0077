#include "Measure.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <malloc.h>
#include <stdexcept>

namespace Measure {

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const int n = int(values.size());
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double childMilliseconds(const QString &program, const QStringList &arguments)
{
    // The child's output (the platform's notices) is shown only when it fails.
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer timer;
    timer.start();
    child.start(program, arguments);
    if (!child.waitForFinished(300000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        throw std::runtime_error(QStringLiteral("%1 %2 failed: %3\n%4")
                                     .arg(program, arguments.join(QLatin1Char(' ')), child.errorString(),
                                          QString::fromLocal8Bit(child.readAll()))
                                     .toStdString());
    return double(timer.nsecsElapsed()) / 1e6;
}

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

void releaseFreedMemory()
{
    malloc_trim(0);
}

QString ms(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1) + QStringLiteral(" ms");
}

QString megabytes(double bytes)
{
    const double value = bytes / (1024.0 * 1024.0);
    return QString::number(std::abs(value) < 0.05 ? 0.0 : value, 'f', 1) + QStringLiteral(" MB");
}

} // namespace Measure

void Report::add(const Row &row)
{
    m_rows.append(row);
    std::fprintf(stderr, "  %s: %s (%s)\n", qPrintable(row.figure), qPrintable(row.measured),
                 row.met ? "met" : "missed");
}

void Report::addRatio(const QString &figure, double value, double reference, double limit, const QString &referenceName,
                      double maxMs)
{
    const double ratio = reference > 0 ? value / reference : 0;
    QString bar = QStringLiteral("≤ ") + QString::number(limit, 'g', 3) + QStringLiteral(" ×");
    if (maxMs > 0)
        bar += QStringLiteral(", ≤ %1 ms").arg(maxMs);
    add({figure, Measure::ms(value), referenceName + QStringLiteral(": ") + Measure::ms(reference),
         QString::number(ratio, 'f', 2) + QStringLiteral(" ×"), bar,
         reference > 0 && ratio <= limit && (maxMs <= 0 || value <= maxMs)});
}

void Report::print(const QString &machine) const
{
    std::printf("%s\n\n", qPrintable(machine));
    std::printf("| Figure | Measured (median) | Compared with | Ratio | Bar | Met |\n");
    std::printf("|---|---|---|---|---|---|\n");
    // In the order of the figures' numbers, whatever order they were measured in.
    QVector<Row> rows = m_rows;
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        return a.figure.section(QLatin1Char('.'), 0, 0).toInt() < b.figure.section(QLatin1Char('.'), 0, 0).toInt();
    });
    for (const Row &r : rows)
        std::printf("| %s | %s | %s | %s | %s | %s |\n", qPrintable(r.figure), qPrintable(r.measured),
                    qPrintable(r.reference), qPrintable(r.ratio), qPrintable(r.bar), r.met ? "yes" : "**no**");
    std::fflush(stdout);
}

bool Report::allMet() const
{
    return std::all_of(m_rows.begin(), m_rows.end(), [](const Row &r) { return r.met; });
}
