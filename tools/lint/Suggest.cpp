#include "tools/lint/Suggest.h"

#include "tools/pkd/PictureCheck.h"

#include <algorithm>
#include <vector>

namespace {

// Optimal string alignment distance; a misspelt command is short, but a token may be long,
// so a word is compared only up to a bound well past any command name.
size_t editDistance(std::string_view a, std::string_view b)
{
    constexpr size_t kLongest = 64;
    a = a.substr(0, kLongest);
    std::vector<size_t> prev2(b.size() + 1), prev(b.size() + 1), cur(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        prev[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        cur[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            cur[j] = std::min({prev[j] + 1, cur[j - 1] + 1, prev[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                cur[j] = std::min(cur[j], prev2[j - 2] + 1);
        }
        prev2.swap(prev);
        prev.swap(cur);
    }
    return prev[b.size()];
}

} // namespace

std::string_view nearestName(std::string_view word, const std::vector<std::string_view>& names)
{
    std::string_view best;
    size_t bestDistance = SIZE_MAX;
    for (std::string_view n : names) {
        const size_t d = editDistance(word, n);
        if (d < bestDistance) {
            best = n;
            bestDistance = d;
        }
    }
    return bestDistance < word.size() ? best : std::string_view();
}

bool isPictureName(std::string_view name)
{
    return isPictureEntry(name);
}
