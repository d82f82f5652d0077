#pragma once
// How far a typed text is from the start of a name: the fewest single-letter edits (a letter
// put in, left out or changed, or two neighbouring letters swapped) that turn the text into some
// beginning of the name. Digits are never edited: a house or route number must be typed as it is.
// Both texts are compared as given (the caller folds case first).
#include <string_view>

namespace TypoDistance {

// Texts longer than this are not compared (SearchText cuts typed texts shorter).
constexpr int MaxText = 64;
// Larger limits are not compared.
constexpr int MaxLimit = 4;

// The distance between `text` and the closest beginning of `name`, when it is at most `limit`;
// otherwise limit + 1. Stops as soon as no beginning can be within the limit.
int toPrefix(std::u16string_view text, std::u16string_view name, int limit);

} // namespace TypoDistance
