#include "search/TypoDistance.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <utility>

namespace TypoDistance {
namespace {

bool isDigit(char16_t c)
{
    return c < 0x80 ? (c >= '0' && c <= '9') : QChar::isDigit(c);
}

} // namespace

int toPrefix(std::u16string_view text, std::u16string_view name, int limit)
{
    const int m = int(text.size());
    if (m > MaxText || limit < 0 || limit > MaxLimit)
        return limit + 1;
    constexpr int Far = 1 << 20;
    // Only name beginnings up to `limit` letters longer than the text can be close enough.
    const int n = int(std::min<size_t>(name.size(), size_t(m + limit)));
    // Rows i - 2, i - 1 and i of the table d[i][j]: the distance between the first i letters of
    // the text and the first j of the name, kept only within `limit` of the diagonal.
    std::array<std::array<int, MaxText + MaxLimit + 2>, 3> rows;
    int *before = rows[0].data();
    int *previous = rows[1].data();
    int *current = rows[2].data();
    previous[0] = 0;
    for (int j = 1; j <= n; ++j)
        previous[j] = j <= limit && previous[j - 1] < Far && !isDigit(name[j - 1]) ? j : Far;
    for (int i = 1; i <= m; ++i) {
        const char16_t t = text[i - 1];
        const bool tDigit = isDigit(t);
        const int from = std::max(0, i - limit);
        const int to = std::min(n, i + limit);
        if (from > 0)
            current[from - 1] = Far;
        int rowBest = Far;
        for (int j = from; j <= to; ++j) {
            int best = previous[j] < Far && !tDigit ? previous[j] + 1 : Far; // text letter left out
            if (j > 0) {
                const char16_t s = name[j - 1];
                const bool sDigit = isDigit(s);
                if (previous[j - 1] < Far) {
                    if (t == s)
                        best = std::min(best, previous[j - 1]);
                    else if (!tDigit && !sDigit)
                        best = std::min(best, previous[j - 1] + 1); // letter changed
                }
                if (j > from && current[j - 1] < Far && !sDigit)
                    best = std::min(best, current[j - 1] + 1); // name letter put in
                if (i > 1 && j > 1 && t != s && t == name[j - 2] && text[i - 2] == s && !tDigit && !sDigit
                    && before[j - 2] < Far)
                    best = std::min(best, before[j - 2] + 1); // neighbours swapped
            }
            current[j] = best;
            rowBest = std::min(rowBest, best);
        }
        if (to + 1 <= n)
            current[to + 1] = Far;
        if (rowBest > limit)
            return limit + 1;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    int best = Far;
    for (int j = std::max(0, m - limit); j <= std::min(n, m + limit); ++j)
        best = std::min(best, previous[j]);
    return std::min(best, limit + 1);
}

} // namespace TypoDistance
