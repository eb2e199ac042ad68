#include "exchange/TableInput.h"

#include "base/ChangeJournal.h"
#include "base/Format.h"
#include "base/Workspace.h"
#include "db/Numbers.h"
#include "exchange/PersonRecords.h"
#include "ged/FileRewrite.h"
#include "ged/ImportRules.h"
#include "ged/RecordImage.h"

#include <algorithm>
#include <map>

namespace kinmap {

namespace {

// A line of a record while a row is applied to it.
struct EditLine {
    int level = 0;
    uint32_t tag = 0;
    long original = -1;  // its index in the record, or -1 for a new line
    std::string text;    // without its line end
    bool changed = false;
    bool dropped = false;
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

std::string lineText(std::string_view head, std::string_view tag, const std::string& cell)
{
    std::string text(head);
    if (cell != tag)
        text.append(" ").append(cell);
    return text;
}

class RowPlanner {
public:
    RowPlanner(const std::vector<GedLine>& lines, const GedFile& file, InputPlan& plan, int line, int32_t rin)
        : file_(file), plan_(plan), line_(line), rin_(rin)
    {
        for (size_t i = 1; i < lines.size(); ++i)
            edits_.push_back({lines[i].level, lines[i].tag, static_cast<long>(i), std::string(withoutLineEnd(lines[i].text))});
        lines_ = &lines;
    }

    void applyNames(const std::string& surname, const std::string& given);
    void applyColumns(const std::vector<TableColumn>& columns, const std::vector<std::string>& row);
    // The record's changes and the lines to write; false when nothing changes.
    bool result(PersonInput& person, std::vector<PlannedLine>& written) const;

private:
    void skip(const std::string& what, const std::string& reason)
    {
        plan_.skipped.push_back({line_, formatText("RIN %d%s%s", rin_, what.empty() ? "" : ", ", what.c_str()), reason});
    }
    bool encodable(const std::string& text) const
    {
        std::string encoded;
        size_t unmappable = 0;
        encodeText(file_.format.encoding, text, encoded, unmappable);
        return unmappable == 0;
    }
    void replace(long i, std::string text)
    {
        EditLine& line = edits_[static_cast<size_t>(i)];
        if (line.text != text)
            line.text = std::move(text), line.changed = true;
    }
    // A new line at i; the lines from there move down.
    long insert(size_t i, int level, std::string_view tag, std::string text)
    {
        edits_.insert(edits_.begin() + static_cast<long>(i), EditLine{level, tagCode(tag), -1, std::move(text), true});
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
    // The first line directly beneath line `parent` with the tag, or -1.
    long child(long parent, uint32_t tag) const
    {
        if (parent < 0)
            return -1;
        const int level = edits_[static_cast<size_t>(parent)].level + 1;
        for (size_t i = static_cast<size_t>(parent) + 1; i < edits_.size(); ++i) {
            if (edits_[i].level >= 0 && edits_[i].level < level)
                break;
            if (edits_[i].level == level && edits_[i].tag == tag)
                return static_cast<long>(i);
        }
        return -1;
    }

    const GedFile& file_;
    InputPlan& plan_;
    int line_;
    int32_t rin_;
    const std::vector<GedLine>* lines_ = nullptr;
    std::vector<EditLine> edits_;
    bool renamed_ = false;
};

void RowPlanner::applyNames(const std::string& surname, const std::string& given)
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
        skip("SURN, GIVN", formatText("holds characters that %s cannot hold", encodingName(file_.format.encoding)));
        return;
    }
    renamed_ = true;
    if (nameLine < 0) {
        insert(level1Place(tagCode("NAME")), 1, "NAME", std::move(name));
        return;
    }
    const long at = nameLine - 1; // the edits begin after the level-0 line
    replace(at, std::move(name));
    for (size_t j = static_cast<size_t>(nameLine) + 1; j < lines.size() && lines[j].level != 1 && lines[j].level != 0; ++j)
        if (std::optional<std::string> part = renamedPartLine(lines[j], given, surname)) {
            EditLine& edit = edits_[j - 1];
            if (part->empty())
                edit.dropped = true;
            else
                replace(static_cast<long>(j - 1), std::move(*part));
        }
}

void RowPlanner::applyColumns(const std::vector<TableColumn>& columns, const std::vector<std::string>& row)
{
    long line1 = -1, line2 = -1;
    const TableColumn* column1 = nullptr;
    const TableColumn* column2 = nullptr;
    for (size_t c = 0; c < columns.size(); ++c) {
        const TableColumn& column = columns[c];
        const std::string& cell = row[c + 3];
        const std::string what = std::to_string(column.level) + " " + column.tag;
        long found = -1;
        if (column.level == 1) {
            column1 = &column;
            found = line1 = firstLevel1(column.code);
            line2 = -1;
        } else if (column.level == 2) {
            column2 = &column;
            found = line2 = child(line1, column.code);
        } else {
            found = child(line2, column.code);
        }
        if (cell.empty() || (found >= 0 && cellOfLine(edits_[static_cast<size_t>(found)].text) == cell))
            continue;
        if (column.level == 1 && column.code == tagCode("NAME")) {
            if (!renamed_)
                skip(what, "the name is changed in the columns SURN and GIVN");
            continue;
        }
        if (found >= 0) {
            std::string text = lineText(headOf(edits_[static_cast<size_t>(found)].text), column.tag, cell);
            if (!encodable(text)) {
                skip(what, formatText("holds characters that %s cannot hold", encodingName(file_.format.encoding)));
                continue;
            }
            replace(found, std::move(text));
            continue;
        }
        std::string text = lineText(std::to_string(column.level) + " " + column.tag, column.tag, cell);
        if (!encodable(text)) {
            skip(what, formatText("holds characters that %s cannot hold", encodingName(file_.format.encoding)));
            continue;
        }
        if (column.level == 3 && line2 < 0) {
            skip(what, formatText("the record has no 2 %s line to put it under", column2 ? column2->tag.c_str() : "?"));
            continue;
        }
        if (column.level == 1) {
            line1 = insert(level1Place(column.code), 1, column.tag, std::move(text));
        } else if (column.level == 2) {
            // An event the record lacks gets its line, so that its date has a place.
            if (line1 < 0)
                line1 = insert(level1Place(column1->code), 1, column1->tag, "1 " + column1->tag);
            line2 = insert(endOfBlock(line1), 2, column.tag, std::move(text));
        } else {
            insert(endOfBlock(line2), 3, column.tag, std::move(text));
        }
    }
}

bool RowPlanner::result(PersonInput& person, std::vector<PlannedLine>& written) const
{
    person.changes.clear();
    written.clear();
    for (const EditLine& edit : edits_) {
        const std::string_view before =
            edit.original >= 0 ? withoutLineEnd((*lines_)[static_cast<size_t>(edit.original)].text) : std::string_view();
        if (edit.dropped) {
            person.changes.push_back({std::string(before), {}});
            continue;
        }
        if (edit.changed)
            person.changes.push_back({std::string(before), edit.text});
        written.push_back(edit.changed ? PlannedLine{-1, edit.text} : PlannedLine{edit.original, {}});
    }
    return !person.changes.empty();
}

} // namespace

size_t InputPlan::changedLines() const
{
    size_t n = 0;
    for (const PersonInput& person : persons)
        n += person.changes.size();
    return n;
}

InputPlan planInput(const Database& db, const GedFile& file, const TableRows& table, std::string& reason)
{
    InputPlan plan;
    reason.clear();
    if (table.rows.empty()) {
        reason = "it is empty";
        return plan;
    }
    const std::vector<std::string>& header = table.rows[0];
    plan.columns = columnsOfHeader(header, reason);
    if (!reason.empty())
        return plan;
    plan.rows = static_cast<int>(table.rows.size()) - 1;

    // The rows by RIN, the whole table first: its order is any order.
    std::map<int32_t, std::vector<size_t>> rowsOf;
    for (size_t r = 1; r < table.rows.size(); ++r) {
        const std::vector<std::string>& row = table.rows[r];
        const int line = table.lines[r];
        const std::string& rinField = row[0];
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
        rowsOf[*rin].push_back(r);
    }
    plan.recordOf.assign(static_cast<size_t>(db.highestRin) + 1, -1);
    PersonRecords records(db, file);
    std::vector<std::pair<uint64_t, size_t>> byPosition;
    for (const auto& [rin, rows] : rowsOf) {
        if (rows.size() > 1) {
            std::string lines;
            for (const size_t r : rows)
                lines += (lines.empty() ? "" : ", ") + std::to_string(table.lines[r]);
            for (const size_t r : rows)
                plan.skipped.push_back({table.lines[r], formatText("RIN %d", rin), "the RIN is in more than one row (lines " + lines + ")"});
            continue;
        }
        const std::vector<std::string>& row = table.rows[rows[0]];
        RowPlanner planner(records.read(rin), file, plan, table.lines[rows[0]], rin);
        planner.applyNames(row[1], row[2]);
        planner.applyColumns(plan.columns, row);
        PersonInput person;
        std::vector<PlannedLine> written;
        if (!planner.result(person, written))
            continue;
        person.rin = rin;
        person.name = row[1] + (row[1].empty() || row[2].empty() ? "" : ", ") + row[2];
        byPosition.emplace_back(db.persons[rin].fileOffset, plan.persons.size());
        plan.persons.push_back(std::move(person));
        plan.records.push_back(std::move(written));
    }
    // The skipped in table order, the changes in file order.
    std::stable_sort(plan.skipped.begin(), plan.skipped.end(),
                     [](const SkippedInput& a, const SkippedInput& b) { return a.line < b.line; });
    std::sort(byPosition.begin(), byPosition.end());
    InputPlan ordered;
    ordered.columns = std::move(plan.columns);
    ordered.skipped = std::move(plan.skipped);
    ordered.rows = plan.rows;
    ordered.recordOf = std::move(plan.recordOf);
    for (const auto& [position, i] : byPosition) {
        ordered.recordOf[static_cast<size_t>(plan.persons[i].rin)] = static_cast<int>(ordered.persons.size());
        ordered.persons.push_back(std::move(plan.persons[i]));
        ordered.records.push_back(std::move(plan.records[i]));
    }
    return ordered;
}

std::string inputPreview(const InputPlan& plan)
{
    std::string text;
    for (const PersonInput& person : plan.persons) {
        text += formatText("RIN %d %s:\r\n", person.rin, person.name.c_str());
        for (const LineChange& change : person.changes) {
            if (change.before.empty())
                text += "  + " + change.after + "\r\n";
            else if (change.after.empty())
                text += "  - " + change.before + "\r\n";
            else
                text += "  " + change.before + " -> " + change.after + "\r\n";
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
    for (const PersonInput& person : plan.persons)
        for (const LineChange& change : person.changes)
            s.journal.write("rin %d: %s -> %s\n", person.rin, change.before.empty() ? "(new)" : change.before.c_str(),
                            change.after.empty() ? "(removed)" : change.after.c_str());
    s.setStatus(0, "Input into %s ", fileNameOf(file.path).c_str());
    return rewriteGedFile(s, file, [&plan](const GedRecord& r, int32_t known, RecordWriter& writer) {
        const int planned = known > 0 && static_cast<size_t>(known) < plan.recordOf.size() ? plan.recordOf[static_cast<size_t>(known)] : -1;
        if (planned < 0) {
            for (size_t i = 1; i < r.size(); ++i)
                writer.copy(r[i]);
            return;
        }
        for (const PlannedLine& line : plan.records[static_cast<size_t>(planned)]) {
            if (line.original >= 0)
                writer.copy(r[static_cast<size_t>(line.original)]);
            else
                writer.add(line.text);
        }
    });
}

} // namespace kinmap
