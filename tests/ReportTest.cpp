#include "app/Session.h"
#include "base/ChangeJournal.h"
#include "base/Labels.h"

#include "ScriptedUi.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kinmap {
namespace {

std::string reportOf(const Session& s)
{
    return {s.report.text(), static_cast<size_t>(s.report.length())};
}

// A null text the compiler cannot see through.
[[gnu::noinline]] const char* nullText()
{
    return nullptr;
}

TEST(ReportBuffer, AFirstValueOfZeroOrNullAppendsNothing)
{
    ReportBuffer report;
    report.append("%d Persons", 0);
    report.append("%s", nullText());
    report.append("%s and %d", nullText(), 5);
    EXPECT_EQ(report.length(), 0);
    report.append("%d Persons %d Families", 3, 0);
    report.append("%s", "");
    report.append("%5.2f%%", 0.5);
    report.append("%c", 'x');
    report.append(" fixed");
    EXPECT_STREQ(report.text(), "3 Persons 0 Families 0.50%x fixed");
}

TEST(ReportBuffer, GrowsForEveryPieceAndStartsAfreshWhenCleared)
{
    ReportBuffer report;
    std::string expected;
    for (int i = 1; i <= 2000; ++i) { // (a first value of 0 would append nothing)
        report.append("line %d\r\n", i);
        expected += "line " + std::to_string(i) + "\r\n";
    }
    const std::string huge(250000, 'h');
    report.append("%s", huge.c_str());
    expected += huge;
    EXPECT_EQ(std::string(report.text(), static_cast<size_t>(report.length())), expected);
    report.clear();
    EXPECT_STREQ(report.text(), "");
    report.append("%s", "again");
    EXPECT_STREQ(report.text(), "again");
}

TEST(ReportBuffer, AZeroByteBecomesABlankAndLongPiecesArriveWhole)
{
    ReportBuffer report;
    report.append("with sex '%c' and more", 0);
    report.append("%d:%c.", 1, 0);
    EXPECT_EQ(report.length(), 4);
    EXPECT_STREQ(report.text(), "1: .");
    // Longer than the formatter's first buffer: every byte arrives.
    std::string piece;
    for (int i = 0; i < 300; ++i)
        piece += static_cast<char>('a' + i % 26) + std::string("ł");
    report.append("[%s|%c|%d]", piece.c_str(), 0, 42);
    EXPECT_EQ(std::string(report.text() + 4), "[" + piece + "| |42]");
}

class SessionTest : public ::testing::Test {
protected:
    int32_t person(const char* given, const char* surname, int born = 0, int died = 0)
    {
        const int32_t rin = s.db.addPerson();
        PersonRecord& p = s.db.persons[rin];
        p.given = given ? s.db.internText(givenPool, given) : nullptr;
        p.surname = surname ? s.db.internText(surnamePool, surname) : nullptr;
        if (born) {
            p.birthDate = makeDate(born);
            p.flags |= Flag::hasBirthDate;
        }
        if (died) {
            p.deathDate = makeDate(died);
            p.flags |= Flag::hasDeathDate;
        }
        return rin;
    }
    test::ScriptedUi ui;
    Session s{ui};
};

TEST_F(SessionTest, TheErrorBoxShowsItsTextAndKeepsTheReport)
{
    s.report.append("%s", "before");
    EXPECT_EQ(s.errorBox("Original GED file %s not found!", "x.ged"), 0);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "Original GED file x.ged not found!");
    // An unrelated message does not take the report of an import away.
    EXPECT_EQ(std::string(s.report.text()), "before");
    // A long text is cut, between two characters.
    std::string long2000 = "x";
    for (int i = 0; i < 1000; ++i)
        long2000 += "ł";
    s.errorBox("%s", long2000.c_str());
    EXPECT_EQ(ui.errors[1], long2000.substr(0, 999));
}

TEST_F(SessionTest, EntryAtReportsABadIndexAndUsesTheFirstEntry)
{
    IdList list;
    list.append(4);
    list.append(8);
    EXPECT_EQ(s.entryAt(list, 1), 8);
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(s.entryAt(list, 2), 4);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0], "Error: [2] 2");
    EXPECT_EQ(s.entryAt(IdList(), 0), 0);
}

TEST_F(SessionTest, PersonLabelPiecesFollowTheOptions)
{
    const int32_t john = person("John", "Smith", 1850, 1910);
    personLabel(s, nullptr, 0xE, john);
    EXPECT_EQ(reportOf(s), "[1] John Smith  1850-1910 ");

    s.report.clear();
    const int32_t buried = person("Ann", "Lee", 1850);
    s.db.persons[buried].burialDate = makeDate(1910);
    personLabel(s, "\r\n", 0xE, buried);
    EXPECT_EQ(reportOf(s), "\r\n[2] Ann Lee  1850-1910 ");

    s.report.clear();
    const int32_t dead = person("Bo", "Ek", 0, 1910);
    personLabel(s, nullptr, 0xE, dead);
    EXPECT_EQ(reportOf(s), "[3] Bo Ek  +1910 ");

    s.report.clear();
    const int32_t full = person("Eva", nullptr, 1850, 1910);
    s.db.persons[full].birthDate = makeDate(1850, 3, 12, aboutDate);
    s.db.persons[full].birthPlace = s.db.internText(placePool, "Berlin");
    s.db.persons[full].deathPlace = s.db.internText(placePool, "Wien");
    personLabel(s, nullptr, 0xDE, full);
    EXPECT_EQ(reportOf(s), "[4] Eva  * ABT 12 MAR 1850 Berlin + 1910 Wien\r\n");

    s.report.clear();
    const int32_t placeOnly = person(nullptr, "Roe");
    s.db.persons[placeOnly].chrisPlace = s.db.internText(placePool, "Ulm");
    personLabel(s, nullptr, 0x10 | 0x20, placeOnly);
    EXPECT_EQ(reportOf(s), "Roe ~ Ulm [5]");
}

TEST_F(SessionTest, RelativesAndFamilyLabels)
{
    const int32_t father = person("Hans", "Huber", 1800);
    const int32_t mother = person("Grete", "Huber", 1805);
    const int32_t son = person("Karl", "Huber", 1830);
    s.db.persons[mother].sex = 'F';
    const int32_t parents = s.db.addFamily();
    FamilyRecord& f = s.db.families[parents];
    f.husband = father;
    f.wife = mother;
    f.marrDate = makeDate(1828);
    s.db.appendLink(f.children, son);
    s.db.appendLink(s.db.persons[son].famc, parents);
    s.db.appendLink(s.db.persons[father].fams, parents);
    s.db.appendLink(s.db.persons[mother].fams, parents);

    relativesLabel(s, 0x1F, son);
    EXPECT_EQ(reportOf(s), "\r\n father: Hans Huber  mother: Grete Huber \r\n");
    s.report.clear();
    relativesLabel(s, 0x1F, father);
    EXPECT_EQ(reportOf(s), "\r\n &1828  spouse: Grete Huber \r\n");
    s.report.clear();
    const int32_t single = person("Solo", "X");
    relativesLabel(s, 0x1F, single);
    EXPECT_EQ(reportOf(s), "\r\n\r\n");
    s.report.clear();
    familyLabel(s, "\r\n", parents);
    EXPECT_EQ(reportOf(s), "\r\n Fam [1] Hans Huber - Grete Huber ");
}

TEST(ChangeJournal, WritesLineFeedsAsCarriageReturnLineFeedAndMovesOnlyItsOwnFile)
{
    test::TempDir dir;
    ChangeJournal journal;
    journal.setFolder(dir.path());
    journal.startNew();
    EXPECT_EQ(journal.workingPath(), ""); // nothing written yet
    journal.write("\n# kinmap! %s", "2.7.9");
    journal.write("RIN %d has duplicate FAMS %d: ignored\r\n", 3, 4);
    journal.write("%s", "100% verbatim\n");
    EXPECT_EQ(journal.workingPath(), dir.file("kinmap.log"));
    EXPECT_EQ(test::readFile(journal.workingPath()),
              "\r\n# kinmap! 2.7.9RIN 3 has duplicate FAMS 4: ignored\r\r\n100% verbatim\r\n");

    test::writeFile(dir.file("family.log"), "an older journal");
    EXPECT_EQ(journal.copyTo(dir.file("family.log")), dir.file("family-2.log"));
    EXPECT_EQ(journal.moveTo(dir.file("family.log")), dir.file("family-3.log"));
    EXPECT_EQ(test::readFile(dir.file("family.log")), "an older journal");
    EXPECT_EQ(test::readFile(dir.file("family-2.log")), test::readFile(dir.file("family-3.log")));
    EXPECT_FALSE(test::fileExists(dir.file("kinmap.log")));
    journal.write("%s", "next");
    EXPECT_EQ(test::readFile(dir.file("kinmap.log")), "next");
    journal.discardOwn();
    EXPECT_FALSE(test::fileExists(dir.file("kinmap.log")));
    EXPECT_EQ(journal.moveTo(dir.file("x.log")), ""); // no journal: nothing to move
}

TEST(ChangeJournal, MovesToAnotherFileSystem)
{
    test::TempDir dir;
    char shared[] = "/dev/shm/kinmap-test-XXXXXX";
    struct stat here {}, there {};
    if (!mkdtemp(shared))
        GTEST_SKIP() << "no /dev/shm";
    const std::string target = std::string(shared) + "/family.log";
    stat(dir.path().c_str(), &here);
    stat(shared, &there);
    ChangeJournal journal;
    journal.setFolder(dir.path());
    journal.startNew();
    journal.write("%s", "kept");
    std::string failure;
    journal.onFailure = [&](const std::string& message) { failure = message; };
    const std::string moved = journal.moveTo(target);
    const std::string text = test::readFile(target);
    std::remove(target.c_str());
    rmdir(shared);
    if (here.st_dev == there.st_dev)
        GTEST_SKIP() << "/dev/shm is on the same file system";
    EXPECT_EQ(failure, "");
    EXPECT_EQ(moved, target);
    EXPECT_EQ(text, "kept");
    EXPECT_FALSE(test::fileExists(dir.file("kinmap.log")));
}

TEST(ChangeJournal, StampHasTheFixedShape)
{
    std::tm t{};
    t.tm_wday = 6;
    t.tm_mon = 11;
    t.tm_mday = 5;
    t.tm_year = 2026 - 1900;
    t.tm_hour = 14;
    t.tm_min = 7;
    EXPECT_EQ(journalStamp(t), "Sa Dec  5 2026 14:07\r\n");
}

} // namespace
} // namespace kinmap
