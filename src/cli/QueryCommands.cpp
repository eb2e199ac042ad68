#include "QueryCommands.h"

#include "app/CountCommands.h"
#include "app/ExtrasCommands.h"
#include "app/SearchCommands.h"
#include "app/Shell.h"
#include "app/ViewCommands.h"
#include "app/Session.h"
#include "db/Numbers.h"
#include "query/Counts.h"
#include "query/EventSearch.h"
#include "query/Replace.h"
#include "relations/Islands.h"
#include "relations/Relationship.h"

#include <cstdio>
#include <optional>
#include <strings.h>

namespace kinmap {

namespace {

const char* const countKinds[] = {"given", "surname", "place", "events"};
const char* const searchKinds[] = {"births", "deaths", "marriages"};

template <size_t n>
int indexOf(const char* const (&names)[n], const std::string& name)
{
    for (size_t i = 0; i < n; ++i)
        if (name == names[i])
            return static_cast<int>(i);
    return -1;
}

std::string reportText(const Session& s)
{
    return std::string(s.report.text(), static_cast<size_t>(s.report.length()));
}

bool refuse(const char* message)
{
    fprintf(stderr, "kinmap-cli: %s\n", message);
    return false;
}

// A whole number of an option; absent options give `fallback`.
bool numberOption(const QueryRequest& r, const char* name, int& value)
{
    const auto it = r.options.find(name);
    if (it == r.options.end())
        return true;
    const std::optional<int32_t> n = readNumber(it->second);
    if (!n) {
        fprintf(stderr, "kinmap-cli: %s takes a whole number\n", name);
        return false;
    }
    value = *n;
    return true;
}

std::string textOption(const QueryRequest& r, const char* name)
{
    const auto it = r.options.find(name);
    return it == r.options.end() ? std::string() : it->second;
}

// The kind of find and replace: its number or its name in the dialog's list.
int replaceKind(const std::string& text)
{
    if (const std::optional<int32_t> n = readNumber(text); n && *n >= 0 && *n < ReplaceOptions::kindCount)
        return *n;
    for (int kind = 0; kind < ReplaceOptions::kindCount; ++kind)
        if (strcasecmp(text.c_str(), replaceKindName(kind)) == 0)
            return kind;
    return -1;
}

} // namespace

size_t queryFileIndex(const std::vector<std::string>& p)
{
    if (p.empty())
        return 0;
    if ((p[0] == "islands" || p[0] == "replace") && p.size() == 2)
        return 1;
    if (p[0] == "relationship" && p.size() == 4)
        return 1;
    if ((p[0] == "pedigree" || p[0] == "branches") && p.size() == 3)
        return 1;
    if (p.size() == 3 && ((p[0] == "count" && indexOf(countKinds, p[1]) >= 0) ||
                          (p[0] == "search" && indexOf(searchKinds, p[1]) >= 0)))
        return 2;
    return 0;
}

QueryRequest queryRequest(const std::vector<std::string>& p)
{
    QueryRequest r;
    r.command = p[0];
    if (r.command == "count" || r.command == "search")
        r.kind = p[1];
    if (r.command == "relationship")
        r.rins = {p[2], p[3]};
    if (r.command == "pedigree" || r.command == "branches")
        r.rins = {p[2]};
    return r;
}

bool runQuery(Session& s, const QueryRequest& r, std::string& output)
{
    if (r.command == "islands") {
        islandsCommand(s);
        output = islandListText(s.db, s.islands);
        return true;
    }
    if (r.command == "relationship") {
        const std::optional<int32_t> a = readNumber(r.rins[0]), b = readNumber(r.rins[1]);
        if (!a || !b)
            return refuse("relationship takes two RINs");
        s.shell.currentPerson = *a;
        s.shell.previousPerson = *b;
        relationshipCommand(s); // tells when either person does not exist
        output = reportText(s);
        return s.db.isPerson(*a) && s.db.isPerson(*b);
    }
    if (r.command == "pedigree" || r.command == "branches") {
        const std::optional<int32_t> rin = readNumber(r.rins[0]);
        if (!rin)
            return refuse("pedigree and branches take a RIN");
        // The person shown is found as when the tab is shown.
        s.shell.currentPerson = *rin;
        if (r.command == "pedigree") {
            showView(s, pedigreeView);
            if (!preparePedigree(s))
                return false;
            output = s.pedigree.fileText(s.db);
        } else {
            showView(s, branchesView);
            prepareBranches(s);
            output = s.branches.indentedText();
        }
        return true;
    }
    if (r.command == "count") {
        CountOptions& o = s.countOptions;
        const CountKind kind = static_cast<CountKind>(indexOf(countKinds, r.kind));
        o.onlySelection = r.options.count("--selection") != 0;
        const std::string filter = textOption(r, kind == CountKind::events ? "--place" : "--filter");
        if (filter.size() > CountOptions::maxFilterLength)
            return refuse("a filter holds at most 49 bytes");
        (kind == CountKind::given ? o.givenFilter : kind == CountKind::surname ? o.surnameFilter : o.placeFilter) = filter;
        if (!numberOption(r, "--period", o.period))
            return false;
        runCount(s, kind);
        output = reportText(s);
        return true;
    }
    if (r.command == "search") {
        SearchOptions& o = s.searchOptions;
        o.place = textOption(r, "--place");
        if (o.place.size() > SearchOptions::maxPatternLength)
            return refuse("a place holds at most 49 bytes");
        if (!numberOption(r, "--from", o.periodFrom) || !numberOption(r, "--to", o.periodTo))
            return false;
        if (o.place.empty() && o.periodFrom == 0 && o.periodTo == 0)
            return refuse("search needs --place, --from or --to");
        s.report.clear();
        runEventSearch(s, static_cast<EventKind>(indexOf(searchKinds, r.kind)), o);
        output = reportText(s);
        return true;
    }
    ReplaceOptions& o = s.replaceOptions;
    o.find = textOption(r, "--find");
    o.by = textOption(r, "--by");
    o.kind = replaceKind(textOption(r, "--kind"));
    if (o.find.empty() || o.kind < 0)
        return refuse("replace takes --find TEXT, --by TEXT and --kind 0-7 (or the name of the kind)");
    if (o.find.size() > ReplaceOptions::maxTextLength || o.by.size() > ReplaceOptions::maxTextLength)
        return refuse("--find and --by hold at most 49 bytes");
    s.report.clear();
    runReplace(s);
    output = reportText(s);
    return true;
}

} // namespace kinmap
