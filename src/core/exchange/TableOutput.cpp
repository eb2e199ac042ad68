#include "exchange/TableOutput.h"

#include "base/Workspace.h"
#include "ged/FileRewrite.h"
#include "ged/RecordImage.h"

namespace kinmap {

namespace {

// Calls `use` with the lines the columns see of each person of `rins`, in
// the file's order: the record as it stands when the database has not
// changed the person, else rebuilt with the database's values; the level-0
// line first. Persons the file does not hold yet come last.
void forEachPersonImage(Workspace& s, const GedFile& file, const std::vector<int32_t>& rins,
                        const std::function<void(int32_t rin, const std::vector<ImageLine>& lines)>& use)
{
    const Database& db = s.db;
    std::vector<bool> wanted(static_cast<size_t>(db.highestRin) + 1, false);
    for (const int32_t rin : rins)
        wanted[static_cast<size_t>(rin)] = true;
    std::vector<GedLine> lines;
    std::vector<ImageLine> image;
    auto imageOf = [&](int32_t rin, bool inFile) {
        image.clear();
        if (inFile && !(db.persons[rin].flags & Flag::changed)) {
            for (const GedLine& line : lines)
                image.push_back(ImageLine::input(line));
        } else {
            image = rewriteRecord(db, RecordKind::person, rin, inFile ? lines : std::vector<GedLine>{}, {}, "\r\n");
            image.insert(image.begin(), ImageLine::input(lines[0])); // columns count from the level-0 line
        }
        wanted[static_cast<size_t>(rin)] = false;
        use(rin, image);
    };
    readGedRecords(s, file, [&](const GedRecord& r, int32_t known) {
        if (known <= 0 || !wanted[static_cast<size_t>(known)])
            return;
        lines.clear();
        for (size_t i = 0; i < r.size(); ++i)
            lines.push_back(r[i]);
        imageOf(known, true);
    });
    for (const int32_t rin : rins) {
        if (!wanted[static_cast<size_t>(rin)])
            continue;
        const std::string first = "0 " + db.personXref(rin) + " INDI";
        lines.assign(1, parseGedLine(first, first));
        imageOf(rin, false);
    }
}

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

// A header, then a row for each person of `rins` in that order, its cells
// written by `fill` from the lines the columns see, as the file's order meets
// the persons.
std::string personTable(Workspace& s, const GedFile& file, const std::vector<int32_t>& rins, TableFormat format,
                        const std::vector<std::string>& header,
                        const std::function<void(int32_t rin, const std::vector<ImageLine>& lines, TableWriter& row)>& fill)
{
    std::vector<TableWriter> rows(static_cast<size_t>(s.db.highestRin) + 1, TableWriter(format, false));
    forEachPersonImage(s, file, rins, [&](int32_t rin, const std::vector<ImageLine>& lines) {
        fill(rin, lines, rows[static_cast<size_t>(rin)]);
    });
    TableWriter table(format);
    for (const std::string& field : header)
        table.cell(field);
    table.endRow();
    for (const int32_t rin : rins) {
        table.cells(rows[static_cast<size_t>(rin)]);
        table.endRow();
    }
    return table.text();
}

} // namespace

std::string templateTable(Workspace& s, const GedFile& file, const std::vector<int32_t>& rins,
                          const std::vector<TableColumn>& columns, TableFormat format)
{
    const Database& db = s.db;
    return personTable(s, file, rins, format, tableHeader(columns),
                       [&](int32_t rin, const std::vector<ImageLine>& lines, TableWriter& row) {
                           row.cell(std::to_string(rin));
                           row.cell(orEmpty(db.persons[rin].surname));
                           row.cell(orEmpty(db.persons[rin].given));
                           for (const long line : columnLines(lines, columns))
                               row.cell(cellAt(lines, line));
                       });
}

std::string familyTable(Workspace& s, const GedFile& file, const std::vector<int32_t>& rins, TableFormat format)
{
    const Database& db = s.db;
    const std::vector<std::string> header = {"RIN", "NAME", "BIRTH", "IN", "CHRIS", "IN", "GODFATHERS", "DEATH", "IN", "CAUSE",
                                             "BURIAL", "IN", "MARRIAGE", "IN", "SPOUSE", "HAUNTS", "FATHER", "MOTHER", "NOTES"};
    return personTable(s, file, rins, format, header, [&](int32_t rin, const std::vector<ImageLine>& lines, TableWriter& row) {
        const PersonRecord& p = db.persons[rin];
        auto eventCells = [&](std::string_view event, std::initializer_list<std::string_view> tags) {
            const long line = firstLine(lines, event);
            for (const std::string_view tag : tags)
                row.cell(cellAt(lines, childLine(lines, line, tagCode(tag))));
        };
        row.cell(std::to_string(rin));
        row.cell(nameOf(db, rin));
        eventCells("BIRT", {"DATE", "PLAC"});
        eventCells("CHR", {"DATE", "PLAC"});
        row.cell(eventOfType(lines, "Taufpaten"));
        eventCells("DEAT", {"DATE", "PLAC", "CAUS"});
        eventCells("BURI", {"DATE", "PLAC"});
        if (!p.fams.empty() && db.isFamily(p.fams[0])) {
            const FamilyRecord& f = db.families[p.fams[0]];
            const DateText date = formatDate(f.marrDate);
            row.cell(date.isNull() ? "" : date.get());
            row.cell(orEmpty(f.marrPlace));
            row.cell(nameOf(db, db.personOrNone(db.spouseOf(rin, 0))));
            row.cell(eventOfType(lines, "Trauzeugen"));
        } else {
            for (int i = 0; i < 4; ++i)
                row.cell({});
        }
        row.cell(nameOf(db, db.personOrNone(db.fatherOf(rin, 0))));
        row.cell(nameOf(db, db.personOrNone(db.motherOf(rin, 0))));
        row.cell(cellAt(lines, firstLine(lines, "NOTE")));
    });
}

} // namespace kinmap
