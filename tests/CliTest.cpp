// kinmap-cli run as a program, as scripts and the benchmark use it.
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <sys/wait.h>

namespace kinmap {
namespace {

struct CliRun {
    int status = -1;
    std::string out, err;
};

CliRun runCli(const std::string& arguments, const test::TempDir& dir)
{
    const std::string errPath = dir.file("stderr.txt");
    // The run's working journal is kept in the state folder inside the test's.
    const std::string command =
        "XDG_STATE_HOME=" + dir.file("state") + " " + std::string(KINMAP_CLI_PATH) + " " + arguments + " 2>" + errPath;
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    std::array<char, 4096> chunk;
    for (size_t n; (n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0;)
        run.out.append(chunk.data(), n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = test::readFile(errPath);
    // The import's wall-clock seconds: 1 when a run crosses a second.
    static const std::regex seconds(R"(loaded in \d+ sec)");
    run.out = std::regex_replace(run.out, seconds, "loaded in 0 sec");
    return run;
}

const std::string sample = "0 HEAD\n0 @I1@ INDI\n1 NAME Jörg /Grüß/\n1 SEX M\n0 @I2@ INDI\n1 NAME Иван /Łoś/\n0 TRLR\n";

TEST(Cli, PrintsTheReportInUtf8OrRaw)
{
    test::TempDir dir;
    const std::string ged = dir.file("a.ged");
    test::writeFile(ged, sample);
    const CliRun utf8 = runCli("import " + ged + " --dump --verbose", dir);
    EXPECT_EQ(utf8.status, 0);
    EXPECT_EQ(utf8.err, "read as UTF-8 (valid UTF-8)\n");
    const std::string dumpEnd = "\tbirt=-|00000000\tchr=-|00000000\tdeat=-|00000000\tburi=-|00000000\tbirtplac=<null>"
                                "\tchrplac=<null>\tdeatplac=<null>\tburiplac=<null>\tfams=\tfamc=\toffset=";
    EXPECT_EQ(utf8.out, "2 Persons 0 Families imported\r\na.ged loaded in 0 sec"
                        "\n==== dump ====\n"
                        "I1\tflags=8003\tsex=M\tgiven=Jörg\tsurname=Grüß" + dumpEnd + "19\n"
                        "I2\tflags=8003\tsex=\\x00\tgiven=Иван\tsurname=Łoś" + dumpEnd + "61\n"
                        "highestRin=2 highestMrin=0 personCount=2 familyCount=0 highestSourceNumber=0\n");
    // Latin-1, with "?" for each character outside it.
    const CliRun raw = runCli("import " + ged + " --raw --dump", dir);
    EXPECT_NE(raw.out.find("given=J\xF6rg\tsurname=Gr\xFC\xDF\t"), std::string::npos);
    EXPECT_NE(raw.out.find("given=????\tsurname=?o?\t"), std::string::npos);
    // A run that wrote no GED file leaves no journal, beside the input or in
    // the state folder; a read-only folder is no error.
    EXPECT_FALSE(test::fileExists(dir.file("kinmap.log")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("state/kinmap")));
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    const CliRun readOnly = runCli("import " + ged, dir);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
    EXPECT_EQ(readOnly.status, 0);
    EXPECT_EQ(readOnly.err, "");
}

TEST(Cli, ExportsTheSelectedPersons)
{
    test::TempDir dir;
    const std::string in = dir.file("in.ged");
    test::writeFile(in, "0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n0 @I2@ INDI\n1 NAME C /D/\n0 TRLR\n");
    const CliRun one = runCli("export " + in + " " + dir.file("one.ged") + " --select 2", dir);
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out, "2 Persons 0 Families imported\r\nin.ged loaded in 0 sec\none.ged exportiert\n");
    EXPECT_EQ(test::readFile(dir.file("one.ged")), "0 HEAD\n0 @I2@ INDI\n1 NAME C /D/\n0 TRLR\n");
    EXPECT_TRUE(test::fileExists(dir.file("one.log"))); // the journal goes beside the written file
    EXPECT_TRUE(std::filesystem::is_empty(dir.file("state/kinmap")));

    EXPECT_EQ(runCli("export " + in + " " + dir.file("all.ged"), dir).status, 0);
    EXPECT_EQ(test::readFile(dir.file("all.ged")), test::readFile(in));
    EXPECT_EQ(runCli("export " + in + " " + dir.file("bad.ged") + " --select 1,9", dir).status, 2);
    EXPECT_FALSE(test::fileExists(dir.file("bad.ged")));
}

TEST(Cli, DuplicatesMergesOrListsAndSoundexCodes)
{
    test::TempDir dir;
    const std::string in = dir.file("in.ged");
    test::writeFile(in, "0 HEAD\n"
                        "0 @I1@ INDI\n1 NAME Hans /Schmidt/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMS @F1@\n"
                        "0 @I2@ INDI\n1 NAME Hans /Schmitt/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMC @F1@\n"
                        "0 @I3@ INDI\n1 NAME Hans /Schmitt/\n1 SEX M\n1 BIRT\n2 DATE 1850\n"
                        "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n"
                        "0 TRLR\n");
    // Automatic (the default options): the merge journal entry.
    const CliRun merged = runCli("duplicates " + in + " --out " + dir.file("out.ged"), dir);
    EXPECT_EQ(merged.status, 0) << merged.err;
    EXPECT_EQ(merged.out, "\n- Merge:  Automatic - Persons - Exact - Same date\n"
                          "\r\n[2] Hans Schmitt  * 1850  father: Hans Schmidt \r\n"
                          "[3] Hans Schmitt  * 1850 \r\nmerged\r\n\n1 mergers\n");
    EXPECT_EQ(test::readFile(dir.file("out.ged")), "0 HEAD\n"
                                                   "0 @I1@ INDI\n1 NAME Hans /Schmidt/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMS @F1@\n"
                                                   "0 @I2@ INDI\n1 NAME Hans /Schmitt/\n1 SEX M\n1 BIRT\n2 DATE 1850\n1 FAMC @F1@\n"
                                                   "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n"
                                                   "0 TRLR\n");
    // Semiautomatic under Soundex: the list writer; father and son stay apart.
    const CliRun listed = runCli("duplicates " + in + " --options 141", dir);
    EXPECT_EQ(listed.out, "1\r\n[1] Hans Schmidt  * 1850 \r\n\r\n==\r\n[3] Hans Schmitt  * 1850 \r\n\r\n\r\n"
                          "2\r\n[2] Hans Schmitt  * 1850 \r\n father: Hans Schmidt \r\n==\r\n"
                          "[3] Hans Schmitt  * 1850 \r\n\r\n\r\n");
    // Same spouse: nobody has one.
    EXPECT_EQ(runCli("duplicates " + in + " --options 147 --dump", dir).out.substr(0, 36),
              "\r\nNo duplicates found\n==== dump ====");
    EXPECT_EQ(runCli("duplicates " + in + " --options 9", dir).status, 2); // manual needs the window
    EXPECT_EQ(runCli("duplicates " + in + " --options 201", dir).status, 2); // both modes: which one?
    EXPECT_EQ(runCli("soundex Schmidt Lee", dir).out, "S253\t375\nL\t6\n");
}

TEST(Cli, CheckPrintsItsJournalTextAndKeepsItsCorrections)
{
    test::TempDir dir;
    const std::string in = dir.file("in.ged");
    test::writeFile(in, "0 HEAD\n"
                        "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 BIRT\n2 DATE 1900\n1 FAMS @F1@\n"
                        "0 @I2@ INDI\n1 NAME Eva /Berg/\n1 SEX F\n1 BIRT\n2 DATE BEF 1900\n1 CHR\n2 DATE 1850\n1 FAMS @F1@\n"
                        "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1906\n"
                        "0 TRLR\n");
    // The husband's minimum age 7; an empty field keeps its default.
    const CliRun run = runCli("check " + in + " --ignore 0 --ages 7,,,95 --out " + dir.file("out.ged"), dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "\n- Error check:\n"
                       "RIN=    1          husband too young: with 6 years Hans Berg  *1900 seems too young to marry in 1906\n"
                       "RIN=    2           superfluous date: superfluous birth date BEF 1900 (deleted)\n"
                       "2 errors found, 1 corrected\n");
    EXPECT_EQ(test::readFile(dir.file("out.ged")), "0 HEAD\n"
                                                   "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 BIRT\n2 DATE 1900\n1 FAMS @F1@\n"
                                                   "0 @I2@ INDI\n1 NAME Eva /Berg/\n1 SEX F\n1 BIRT\n1 CHR\n2 DATE 1850\n1 FAMS @F1@\n"
                                                   "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 MARR\n2 DATE 1906\n"
                                                   "0 TRLR\n");
    EXPECT_EQ(runCli("check " + in + " --ignore x", dir).status, 2);
    // An age that is none is refused, not passed over.
    for (const char* ages : {"7,x", "-5", "7,1000"})
        EXPECT_EQ(runCli("check " + in + " --ages " + ages, dir).status, 2) << ages;
}

TEST(Cli, EditAppliesAScriptAndKeepsItsChanges)
{
    test::TempDir dir;
    const std::string in = dir.file("in.ged");
    test::writeFile(in, "0 HEAD\n0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n0 @I2@ INDI\n1 NAME Kurt /Berg/\n1 SEX M\n0 TRLR\n");
    test::writeFile(dir.file("edits.txt"), "# a family\n"
                                           "new F Eva / Roth\n"
                                           "spouse 1 3\n"
                                           "child 1 2\n"
                                           "set 1 birth-date 12.3.1850\n"
                                           "set 1 marriage-date abt 1875\n"
                                           "set 1 death-date 31.2.1900\n"
                                           "father 9 1\n"
                                           "\n"
                                           "set 2 given Konrad\n"
                                           "undo extra\n"
                                           "undo\n");
    const CliRun run = runCli("edit " + in + " --script " + dir.file("edits.txt") + " --out " + dir.file("out.ged"), dir);
    EXPECT_EQ(run.status, 1); // three edits were refused
    EXPECT_EQ(run.out, "2 Persons 0 Families imported\r\nin.ged loaded in 0 sec\n"
                       "RIN 3\nNew Person\n[3] Eva Roth \r\n"
                       "New FAMS mrin 1 for [1] Hans Berg \r\nSpouse added to rin 3, mrin 1\n[3] Eva Roth \r\n"
                       "Child added to mrin 1\n[2] Kurt Berg \r\n"
                       "Person edited\n[1] Hans Berg  * 12 MAR 1850 \r\n"
                       "Person edited\n[1] Hans Berg  * 12 MAR 1850 \r\n"
                       "Person edited\n[2] Konrad Berg \r\n"
                       "\nUndone: Edit person\nPerson edited\n[2] Konrad Berg \r\n");
    EXPECT_NE(run.err.find("line 7: set 1 death-date 31.2.1900: The death date '31.2.1900': A day, month or year of this date is out of range."),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("ERROR: There is no person with RIN 9."), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("line 11: undo extra: undo takes nothing after it"), std::string::npos) << run.err;
    EXPECT_EQ(test::readFile(dir.file("out.ged")), "0 HEAD\n"
                                                   "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 BIRT\n2 DATE 12 MAR 1850\n1 FAMS @F1@\n"
                                                   "0 @I2@ INDI\n1 NAME Kurt /Berg/\n1 SEX M\n1 FAMC @F1@\n"
                                                   "0 @I3@ INDI\n1 NAME Eva /Roth/\n1 SEX F\n1 FAMS @F1@\n"
                                                   "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n1 CHIL @I2@\n1 MARR\n2 DATE ABT 1875\n"
                                                   "0 TRLR\n");
}

TEST(Cli, EditMovesAChildToOtherParents)
{
    test::TempDir dir;
    const std::string in = dir.file("in.ged");
    test::writeFile(in, "0 HEAD\n0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n1 FAMS @F1@\n"
                        "0 @I2@ INDI\n1 NAME Kurt /Berg/\n1 SEX M\n1 FAMC @F1@\n"
                        "0 @I3@ INDI\n1 NAME Otto /Lenz/\n1 SEX M\n1 FAMS @F2@\n"
                        "0 @I4@ INDI\n1 NAME Ida /Lenz/\n1 SEX F\n1 FAMC @F2@\n"
                        "0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n0 @F2@ FAM\n1 HUSB @I3@\n1 CHIL @I4@\n0 TRLR\n");
    test::writeFile(dir.file("edits.txt"), "other-parents 4 1\nother-parents 4 1\nother-parents 4 9\n");
    const CliRun run = runCli("edit " + in + " --script " + dir.file("edits.txt") + " --out " + dir.file("out.ged"), dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "4 Persons 2 Families imported\r\nin.ged loaded in 0 sec\n"
                       "Child unlinked from mrin 2\n[4] Ida Lenz \r\nmrin 2 gel\xC3\xB6scht\n"
                       "Other Parents for rin=4, mrin=1\n[4] Ida Lenz \r\n");
    EXPECT_NE(run.err.find("ERROR: Ida Lenz [4] is a child of MRIN 1 already\nline 2: other-parents 4 1: refused"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("ERROR: MRIN 9 is no family\nline 3"), std::string::npos) << run.err;
    EXPECT_NE(test::readFile(dir.file("out.ged")).find("0 @F1@ FAM\n1 HUSB @I1@\n1 CHIL @I2@\n1 CHIL @I4@\n"),
              std::string::npos);
}

TEST(Cli, SourcesAreListedAndCitedInTheFileItself)
{
    test::TempDir dir;
    const std::string in = dir.file("in.ged");
    const std::string text = "0 HEAD\n0 @S1@ SOUR\n1 TITL Kirchenbuch\n2 CONT Band 2\n1 AUTH Pfarrer\n"
                             "0 @I1@ INDI\n1 NAME Hans /Berg/\n1 CHAN\n2 DATE 1 JAN 2000\n0 @I2@ INDI\n1 NAME Eva /Roth/\n0 TRLR\n";
    test::writeFile(in, text);
    EXPECT_EQ(runCli("sources " + in, dir).out, "@S1@\tKirchenbuch Band 2\tPfarrer\n");
    EXPECT_EQ(runCli("sources " + in + " --details 1", dir).out, "SOUR: @S1@\r\nTITL: Kirchenbuch\r\nBand 2\r\nAUTH: Pfarrer\r\n");
    EXPECT_EQ(runCli("sources " + in + " --details 9", dir).status, 1);

    const CliRun run = runCli("auto-source " + in + " --source @S1@ --select 1", dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("1 SOUR @S1@ added to rin 1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 SOUR @S1@ added to 1 persons in in.ged"), std::string::npos) << run.out;
    std::string expected = text;
    expected.insert(expected.find("1 CHAN"), "1 SOUR @S1@\n");
    EXPECT_EQ(test::readFile(in), expected);
    EXPECT_EQ(test::readFile(dir.file("in.bak")), text);
}

TEST(Cli, OutputWritesATableThatInputWritesBack)
{
    test::TempDir dir;
    const std::string in = dir.file("in.ged");
    const std::string text = "0 HEAD\n0 @I1@ INDI\n1 NAME Hans /Berg/\n1 OCCU Bauer\n0 @I2@ INDI\n1 NAME Eva /Roth/\n"
                             "0 @I3@ INDI\n1 NAME Kurt /Alt/\n0 TRLR\n";
    test::writeFile(in, text);
    // The selected persons as a click on Givn sorts them (from Z), as CSV.
    const std::string table = dir.file("t.csv");
    const CliRun output = runCli("output " + in + " --template occu --select 1,2 --sort GIVN --out " + table, dir);
    EXPECT_EQ(output.status, 0) << output.err;
    EXPECT_EQ(test::readFile(table), "\xEF\xBB\xBFRIN,SURN,GIVN,1 OCCU\r\n1,Berg,Hans,Bauer\r\n2,Roth,Eva,\r\n");
    EXPECT_EQ(runCli("output " + in + " --family", dir).out.substr(0, 21), "\xEF\xBB\xBFRIN\tNAME\tBIRTH\tIN\t");
    EXPECT_EQ(runCli("output " + in + " --sort nothing", dir).status, 2);
    EXPECT_EQ(runCli("output " + in + " --template \"\" --sort givn:desc", dir).out,
              "\xEF\xBB\xBFRIN\tSURN\tGIVN\r\n2\tRoth\tEva\r\n1\tBerg\tHans\r\n3\tAlt\tKurt\r\n");

    test::writeFile(table, "RIN,SURN,GIVN,1 OCCU\r\n2,Roth,Eva,Magd\r\n1,Berg,Hans,Bauer\r\n");
    const CliRun dryRun = runCli("input " + in + " " + table + " --dry-run", dir);
    EXPECT_EQ(dryRun.status, 0) << dryRun.err;
    EXPECT_EQ(dryRun.out, "RIN 2 Roth, Eva:\r\n  + 1 OCCU Magd\r\n");
    EXPECT_EQ(test::readFile(in), text);
    const CliRun input = runCli("input " + in + " " + table, dir);
    EXPECT_EQ(input.status, 0) << input.err;
    EXPECT_NE(test::readFile(dir.file("in.log")).find("rin 2: (new) -> 1 OCCU Magd\r\n"), std::string::npos);
    EXPECT_NE(input.out.find("t.csv input completed: 1 lines of 1 persons changed in in.ged"), std::string::npos) << input.out;
    std::string expected = text;
    expected.insert(expected.find("0 @I3@"), "1 OCCU Magd\n");
    EXPECT_EQ(test::readFile(in), expected);
    EXPECT_EQ(test::readFile(dir.file("in.bak")), text);
    // A table that is none changes nothing and fails.
    test::writeFile(table, "RIN;NAME\n1;x\n");
    const CliRun refused = runCli("input " + in + " " + table, dir);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("t.csv has no valid format for input"), std::string::npos) << refused.err;
}

TEST(Cli, AnExportNeverWritesQuestionMarksUnasked)
{
    test::TempDir dir;
    const std::string in = dir.file("in.ged");
    test::writeFile(in, "0 HEAD\n1 CHAR ANSI\n0 @I1@ INDI\n1 NAME Hans /Berg/\n1 SEX M\n0 TRLR\n");
    test::writeFile(dir.file("edits.txt"), "set 1 surname Щерба\n");
    const std::string edit = "edit " + in + " --script " + dir.file("edits.txt") + " --out " + dir.file("out.ged");
    const CliRun refused = runCli(edit, dir);
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("cannot hold"), std::string::npos) << refused.err;
    EXPECT_FALSE(test::fileExists(dir.file("out.ged")));

    const CliRun utf8 = runCli(edit + " --encoding utf-8", dir);
    EXPECT_EQ(utf8.status, 0) << utf8.err;
    EXPECT_EQ(test::readFile(dir.file("out.ged")), "0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME Hans /Щерба/\n1 SEX M\n0 TRLR\n");

    const CliRun lossy = runCli(edit + " --lossy", dir);
    EXPECT_EQ(lossy.status, 0) << lossy.err;
    EXPECT_EQ(test::readFile(dir.file("out.ged")), "0 HEAD\n1 CHAR ANSI\n0 @I1@ INDI\n1 NAME Hans /" "?????" "/\n1 SEX M\n0 TRLR\n");
}

TEST(Cli, QueryCommandsPrintWhatTheReportShows)
{
    test::TempDir dir;
    const std::string in = dir.file("in.ged");
    test::writeFile(in, "0 HEAD\n1 CHAR UTF-8\n"
                        "0 @I1@ INDI\n1 NAME Jörg /Grüß/\n1 SEX M\n1 BIRT\n2 DATE 1850\n2 PLAC Köln\n1 FAMS @F1@\n"
                        "0 @I2@ INDI\n1 NAME Иван /Łoś/\n1 SEX F\n1 FAMS @F1@\n"
                        "0 @I3@ INDI\n1 NAME Kid /Grüß/\n1 SEX M\n1 BIRT\n2 DATE 1880\n2 PLAC Kölln\n1 FAMC @F1@\n"
                        "0 @I4@ INDI\n1 NAME Solo /Grüß/\n1 SEX M\n"
                        "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n1 MARR\n2 DATE 1875\n2 PLAC Köln\n0 TRLR\n");
    // Only what the command leaves in the report: not the import's.
    auto run = [&](const std::string& arguments) {
        const CliRun result = runCli(arguments, dir);
        EXPECT_EQ(result.status, 0) << arguments << result.err;
        return result.out;
    };
    EXPECT_EQ(run("islands " + in), "Island\tPersons\tFamilies\tRIN\t(1st person)\r\n"
                                    "    1\t       3\t       1\t1\tJörg Grüß\r\n    2\t       1\t       0\t4\tSolo Grüß\r\n");
    EXPECT_EQ(run("relationship " + in + " 3 2"), "     2 \tИван Łoś 0 () \r\n     3 Son: Kid Grüß 1880 (Kölln)\r\n"
                                                  "\r\nKid Grüß is a son of Иван Łoś.\r\n");
    EXPECT_EQ(run("count surname " + in + " --select 2,3 --selection"),
              "\r\nCount\tSurname\r\n     1\tŁoś\r\n     1\tGrüß\r\n\r\n     2 \tTotal ");
    EXPECT_EQ(run("count events " + in + " --place Köln --period 25"),
              "\r\nPeriod\tEvents\tBirth\tChris\tDeath\tBurial\tMarriage"
              "\r\n  1850\t     1\t     1\t     0\t     0\t     0\t     0"
              "\r\n  1875\t     1\t     0\t     0\t     0\t     0\t     1\r\n\r\n     2 \tTotal ");
    EXPECT_EQ(run("search marriages " + in + " --place kö --from 1875 --to 1875"),
              "\r\nMarriages in kö...1875 - 1875\r\n\r\n& 1875       \t     1\tJörg Grüß + Иван Łoś "
              "\r\n\r\nTotal of      1 \tmarriages ");
    EXPECT_EQ(run("replace " + in + " --find Köln --by Cologne --kind 'All Places' --out " + dir.file("out.ged")),
              "Köln \treplaced in RIN 1 by \tCologne\r\nKöln \treplaced in MRIN 1 by \tCologne\r\n2 replacements\r\n");
    const std::string written = test::readFile(dir.file("out.ged"));
    EXPECT_NE(written.find("2 PLAC Cologne\n1 FAMS @F1@"), std::string::npos);
    EXPECT_NE(written.find("2 PLAC Kölln\n"), std::string::npos);
    // --raw prints Latin-1.
    EXPECT_EQ(run("count given " + in + " --filter Jö --raw"),
              "\r\nCount\tGiven name\r\n     1\tJ\xF6rg\r\n\r\n     1 \tTotal ");

    // The views as text: the person's pedigree as Output to File writes
    // it, its surname's branches indented, the status texts on stderr; a
    // RIN that is nobody moves on to the next person, as the tabs do.
    const CliRun pedigree = runCli("pedigree " + in + " 3", dir);
    EXPECT_EQ(pedigree.out, "Line\tup\tdown\tRIN\tGen/Nr\tName\tBirth\tDeath\tMarriage\tImplex\n"
                            "1\t\t2 \t3\t1_1\tGrüß Kid\t1880\t\t\t\r\n"
                            "2\t1\t\t1\t2_1\tGrüß Jörg\t1850\t\t1875\t\r\n"
                            "3\t1\t\t2\t2_2\tŁoś Иван\t\t\t1875\t\r\n");
    EXPECT_EQ(pedigree.err, "RIN: 3\n3 Persons in 2 Generations\nRIN: 3\n");
    const CliRun branches = runCli("branches " + in + " 0 --raw", dir);
    EXPECT_EQ(branches.out, "Gr\xFC\xDF\n  === Branch 1 === (K\xF6ln - 1850)\n    [1] J\xF6rg Gr\xFC\xDF & [2] ???? ?o? \n"
                            "      [3] Kid Gr\xFC\xDF \n  ( 3 persons)\n  === Branch 2 === (0)\n    [4] Solo Gr\xFC\xDF \n"
                            "  ( 1 persons)\n");
    EXPECT_EQ(branches.err, "RIN: 1\nNAME: Gr\xFC\xDF\n2 branches\nRIN: 1\n");
    EXPECT_EQ(runCli("pedigree " + in + " x", dir).status, 1);

    EXPECT_EQ(runCli("relationship " + in + " 3 9", dir).status, 1);
    EXPECT_EQ(runCli("search births " + in, dir).status, 1);
    EXPECT_EQ(runCli("replace " + in + " --find a --by b --kind 8", dir).status, 1);
    EXPECT_EQ(runCli("count names " + in, dir).status, 2);
}

TEST(Cli, ReportsErrorsOnStderrWithFailureStatus)
{
    test::TempDir dir;
    const CliRun missing = runCli("import " + dir.file("none.ged"), dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "ERROR: Original GED file " + dir.file("none.ged") + " not found!\n");
    const CliRun empty = runCli("import " + [&] { test::writeFile(dir.file("empty.ged"), ""); return dir.file("empty.ged"); }(), dir);
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "ERROR: \r\nLoading of GED file empty.ged not possible: empty file.\r\nPlease import another GED file\n");
    const CliRun txt = runCli("import " + dir.file("data.txt"), dir);
    EXPECT_EQ(txt.status, 1);
    EXPECT_EQ(txt.err, "ERROR: \r\nFile " + dir.file("data.txt") + " has not extension .ged\n");
    EXPECT_EQ(runCli("frobnicate", dir).status, 2);
    EXPECT_EQ(runCli("import a.ged --bogus", dir).status, 2);
}

} // namespace
} // namespace kinmap
