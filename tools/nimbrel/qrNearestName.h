// The name a user most likely meant when they mistyped one: the closest
// candidate by edit distance, ignoring case, when it is close enough to be
// a slip of the keyboard rather than another word.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quarn::Cli {

// Insertions, deletions and substitutions (letters compared ignoring
// case) that turn `a` into `b`.
std::size_t editDistance(std::string_view a, std::string_view b);

// The candidate nearest to `typed`, if it is within a third of its length
// (at least two edits); the first of equally near ones.
std::optional<std::string> nearestName(std::string_view typed, const std::vector<std::string>& candidates);

// Whether `a` and `b` are the same ignoring case.
bool equalIgnoringCase(std::string_view a, std::string_view b);

}  // namespace Quarn::Cli
