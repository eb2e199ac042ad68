// kinmap-cli: the batch operations of kinmap without a window.
#include "TerminalUi.h"
#include "app/DatabaseDump.h"
#include "app/Session.h"
#include "app/Shell.h"
#include "ged/Import.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const usage =
    "usage: kinmap-cli import FILE [--raw] [--dump]\n"
    "  import   reads FILE, repairs its links and prints the report\n"
    "  --dump   then prints every person and family, one line each\n"
    "  --raw    writes texts as Latin-1 bytes instead of UTF-8\n";

void print(const kinmap::TerminalUi& ui, const std::string& text)
{
    const std::string out = ui.forTerminal(text);
    fwrite(out.data(), 1, out.size(), stdout);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    bool raw = false, dump = false;
    std::vector<std::string> positional;
    for (const std::string& arg : args) {
        if (arg == "--raw")
            raw = true;
        else if (arg == "--dump")
            dump = true;
        else if (arg == "-h" || arg == "--help") {
            fputs(usage, stdout);
            return 0;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            fprintf(stderr, "kinmap-cli: unknown option %s\n%s", arg.c_str(), usage);
            return 2;
        } else
            positional.push_back(arg);
    }
    if (positional.size() != 2 || positional[0] != "import") {
        fputs(usage, stderr);
        return 2;
    }

    kinmap::TerminalUi ui(raw);
    kinmap::Session session(ui);
    const bool loaded = kinmap::importCommand(session, positional[1]);
    print(ui, std::string(session.report.text(), static_cast<size_t>(session.report.length())));
    if (loaded && dump)
        print(ui, kinmap::dumpDatabase(session.db));
    kinmap::deleteWorkingJournal(session);
    return loaded ? 0 : 1;
}
