// Imports the real GED files written by other programs, when that folder is
// present: each one imports (or fails with its reason), and an export of
// every person keeps every line of it.
#include "app/Commands.h"
#include "app/CountCommands.h"
#include "app/ExchangeCommands.h"
#include "app/ExtrasCommands.h"
#include "app/FileCommands.h"
#include "app/SearchCommands.h"
#include "app/SourceCommands.h"
#include "app/ViewCommands.h"
#include "check/Duplicates.h"
#include "check/LinkCheck.h"
#include "check/Plausibility.h"
#include "ged/Export.h"
#include "query/Counts.h"
#include "query/EventSearch.h"
#include "query/Replace.h"
#include "relations/Islands.h"
#include "relations/Relationship.h"
#include "views/Chart.h"
#include "views/FamilyView.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace kinmap {
namespace {

struct ManifestRow {
    std::string file;
    int persons = 0;
    int families = 0;
};

std::vector<ManifestRow> readManifest(const std::string& folder)
{
    std::ifstream in(folder + "/MANIFEST.tsv");
    std::vector<ManifestRow> rows;
    std::string line;
    std::getline(in, line); // the header: local_file ... indi_records fam_records ...
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream cells(line);
        for (std::string cell; std::getline(cells, cell, '\t');)
            fields.push_back(cell);
        if (fields.size() > 7)
            rows.push_back({fields[0], std::stoi(fields[6]), std::stoi(fields[7])});
    }
    return rows;
}

// The file's text with UTF-16 pairs taken as single bytes: enough to find
// its lines.
std::string plainText(const std::string& bytes)
{
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE')
        return bytes;
    std::string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i + 1] == 0 ? bytes[i] : '?';
    return text;
}

std::vector<std::string> textLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The lines an export changes on purpose: link lines, NOTE and SOUR
// pointers and records (renumbered).
bool changedOnPurpose(const std::string& line)
{
    static const std::regex purpose(R"(^(1 (FAMS|FAMC|HUSB|WIFE|CHIL)\b|\d+ (NOTE|SOUR) @|0 @[^@]*@ (NOTE|SOUR)\b))");
    return std::regex_search(line, purpose);
}

class TestdataTest : public test::ImportFixture {
protected:
    static bool haveTestdata() { return std::filesystem::exists(std::string(KINMAP_TESTDATA_DIR) + "/MANIFEST.tsv"); }
    // The files that hold persons, each imported before `check` runs.
    template <typename Check>
    void forEachFileWithPersons(Check check)
    {
        const std::string folder = KINMAP_TESTDATA_DIR;
        for (const ManifestRow& row : readManifest(folder)) {
            if (row.persons == 0)
                continue;
            SCOPED_TRACE(row.file);
            ASSERT_TRUE(importBytes(test::readFile(folder + "/" + row.file), row.file));
            check(row);
        }
    }

    // Exports everyone and checks that every line of the file is still
    // there, except those an export changes on purpose and those of
    // records the import's repairs changed.
    void checkRoundTrip(const std::string& inputText, const std::string& name)
    {
        std::set<std::string> repairedRecords;
        for (int32_t rin = 1; rin <= db.highestRin; ++rin)
            if (!db.isPerson(rin) || (db.persons[rin].flags & Flag::changed))
                repairedRecords.insert(db.personXref(rin));
        for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin)
            if (!db.isFamily(mrin) || (db.families[mrin].flags & Flag::changed))
                repairedRecords.insert(db.familyXref(mrin));

        const std::string target = dir.file("out-" + name);
        ASSERT_TRUE(exportAllCommand(session, target));
        std::map<std::string, int> written;
        for (const std::string& line : textLines(plainText(test::readFile(target))))
            ++written[line];

        static const std::regex recordLine(R"(^0 (@[^@]+@) (INDI|FAM)\b)");
        std::string record;
        int missing = 0, missingInRepaired = 0;
        for (const std::string& line : textLines(inputText)) {
            std::smatch m;
            if (line.starts_with("0 "))
                record = std::regex_search(line, m, recordLine) ? m[1].str() : std::string();
            if (written[line] > 0) {
                --written[line];
            } else if (!changedOnPurpose(line)) {
                ++missing;
                missingInRepaired += repairedRecords.count(record) ? 1 : 0;
                EXPECT_TRUE(repairedRecords.count(record)) << "lost: " << line;
            }
            if (line == "0 TRLR")
                break;
        }
        int extra = 0;
        for (const auto& [line, count] : written)
            if (count > 0 && !changedOnPurpose(line))
                extra += count;
        EXPECT_LE(extra, missingInRepaired) << "new lines beyond the repairs";
        EXPECT_EQ(missing, missingInRepaired);
    }
};

TEST_F(TestdataTest, EveryFileImportsAndKeepsEveryLineThroughAnExport)
{
    const std::string folder = KINMAP_TESTDATA_DIR;
    if (!std::filesystem::exists(folder + "/MANIFEST.tsv"))
        GTEST_SKIP() << "no test data at " << folder;
    const auto rows = readManifest(folder);
    ASSERT_FALSE(rows.empty());
    for (const ManifestRow& row : rows) {
        SCOPED_TRACE(row.file);
        // Imported from a copy: the journal is written beside the file.
        const std::string bytes = test::readFile(folder + "/" + row.file);
        ui.errors.clear();
        const bool loaded = importBytes(bytes, row.file);
        // Every record is read, whatever its identifier.
        ASSERT_EQ(loaded, row.persons > 0);
        if (!loaded) {
            EXPECT_EQ(ui.errors, std::vector<std::string>{"\r\nLoading of GED file " + row.file +
                                                          " not possible: empty file.\r\nPlease import another GED file"});
            continue;
        }
        EXPECT_TRUE(ui.errors.empty());
        EXPECT_EQ(db.personCount, row.persons);
        EXPECT_EQ(db.familyCount, row.families);
        // A walk does not look at the entry that moves up after a removal,
        // so one run can leave a link for the next; repeated runs settle
        // with every link answered from the other side.
        int runs = 0;
        while (checkAllLinks(session) != 0 && runs < 10)
            ++runs;
        EXPECT_LT(runs, 10);
        for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
            if (!db.isPerson(rin))
                continue;
            for (int32_t mrin : db.persons[rin].famc)
                ASSERT_TRUE(db.isFamily(mrin) && db.families[mrin].children.contains(rin)) << rin;
            for (int32_t mrin : db.persons[rin].fams)
                ASSERT_TRUE(db.isFamily(mrin) && (db.families[mrin].husband == rin || db.families[mrin].wife == rin))
                    << rin;
        }
        checkRoundTrip(plainText(bytes), row.file);
    }
}

// Find Errors and every merge mode over the real files: their corrections
// and merges leave every link answered from the other side, and the written
// file reads again without a repair.
TEST_F(TestdataTest, FindErrorsAndEveryMergeModeKeepTheLinksWhole)
{
    const std::string folder = KINMAP_TESTDATA_DIR;
    if (!std::filesystem::exists(folder + "/MANIFEST.tsv"))
        GTEST_SKIP() << "no test data at " << folder;
    using namespace DuplicateOption;
    const uint32_t runs[] = {persons | 6 | noRequirement | semiautomatic, persons | 4 | sameDate | automatic,
                             6 | sameDate | automatic, persons | 2 | sameParents | manual};
    for (const ManifestRow& row : readManifest(folder)) {
        if (row.persons == 0)
            continue;
        SCOPED_TRACE(row.file);
        ASSERT_TRUE(importBytes(test::readFile(folder + "/" + row.file), row.file));
        while (checkAllLinks(session) != 0) {
        }
        ui.errors.clear();
        runErrorCheck(session);
        EXPECT_EQ(checkAllLinks(session), 0) << session.errors.journalEntry;
        for (const uint32_t options : runs) {
            SCOPED_TRACE(options);
            ui.mergeAnswers.assign(3, [](MergeFields&) { return MergeAnswer::yes; });
            session.duplicates.options = options;
            runDuplicateSearch(session);
            if ((options & modeMask) == semiautomatic)
                mergeCheckedCandidates(session);
            EXPECT_EQ(checkAllLinks(session), 0) << report();
        }
        EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
        ASSERT_TRUE(exportAllCommand(session, dir.file("merged-" + row.file)));
        ASSERT_TRUE(importCommand(session, dir.file("merged-" + row.file)));
        // Persons without name and spouses without sex are the file's own.
        static const std::regex linkRepair(R"(### (?!Person \d+ has no name)(?!Fam \d+ has (HUSB|WIFE) \d+ with sex))");
        EXPECT_FALSE(std::regex_search(report(), linkRepair)) << report();
    }
}

// Islands, relationship, counts, searches and a replacement over the real
// files: the islands hold every person, the counts every name, and the
// replaced file reads again without a repair.
TEST_F(TestdataTest, IslandsCountsSearchesAndReplaceCoverEveryRecord)
{
    if (!haveTestdata())
        GTEST_SKIP() << "no test data at " << KINMAP_TESTDATA_DIR;
    forEachFileWithPersons([&](const ManifestRow& row) {
        ui.errors.clear();
        islandsCommand(session);
        int persons = 0, families = 0;
        for (int i = 0; i < session.islands.rowCount(); ++i) {
            persons += session.islands.islandAt(i)->persons;
            families += session.islands.islandAt(i)->families;
            if (i > 0) {
                ASSERT_GE(session.islands.islandAt(i - 1)->persons, session.islands.islandAt(i)->persons);
            }
        }
        EXPECT_EQ(persons, db.personCount);
        EXPECT_LE(families, db.familyCount);

        // The first person of the largest island and the last person there.
        const int32_t first = session.islands.islandAt(0)->firstPerson;
        int32_t last = db.highestRin;
        while (!db.isPerson(last))
            --last;
        const std::vector<int32_t> chain = relationshipChain(db, first, last);
        if (!chain.empty()) {
            EXPECT_EQ(chain.front(), last);
            EXPECT_EQ(chain.back(), first);
            for (size_t i = 1; i < chain.size(); ++i)
                EXPECT_NE(relationOf(db, chain[i], chain[i - 1]), unrelated) << chain[i];
        }

        int named = 0;
        for (int32_t rin = 1; rin <= db.highestRin; ++rin)
            named += db.isPerson(rin) && db.persons[rin].given ? 1 : 0;
        runCount(session, CountKind::given);
        EXPECT_EQ(ui.status[1], std::to_string(named) + " Given names");
        for (const CountKind kind : {CountKind::surname, CountKind::place, CountKind::events}) {
            runCount(session, kind);
            EXPECT_NE(report().find(" \tTotal "), std::string::npos);
        }
        for (const EventKind kind : {EventKind::birth, EventKind::death, EventKind::marriage}) {
            SearchOptions options;
            options.periodFrom = 1;
            session.report.clear();
            runEventSearch(session, kind, options);
        }

        session.replaceOptions = {"e", "E", 2};
        runReplace(session);
        EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
        ASSERT_TRUE(exportAllCommand(session, dir.file("replaced-" + row.file)));
        ASSERT_TRUE(importCommand(session, dir.file("replaced-" + row.file)));
        static const std::regex linkRepair(R"(### (?!Person \d+ has no name)(?!Fam \d+ has (HUSB|WIFE) \d+ with sex))");
        EXPECT_FALSE(std::regex_search(report(), linkRepair)) << report();
    });
}

TEST_F(TestdataTest, EveryPedigreeAndEveryBranchHoldTogether)
{
    if (!haveTestdata())
        GTEST_SKIP() << "no test data at " << KINMAP_TESTDATA_DIR;
    forEachFileWithPersons([&](const ManifestRow&) {
        std::set<std::string> surnames;
        for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
            if (!db.isPerson(rin))
                continue;
            if (db.persons[rin].surname)
                surnames.insert(db.persons[rin].surname);
            Pedigree& pedigree = session.pedigree;
            if (pedigree.build(db, rin) != Pedigree::Outcome::built)
                continue;
            for (int r = 1; r < pedigree.rowCount(); ++r) {
                // A child's row comes before its parents'; an implex row names its person's first row.
                ASSERT_LT(pedigree.row(r).up, r);
                ASSERT_EQ(pedigree.row(pedigree.row(r).firstRow).rin, pedigree.row(r).rin);
                if (!pedigree.isImplex(r))
                    continue;
                const ImplexLines lines = implexLines(pedigree, r);
                if (lines.husbandRow >= 0) {
                    EXPECT_EQ(pedigree.row(lines.husbandRow).up, pedigree.row(lines.wifeRow).up);
                }
            }
        }
        // Every person's drawings and family: boxes inside the drawing, each
        // ancestor hanging on a box drawn before it.
        for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
            if (!db.isPerson(rin))
                continue;
            int familyIndex = 0, parentsIndex = 0;
            for (const Chart& chart : {buildTree(db, rin, 900, 640), buildHourglass(db, rin, familyIndex, 900, 640)})
                for (size_t b = 0; b < chart.boxes.size(); ++b) {
                    const ChartBox& box = chart.boxes[b];
                    ASSERT_LT(box.hangsOn, static_cast<int>(b));
                    ASSERT_TRUE(box.x >= 0 && box.y >= 0 && box.x + box.w <= chart.width && box.y + box.h <= chart.height);
                    chartBoxLines(db, chart, box);
                }
            EXPECT_EQ(familyPicture(db, rin, familyIndex, parentsIndex).person.id, rin);
        }
        // Each branch counts every person written once and every spouse beside one.
        for (const std::string& surname : surnames) {
            session.branches.build(db, surname);
            std::set<int32_t> persons;
            int spouses = 0;
            for (const BranchItem& item : session.branches.items()) {
                if (item.level >= 2) {
                    ASSERT_TRUE(db.isPerson(item.rin));
                    persons.insert(item.rin);
                    spouses += item.spouse ? 1 : 0;
                } else if (item.level == 1 && !item.heading) {
                    EXPECT_EQ(item.text, "( " + std::to_string(persons.size() + static_cast<size_t>(spouses)) + " persons)");
                    persons.clear();
                    spouses = 0;
                }
            }
        }
    });
}

// Auto-Source over the real files: the rewritten file is the file with one
// citation line more per person, and nothing else changed.
TEST_F(TestdataTest, AutoSourceAddsOnlyItsLines)
{
    if (!haveTestdata())
        GTEST_SKIP() << "no test data at " << KINMAP_TESTDATA_DIR;
    forEachFileWithPersons([&](const ManifestRow&) {
        selectionCommand(session, cmdSelectAll, 1);
        ASSERT_TRUE(addSourceToSelection(session, "@S1@"));
        std::map<std::string, int> lines;
        for (const std::string& line : textLines(plainText(test::readFile(path))))
            ++lines[line];
        for (const std::string& line : textLines(plainText(fileBytes)))
            --lines[line];
        for (const auto& [line, count] : lines)
            EXPECT_EQ(count, line == "1 SOUR @S1@" ? db.personCount : 0) << line;
    });
}

// Output to File then Input from File over the real files: the table read
// back unchanged changes nothing; one cell changed, in a table in another
// order, changes that line of that person only.
TEST_F(TestdataTest, ATableReadBackChangesOnlyTheCellsChanged)
{
    if (!haveTestdata())
        GTEST_SKIP() << "no test data at " << KINMAP_TESTDATA_DIR;
    forEachFileWithPersons([&](const ManifestRow&) {
        const std::string table = outputText(session, listView, defaultTemplate, TableFormat::tabs);
        std::string reason;
        const InputPlan unchanged = planInput(session, session.gedFile, readTable(table), reason);
        EXPECT_EQ(reason, "");
        EXPECT_TRUE(unchanged.persons.empty()) << inputPreview(db, unchanged);
        EXPECT_TRUE(unchanged.skipped.empty()) << inputPreview(db, unchanged);

        std::vector<std::vector<std::string>> rows;
        const TableRows read = readTable(table);
        for (size_t i = 0; i < read.size(); ++i) {
            const TableRow row = read.row(i);
            rows.emplace_back(row.cells.begin(), row.cells.end());
        }
        std::reverse(rows.begin() + 1, rows.end());
        const size_t occupation = static_cast<size_t>(
            std::find(rows[0].begin(), rows[0].end(), "1 OCCU") - rows[0].begin());
        const std::string before = rows[1][occupation];
        rows[1][occupation] = "Testberuf";
        TableWriter edited(TableFormat::tabs);
        for (const auto& row : rows) {
            for (const std::string& cell : row)
                edited.cell(cell);
            edited.endRow();
        }
        const InputPlan planned = planInput(session, session.gedFile, readTable(edited.text()), reason);
        ASSERT_EQ(planned.changedLines(), 1u);
        ASSERT_TRUE(applyInput(session, session.gedFile, planned, "table.txt"));
        std::map<std::string, int> lines;
        for (const std::string& line : textLines(plainText(test::readFile(path))))
            ++lines[line];
        for (const std::string& line : textLines(plainText(fileBytes)))
            --lines[line];
        for (const auto& [line, count] : lines) {
            const int expected = line == "1 OCCU Testberuf" ? 1 : !before.empty() && line == "1 OCCU " + before ? -1 : 0;
            EXPECT_EQ(count, expected) << line;
        }
    });
}

} // namespace
} // namespace kinmap
