#include "search/SearchIndex.h"

#include "search/TypoDistance.h"

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>

namespace {

std::u16string_view view(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size())};
}

bool isWordStart(std::u16string_view name, size_t at)
{
    return at == 0 || !QChar::isLetterOrNumber(name[at - 1]);
}

// The bit of a folded letter in a name's set of letters: one for each Latin letter and digit,
// the rest share the remaining bits.
std::uint64_t letterBit(char16_t c)
{
    if (c >= 'a' && c <= 'z')
        return std::uint64_t(1) << (c - 'a');
    if (c >= '0' && c <= '9')
        return std::uint64_t(1) << (26 + c - '0');
    return std::uint64_t(1) << (36 + c % 28);
}

std::uint64_t lettersOf(std::u16string_view text)
{
    std::uint64_t bits = 0;
    for (const char16_t c : text)
        bits |= letterBit(c);
    return bits;
}

// The place of each kind in the order within a class.
int kindOrder(SearchKind kind, bool digits)
{
    const int place = kind == SearchKind::Place ? 0 : kind == SearchKind::Street ? 1 : kind == SearchKind::Stop ? 2 : 3;
    return digits ? 3 - place : place;
}

} // namespace

QString searchKindName(SearchKind kind)
{
    switch (kind) {
    case SearchKind::Place:
        return QStringLiteral("place");
    case SearchKind::Street:
        return QStringLiteral("street");
    case SearchKind::Stop:
        return QStringLiteral("stop");
    case SearchKind::Route:
        return QStringLiteral("route");
    }
    return QString();
}

SearchIndex::SearchIndex(std::vector<Entry> entries)
{
    const std::uint32_t count = std::uint32_t(entries.size());
    qsizetype detailLetters = 0;
    for (const Entry &e : entries)
        detailLetters += e.detail.size();
    m_code.reserve(count);
    m_kind.reserve(count);
    m_details.reserve(detailLetters);
    m_detailStart.reserve(count + 1);
    for (const Entry &e : entries) {
        m_code.push_back(e.code);
        m_kind.push_back(e.kind);
        m_detailStart.push_back(std::uint32_t(m_details.size()));
        m_details += e.detail;
    }
    m_detailStart.push_back(std::uint32_t(m_details.size()));

    // The plain names: the entries in the order of their names, equal names made one.
    std::vector<std::uint32_t> order(count);
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return view(entries[a].name) < view(entries[b].name); });
    m_plainOf.resize(count);
    m_plain.entries = order;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::u16string_view name = view(entries[order[i]].name);
        if (i == 0 || name != view(entries[order[i - 1]].name)) {
            m_plain.start.push_back(std::uint32_t(m_plain.text.size()));
            m_plain.first.push_back(i);
            m_plain.text += name;
            m_plain.text += u'\0';
        }
        m_plainOf[order[i]] = std::uint32_t(m_plain.start.size() - 1);
    }
    m_plain.start.push_back(std::uint32_t(m_plain.text.size()));
    m_plain.first.push_back(count);
    entries = {};

    // The folded names: the plain names in the order of their folded text, equal ones made one.
    std::u16string folded = m_plain.text;
    for (char16_t &c : folded)
        c = SearchText::fold(c);
    const auto foldedName = [&](std::uint32_t n) {
        return std::u16string_view(folded).substr(m_plain.start[n], m_plain.start[n + 1] - m_plain.start[n] - 1);
    };
    std::vector<std::uint32_t> plainOrder(m_plain.count());
    std::iota(plainOrder.begin(), plainOrder.end(), 0u);
    std::sort(plainOrder.begin(), plainOrder.end(),
              [&](std::uint32_t a, std::uint32_t b) { return foldedName(a) < foldedName(b); });
    m_folded.entries.reserve(count);
    for (size_t i = 0; i < plainOrder.size(); ++i) {
        const std::uint32_t n = plainOrder[i];
        if (i == 0 || foldedName(n) != foldedName(plainOrder[i - 1])) {
            m_folded.start.push_back(std::uint32_t(m_folded.text.size()));
            m_folded.first.push_back(std::uint32_t(m_folded.entries.size()));
            m_folded.text += foldedName(n);
            m_folded.text += u'\0';
            m_foldedLetters.push_back(lettersOf(foldedName(n)));
        }
        m_folded.entries.insert(m_folded.entries.end(), m_plain.entries.begin() + m_plain.first[n],
                                m_plain.entries.begin() + m_plain.first[n + 1]);
    }
    m_folded.start.push_back(std::uint32_t(m_folded.text.size()));
    m_folded.first.push_back(std::uint32_t(m_folded.entries.size()));

    // Plain names are numbered in the order of their text, so names compare as numbers here.
    for (const bool digits : {false, true}) {
        std::iota(order.begin(), order.end(), 0u);
        std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            const std::uint32_t nameA = m_plainOf[a], nameB = m_plainOf[b];
            const std::uint32_t lengthA = m_plain.start[nameA + 1] - m_plain.start[nameA];
            const std::uint32_t lengthB = m_plain.start[nameB + 1] - m_plain.start[nameB];
            if (lengthA != lengthB)
                return lengthA < lengthB;
            const int kindA = kindOrder(m_kind[a], digits), kindB = kindOrder(m_kind[b], digits);
            if (kindA != kindB)
                return kindA < kindB;
            return nameA != nameB ? nameA < nameB : m_code[a] < m_code[b];
        });
        std::vector<std::uint32_t> &rank = digits ? m_digitRank : m_rank;
        rank.resize(count);
        for (std::uint32_t i = 0; i < count; ++i)
            rank[order[i]] = i;
    }
}

std::u16string_view SearchIndex::Names::name(std::uint32_t n) const
{
    return std::u16string_view(text).substr(start[n], start[n + 1] - start[n] - 1);
}

qsizetype SearchIndex::memoryBytes() const
{
    const auto bytes = [](const auto &v) { return qsizetype(v.capacity() * sizeof(v[0])); };
    const auto names = [&](const Names &n) { return bytes(n.text) + bytes(n.start) + bytes(n.first) + bytes(n.entries); };
    return names(m_plain) + names(m_folded) + bytes(m_plainOf) + bytes(m_foldedLetters) + bytes(m_code) + bytes(m_kind)
        + m_details.capacity() * qsizetype(sizeof(QChar)) + bytes(m_detailStart) + bytes(m_rank) + bytes(m_digitRank);
}

template <typename Report>
void SearchIndex::scan(const Names &names, std::u16string_view text, Report report) const
{
    // Horspool's search over all names at once: on a mismatch, the last letter of the window says
    // how far the text can move. Letters share a shift by their low byte, taking the smallest.
    const size_t m = text.size();
    std::array<size_t, 256> shift;
    shift.fill(m);
    for (size_t i = 0; i + 1 < m; ++i)
        shift[text[i] & 0xFF] = m - 1 - i;
    const char16_t last = text[m - 1];
    const char16_t *all = names.text.data();
    const size_t end = names.text.size();
    size_t pos = 0;
    std::uint32_t n = 0; // the name holding `pos`: hits come in order, so it only moves on
    while (pos + m <= end) {
        const char16_t c = all[pos + m - 1];
        if (c != last || std::u16string_view(all + pos, m - 1) != text.substr(0, m - 1)) {
            pos += shift[c & 0xFF];
            continue;
        }
        // The name holding the hit, and its best class: a hit at a word start beats one inside a
        // word, so the rest of the name is searched only after a hit inside a word.
        while (names.start[n + 1] <= pos)
            ++n;
        const size_t start = names.start[n];
        const size_t next = names.start[n + 1];
        const std::u16string_view name(all + start, next - start - 1);
        Match best = Match::Substring;
        for (size_t at = pos - start; at != std::u16string_view::npos; at = name.find(text, at + 1)) {
            if (isWordStart(name, at)) {
                best = at == 0 && name.size() == m ? Match::Exact : Match::WordPrefix;
                break;
            }
        }
        report(n, best);
        pos = next;
    }
}

void SearchIndex::findTypos(const SearchText::Prepared &text, const std::vector<std::uint8_t> &foldedSeen,
                            std::vector<Hit> &hits) const
{
    const int limit = SearchText::allowedTypos(text.folded.size());
    const std::u16string_view folded = view(text.folded);
    const std::uint64_t letters = lettersOf(folded);
    for (std::uint32_t f = 0; f < m_folded.count(); ++f) {
        if (foldedSeen[f] || std::popcount(letters & ~m_foldedLetters[f]) > limit)
            continue;
        const std::u16string_view name = m_folded.name(f);
        for (size_t at = 0; at < name.size(); ++at) {
            if (isWordStart(name, at) && TypoDistance::toPrefix(folded, name.substr(at), limit) <= limit) {
                hits.push_back({f, Match::Typo});
                break;
            }
        }
    }
}

SearchResult SearchIndex::result(std::uint32_t entry) const
{
    const std::u16string_view name = nameOf(entry);
    return {m_kind[entry], m_code[entry], QString::fromUtf16(name.data(), qsizetype(name.size())),
            m_details.mid(m_detailStart[entry], m_detailStart[entry + 1] - m_detailStart[entry])};
}

SearchIndex::Answer SearchIndex::find(QStringView typed, SearchKinds kinds, int limit) const
{
    Answer answer;
    const SearchText::Prepared text = SearchText::prepare(typed);
    answer.cut = text.cut;
    if (text.text.isEmpty() || limit <= 0 || m_code.empty())
        return answer;

    // The names that match, class by class. Each class ranks below the ones before: it is looked
    // for only while they leave room. An entry whose plain name matched is not counted again
    // under its folded name.
    std::vector<Hit> hits;
    std::vector<std::uint8_t> plainSeen(m_plain.count(), 0);
    std::vector<std::uint8_t> foldedSeen(m_folded.count(), 0);
    const auto wanted = [&](std::uint32_t entry) { return kinds.testFlag(m_kind[entry]) && !plainSeen[m_plainOf[entry]]; };
    const auto entriesOf = [](const Names &names, std::uint32_t n) {
        return std::pair(names.entries.begin() + names.first[n], names.entries.begin() + names.first[n + 1]);
    };
    size_t found = 0; // entries of the kinds asked for
    scan(m_plain, view(text.text), [&](std::uint32_t n, Match match) {
        const auto [first, last] = entriesOf(m_plain, n);
        if (const auto count = std::count_if(first, last, wanted)) {
            hits.push_back({n, match});
            found += size_t(count);
            plainSeen[n] = 1;
        }
    });
    if (found < size_t(limit)) {
        scan(m_folded, view(text.folded), [&](std::uint32_t f, Match) {
            foldedSeen[f] = 1;
            const auto [first, last] = entriesOf(m_folded, f);
            if (const auto count = std::count_if(first, last, wanted)) {
                hits.push_back({f, Match::CaseFolded});
                found += size_t(count);
            }
        });
    }
    if (found < size_t(limit) && SearchText::allowedTypos(text.folded.size()) > 0)
        findTypos(text, foldedSeen, hits);

    // The entries of the best names: hits in the order of class and length, taken a whole class
    // and length at a time until they hold enough entries, which are then ordered exactly.
    const auto length = [&](const Hit &h) {
        const Names &names = h.match <= Match::Substring ? m_plain : m_folded;
        return names.start[h.name + 1] - names.start[h.name];
    };
    std::sort(hits.begin(), hits.end(), [&](const Hit &a, const Hit &b) {
        return a.match != b.match ? a.match < b.match : length(a) < length(b);
    });
    struct Found {
        std::uint32_t entry;
        Match match;
    };
    std::vector<Found> chosen;
    for (size_t i = 0; i < hits.size() && chosen.size() < size_t(limit);) {
        size_t j = i;
        for (; j < hits.size() && hits[j].match == hits[i].match && length(hits[j]) == length(hits[i]); ++j) {
            const bool plain = hits[j].match <= Match::Substring;
            const auto [first, last] = entriesOf(plain ? m_plain : m_folded, hits[j].name);
            for (auto e = first; e != last; ++e)
                if (kinds.testFlag(m_kind[*e]) && (plain || !plainSeen[m_plainOf[*e]]))
                    chosen.push_back({*e, hits[j].match});
        }
        i = j;
    }
    const std::vector<std::uint32_t> &rank = text.digitsOnly ? m_digitRank : m_rank;
    const auto shown = chosen.begin() + qsizetype(std::min(chosen.size(), size_t(limit)));
    std::partial_sort(chosen.begin(), shown, chosen.end(), [&rank](const Found &a, const Found &b) {
        return a.match != b.match ? a.match < b.match : rank[a.entry] < rank[b.entry];
    });
    answer.results.reserve(size_t(shown - chosen.begin()));
    for (auto f = chosen.begin(); f != shown; ++f)
        answer.results.push_back(result(f->entry));
    return answer;
}
