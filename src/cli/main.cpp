// kinmap-cli: the batch operations of kinmap without a window.
#include "EditScript.h"
#include "QueryCommands.h"
#include "TableCommands.h"
#include "TerminalUi.h"
#include "app/ExtrasCommands.h"
#include "app/FileCommands.h"
#include "app/Session.h"
#include "app/Shell.h"
#include "app/SourceCommands.h"
#include "ged/Sources.h"
#include "check/NameMatching.h"
#include "db/Numbers.h"
#include "views/DatabaseDump.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

const char* const usage =
    "usage: kinmap-cli import FILE [--raw] [--dump] [--verbose]\n"
    "       kinmap-cli export IN OUT [--select all|RIN,RIN,...] [--raw]\n"
    "       kinmap-cli duplicates FILE [--options N] [--out OUT] [--dump] [--raw]\n"
    "       kinmap-cli check FILE [--ignore FLAGS] [--ages A,B,C,D,E,F,G,H] [--out OUT] [--dump] [--raw]\n"
    "       kinmap-cli edit FILE --script EDITS [--out OUT] [--dump] [--raw]\n"
    "       kinmap-cli islands FILE [--select all|RIN,...] [--dump] [--raw]\n"
    "       kinmap-cli relationship FILE RIN-A RIN-B [--dump] [--raw]\n"
    "       kinmap-cli pedigree FILE RIN [--raw]\n"
    "       kinmap-cli branches FILE RIN [--raw]\n"
    "       kinmap-cli count given|surname|place FILE [--filter TEXT] [--selection] [--select ...]\n"
    "       kinmap-cli count events FILE [--place TEXT] [--period YEARS] [--selection] [--select ...]\n"
    "       kinmap-cli search births|deaths|marriages FILE [--place TEXT] [--from YEAR] [--to YEAR]\n"
    "       kinmap-cli replace FILE --find TEXT --by TEXT --kind K [--out OUT] [--dump] [--raw]\n"
    "       kinmap-cli sources FILE [--details ID] [--raw]\n"
    "       kinmap-cli auto-source FILE --source TEXT --select all|RIN,... [--raw]\n"
    "       kinmap-cli output FILE [--template TEXT] [--family] [--pedigree RIN] [--select all|RIN,...]\n"
    "                  [--sort COLUMN[:desc]] [--csv] [--out TABLE]\n"
    "       kinmap-cli input FILE TABLE [--dry-run] [--raw]\n"
    "       kinmap-cli soundex TEXT...\n"
    "  import    reads FILE, repairs its links and prints the report\n"
    "  --dump    then prints every person and family, one line each\n"
    "  --verbose tells on stderr which encoding FILE was read in, and why\n"
    "  export    reads IN and writes the selected persons (all by default) with\n"
    "            their families to OUT, backing up an existing OUT\n"
    "  duplicates reads FILE and searches it for duplicate persons with the option\n"
    "            bits N of the Duplicates dialog (default 75: persons, exact spelling,\n"
    "            same date, automatic); prints the merge journal entry (automatic) or\n"
    "            the list of pairs found (semiautomatic); --out then exports every\n"
    "            person to OUT\n"
    "  check     reads FILE, runs Find Errors and prints what it journals: a line\n"
    "            per finding and the count; FLAGS are the rule groups left out (1 born\n"
    "            too late, 2 born too early, 4 dates, 8 names, 16 spouse conflict, 32\n"
    "            birth dates, 64 other name), the ages those of the dialog in its order;\n"
    "            --out then exports every person to OUT\n"
    "  edit      reads FILE and applies the edits of the file EDITS, one a line:\n"
    "            set RIN FIELD VALUE (given, surname, sex, birth-date, birth-place,\n"
    "            christening-..., death-..., burial-..., marriage-date, marriage-place,\n"
    "            divorced), new M|F GIVEN / SURNAME, spouse|child|father|mother RIN\n"
    "            OTHER, other-parents RIN MRIN, unlink-spouse RIN, unlink-parents RIN,\n"
    "            delete RIN, undo, redo;\n"
    "            prints the journal lines of each; --out then exports every person\n"
    "  islands   prints the islands (persons linked by families), largest first\n"
    "  relationship prints the chain of links from A (current) to B (previous)\n"
    "  pedigree  prints the ancestor table of RIN as Output to File writes it;\n"
    "            the status texts go to stderr\n"
    "  branches  prints the branches of the surname of RIN as indented text, two\n"
    "            blanks a level; the status texts go to stderr\n"
    "  count     prints how often each given name, surname or place occurs, or\n"
    "            the events per place or per period of YEARS; --selection counts\n"
    "            only the persons selected with --select\n"
    "  search    prints the births, deaths or marriages at a place (its beginning,\n"
    "            any case) between two years, earliest first\n"
    "  replace   replaces the first TEXT in the fields of kind K (0 Given, 1 Surname,\n"
    "            2 All Places, 3 Birth, 4 Chris, 5 Death, 6 Burial, 7 Marriage Places);\n"
    "            an empty --by only lists; --out then exports every person to OUT\n"
    "  sources   prints the SOUR records of FILE (identifier, title, author), or\n"
    "            with --details the texts of one (its identifier or number)\n"
    "  auto-source adds \"1 SOUR TEXT\" to the records of the selected persons in\n"
    "            FILE itself (a backup first) and prints the journal lines\n"
    "  output    writes the List (the selected persons with --select) as Output to\n"
    "            File does, with the columns of the template (default \"BIRT DATE SOUR\n"
    "            PAGE ...\"), or the Family tab's table, or the pedigree of RIN; in the\n"
    "            order a click on a List column's header gives (RIN, Surn, Givn, Born,\n"
    "            ...: texts from Z, years from the earliest), reversed by :desc as by\n"
    "            a second click; to TABLE (commas for .csv or --csv) or to stdout\n"
    "  input     writes the changes of TABLE (written by output, edited in a\n"
    "            spreadsheet) into FILE itself (a backup first) and prints them;\n"
    "            --dry-run prints them only\n"
    "  soundex   prints the Soundex code and the name key of each TEXT\n"
    "  --raw     writes texts as Latin-1 (\"?\" for other characters) instead of UTF-8\n"
    "  --timing  prints the seconds each step took on stderr\n"
    "  --encoding utf-8  writes OUT in UTF-8 when changed lines hold characters that\n"
    "            the file's encoding cannot hold (without it, or --lossy, nothing is\n"
    "            written then and the exit status is 1)\n"
    "  --lossy   writes such characters as \"?\" and lists their lines\n";

// Selects the persons of a --select value; false when it is not valid.
bool select(kinmap::Session& session, const std::string& which)
{
    kinmap::Database& db = session.db;
    std::vector<int32_t> rins;
    if (which == "all") {
        for (int32_t rin = 1; rin <= db.highestRin; ++rin)
            if (db.isPerson(rin))
                rins.push_back(rin);
    } else {
        size_t start = 0;
        while (start <= which.size()) {
            const size_t comma = std::min(which.find(',', start), which.size());
            const std::string number = which.substr(start, comma - start);
            size_t digits = 0;
            const int32_t rin = kinmap::leadingNumber(number, &digits);
            if (number.empty() || digits != number.size() || !db.isPerson(rin))
                return false;
            rins.push_back(rin);
            start = comma + 1;
        }
    }
    for (const int32_t rin : rins)
        kinmap::markPerson(session, rin, true);
    return true;
}

void print(const kinmap::TerminalUi& ui, const std::string& text)
{
    const std::string out = ui.forTerminal(text);
    fwrite(out.data(), 1, out.size(), stdout);
}

// The end of a run: its working journal goes, unless it could not be put
// beside a written file (told already); then it stays in the state folder
// and the run fails.
bool endRun(kinmap::Session& session)
{
    if (session.journal.lastMoveFailed())
        return false;
    kinmap::deleteWorkingJournal(session);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    bool raw = false, dump = false, timing = false, verbose = false;
    std::string selection = "all", out, scriptPath;
    bool selectionGiven = false;
    kinmap::UnmappableCharacters unmappable = kinmap::UnmappableCharacters::ask;
    std::map<std::string, std::string> queryOptions;
    uint32_t duplicateOptions = kinmap::DuplicateOption::defaults;
    kinmap::CheckOptions checkOptions;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--raw")
            raw = true;
        else if (arg == "--dump")
            dump = true;
        else if (arg == "--timing")
            timing = true;
        else if (arg == "--verbose")
            verbose = true;
        else if (arg == "--select" && i + 1 < args.size()) {
            selection = args[++i];
            selectionGiven = true;
        } else if (arg == "--selection" || arg == "--family" || arg == "--csv" || arg == "--dry-run")
            queryOptions[arg];
        else if ((arg == "--filter" || arg == "--place" || arg == "--period" || arg == "--from" || arg == "--to" ||
                  arg == "--find" || arg == "--by" || arg == "--kind" || arg == "--details" || arg == "--source" ||
                  arg == "--template" || arg == "--pedigree" || arg == "--sort") &&
                 i + 1 < args.size())
            queryOptions[arg] = args[++i];
        else if (arg == "--lossy")
            unmappable = kinmap::UnmappableCharacters::replace;
        else if (arg == "--encoding" && i + 1 < args.size()) {
            const std::string& name = args[++i];
            if (name != "utf-8" && name != "UTF-8") {
                fprintf(stderr, "kinmap-cli: --encoding takes utf-8\n");
                return 2;
            }
            unmappable = kinmap::UnmappableCharacters::writeUtf8;
        } else if (arg == "--out" && i + 1 < args.size())
            out = args[++i];
        else if (arg == "--script" && i + 1 < args.size())
            scriptPath = args[++i];
        else if (arg == "--ignore" && i + 1 < args.size()) {
            const std::optional<int32_t> n = kinmap::readNumber(args[++i]);
            if (!n || *n < 0) {
                fprintf(stderr, "kinmap-cli: --ignore takes a number\n");
                return 2;
            }
            checkOptions.ignore = static_cast<uint32_t>(*n);
        } else if (arg == "--ages" && i + 1 < args.size()) {
            // An empty place keeps its default; a value that is no age is refused.
            const std::string& ages = args[++i];
            size_t start = 0;
            for (size_t k = 0; k < checkOptions.ages.size() && start <= ages.size(); ++k) {
                const size_t comma = std::min(ages.find(',', start), ages.size());
                const std::string value = ages.substr(start, comma - start);
                const std::optional<int32_t> n = kinmap::readNumber(value);
                if (!value.empty() && (!n || *n < 0 || *n > kinmap::CheckOptions::maxAge)) {
                    fprintf(stderr, "kinmap-cli: --ages takes whole numbers from 0 to %d, not \"%s\"\n",
                            kinmap::CheckOptions::maxAge, value.c_str());
                    return 2;
                }
                if (n)
                    checkOptions.ages[k] = static_cast<uint32_t>(*n);
                start = comma + 1;
            }
        } else if (arg == "--options" && i + 1 < args.size()) {
            const std::optional<int32_t> n = kinmap::readNumber(args[++i]);
            if (!n || *n < 0) {
                fprintf(stderr, "kinmap-cli: --options takes a number\n");
                return 2;
            }
            duplicateOptions = static_cast<uint32_t>(*n);
        }
        else if (arg == "-h" || arg == "--help") {
            fputs(usage, stdout);
            return 0;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            fprintf(stderr, "kinmap-cli: unknown option %s\n%s", arg.c_str(), usage);
            return 2;
        } else
            positional.push_back(arg);
    }
    if (!positional.empty() && positional[0] == "soundex") {
        for (size_t i = 1; i < positional.size(); ++i)
            printf("%s\t%s\n", kinmap::soundexCode(positional[i]).c_str(), kinmap::nameKey(positional[i]).c_str());
        return positional.size() > 1 ? 0 : 2;
    }
    const bool isImport = positional.size() == 2 && positional[0] == "import";
    const bool isExport = positional.size() == 3 && positional[0] == "export";
    const bool isDuplicates = positional.size() == 2 && positional[0] == "duplicates";
    const bool isCheck = positional.size() == 2 && positional[0] == "check";
    const bool isEdit = positional.size() == 2 && positional[0] == "edit" && !scriptPath.empty();
    const bool isSources = positional.size() == 2 && positional[0] == "sources";
    const bool isAutoSource = positional.size() == 2 && positional[0] == "auto-source" && queryOptions.count("--source") &&
                              selectionGiven;
    const bool isOutput = positional.size() == 2 && positional[0] == "output";
    const bool isInput = positional.size() == 3 && positional[0] == "input";
    const size_t queryFile = kinmap::queryFileIndex(positional);
    if (!isImport && !isExport && !isDuplicates && !isCheck && !isEdit && !isSources && !isAutoSource && !isOutput &&
        !isInput && queryFile == 0) {
        fputs(usage, stderr);
        return 2;
    }
    if (isDuplicates && (duplicateOptions & kinmap::DuplicateOption::modeMask) == kinmap::DuplicateOption::manual) {
        fprintf(stderr, "kinmap-cli: the manual merge mode asks pair by pair and needs the window\n");
        return 2;
    }
    if (isDuplicates && (duplicateOptions & kinmap::DuplicateOption::modeMask) ==
                            (kinmap::DuplicateOption::automatic | kinmap::DuplicateOption::semiautomatic)) {
        fprintf(stderr, "kinmap-cli: --options takes one merge mode: 64 automatic or 128 semiautomatic\n");
        return 2;
    }

    kinmap::TerminalUi ui(raw);
    kinmap::Session session(ui);
    session.unmappable = unmappable;
    auto started = std::chrono::steady_clock::now();
    auto lap = [&](const char* step) {
        const auto now = std::chrono::steady_clock::now();
        if (timing)
            fprintf(stderr, "%s: %.3f s\n", step, std::chrono::duration<double>(now - started).count());
        started = now;
    };
    bool ok = kinmap::importCommand(session, positional[queryFile == 0 ? 1 : queryFile]);
    // How a command that may change the data ends: the dump, the export of
    // every person, and the journal of a run that wrote nothing goes.
    auto finish = [&](bool succeeded) {
        if (dump)
            print(ui, kinmap::dumpDatabase(session.db));
        if (!out.empty() && !kinmap::exportAllCommand(session, out))
            succeeded = false;
        return endRun(session) && succeeded ? 0 : 1;
    };
    lap("import");
    if (ok && verbose)
        fprintf(stderr, "%s\n", session.gedFile.format.description().c_str());
    if (ok && queryFile != 0) {
        if (selectionGiven && !select(session, selection)) {
            fprintf(stderr, "kinmap-cli: --select takes all or existing RINs separated by commas\n");
            kinmap::deleteWorkingJournal(session);
            return 2;
        }
        kinmap::QueryRequest request = kinmap::queryRequest(positional);
        request.options = queryOptions;
        ui.statusToStderr = request.command == "pedigree" || request.command == "branches";
        std::string output;
        started = std::chrono::steady_clock::now();
        const bool done = kinmap::runQuery(session, request, output);
        lap(request.command.c_str());
        print(ui, output);
        if (!done) {
            kinmap::deleteWorkingJournal(session);
            return 1;
        }
        return finish(true);
    }
    if (ok && isEdit) {
        FILE* scriptFile = fopen(scriptPath.c_str(), "rb");
        if (!scriptFile) {
            fprintf(stderr, "kinmap-cli: cannot read %s\n", scriptPath.c_str());
            kinmap::deleteWorkingJournal(session);
            return 2;
        }
        std::string script;
        char chunk[4096];
        for (size_t n; (n = fread(chunk, 1, sizeof chunk, scriptFile)) > 0;)
            script.append(chunk, n);
        fclose(scriptFile);
        print(ui, std::string(session.report.text(), static_cast<size_t>(session.report.length())) + "\n");
        started = std::chrono::steady_clock::now();
        const bool allDone = kinmap::runEditScript(session, ui, script, [&](const std::string& text) { print(ui, text); });
        lap("edit");
        return finish(allDone);
    }
    if (ok && isSources) {
        const kinmap::SourceList list = kinmap::readSources(session.gedFile);
        for (const std::string& line : list.shortLines)
            fprintf(stderr, "short line in a source record: %s\n", ui.forTerminal(line).c_str());
        std::string text;
        if (const auto details = queryOptions.find("--details"); details != queryOptions.end()) {
            const int found = kinmap::findSource(list.sources, details->second);
            if (found < 0) {
                fprintf(stderr, "kinmap-cli: no source %s\n", details->second.c_str());
                kinmap::deleteWorkingJournal(session);
                return 1;
            }
            text = kinmap::sourceDetails(list.sources[static_cast<size_t>(found)]);
        } else {
            // One line a source: the texts' line breaks become blanks.
            auto oneLine = [](const std::string& value) {
                std::string line;
                for (size_t i = 0; i < value.size(); ++i)
                    if (value[i] != '\n')
                        line += value[i] == '\r' ? ' ' : value[i];
                return line;
            };
            for (const kinmap::SourceRecord& source : list.sources)
                text += source.identifier + "\t" + oneLine(source.title) + "\t" + oneLine(source.author) + "\n";
        }
        print(ui, text);
        kinmap::deleteWorkingJournal(session);
        return 0;
    }
    if (ok && isAutoSource) {
        if (!select(session, selection)) {
            fprintf(stderr, "kinmap-cli: --select takes all or existing RINs separated by commas\n");
            kinmap::deleteWorkingJournal(session);
            return 2;
        }
        std::string written;
        session.journal.copy = &written;
        const bool added = kinmap::addSourceToSelection(session, queryOptions["--source"]);
        session.journal.copy = nullptr;
        print(ui, written + std::string(session.report.text(), static_cast<size_t>(session.report.length())) + "\n");
        return endRun(session) && added ? 0 : 1;
    }
    if (ok && isOutput) {
        if (selectionGiven && !select(session, selection)) {
            fprintf(stderr, "kinmap-cli: --select takes all or existing RINs separated by commas\n");
            kinmap::deleteWorkingJournal(session);
            return 2;
        }
        started = std::chrono::steady_clock::now();
        const int status = kinmap::runOutput(session, queryOptions, selectionGiven, out, lap);
        kinmap::deleteWorkingJournal(session);
        return status;
    }
    if (ok && isInput) {
        started = std::chrono::steady_clock::now();
        const int status = kinmap::runInput(session, ui, positional[2], queryOptions.count("--dry-run") != 0, lap);
        return endRun(session) && status == 0 ? 0 : status == 0 ? 1 : status;
    }
    if (ok && isCheck) {
        session.checkOptions = checkOptions;
        started = std::chrono::steady_clock::now();
        kinmap::runErrorCheck(session);
        lap("check");
        print(ui, session.errors.journalEntry);
        return finish(true);
    }
    if (ok && isDuplicates) {
        session.duplicates.options = kinmap::withMethod(duplicateOptions);
        started = std::chrono::steady_clock::now();
        kinmap::runDuplicateSearch(session);
        lap("duplicates");
        const kinmap::DuplicateSearch& found = session.duplicates;
        if (!found.lastJournalEntry.empty())
            print(ui, found.lastJournalEntry);
        else if (!found.candidates.empty())
            print(ui, kinmap::candidateListText(session, session.duplicates));
        else
            print(ui, std::string(session.report.text(), static_cast<size_t>(session.report.length())));
        return finish(true);
    }
    print(ui, std::string(session.report.text(), static_cast<size_t>(session.report.length())));
    if (ok && dump)
        print(ui, kinmap::dumpDatabase(session.db));
    if (ok && isExport) {
        if (!select(session, selection)) {
            fprintf(stderr, "kinmap-cli: --select takes all or existing RINs separated by commas\n");
            kinmap::deleteWorkingJournal(session);
            return 2;
        }
        started = std::chrono::steady_clock::now();
        ok = kinmap::partialExportCommand(session, positional[2]);
        lap("export");
        if (ok)
            print(ui, "\n" + ui.lastStatus() + "\n");
    }
    return endRun(session) && ok ? 0 : 1;
}
