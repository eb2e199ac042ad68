#include "EditScript.h"

#include "TerminalUi.h"
#include "app/EditCommands.h"
#include "app/Session.h"
#include "base/EditHistory.h"
#include "base/Format.h"
#include "edit/LinkEdits.h"
#include "edit/PersonForm.h"
#include "db/Numbers.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <map>
#include <sstream>
#include <vector>

namespace kinmap {

namespace {

// The words of a line up to `count`, the rest of it as the last.
std::vector<std::string> split(const std::string& line, size_t count)
{
    std::vector<std::string> words;
    size_t at = 0;
    while (words.size() + 1 < count) {
        at = line.find_first_not_of(' ', at);
        if (at == std::string::npos)
            return words;
        const size_t end = std::min(line.find(' ', at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    at = line.find_first_not_of(' ', at);
    if (at != std::string::npos)
        words.push_back(line.substr(at));
    return words;
}

// A field of the edit person dialog by its script name.
bool setField(PersonForm& form, const std::string& field, const std::string& value)
{
    static const std::map<std::string, std::pair<bool, int>> events = {
        {"birth-date", {true, formBirth}},          {"birth-place", {false, formBirth}},
        {"christening-date", {true, formChristening}}, {"christening-place", {false, formChristening}},
        {"death-date", {true, formDeath}},          {"death-place", {false, formDeath}},
        {"burial-date", {true, formBurial}},        {"burial-place", {false, formBurial}},
        {"marriage-date", {true, formMarriage}},    {"marriage-place", {false, formMarriage}}};
    if (field == "given")
        form.given = value;
    else if (field == "surname")
        form.surname = value;
    else if (field == "sex" && value.size() == 1 && sexOfKey(value[0]) != 0)
        form.sex = sexOfKey(value[0]);
    else if (field == "divorced")
        form.divorced = value == "yes" || value == "y" || value == "Y" || value == "1";
    else if (const auto event = events.find(field); event != events.end()) {
        const auto [isDate, index] = event->second;
        (isDate ? form.dates : form.places)[static_cast<size_t>(index)] = value;
        form.dateEdited[static_cast<size_t>(index)] = isDate;
    } else
        return false;
    return true;
}

} // namespace

bool runEditScript(Session& s, TerminalUi& ui, const std::string& script,
                   const std::function<void(const std::string&)>& print)
{
    ui.answerYes = true; // the script's lines are the user's answers
    std::string written;
    s.journal.copy = &written;
    bool allDone = true;
    std::istringstream lines(script);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::vector<std::string> w = split(line, 2);
        if (w.empty() || w[0][0] == '#')
            continue;
        auto refuse = [&](const std::string& why) {
            fprintf(stderr, "line %d: %s: %s\n", number, line.c_str(), why.c_str());
            allDone = false;
        };
        auto rinOf = [&](const std::string& text) { return typedRin(s, text); };
        written.clear();
        const std::string& op = w[0];
        bool done = true;
        if ((op == "undo" || op == "redo") && w.size() > 1) {
            refuse(op + " takes nothing after it");
        } else if (op == "undo" || op == "redo") {
            done = op == "undo" ? s.history.undo(s) : s.history.redo(s);
            if (!done)
                refuse(op == "undo" ? "nothing to undo" : "nothing to redo");
        } else if (op == "set") {
            const std::vector<std::string> args = split(line, 4);
            const int32_t rin = args.size() >= 3 ? rinOf(args[1]) : -1;
            PersonForm form = rin > 0 ? openPersonForm(s, rin, {}) : PersonForm{};
            if (rin <= 0 || args.size() < 3 || !setField(form, args[2], args.size() > 3 ? args[3] : std::string()))
                refuse("set takes an existing RIN, a field and a value");
            else if (const std::string problem = savePersonEdit(s, form); !problem.empty())
                refuse(problem);
        } else if (op == "new") {
            // new SEX GIVEN / SURNAME
            const std::vector<std::string> args = split(line, 3);
            const size_t slash = args.size() == 3 ? args[2].find('/') : std::string::npos;
            if (args.size() != 3 || args[1].size() != 1 || (sexOfKey(args[1][0]) != 'M' && sexOfKey(args[1][0]) != 'F') ||
                slash == std::string::npos) {
                refuse("new takes M or F, the given names, a slash and the surname");
                continue;
            }
            PersonForm form;
            form.sex = sexOfKey(args[1][0]);
            form.given = args[2].substr(0, slash);
            form.surname = args[2].substr(slash + 1);
            ui.forms.push_back(form);
            const int32_t rin = addNewPerson(s);
            ui.forms.clear();
            if (rin == 0)
                refuse("not added");
            else
                print(formatText("RIN %d\n", rin));
        } else if (op == "other-parents") {
            // other-parents CHILD MRIN
            const std::vector<std::string> args = split(line, 3);
            const int32_t rin = args.size() == 3 ? rinOf(args[1]) : -1;
            const std::optional<int32_t> mrin = args.size() == 3 ? readNumber(args[2]) : std::nullopt;
            if (rin <= 0 || !mrin)
                refuse("other-parents takes an existing RIN and an MRIN");
            else if (!assignOtherParents(s, rin, *mrin))
                refuse("refused");
        } else {
            const std::vector<std::string> args = split(line, 3);
            const int32_t rin = args.size() >= 2 ? rinOf(args[1]) : -1;
            const int32_t other = args.size() == 3 ? rinOf(args[2]) : 0;
            if (rin <= 0 || other < 0) {
                refuse("not an existing RIN");
                continue;
            }
            if (op == "spouse" && other > 0)
                done = addSpouse(s, rin, other);
            else if (op == "child" && other > 0)
                done = addChild(s, rin, other);
            else if (op == "father" && other > 0)
                done = addFather(s, rin, other);
            else if (op == "mother" && other > 0)
                done = addMother(s, rin, other);
            else if (op == "unlink-spouse" && args.size() == 2)
                done = unlinkSpouse(s, rin);
            else if (op == "unlink-parents" && args.size() == 2)
                done = unlinkParents(s, rin);
            else if (op == "delete" && args.size() == 2)
                done = deletePerson(s, rin);
            else {
                refuse("unknown edit");
                continue;
            }
            if (!done)
                refuse("refused");
        }
        print(written);
    }
    s.journal.copy = nullptr;
    ui.answerYes = false; // what follows the script (an export) asks as a batch run does
    return allDone;
}

} // namespace kinmap
