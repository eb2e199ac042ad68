// The rows of the error list in the Report tab after Find Errors: the
// findings of the last run in a sortable order, type-ahead, and removing a
// finding (the person's errors are ignored from then on).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kinmap {

class Database;
struct ErrorList;

class ErrorListRows {
public:
    static constexpr int columnCount = 3;
    static const char* columnTitle(int column);
    static int columnShare(int column); // of 1024 parts of the width

    // The rows of the list's findings, in the order of the column sorted
    // last (the order of the run before any click).
    void reset(const ErrorList& list);
    int rowCount() const { return static_cast<int>(order_.size()); }
    // The finding shown in a row; -1 for a row that is not there.
    int entryAt(int row) const;
    std::string cellText(const ErrorList& list, int row, int column) const;
    int sortColumn() const { return sortColumn_; }
    int sortDirection() const { return sortDirection_; }
    // A click on a header: a new column sorts by it, the same again reverses.
    void clickColumn(const ErrorList& list, int column);
    // The first row of a person's finding, 0 when there is none.
    int rowOfPerson(const ErrorList& list, int32_t rin) const;
    // The row a typed key leads to from `current` (keys within 3 seconds of
    // the first form one text); `current` itself when nothing matches.
    int typeAhead(const ErrorList& list, int current, std::string_view key, double now);

    // "&Remove error": the finding of a row leaves the list, and its
    // person's errors are ignored by later runs. False for a row that is
    // not there.
    bool removeRow(Database& db, ErrorList& list, int row);
    // The findings of a deleted person leave the list.
    void removePerson(ErrorList& list, int32_t rin);

private:
    void sort(const ErrorList& list);

    std::vector<int> order_;
    int sortColumn_ = -1;
    int sortDirection_ = 1;
    std::string typed_;
    double typedAt_ = -1e9;
};

// The error list as Output to File writes it: a line per row, then the
// count of each type.
std::string errorListText(const ErrorList& list, const ErrorListRows& rows);

} // namespace kinmap
