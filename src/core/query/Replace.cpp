#include "query/Replace.h"

#include "base/EditHistory.h"
#include "base/Workspace.h"

#include <cstring>
#include <new>

namespace kinmap {

namespace {

constexpr const char* kindNames[ReplaceOptions::kindCount] = {
    "Given", "Surname", "All Places", "Birth Places", "Chris Places", "Death Places", "Burial Places", "Marriage Places"};

enum Kind { given, surname, allPlaces, birthPlaces, chrisPlaces, deathPlaces, burialPlaces, marriagePlaces };

struct PersonField {
    Text PersonRecord::*text;
    uint32_t flag;
    PoolId pool;
};

constexpr PersonField personFields[] = {
    {&PersonRecord::given, Flag::hasGiven, givenPool},
    {&PersonRecord::surname, Flag::hasSurname, surnamePool},
    {&PersonRecord::birthPlace, Flag::hasBirthPlace, placePool},
    {&PersonRecord::chrisPlace, Flag::hasChrisPlace, placePool},
    {&PersonRecord::deathPlace, Flag::hasDeathPlace, placePool},
    {&PersonRecord::burialPlace, Flag::hasBurialPlace, placePool},
};

class Replacer {
public:
    Replacer(Workspace& s, const ReplaceOptions& options) : s_(s), o_(options) {}

    int run()
    {
        const Database& db = s_.db;
        const int kind = o_.kind;
        if (kind != marriagePlaces)
            for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
                if (!db.persons[rin].exists())
                    continue;
                if (kind == allPlaces)
                    for (size_t field = 2; field < std::size(personFields); ++field)
                        replaceInPerson(rin, personFields[field]);
                else
                    replaceInPerson(rin, personFields[kind == given ? 0 : kind == surname ? 1 : kind - 1]);
            }
        if (kind == allPlaces || kind == marriagePlaces)
            for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin)
                if (db.families[mrin].exists())
                    replaceInFamily(mrin);
        return hits_;
    }
    int refused() const { return refused_; }

private:
    void replaceInPerson(int32_t rin, const PersonField& field)
    {
        PersonRecord& p = s_.db.persons[rin];
        const Text old = p.*field.text;
        if (!(p.flags & field.flag) || !occurs(old))
            return;
        // The other text of the NAME line counts towards its length.
        const size_t otherLength = field.pool == placePool ? 0
                                   : field.pool == givenPool ? (p.surname ? strlen(p.surname) : 0)
                                                             : (p.given ? strlen(p.given) : 0);
        const Text replaced = replacement(old, field.pool, otherLength, "RIN", rin);
        if (!replaced)
            return;
        s_.db.touchPerson(rin);
        p.*field.text = replaced;
        p.flags |= Flag::changed;
    }

    void replaceInFamily(int32_t mrin)
    {
        FamilyRecord& f = s_.db.families[mrin];
        if (!(f.flags & Flag::hasMarrPlace) || !occurs(f.marrPlace))
            return;
        const Text replaced = replacement(f.marrPlace, placePool, 0, "MRIN", mrin);
        if (!replaced)
            return;
        s_.db.touchFamily(mrin);
        f.marrPlace = replaced;
        f.flags |= Flag::changed;
    }

    bool occurs(Text text) const { return text && strstr(text, o_.find.c_str()); }

    // Lists the hit and gives the stored new text; null when nothing is to
    // change (a listing only) or the new text cannot be stored as it is.
    Text replacement(Text old, PoolId pool, size_t otherLength, const char* recordWord, int32_t number)
    {
        ++hits_;
        ReportBuffer& report = s_.report;
        report.append("%s \t", old);
        if (o_.by.empty()) {
            report.append("\r\n");
            return nullptr;
        }
        const std::string_view text(old);
        const size_t at = text.find(o_.find);
        const std::string wanted = std::string(text.substr(0, at)) + o_.by + std::string(text.substr(at + o_.find.size()));
        // "1 NAME given /surname/" or "2 PLAC place"
        const size_t lineLength = pool == placePool ? 7 + wanted.size() : 10 + wanted.size() + otherLength;
        const char* refusal = nullptr;
        Text stored = nullptr;
        if (internedForm(wanted) != wanted)
            refusal = "not replaced in %s %d: the new text would begin with a blank or sign, or be empty\r\n";
        else if (pool != placePool && wanted.find('/') != std::string::npos)
            refusal = "not replaced in %s %d: a name cannot hold a slash (/)\r\n"; // it ends the surname in the GED line
        else if (lineLength > maxGedLineLength)
            refusal = "not replaced in %s %d: the GED line would grow too long\r\n";
        else
            try {
                stored = s_.db.internText(pool, wanted);
            } catch (const std::bad_alloc&) {
                refusal = "not replaced in %s %d: out of memory\r\n";
            }
        if (refusal) {
            report.append(refusal, recordWord, number);
            --hits_;
            ++refused_;
            return nullptr;
        }
        report.append("replaced in %s %d by \t%s\r\n", recordWord, number, stored);
        journalEdit(s_, formatText("Replaced in %s %d: ", recordWord, number) + old + " -> " + stored + "\n");
        return stored;
    }

    Workspace& s_;
    const ReplaceOptions& o_;
    int hits_ = 0, refused_ = 0;
};

} // namespace

const char* replaceKindName(int kind)
{
    return kind >= 0 && kind < ReplaceOptions::kindCount ? kindNames[kind] : "";
}

ReplaceResult replaceAll(Workspace& s, ReplaceOptions& o)
{
    cutAtCharacter(o.find, ReplaceOptions::maxTextLength);
    cutAtCharacter(o.by, ReplaceOptions::maxTextLength);
    if (o.kind < 0 || o.kind >= ReplaceOptions::kindCount)
        o.kind = 0;
    int hits = 0, refused = 0;
    if (!o.find.empty()) {
        EditScope scope(s, "Replace");
        Replacer replacer(s, o);
        hits = replacer.run();
        refused = replacer.refused();
    }
    if (!o.by.empty())
        s.counts.replacementCount += hits;
    s.report.append("%s", formatText("%d replacements\r\n", hits).c_str());
    s.report.append("%d not replaced\r\n", refused);
    s.setStatus(1, "%d replacements", hits);
    if (hits != 0 || refused != 0)
        s.db.rowsChanged();
    return {hits, refused};
}

} // namespace kinmap
