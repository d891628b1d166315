#include "tools/lint/Findings.h"

#include <algorithm>
#include <ostream>

std::string Finding::text() const
{
    std::string s = file;
    if (line > 0)
        s += ":" + std::to_string(line);
    s += level == FindingLevel::Error ? ": error: " : ": warning: ";
    return s + message;
}

bool Findings::hasErrors() const
{
    return std::any_of(list_.begin(), list_.end(), [](const Finding& f) { return f.level == FindingLevel::Error; });
}

void Findings::print(std::ostream& out) const
{
    // Files stay in the order they were checked; lines ascend within each.
    std::vector<std::string> order;
    for (const Finding& f : list_)
        if (std::find(order.begin(), order.end(), f.file) == order.end())
            order.push_back(f.file);
    std::vector<const Finding*> sorted;
    for (const Finding& f : list_)
        sorted.push_back(&f);
    std::stable_sort(sorted.begin(), sorted.end(), [&](const Finding* a, const Finding* b) {
        const auto ia = std::find(order.begin(), order.end(), a->file) - order.begin();
        const auto ib = std::find(order.begin(), order.end(), b->file) - order.begin();
        return ia != ib ? ia < ib : a->line < b->line;
    });
    for (const Finding* f : sorted)
        out << f->text() << "\n";
}
