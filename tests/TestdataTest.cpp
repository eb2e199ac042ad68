// Imports the real GED files written by other programs, when that folder is
// present: each one imports or fails cleanly, and what imports has the
// records of the file.
#include "check/LinkCheck.h"
#include "ged/Export.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <regex>
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
// its record lines.
std::string plainText(const std::string& bytes)
{
    if (bytes.size() < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE')
        return bytes;
    std::string text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += bytes[i + 1] == 0 ? bytes[i] : '?';
    return text;
}

struct RecordNumbers {
    int total = 0;
    int usable = 0;     // 1 up to the limit
    bool tooLarge = false;
};

// Counts the level-0 records of a kind by the number in their identifier,
// read independently of the import.
RecordNumbers countRecords(const std::string& text, const std::string& kind, long long limit)
{
    RecordNumbers n;
    const std::regex record("^0 @.([^@]*)@ " + kind + "\\b");
    std::stringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, record))
            continue;
        const std::string id = m[1];
        ++n.total;
        if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos || std::stoll(id.substr(0, 18)) == 0)
            continue; // reads as no number: not kept
        else if (id.size() > 12 || std::stoll(id) >= limit)
            n.tooLarge = true;
        else
            ++n.usable;
    }
    return n;
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

// The lines an export may change on purpose: custom tags beneath level 1,
// link lines, NOTE and SOUR pointers and records (renumbered).
bool changedOnPurpose(const std::string& line)
{
    static const std::regex purpose(R"(^([2-9] _|1 (FAMS|FAMC|HUSB|WIFE|CHIL)\b|\d+ (NOTE|SOUR) @|0 @[^@]*@ (NOTE|SOUR)\b))");
    return std::regex_search(line, purpose);
}

class TestdataTest : public test::ImportFixture {
protected:
    // Exports everyone and checks that every line of the file is still
    // there, except those an export changes on purpose and those of
    // records the import's repairs changed.
    void checkRoundTrip(const std::string& inputText, const std::string& name)
    {
        std::set<std::string> repairedRecords;
        for (int32_t rin = 1; rin <= db.highestRin; ++rin)
            if (!db.isPerson(rin) || (db.persons[rin].flags & Flag::changed))
                repairedRecords.insert(formatText("I%d", rin));
        for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin)
            if (!db.isFamily(mrin) || (db.families[mrin].flags & Flag::changed))
                repairedRecords.insert(formatText("F%d", mrin));

        const std::string target = dir.file(name + ".out.ged");
        ASSERT_TRUE(exportAllCommand(session, target));
        std::map<std::string, int> written;
        for (const std::string& line : textLines(plainText(test::readFile(target))))
            ++written[line];

        static const std::regex recordLine(R"(^0 @([IF])(-?\d+)@ (INDI|FAM)\b)");
        std::string record;
        int customLevel = -1, missing = 0, missingInRepaired = 0;
        for (const std::string& line : textLines(inputText)) {
            std::smatch m;
            if (line.starts_with("0 ")) {
                record = std::regex_search(line, m, recordLine) ? m[1].str() + m[2].str() : std::string();
                customLevel = -1;
            }
            const int level = line.empty() || !isdigit(static_cast<unsigned char>(line[0])) ? 99 : std::stoi(line);
            if (customLevel >= 0 && level > customLevel)
                continue; // beneath a custom tag that is left out
            customLevel = line.size() > 2 && line[2] == '_' && level >= 2 && level <= 9 ? level : -1;
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

TEST_F(TestdataTest, EveryFileImportsOrFailsCleanly)
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
        const std::string name = row.file.substr(0, row.file.rfind('.')) + ".ged";
        ui.errors.clear();
        const bool loaded = importText(bytes, test::FileEncoding::latin1, name);

        const std::string text = plainText(bytes);
        const RecordNumbers persons = countRecords(text, "INDI", 250000);
        const RecordNumbers families = countRecords(text, "FAM", 100000);
        EXPECT_EQ(persons.total, row.persons);
        EXPECT_EQ(families.total, row.families);
        const bool expectLoaded = persons.usable > 0 && !persons.tooLarge && !families.tooLarge;
        ASSERT_EQ(loaded, expectLoaded);
        if (!loaded) {
            ASSERT_FALSE(ui.errors.empty());
            EXPECT_EQ(ui.errors.back(), "\r\nLoading of GED file " + name +
                                            " not possible.\r\nPlease import another GED file");
            EXPECT_EQ(db.highestRin, 0);
            continue;
        }
        EXPECT_TRUE(ui.errors.empty());
        EXPECT_EQ(db.personCount, persons.usable);
        EXPECT_EQ(db.familyCount, families.usable);
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
        checkRoundTrip(text, name);
    }
}

} // namespace
} // namespace kinmap
