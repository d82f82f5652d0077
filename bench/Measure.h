#pragma once
// Timing, memory and the result table of the bench.
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace Measure {

double median(QVector<double> values);
// Wall time of `work` in milliseconds.
double milliseconds(const std::function<void()> &work);
// Wall time in milliseconds from starting `program` to its exit; throws std::runtime_error when
// it cannot start or exits with an error.
double childMilliseconds(const QString &program, const QStringList &arguments);
// The process's resident memory (VmRSS) in bytes.
qint64 residentBytes();
// Hands freed heap pages back to the system, so that resident memory shows what is held.
void releaseFreedMemory();

QString ms(double value);
QString megabytes(double bytes);

} // namespace Measure

// The figures, printed as a Markdown table.
class Report {
public:
    struct Row {
        QString figure;
        QString measured;
        QString reference;
        QString ratio;
        QString bar;
        bool met = false;
    };

    void add(const Row &row);
    // `limit` is the bar on `value / reference`; `maxMs`, when given, a bar on `value` too.
    void addRatio(const QString &figure, double value, double reference, double limit, const QString &referenceName,
                  double maxMs = 0);
    void print(const QString &machine) const;
    bool allMet() const;

private:
    QVector<Row> m_rows;
};
