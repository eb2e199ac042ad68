#include "exchange/TableInput.h"

#include "base/ChangeJournal.h"
#include "base/Format.h"
#include "base/Workspace.h"
#include "db/Database.h"
#include "db/Numbers.h"
#include "ged/FileRewrite.h"
#include "ged/ImportRules.h"
#include "ged/RecordImage.h"

#include <algorithm>
#include <deque>

namespace kinmap {

namespace {

// A line of a record while a row is applied to it.
struct EditLine {
    int level = 0;
    uint32_t tag = 0;
    long original = -1;         // its index in the record, or -1 for a new line
    std::string_view fileText;  // of a line of the record, without its line end
    std::string newText;        // of a changed or new line
    bool changed = false;
    bool dropped = false;

    std::string_view text() const { return changed ? std::string_view(newText) : fileText; }
};

// The level and tag of a line as written ("1 BIRT"), without the blank
// that begins its value.
std::string_view headOf(std::string_view text)
{
    const GedLine line = parseGedLine(text, {});
    std::string_view head = text.substr(0, line.valueStart);
    while (!head.empty() && (head.back() == ' ' || head.back() == '\t'))
        head.remove_suffix(1);
    return head;
}

std::string lineText(std::string_view head, std::string_view tag, std::string_view cell)
{
    std::string text(head);
    if (cell != tag)
        text.append(" ").append(cell);
    return text;
}

// Applies a row to the lines of its record; one planner serves every row.
class RowPlanner {
public:
    RowPlanner(const GedFile& file, InputPlan& plan) : file_(file), plan_(plan) {}

    // Adds the record's changes and edits to the plan, if it has any.
    void plan(const std::vector<GedLine>& lines, std::span<const std::string_view> row, int line, int32_t rin);

private:
    void applyNames(std::string_view surname, std::string_view given);
    void applyColumns(const std::vector<TableColumn>& columns, std::span<const std::string_view> row);

    void skip(const std::string& what, const std::string& reason)
    {
        plan_.skipped.push_back({line_, formatText("RIN %d%s%s", rin_, what.empty() ? "" : ", ", what.c_str()), reason});
    }
    bool encodable(const std::string& text) const
    {
        const Encoding encoding = file_.format.encoding;
        if (encoding == Encoding::utf8 || encoding == Encoding::utf16le || encoding == Encoding::utf16be)
            return true;
        std::string encoded;
        size_t unmappable = 0;
        encodeText(encoding, text, encoded, unmappable);
        return unmappable == 0;
    }
    void replace(long i, std::string text)
    {
        EditLine& line = edits_[static_cast<size_t>(i)];
        if (line.text() != text) {
            line.newText = std::move(text);
            line.changed = true;
        }
    }
    // A new line at i; the lines from there move down.
    long insert(size_t i, int level, std::string_view tag, std::string text)
    {
        edits_.insert(edits_.begin() + static_cast<long>(i), EditLine{level, tagCode(tag), -1, {}, std::move(text), true, false});
        return static_cast<long>(i);
    }
    // Where a new level-1 line of the tag goes: before the first level-1
    // line that a rebuilt record writes after it, else last.
    size_t level1Place(uint32_t tag) const
    {
        const int slot = tagSlot(RecordKind::person, tag);
        for (size_t i = 0; i < edits_.size(); ++i)
            if (edits_[i].level == 1 && tagSlot(RecordKind::person, edits_[i].tag) > slot)
                return i;
        return edits_.size();
    }
    // After the last line beneath line i.
    size_t endOfBlock(long i) const
    {
        const int level = edits_[static_cast<size_t>(i)].level;
        size_t end = static_cast<size_t>(i) + 1;
        while (end < edits_.size() && (edits_[end].level < 0 || edits_[end].level > level))
            ++end;
        return end;
    }
    long firstLevel1(uint32_t tag) const
    {
        for (size_t i = 0; i < edits_.size(); ++i)
            if (edits_[i].level == 1 && edits_[i].tag == tag)
                return static_cast<long>(i);
        return -1;
    }
    std::string cannotHold() const
    {
        return formatText("holds characters that %s cannot hold", encodingName(file_.format.encoding));
    }

    const GedFile& file_;
    InputPlan& plan_;
    int line_ = 0;
    int32_t rin_ = 0;
    const std::vector<GedLine>* lines_ = nullptr;
    std::vector<EditLine> edits_;
    std::vector<std::string_view> cells_;
    std::deque<std::string> blanked_;
    bool renamed_ = false;
};

void RowPlanner::plan(const std::vector<GedLine>& lines, std::span<const std::string_view> row, int line, int32_t rin)
{
    lines_ = &lines;
    line_ = line;
    rin_ = rin;
    renamed_ = false;
    edits_.clear();
    for (size_t i = 1; i < lines.size(); ++i)
        edits_.push_back({lines[i].level, lines[i].tag, static_cast<long>(i), withoutLineEnd(lines[i].text), {}, false, false});
    // A line break or tab in a cell (a spreadsheet's quoted cell) is a blank
    // in a GED line, as Output to File writes it.
    cells_.clear();
    blanked_.clear();
    for (const std::string_view cell : row)
        cells_.push_back(cell.find_first_of("\t\r\n") == std::string_view::npos ? cell : blanked_.emplace_back(cellText(cell)));
    applyNames(cells_[1], cells_[2]);
    applyColumns(plan_.columns, cells_);

    const PersonInput person{rin, plan_.changes.size(), plan_.edits.size()};
    int32_t lastOriginal = 0; // new lines follow the line of the record before them
    for (EditLine& edit : edits_) {
        if (edit.original >= 0)
            lastOriginal = static_cast<int32_t>(edit.original);
        if (!edit.dropped && !edit.changed)
            continue;
        const auto change = static_cast<int32_t>(plan_.changes.size() - person.firstChange);
        const std::string_view before =
            edit.original >= 0 ? withoutLineEnd(lines[static_cast<size_t>(edit.original)].text) : std::string_view();
        plan_.changes.push_back({std::string(before), edit.dropped ? std::string() : std::move(edit.newText)});
        plan_.edits.push_back({edit.original < 0 ? LineEdit::insertAfter : edit.dropped ? LineEdit::drop : LineEdit::replace,
                               lastOriginal, change});
    }
    if (plan_.changes.size() == person.firstChange)
        return;
    plan_.recordOf[static_cast<size_t>(rin)] = static_cast<int>(plan_.persons.size());
    plan_.persons.push_back(person);
}

void RowPlanner::applyNames(std::string_view surname, std::string_view given)
{
    const std::vector<GedLine>& lines = *lines_;
    const long nameLine = importedNameLine(lines);
    std::optional<NameParts> read;
    if (nameLine >= 0)
        read = nameParts(valueAt(lines[static_cast<size_t>(nameLine)].text, 7));
    const std::string fileGiven = read ? cellText(internedForm(read->given)) : std::string();
    const std::string fileSurname = read ? cellText(internedForm(read->surname)) : std::string();
    if (given == fileGiven && surname == fileSurname)
        return;
    if (given.empty() && surname.empty()) {
        skip("SURN, GIVN", "a table does not remove a name (Edit Person does)");
        return;
    }
    std::string name;
    if (read) {
        name = renamedNameLine(*read, given, surname);
    } else {
        name = "1 NAME";
        if (!given.empty())
            name.append(" ").append(given);
        name.append(" /").append(surname).append("/");
    }
    if (!encodable(name)) {
        skip("SURN, GIVN", cannotHold());
        return;
    }
    renamed_ = true;
    if (nameLine < 0) {
        insert(level1Place(tagCode("NAME")), 1, "NAME", std::move(name));
        return;
    }
    replace(nameLine - 1, std::move(name)); // the edits begin after the level-0 line
    for (size_t j = static_cast<size_t>(nameLine) + 1; j < lines.size() && lines[j].level != 1 && lines[j].level != 0; ++j)
        if (std::optional<std::string> part = renamedPartLine(lines[j], given, surname)) {
            if (part->empty())
                edits_[j - 1].dropped = true;
            else
                replace(static_cast<long>(j - 1), std::move(*part));
        }
}

void RowPlanner::applyColumns(const std::vector<TableColumn>& columns, std::span<const std::string_view> row)
{
    long line1 = -1, line2 = -1;
    const TableColumn* column1 = nullptr;
    const TableColumn* column2 = nullptr;
    for (size_t c = 0; c < columns.size(); ++c) {
        const TableColumn& column = columns[c];
        const std::string_view cell = row[c + 3];
        long found = -1;
        if (column.level == 1) {
            column1 = &column;
            found = line1 = firstLevel1(column.code);
            line2 = -1;
        } else if (column.level == 2) {
            column2 = &column;
            found = line2 = childLine(edits_, line1, column.code);
        } else {
            found = childLine(edits_, line2, column.code);
        }
        if (cell.empty() || (found >= 0 && cellOfLine(edits_[static_cast<size_t>(found)].text()) == cell))
            continue;
        const std::string what = std::to_string(column.level) + " " + column.tag;
        if (column.level == 1 && column.code == tagCode("NAME")) {
            if (!renamed_)
                skip(what, "the name is changed in the columns SURN and GIVN");
            continue;
        }
        std::string text = found >= 0 ? lineText(headOf(edits_[static_cast<size_t>(found)].text()), column.tag, cell)
                                      : lineText(what, column.tag, cell);
        if (!encodable(text)) {
            skip(what, cannotHold());
            continue;
        }
        if (found >= 0) {
            replace(found, std::move(text));
        } else if (column.level == 1) {
            line1 = insert(level1Place(column.code), 1, column.tag, std::move(text));
        } else if (column.level == 2) {
            // An event the record lacks gets its line, so that its date has a place.
            if (line1 < 0)
                line1 = insert(level1Place(column1->code), 1, column1->tag, "1 " + column1->tag);
            line2 = insert(endOfBlock(line1), 2, column.tag, std::move(text));
        } else if (line2 >= 0) {
            insert(endOfBlock(line2), 3, column.tag, std::move(text));
        } else {
            skip(what, formatText("the record has no 2 %s line to put it under", column2 ? column2->tag.c_str() : "?"));
        }
    }
}

} // namespace

InputPlan planInput(Workspace& s, const GedFile& file, const TableRows& table, std::string& reason)
{
    const Database& db = s.db;
    InputPlan plan;
    reason.clear();
    if (table.empty()) {
        reason = "it is empty";
        return plan;
    }
    const TableRow header = table.row(0);
    plan.columns = columnsOfHeader(header.cells, reason);
    if (!reason.empty())
        return plan;

    // The rows by RIN, the whole table first: its order is any order.
    std::vector<std::vector<size_t>> rowsOf(static_cast<size_t>(db.highestRin) + 1);
    TableRow row;
    for (size_t r = 1; r < table.size(); ++r) {
        table.read(r, row);
        const int line = table.line(r);
        const std::string rinField(row[0]);
        const std::string where = rinField.empty() ? "no RIN" : "\"" + rinField + "\"";
        if (row.size() != header.size()) {
            plan.skipped.push_back({line, where, formatText("has %zu fields, the header %zu", row.size(), header.size())});
            continue;
        }
        const std::optional<int32_t> rin = readNumber(rinField);
        if (!rin || !db.validRin(*rin) || (!db.isPerson(*rin) && db.persons[*rin].fileOffset == 0)) {
            plan.skipped.push_back({line, where, "is no RIN of a person of " + fileNameOf(file.path)});
            continue;
        }
        if (db.persons[*rin].fileOffset == 0) {
            plan.skipped.push_back({line, "RIN " + rinField, "the person has no record in the file yet: export it first"});
            continue;
        }
        if (row[1].find('/') != std::string::npos || row[2].find('/') != std::string::npos) {
            plan.skipped.push_back({line, "RIN " + rinField, "a name holds \"/\", which GED keeps for the surname's bounds"});
            continue;
        }
        rowsOf[static_cast<size_t>(*rin)].push_back(r);
    }
    for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
        std::vector<size_t>& rows = rowsOf[static_cast<size_t>(rin)];
        if (rows.size() < 2)
            continue;
        std::string lines;
        for (const size_t r : rows)
            lines += (lines.empty() ? "" : ", ") + std::to_string(table.line(r));
        for (const size_t r : rows)
            plan.skipped.push_back({table.line(r), formatText("RIN %d", rin), "the RIN is in more than one row (lines " + lines + ")"});
        rows.clear();
    }

    // One pass over the file: each row meets its record, in the file's order.
    plan.recordOf.assign(static_cast<size_t>(db.highestRin) + 1, -1);
    std::vector<GedLine> lines;
    RowPlanner planner(file, plan);
    readGedRecords(s, file, [&](const GedRecord& r, int32_t known) {
        if (known <= 0 || rowsOf[static_cast<size_t>(known)].empty())
            return;
        const size_t at = rowsOf[static_cast<size_t>(known)][0];
        rowsOf[static_cast<size_t>(known)].clear();
        table.read(at, row);
        lines.clear();
        for (size_t i = 0; i < r.size(); ++i)
            lines.push_back(r[i]);
        planner.plan(lines, row.cells, table.line(at), known);
    });
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        for (const size_t r : rowsOf[static_cast<size_t>(rin)])
            plan.skipped.push_back({table.line(r), formatText("RIN %d", rin), "its record was not found in the file"});
    // The skipped in the table's order.
    std::stable_sort(plan.skipped.begin(), plan.skipped.end(),
                     [](const SkippedInput& a, const SkippedInput& b) { return a.line < b.line; });
    return plan;
}

std::string previewName(const Database& db, int32_t rin)
{
    const std::string_view surname = orEmpty(db.persons[rin].surname), given = orEmpty(db.persons[rin].given);
    return std::string(surname).append(surname.empty() || given.empty() ? "" : ", ").append(given);
}

std::string inputPreview(const Database& db, const InputPlan& plan)
{
    std::string text;
    for (size_t i = 0; i < plan.persons.size(); ++i) {
        text.append("RIN ").append(std::to_string(plan.persons[i].rin)).append(" ");
        text.append(previewName(db, plan.persons[i].rin)).append(":\r\n");
        for (const LineChange& change : plan.changesOf(i)) {
            if (change.before.empty())
                text.append("  + ").append(change.after);
            else if (change.after.empty())
                text.append("  - ").append(change.before);
            else
                text.append("  ").append(change.before).append(" -> ").append(change.after);
            text.append("\r\n");
        }
    }
    if (!plan.skipped.empty()) {
        text += formatText("%zu skipped:\r\n", plan.skipped.size());
        for (const SkippedInput& skipped : plan.skipped)
            text += formatText("  line %d, %s: %s\r\n", skipped.line, skipped.where.c_str(), skipped.reason.c_str());
    }
    return text;
}

bool applyInput(Workspace& s, GedFile& file, const InputPlan& plan, const std::string& tablePath)
{
    s.journal.write("\n# %s", journalStamp(s.clock.localTime()).c_str());
    s.journal.write("\n- Input from File: %s into %s\n", tablePath.c_str(), file.path.c_str());
    std::string journalLines; // one write, not one a line
    for (size_t i = 0; i < plan.persons.size(); ++i)
        for (const LineChange& change : plan.changesOf(i))
            journalLines.append("rin ")
                .append(std::to_string(plan.persons[i].rin))
                .append(": ")
                .append(change.before.empty() ? "(new)" : change.before)
                .append(" -> ")
                .append(change.after.empty() ? "(removed)" : change.after)
                .append("\n");
    s.journal.writeText(journalLines.data(), journalLines.size());
    s.setStatus(0, "Input into %s ", fileNameOf(file.path).c_str());
    return rewriteGedFile(s, file, [&plan](const GedRecord& r, int32_t known, RecordWriter& writer) {
        const int planned = known > 0 && static_cast<size_t>(known) < plan.recordOf.size() ? plan.recordOf[static_cast<size_t>(known)] : -1;
        if (planned < 0) {
            for (size_t i = 1; i < r.size(); ++i)
                writer.copy(r[i]);
            return;
        }
        const std::span<const LineChange> changes = plan.changesOf(static_cast<size_t>(planned));
        const std::span<const LineEdit> edits = plan.editsOf(static_cast<size_t>(planned));
        size_t next = 0;
        auto newText = [&](const LineEdit& edit) -> const std::string& { return changes[static_cast<size_t>(edit.change)].after; };
        auto insertAfter = [&](size_t line) {
            for (; next < edits.size() && edits[next].kind == LineEdit::insertAfter && static_cast<size_t>(edits[next].line) == line; ++next)
                writer.add(newText(edits[next]));
        };
        insertAfter(0);
        for (size_t line = 1; line < r.size(); ++line) {
            if (next < edits.size() && edits[next].kind != LineEdit::insertAfter && static_cast<size_t>(edits[next].line) == line) {
                if (edits[next].kind == LineEdit::replace)
                    writer.add(newText(edits[next]));
                ++next;
            } else {
                writer.copy(r[line]);
            }
            insertAfter(line);
        }
    });
}

} // namespace kinmap
