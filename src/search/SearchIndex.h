#pragma once
// The one search box's index: the names of every place, street, stop and route in memory, and
// their matching and ranking as a person types. Built once from the catalogue's rows
// (SearchIndexSource), then only read: one index may answer several threads at once.
//
//   SearchIndex index(std::move(entries));
//   const SearchIndex::Answer answer = index.find(u"tavisuf");            // up to 20, best first
//   index.find(u"12", SearchKinds(SearchKind::Stop) | SearchKind::Route); // only some kinds
//
// A name matches a text, best first, when:
//   1. it is the text (Exact), 2. a word of it begins with the text (WordPrefix; the text may
//   run on over the following words), 3. it holds the text anywhere (Substring);
//   4. one of these holds with both case-folded (CaseFolded);
//   5. a word of it begins with something within a few typos of the case-folded text (Typo: 0
//      typos for texts of up to 3 letters, 1 for 4 to 7, 2 from 8; see TypoDistance).
// Within a class shorter names come first, then the kinds in the order place, street, stop, route
// (route, stop, street, place for a text of digits alone), then names by character codes.
#include "search/SearchResult.h"
#include "search/SearchText.h"

#include <QStringView>

#include <cstdint>
#include <string>
#include <vector>

class SearchIndex {
public:
    struct Entry {
        SearchKind kind = SearchKind::Place;
        int code = 0;
        QString name;
        QString detail;
    };

    enum class Match { Exact, WordPrefix, Substring, CaseFolded, Typo };

    struct Answer {
        std::vector<SearchResult> results;
        bool cut = false; // the text was cut to SearchText::MaxLength before matching
    };

    static constexpr int DefaultLimit = 20;

    SearchIndex() = default;
    explicit SearchIndex(std::vector<Entry> entries);

    // The best `limit` matches of the typed text among the kinds asked for; none for a text that
    // is empty once prepared (SearchText).
    Answer find(QStringView typed, SearchKinds kinds = AllSearchKinds, int limit = DefaultLimit) const;

    qsizetype size() const { return qsizetype(m_code.size()); }
    // Memory the index holds, roughly, in bytes.
    qsizetype memoryBytes() const;

private:
    // Names kept once each, however many entries bear them (a hundred thousand places share a
    // fifth as many names): the text of all of them, each followed by a NUL (typed texts hold no
    // control characters, so no match runs from one name into the next), where each begins, and
    // the entries that bear each.
    struct Names {
        std::u16string text;
        std::vector<std::uint32_t> start;   // name n is text[start[n], start[n + 1] - 1)
        std::vector<std::uint32_t> first;   // its entries are entries[first[n], first[n + 1])
        std::vector<std::uint32_t> entries;

        std::size_t count() const { return start.size() - 1; }
        std::u16string_view name(std::uint32_t n) const;
    };
    // A name that matched: plain or folded, by its number there.
    struct Hit {
        std::uint32_t name;
        Match match;
    };

    std::u16string_view nameOf(std::uint32_t entry) const { return m_plain.name(m_plainOf[entry]); }
    // Calls report(name, match) for every name of `names` that holds `text`, with its best class
    // among Exact, WordPrefix and Substring.
    template <typename Report>
    void scan(const Names &names, std::u16string_view text, Report report) const;
    // Adds the folded names that are a few typos from the text and have no hit yet.
    void findTypos(const SearchText::Prepared &text, const std::vector<std::uint8_t> &foldedSeen,
                   std::vector<Hit> &hits) const;
    SearchResult result(std::uint32_t entry) const;

    Names m_plain;  // as stored
    Names m_folded; // case-folded, one character for one
    std::vector<std::uint32_t> m_plainOf;  // each entry's plain name
    std::vector<std::uint64_t> m_foldedLetters; // per folded name, a bit for each letter it holds
    std::vector<std::int32_t> m_code;
    std::vector<SearchKind> m_kind;
    QString m_details;
    std::vector<std::uint32_t> m_detailStart;
    // Each entry's place in the order within a class: by length, kind, name and code; one order
    // for texts of digits alone and one for the others.
    std::vector<std::uint32_t> m_rank;
    std::vector<std::uint32_t> m_digitRank;
};
