#include "views/ErrorListRows.h"

#include "base/Format.h"
#include "base/Workspace.h"
#include "check/Plausibility.h"
#include "db/TextCompare.h"

#include <algorithm>

namespace kinmap {

namespace {

constexpr const char* titles[ErrorListRows::columnCount] = {"Error", "RIN", "Description"};
constexpr int shares[ErrorListRows::columnCount] = {100, 74, 800};

int compareEntries(const ErrorEntry& a, const ErrorEntry& b, int column)
{
    switch (column) {
    case 0:
        if (a.type != b.type)
            return a.type - b.type;
        return a.rin - b.rin;
    case 1:
        return a.rin - b.rin;
    default:
        return compareFolded(a.text.c_str(), b.text.c_str(), 1000);
    }
}

std::string sortText(const ErrorEntry& e, int column)
{
    switch (column) {
    case 0:
        return errorTypeName(e.type);
    case 1:
        return std::to_string(e.rin);
    default:
        return e.text;
    }
}

} // namespace

const char* ErrorListRows::columnTitle(int column)
{
    return titles[column];
}

int ErrorListRows::columnShare(int column)
{
    return shares[column];
}

void ErrorListRows::reset(const ErrorList& list)
{
    order_.resize(list.entries.size());
    for (size_t i = 0; i < order_.size(); ++i)
        order_[i] = static_cast<int>(i);
    if (sortColumn_ >= 0)
        sort(list);
}

int ErrorListRows::entryAt(int row) const
{
    const int count = rowCount();
    if (row < 0 || row >= count)
        return -1;
    return order_[static_cast<size_t>(sortDirection_ > 0 ? row : count - 1 - row)];
}

std::string ErrorListRows::cellText(const ErrorList& list, int row, int column) const
{
    const int entry = entryAt(row);
    if (entry < 0 || entry >= static_cast<int>(list.entries.size()))
        return {};
    const ErrorEntry& e = list.entries[static_cast<size_t>(entry)];
    switch (column) {
    case 0:
        return errorTypeName(e.type);
    case 1:
        return formatText("%-6u", static_cast<unsigned>(e.rin));
    default:
        return e.text;
    }
}

void ErrorListRows::sort(const ErrorList& list)
{
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        return compareEntries(list.entries[static_cast<size_t>(a)], list.entries[static_cast<size_t>(b)], sortColumn_) < 0;
    });
}

void ErrorListRows::clickColumn(const ErrorList& list, int column)
{
    typedAt_ = -1e9;
    if (column == sortColumn_) {
        sortDirection_ = -sortDirection_;
        return;
    }
    sortColumn_ = column;
    sortDirection_ = 1;
    sort(list);
}

int ErrorListRows::rowOfPerson(const ErrorList& list, int32_t rin) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (list.entries[static_cast<size_t>(entryAt(row))].rin == rin)
            return row;
    return 0;
}

int ErrorListRows::typeAhead(const ErrorList& list, int current, std::string_view key, double now)
{
    const int count = rowCount();
    if (count == 0)
        return current;
    if (typed_.empty() || now - typedAt_ >= 3.0) {
        typed_.clear();
        typedAt_ = now;
    }
    if (typed_.size() + key.size() <= 99)
        typed_ += key;
    if (sortColumn_ < 0)
        return current; // before a column is chosen every row matches
    const int start = std::clamp(current, 0, count - 1);
    for (int i = 0; i < count; ++i) {
        const int row = (start + i) % count;
        if (startsWithIgnoringCase(sortText(list.entries[static_cast<size_t>(entryAt(row))], sortColumn_), typed_))
            return row;
    }
    return current;
}

bool ErrorListRows::removeRow(Database& db, ErrorList& list, int row)
{
    const int entry = entryAt(row);
    if (entry < 0)
        return false;
    const ErrorEntry& e = list.entries[static_cast<size_t>(entry)];
    if (db.isPerson(e.rin))
        db.persons[e.rin].flags |= Flag::errorsIgnored;
    --list.typeCount[static_cast<size_t>(e.type)];
    list.entries.erase(list.entries.begin() + entry);
    reset(list);
    return true;
}

void ErrorListRows::removePerson(ErrorList& list, int32_t rin)
{
    auto& entries = list.entries;
    for (const ErrorEntry& e : entries)
        if (e.rin == rin)
            --list.typeCount[static_cast<size_t>(e.type)];
    entries.erase(std::remove_if(entries.begin(), entries.end(), [rin](const ErrorEntry& e) { return e.rin == rin; }),
                  entries.end());
    reset(list);
}

std::string errorListText(const ErrorList& list, const ErrorListRows& rows)
{
    std::string text = "Nr\tErrtype\tRIN\tDetails\n";
    for (int row = 0; row < rows.rowCount(); ++row) {
        const ErrorEntry& e = list.entries[static_cast<size_t>(rows.entryAt(row))];
        text += formatText("%d: %s\t%-6u\t", row, errorTypeName(e.type), static_cast<unsigned>(e.rin)) + e.text + "\n";
    }
    text += "\nOverview:\n";
    for (int type = 0; type < errorTypeCount; ++type)
        text += formatText("%5d: %s\n", list.typeCount[static_cast<size_t>(type)], errorTypeName(type));
    return text;
}

} // namespace kinmap
