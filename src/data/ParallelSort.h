#pragma once
// Work on large arrays split over two threads when the machine has two cores or more: a list of
// 100,000 records is grouped while the user waits for it, and the second core is idle then.
#include <QThread>

#include <algorithm>
#include <thread>

namespace ParallelSort {

// Below this many elements a second thread costs more than it saves.
constexpr qsizetype Threshold = 20000;

inline bool worthIt(qsizetype n)
{
    return n >= Threshold && QThread::idealThreadCount() > 1;
}

// Calls work(begin, end) for [0, n/2) on a thread of its own and for [n/2, n) on this one.
template<typename Work>
void inHalves(qsizetype n, Work work)
{
    if (!worthIt(n)) {
        work(qsizetype(0), n);
        return;
    }
    std::thread first([&] { work(qsizetype(0), n / 2); });
    work(n / 2, n);
    first.join();
}

// std::sort over [begin, end), its two halves sorted at once and then merged.
template<typename Iterator, typename Less>
void sort(Iterator begin, Iterator end, Less less)
{
    const qsizetype n = end - begin;
    inHalves(n, [&](qsizetype from, qsizetype to) { std::sort(begin + from, begin + to, less); });
    if (worthIt(n))
        std::inplace_merge(begin, begin + n / 2, end, less);
}

} // namespace ParallelSort
