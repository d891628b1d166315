#pragma once
// The nearest command name to a misspelt one, for the checker's suggestions.
#include <string_view>
#include <vector>

// The name with the fewest single-byte edits (insert, delete, replace, swap of neighbours)
// from word; ties go to the earlier name. Empty when names is empty or the nearest needs more
// edits than the word has bytes.
std::string_view nearestName(std::string_view word, const std::vector<std::string_view>& names);

// True for a picture's name (".png"), which is no script.
bool isPictureName(std::string_view name);
