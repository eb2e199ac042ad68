#include "exchange/TableOutput.h"

#include "base/Workspace.h"
#include "exchange/PersonRecords.h"
#include "ged/Import.h"
#include "ged/RecordImage.h"

namespace kinmap {

namespace {

// Lines as the columns see them: the record as it stands when the database
// has not changed the person, else rebuilt with the database's values.
class RecordImages {
public:
    RecordImages(const Database& db, const GedFile& file) : db_(db), records_(db, file) {}

    const std::vector<ImageLine>& of(int32_t rin)
    {
        const std::vector<GedLine>& lines = records_.read(rin);
        if (db_.persons[rin].fileOffset == 0 || (db_.persons[rin].flags & Flag::changed)) {
            image_ = rewriteRecord(db_, RecordKind::person, rin, db_.persons[rin].fileOffset ? lines : std::vector<GedLine>{},
                                   {}, "\r\n");
            image_.insert(image_.begin(), ImageLine::input(lines[0])); // columns count from the level-0 line
        } else {
            image_.clear();
            for (const GedLine& line : lines)
                image_.push_back(ImageLine::input(line));
        }
        return image_;
    }

private:
    const Database& db_;
    PersonRecords records_;
    std::vector<ImageLine> image_;
};

std::string cellOf(const ImageLine& line)
{
    return cellOfLine(line.isNew ? std::string_view(line.newText) : line.text);
}

std::string cellAt(const std::vector<ImageLine>& lines, long i)
{
    return i < 0 ? std::string() : cellOf(lines[static_cast<size_t>(i)]);
}

// The first level-1 line of a tag, or -1.
long firstLine(const std::vector<ImageLine>& lines, std::string_view tag)
{
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].level == 1 && lines[i].tag == tagCode(tag))
            return static_cast<long>(i);
    return -1;
}

// The value of the first EVEN line whose TYPE holds the word ("Taufpaten").
std::string eventOfType(const std::vector<ImageLine>& lines, std::string_view type)
{
    for (size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].level != 1 || lines[i].tag != tagCode("EVEN"))
            continue;
        const long typeLine = childLine(lines, static_cast<long>(i), tagCode("TYPE"));
        if (typeLine >= 0 && cellAt(lines, typeLine).find(type) != std::string::npos)
            return cellOf(lines[i]);
    }
    return {};
}

std::string nameOf(const Database& db, int32_t rin)
{
    if (rin == 0)
        return {};
    const std::string_view surname = orEmpty(db.persons[rin].surname), given = orEmpty(db.persons[rin].given);
    std::string name(surname);
    if (!surname.empty() && !given.empty())
        name += ", ";
    return name.append(given);
}

} // namespace

std::string templateTable(Workspace& s, const GedFile& file, const std::vector<int32_t>& rins,
                          const std::vector<TableColumn>& columns, TableFormat format)
{
    const Database& db = s.db;
    TableWriter table(format);
    for (const std::string& field : tableHeader(columns))
        table.cell(field);
    table.endRow();
    RecordImages images(db, file);
    FileProgress progress(s, rins.size());
    for (size_t row = 0; row < rins.size(); ++row) {
        const int32_t rin = rins[row];
        table.cell(std::to_string(rin));
        table.cell(orEmpty(db.persons[rin].surname));
        table.cell(orEmpty(db.persons[rin].given));
        const std::vector<ImageLine>& lines = images.of(rin);
        for (const long line : columnLines(lines, columns))
            table.cell(cellAt(lines, line));
        table.endRow();
        progress.advance(row);
    }
    return table.text();
}

std::string familyTable(Workspace& s, const GedFile& file, const std::vector<int32_t>& rins, TableFormat format)
{
    const Database& db = s.db;
    TableWriter table(format);
    for (const char* field : {"RIN", "NAME", "BIRTH", "IN", "CHRIS", "IN", "GODFATHERS", "DEATH", "IN", "CAUSE", "BURIAL",
                              "IN", "MARRIAGE", "IN", "SPOUSE", "HAUNTS", "FATHER", "MOTHER", "NOTES"})
        table.cell(field);
    table.endRow();
    RecordImages images(db, file);
    FileProgress progress(s, rins.size());
    for (size_t row = 0; row < rins.size(); ++row) {
        const int32_t rin = rins[row];
        const PersonRecord& p = db.persons[rin];
        const std::vector<ImageLine>& lines = images.of(rin);
        auto eventCells = [&](std::string_view event, std::initializer_list<std::string_view> tags) {
            const long line = firstLine(lines, event);
            for (const std::string_view tag : tags)
                table.cell(cellAt(lines, childLine(lines, line, tagCode(tag))));
        };
        table.cell(std::to_string(rin));
        table.cell(nameOf(db, rin));
        eventCells("BIRT", {"DATE", "PLAC"});
        eventCells("CHR", {"DATE", "PLAC"});
        table.cell(eventOfType(lines, "Taufpaten"));
        eventCells("DEAT", {"DATE", "PLAC", "CAUS"});
        eventCells("BURI", {"DATE", "PLAC"});
        if (!p.fams.empty() && db.isFamily(p.fams[0])) {
            const FamilyRecord& f = db.families[p.fams[0]];
            const DateText date = formatDate(f.marrDate);
            table.cell(date.isNull() ? "" : date.get());
            table.cell(orEmpty(f.marrPlace));
            table.cell(nameOf(db, db.personOrNone(db.spouseOf(rin, 0))));
            table.cell(eventOfType(lines, "Trauzeugen"));
        } else {
            for (int i = 0; i < 4; ++i)
                table.cell({});
        }
        table.cell(nameOf(db, db.personOrNone(db.fatherOf(rin, 0))));
        table.cell(nameOf(db, db.personOrNone(db.motherOf(rin, 0))));
        table.cell(cellAt(lines, firstLine(lines, "NOTE")));
        table.endRow();
        progress.advance(row);
    }
    return table.text();
}

} // namespace kinmap
