// kinmap-cli islands, relationship, count, search, replace, pedigree and
// branches: each runs its command of the window on the imported file with
// options given on the command line and prints what the command leaves in
// the Report tab, or the view as text.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace kinmap {

class Session;

struct QueryRequest {
    std::string command; // islands, relationship, count, search, replace, pedigree, branches
    std::string kind;    // of count and search
    std::vector<std::string> rins; // of relationship: A, B; of pedigree and branches: the person
    std::map<std::string, std::string> options; // "--filter" -> "ann"; "--selection" -> ""
};

// Where the GED file stands among the positional arguments of a query
// command; 0 when they are not those of one.
size_t queryFileIndex(const std::vector<std::string>& positional);
QueryRequest queryRequest(const std::vector<std::string>& positional);

// Runs the command; its text goes to `output`. False (with a message on
// stderr) when the request is not valid or the command refused.
bool runQuery(Session& session, const QueryRequest& request, std::string& output);

} // namespace kinmap
