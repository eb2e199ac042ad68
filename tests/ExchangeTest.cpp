// Output to File and Input from File: person tables written from the records
// of the GED file and read back into it, checked cell by cell and byte for
// byte, in the forms spreadsheets save them.
#include "app/EditCommands.h"
#include "app/ExchangeCommands.h"
#include "app/Session.h"
#include "app/Shell.h"
#include "edit/LinkEdits.h"
#include "edit/PersonForm.h"
#include "exchange/TableInput.h"
#include "exchange/TableOutput.h"

#include "ImportFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kinmap {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows cellsOf(const TableRows& table)
{
    Rows rows;
    for (size_t i = 0; i < table.size(); ++i) {
        const TableRow row = table.row(i);
        rows.emplace_back(row.cells.begin(), row.cells.end());
    }
    return rows;
}

std::string tableText(const Rows& rows, TableFormat format = TableFormat::tabs)
{
    TableWriter table(format);
    for (const auto& row : rows) {
        for (const std::string& cell : row)
            table.cell(cell);
        table.endRow();
    }
    return table.text();
}

class ExchangeTest : public test::ImportFixture {
protected:
    // The template table of the persons in RIN order, read back as cells.
    Rows output(const std::string& templateText)
    {
        std::vector<int32_t> rins;
        for (int32_t rin = 1; rin <= db.highestRin; ++rin)
            if (db.isPerson(rin))
                rins.push_back(rin);
        const std::string text = templateTable(session, session.gedFile, rins, parseTemplate(templateText).columns,
                                               TableFormat::tabs);
        return cellsOf(readTable(text));
    }
    InputPlan plan(const std::string& tableBytes)
    {
        std::string reason;
        InputPlan planned = planInput(session, session.gedFile, readTable(tableBytes), reason);
        EXPECT_EQ(reason, "");
        return planned;
    }
    // Applies a table and gives the GED file as it is then.
    std::string input(const Rows& rows)
    {
        const InputPlan planned = plan(tableText(rows));
        skipped = planned.skipped;
        if (!planned.persons.empty()) {
            EXPECT_TRUE(applyInput(session, session.gedFile, planned, dir.file("table.txt")));
        }
        return test::readFile(path);
    }
    std::vector<std::string> skippedReasons() const
    {
        std::vector<std::string> reasons;
        for (const SkippedInput& s : skipped)
            reasons.push_back("line " + std::to_string(s.line) + ", " + s.where + ": " + s.reason);
        return reasons;
    }
    void editBirthOrDeath(int32_t rin, FormEvent event, const std::string& date)
    {
        PersonForm form = openPersonForm(session, rin, "");
        form.dates[event] = date;
        form.dateEdited[event] = true;
        ASSERT_EQ(savePersonEdit(session, form), "");
    }
    std::vector<SkippedInput> skipped;

    const std::string family = "0 HEAD\n1 CHAR UTF-8\n"
                               "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 BIRT\n2 DATE 1 JAN 1900\n2 PLAC Köln\n"
                               "2 SOUR @S1@\n3 PAGE 12\n1 DEAT\n2 AGE 45\n2 CAUS Fieber\n1 OCCU Bauer\n1 FAMS @F1@\n"
                               "0 @I2@ INDI\n1 NAME Eva /Roth/\n1 SEX F\n1 CHR\n2 DATE 3 MAR 1902\n1 FAMS @F1@\n"
                               "1 EVEN Anna Roth, Paul Roth\n2 TYPE Trauzeugen\n1 NOTE lebte in Bonn\n"
                               "0 @I3@ INDI\n1 NAME Kurt /Berg/\n1 BIRT Y\n1 FAMC @F1@\n"
                               "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n1 MARR\n2 DATE 5 MAY 1925\n2 PLAC Bonn\n"
                               "0 @S1@ SOUR\n1 TITL Kirchenbuch\n"
                               "0 TRLR\n";
};

TEST_F(ExchangeTest, TemplatesGiveColumnsOfTheirLevelsAndHeadersAreReadBack)
{
    const ParsedTemplate standard = parseTemplate(defaultTemplate);
    EXPECT_EQ(tableHeader(standard.columns),
              (std::vector<std::string>{"RIN", "SURN", "GIVN", "1 BIRT", "2 DATE", "2 SOUR", "3 PAGE", "1 RELI", "1 EDUC",
                                        "1 OCCU", "1 CONF", "1 CENS", "1 TITL", "2 NPFX", "2 NSFX"}));
    EXPECT_TRUE(standard.skipped.empty());
    // A level-2 tag first, an unknown tag, a link and a tag without a place
    // of its own are skipped; after a skip a tag is read as level 1 again.
    const ParsedTemplate odd = parseTemplate("date,birt  foo note fams chr age _xyz sour page,, deat");
    EXPECT_EQ(tableHeader(odd.columns),
              (std::vector<std::string>{"RIN", "SURN", "GIVN", "1 BIRT", "1 NOTE", "1 CHR", "2 AGE", "1 SOUR", "1 DEAT"}));
    EXPECT_EQ(odd.skipped, (std::vector<std::string>{"DATE", "FOO", "FAMS", "_XYZ", "PAGE"}));

    std::string reason;
    const std::vector<std::string> header = tableHeader(standard.columns);
    const std::vector<std::string_view> headerCells(header.begin(), header.end());
    EXPECT_EQ(columnsOfHeader(headerCells, reason).size(), standard.columns.size());
    EXPECT_EQ(reason, "");
    const std::vector<std::pair<std::vector<std::string_view>, std::string>> refused = {
        {{"RIN", "SURNAME", "GIVN"}, "its first line does not begin with RIN, SURN and GIVN"},
        {{"RIN", "SURN", "GIVN", "2 DATE"}, "column 4 \"2 DATE\" is no column Output to File writes there"},
        {{"RIN", "SURN", "GIVN", "1 BIRT", "1 FAMC"}, "column 5 \"1 FAMC\" is no column Output to File writes there"},
        {{"RIN", "SURN", "GIVN", "1 BIRT", "3 PAGE"}, "column 5 \"3 PAGE\" is no column Output to File writes there"},
        {{"RIN", "SURN", "GIVN", "4 BIRT"}, "column 4 \"4 BIRT\" is no level and tag such as \"2 DATE\""},
        {{"RIN", "SURN", "GIVN", "1BIRT"}, "column 4 \"1BIRT\" is no level and tag such as \"2 DATE\""},
    };
    for (const auto& [fields, why] : refused) {
        EXPECT_TRUE(columnsOfHeader(fields, reason).empty());
        EXPECT_EQ(reason, why);
    }
}

TEST_F(ExchangeTest, EachCellIsTheValueAfterItsTagWithTheDatabasesValues)
{
    ASSERT_TRUE(importText(family));
    const Rows rows = output("NOTE BIRT DATE SOUR PAGE PLAC SEX DEAT AGE CAUS OCCU");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"1", "Berg", "Hans", "", "BIRT", "1 JAN 1900", "@S1@", "12", "Köln", "M",
                                                 "DEAT", "45", "Fieber", "Bauer"}));
    // A bare event shows its tag, a missing one nothing; "1 BIRT Y" its value.
    EXPECT_EQ(rows[2], (std::vector<std::string>{"2", "Roth", "Eva", "lebte in Bonn", "", "", "", "", "", "F", "", "", "", ""}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"3", "Berg", "Kurt", "", "Y", "", "", "", "", "", "", "", "", ""}));
    // A level-2 column reads only the lines directly beneath its event.
    EXPECT_EQ(output("DEAT DATE")[1][4], "");

    // The database's values: an edit not yet exported shows.
    editBirthOrDeath(3, formBirth, "2 FEB 1930");
    EXPECT_EQ(output("BIRT DATE")[3], (std::vector<std::string>{"3", "Berg", "Kurt", "Y", "2 FEB 1930"}));

    // An empty template still names the columns it writes.
    EXPECT_EQ(output("")[0], (std::vector<std::string>{"RIN", "SURN", "GIVN"}));

    // A database begun with New has no file: its persons' cells are the
    // database's, and nothing can be read back into a file.
    newDatabase(session);
    ui.formAnswers.push_back([](PersonForm& form) {
        form.given = "Ida";
        form.surname = "Neu";
        form.dates[formBirth] = "1 MAY 1950";
        form.dateEdited[formBirth] = true;
        return true;
    });
    ASSERT_EQ(addNewPerson(session), 1);
    EXPECT_EQ(output("BIRT DATE")[1], (std::vector<std::string>{"1", "Neu", "Ida", "BIRT", "1 MAY 1950"}));
    EXPECT_FALSE(confirmInputFromFile(session));
    EXPECT_EQ(ui.errors.back(), "Input from File changes a GED file: export the new data first.");
}

TEST_F(ExchangeTest, TheFamilyTableHasEveryFieldInEveryRow)
{
    ASSERT_TRUE(importText(family));
    const std::string text = familyTable(session, session.gedFile, {3, 1, 2}, TableFormat::tabs);
    const Rows rows = cellsOf(readTable(text));
    ASSERT_EQ(rows.size(), 4u);
    for (const auto& row : rows)
        EXPECT_EQ(row.size(), 19u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"3", "Berg, Kurt", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
                                                 "Berg, Hans", "Roth, Eva", ""}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"2", "Roth, Eva", "", "", "3 MAR 1902", "", "", "", "", "", "", "",
                                                 "5 MAY 1925", "Bonn", "Berg, Hans", "Anna Roth, Paul Roth", "", "",
                                                 "lebte in Bonn"}));
    EXPECT_EQ(rows[2][7], "");       // a death without a date
    EXPECT_EQ(rows[2][9], "Fieber"); // and its cause
}

TEST_F(ExchangeTest, TablesAreReadAsSpreadsheetsSaveThem)
{
    // Written: a tab or line break in a value becomes a blank; quotes where
    // the format needs them.
    const Rows cells = {{"RIN", "a\tb", "\"Bud\" John"}, {"1", "x,y", "line\r\nbreak"}};
    EXPECT_EQ(tableText(cells), "\xEF\xBB\xBFRIN\ta b\t\"\"\"Bud\"\" John\"\r\n1\tx,y\tline  break\r\n");
    EXPECT_EQ(tableText(cells, TableFormat::commas), "\xEF\xBB\xBFRIN,a b,\"\"\"Bud\"\" John\"\r\n1,\"x,y\",line  break\r\n");
    for (const TableFormat format : {TableFormat::tabs, TableFormat::commas})
        EXPECT_EQ(cellsOf(readTable(tableText(cells, format))),
                  (Rows{{"RIN", "a b", "\"Bud\" John"}, {"1", "x,y", "line  break"}}));

    // Saved by a spreadsheet: semicolons, quoted line breaks, no mark, LF.
    const TableRows csv = readTable("RIN;SURN;GIVN\n1;\"Berg\nvon\";\"Hans \"\"Jo\"\"\"\n\n2;Roth;Eva");
    EXPECT_EQ(cellsOf(csv), (Rows{{"RIN", "SURN", "GIVN"}, {"1", "Berg\nvon", "Hans \"Jo\""}, {"2", "Roth", "Eva"}}));
    EXPECT_EQ(std::vector<int>({csv.line(0), csv.line(1), csv.line(2)}), (std::vector<int>{1, 2, 5}));
    // A cell that only begins with a quote is read as it stands.
    EXPECT_EQ(readTable("RIN\tSURN\n1\t\"Bud\" John\n").row(1)[1], "\"Bud\" John");
    // "Unicode text": UTF-16 with its mark; Windows-1252 when no UTF-8.
    EXPECT_EQ(readTable(test::encode("RIN\tSURN\r\n1\tИванов\r\n", test::FileEncoding::utf16le)).row(1)[1], "Иванов");
    EXPECT_EQ(readTable(test::encode("RIN\tSURN\r\n1\tИванов\r\n", test::FileEncoding::utf16be)).row(1)[1], "Иванов");
    EXPECT_EQ(readTable("RIN\tSURN\r\n1\tM\xFCller \x80\r\n").row(1)[1], "Müller €");
    // Lines of any length.
    const std::string longCell(5000, 'x');
    EXPECT_EQ(readTable("RIN\tNOTE\r\n1\t" + longCell + "\r\n").row(1)[1], longCell);
}

TEST_F(ExchangeTest, AnUnchangedTableChangesNothingAndOneCellChangesOneLine)
{
    // In every encoding and line end, sorted or not.
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::string ansel = [&] {
        std::string t = family;
        t.replace(t.find("UTF-8"), 5, "ANSEL");
        t.replace(t.find("Köln"), 5, "K\xE8oln");
        return t;
    }();
    const Case cases[] = {{"UTF-8", family},
                          {"CR LF", test::crlf(family)},
                          {"CR", test::cr(family)},
                          {"UTF-16", test::encode(family, test::FileEncoding::utf16le)},
                          {"ANSEL", ansel}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(importBytes(c.bytes, std::string("case-") + c.name + ".ged"));
        Rows rows = output(defaultTemplate);
        EXPECT_TRUE(plan(tableText(rows)).persons.empty());
        std::reverse(rows.begin() + 1, rows.end()); // as sorted by a spreadsheet
        rows[3][4] = "2 JAN 1900"; // Hans's birth date
        EXPECT_EQ(input(rows), [&] {
            std::string expected = c.bytes;
            const std::string date = c.name == std::string("UTF-16") ? test::encodeWithoutMark("1 JAN 1900", test::FileEncoding::utf16le)
                                                                     : "1 JAN 1900";
            const std::string changed =
                c.name == std::string("UTF-16") ? test::encodeWithoutMark("2 JAN 1900", test::FileEncoding::utf16le) : "2 JAN 1900";
            expected.replace(expected.find(date), date.size(), changed);
            return expected;
        }());
        EXPECT_TRUE(skipped.empty());
        // The records' positions follow the new file.
        EXPECT_EQ(db.persons[2].fileOffset, test::readFile(path).find(c.name == std::string("UTF-16")
                                                                          ? test::encodeWithoutMark("1 NAME Eva", test::FileEncoding::utf16le)
                                                                          : "1 NAME Eva"));
    }
}

TEST_F(ExchangeTest, RowsApplyInAnyOrderAndWhatCannotApplyIsListed)
{
    // Identifiers of any form: the records are known by position.
    const std::string file = "0 HEAD\n0 @P7@ INDI\n1 NAME A /One/\n0 @X@ INDI\n1 NAME B /Two/\n"
                             "0 @I3@ INDI\n1 NAME C /Three/\n0 TRLR\n";
    ASSERT_TRUE(importText(file));
    const std::string header = "RIN\tSURN\tGIVN\t1 OCCU\r\n";
    // The RINs are 7, 8 and 3, the highest 8.
    const std::string table = header + "3\tThree\tC\tSchmied\r\n7\tOne\tA\tBauer\r\n"
                                       "8\tTwo\tB\tX\r\n9\tNine\tN\tY\r\n8\tTwo\tB\tZ\r\nabc\tx\ty\tz\r\n7\tOne\r\n"
                                       "\t\t\t\r\n";
    const InputPlan planned = plan(table);
    skipped = planned.skipped;
    EXPECT_EQ(skippedReasons(), (std::vector<std::string>{
                                    "line 4, RIN 8: the RIN is in more than one row (lines 4, 6)",
                                    "line 5, \"9\": is no RIN of a person of test.ged",
                                    "line 6, RIN 8: the RIN is in more than one row (lines 4, 6)",
                                    "line 7, \"abc\": is no RIN of a person of test.ged",
                                    "line 8, \"7\": has 2 fields, the header 4",
                                    "line 9, no RIN: is no RIN of a person of test.ged",
                                }));
    ASSERT_TRUE(applyInput(session, session.gedFile, planned, dir.file("t.txt")));
    EXPECT_EQ(test::readFile(path), "0 HEAD\n0 @P7@ INDI\n1 NAME A /One/\n1 OCCU Bauer\n0 @X@ INDI\n1 NAME B /Two/\n"
                                    "0 @I3@ INDI\n1 NAME C /Three/\n1 OCCU Schmied\n0 TRLR\n");
    const std::string preview = inputPreview(db, planned);
    EXPECT_EQ(preview.substr(0, preview.find("6 skipped:")),
              "RIN 7 One, A:\r\n  + 1 OCCU Bauer\r\nRIN 3 Three, C:\r\n  + 1 OCCU Schmied\r\n");
    // Each change is journalled.
    const std::string journal = test::readFile(dir.file("test.log"));
    EXPECT_NE(journal.find("rin 7: (new) -> 1 OCCU Bauer"), std::string::npos);
    EXPECT_NE(journal.find("rin 3: (new) -> 1 OCCU Schmied"), std::string::npos);
}

TEST_F(ExchangeTest, ValuesGoToTheLinesOfTheirColumnsOnly)
{
    const std::string file = "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 CHR\n2 DATE 1800\n1 DEAT\n2 SOUR @S1@\n3 NOTE alt\n"
                             "3 DATA\n4 DATE 1850\n2 AGE 45\n1 OCCU\n0 TRLR\n";
    ASSERT_TRUE(importText(file));
    const Rows rows = {{"RIN", "SURN", "GIVN", "1 CHR", "2 AGE", "1 DEAT", "2 NOTE", "2 DATE", "2 AGE", "2 SOUR", "3 NOTE",
                        "1 BURI", "2 DATE", "2 PLAC", "1 EDUC", "2 NOTE", "3 PAGE", "1 OCCU"},
                       {"1", "B", "A", "", "", "", "neu", "1851", "46", "", "anders", "", "1852", "Bonn", "", "", "S. 3", ""}};
    // The death's note and date go beneath the event, not in place of the
    // source's; the source's note is the one beneath it; a burial the record
    // lacks gets its line; a page without a note above it has no place.
    EXPECT_EQ(input(rows), "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 CHR\n2 DATE 1800\n1 DEAT\n2 SOUR @S1@\n3 NOTE anders\n"
                           "3 DATA\n4 DATE 1850\n2 AGE 46\n2 NOTE neu\n2 DATE 1851\n1 BURI\n2 DATE 1852\n2 PLAC Bonn\n1 OCCU\n"
                           "0 TRLR\n");
    EXPECT_EQ(skippedReasons(), std::vector<std::string>{"line 2, RIN 1, 3 PAGE: the record has no 2 NOTE line to put it under"});

    // A line break in a spreadsheet's cell is a blank in the line.
    const InputPlan broken = plan("RIN,SURN,GIVN,1 OCCU\r\n1,B,A,\"Bauer\r\nund Wirt\"\r\n");
    EXPECT_EQ(inputPreview(db, broken), "RIN 1 B, A:\r\n  1 OCCU -> 1 OCCU Bauer  und Wirt\r\n");

    // A cell holding the tag writes the bare line; a three-letter tag finds
    // its slot.
    const Rows bare = {{"RIN", "SURN", "GIVN", "1 CHR", "2 DATE", "1 DEAT"}, {"1", "B", "A", "Y", "1801", "DEAT"}};
    const std::string after = input(bare);
    EXPECT_NE(after.find("1 CHR Y\n2 DATE 1801\n1 DEAT\n"), std::string::npos) << after;
}

TEST_F(ExchangeTest, TheNameChangesOnlyWhereTheRowSaysSo)
{
    const std::string file = "0 HEAD\n0 @I1@ INDI\n1 NAME Mamie\n0 @I2@ INDI\n1 NAME John /Smith/ Jr\n2 GIVN John\n"
                             "2 SURN Smith\n0 @I3@ INDI\n1 NAME Eva /'t Hooft/\n0 @I4@ INDI\n1 SEX F\n0 TRLR\n";
    ASSERT_TRUE(importText(file));
    Rows rows = output("SEX");
    EXPECT_TRUE(plan(tableText(rows)).persons.empty()); // "Mamie" stays without slashes
    rows[2][2] = "Johnny";
    rows[3][2] = "Eve";
    rows[4][1] = "Roth";
    rows[1][1] = "A/B";
    EXPECT_EQ(input(rows), "0 HEAD\n0 @I1@ INDI\n1 NAME Mamie\n0 @I2@ INDI\n1 NAME Johnny /Smith/ Jr\n2 GIVN Johnny\n"
                           "2 SURN Smith\n0 @I3@ INDI\n1 NAME Eve /'t Hooft/\n0 @I4@ INDI\n1 NAME /Roth/\n1 SEX F\n0 TRLR\n");
    EXPECT_EQ(skippedReasons(),
              std::vector<std::string>{"line 2, RIN 1: a name holds \"/\", which GED keeps for the surname's bounds"});
}

TEST_F(ExchangeTest, NewLinesAreWrittenInTheFilesEncodingOrNotAtAll)
{
    const std::string file = "0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n";
    ASSERT_TRUE(importText(file));
    const Rows rows = {{"RIN", "SURN", "GIVN", "1 OCCU", "1 RELI"}, {"1", "B", "A", "Кузнец", "römisch"}};
    EXPECT_EQ(input(rows), "0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME A /B/\n1 RELI r\xE8omisch\n0 TRLR\n");
    EXPECT_EQ(skippedReasons(), std::vector<std::string>{"line 2, RIN 1, 1 OCCU: holds characters that ANSEL cannot hold"});

    // A Cyrillic value into a UTF-16 file, in UTF-16 with its CR LF.
    const std::string utf16 = test::crlf("0 HEAD\n1 CHAR UNICODE\n0 @I1@ INDI\n1 NAME A /B/\n0 TRLR\n");
    ASSERT_TRUE(importText(utf16, test::FileEncoding::utf16le));
    input(rows);
    EXPECT_EQ(test::readFile(path),
              test::encode(test::crlf("0 HEAD\n1 CHAR UNICODE\n0 @I1@ INDI\n1 NAME A /B/\n1 OCCU Кузнец\n1 RELI römisch\n0 TRLR\n"),
                           test::FileEncoding::utf16le));

    // A write that fails leaves the file as it was and says so.
    ASSERT_TRUE(importText("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 NOTE " + std::string(3000, 'x') + "\n0 TRLR\n"));
    const InputPlan planned = plan(tableText(rows));
    bool written = true;
    ui.errors.clear();
    test::withFileSizeLimit(fileBytes.size() + 10, [&] { written = applyInput(session, session.gedFile, planned, "t.txt"); });
    EXPECT_FALSE(written);
    EXPECT_EQ(ui.errors, std::vector<std::string>{"\r\nsave GED file failed:\r\n" + path + "\r\n(File too large)"});
    EXPECT_EQ(test::readFile(path), fileBytes);
}

TEST_F(ExchangeTest, TheCommandsSayWhyAFileCannotBeReadOrWritten)
{
    ASSERT_TRUE(importText(family));
    EXPECT_FALSE(outputToFileCommand(session, listView, dir.file("no/such/folder/t.txt"), defaultTemplate));
    EXPECT_EQ(ui.errors, std::vector<std::string>{dir.file("no/such/folder/t.txt") + " cannot be written: No such file or directory"});
    ui.errors.clear();
    EXPECT_FALSE(readInputTable(session, dir.file("missing.txt")));
    EXPECT_EQ(ui.errors, std::vector<std::string>{dir.file("missing.txt") + " cannot be read: No such file or directory"});
    ui.errors.clear();
    test::writeFile(dir.file("family.txt"), familyTable(session, session.gedFile, {1}, TableFormat::tabs));
    EXPECT_FALSE(readInputTable(session, dir.file("family.txt")));
    EXPECT_EQ(ui.errors, std::vector<std::string>{
                             "family.txt has no valid format for input\r\n(its first line does not begin with RIN, SURN and GIVN)"});
    // The tabs without output say so.
    ui.errors.clear();
    for (const int view : {branchesView, treeView, hourglassView, personView})
        EXPECT_FALSE(outputPossible(session, view));
    EXPECT_EQ(ui.errors, (std::vector<std::string>{"No Output to File possible for View 'Branches'!",
                                                   "No Output to File possible for View 'Tree'!",
                                                   "No output to file possible for this view !",
                                                   "No output to file possible for this view !"}));
}

TEST_F(ExchangeTest, InputFromFileShowsThePreviewAndReadsTheWrittenFileAgain)
{
    ASSERT_TRUE(importText(family));
    const std::string table = dir.file("list.csv");
    ASSERT_TRUE(outputToFileCommand(session, listView, table, defaultTemplate));
    EXPECT_EQ(ui.status[0], "list.csv output");
    std::string text = test::readFile(table);
    EXPECT_EQ(text.substr(0, 30), "\xEF\xBB\xBFRIN,SURN,GIVN,1 BIRT,2 DATE");
    text.replace(text.find("1 JAN 1900"), 10, "2 JAN 1900");
    test::writeFile(table, text);

    // An unexported change: the discard question comes first.
    editBirthOrDeath(3, formDeath, "1990");
    ui.answers = {true, false};
    EXPECT_FALSE(confirmInputFromFile(session));
    ASSERT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(ui.questions[0].title, "DATEN EINLESEN");
    EXPECT_EQ(ui.questions[1].title, "DISCARD CHANGES");

    // Cancel in the preview writes nothing.
    ui.inputAnswers = {false};
    EXPECT_FALSE(inputFromFileCommand(session, table));
    ASSERT_EQ(ui.inputPreviews.size(), 1u);
    EXPECT_EQ(ui.inputPreviews[0], "RIN 1 Berg, Hans:\r\n  2 DATE 1 JAN 1900 -> 2 DATE 2 JAN 1900\r\n");
    EXPECT_EQ(test::readFile(path), fileBytes);

    // Apply: the file changes, the data is read from it again.
    ui.inputAnswers = {true};
    EXPECT_TRUE(inputFromFileCommand(session, table));
    EXPECT_NE(test::readFile(path).find("2 DATE 2 JAN 1900"), std::string::npos);
    EXPECT_EQ(db.persons[1].birthDate, makeDate(1900, 1, 2));
    EXPECT_EQ(db.persons[3].deathDate, DateValue{0}); // the discarded edit is gone
    EXPECT_NE(report().find("list.csv input completed: 1 lines of 1 persons changed in test.ged"), std::string::npos);
    EXPECT_EQ(ui.shownViews.back(), reportView);
    // The same table once more changes nothing.
    EXPECT_FALSE(inputFromFileCommand(session, table));
    EXPECT_EQ(report(), "list.csv changes nothing in test.ged");
}

} // namespace
} // namespace kinmap
