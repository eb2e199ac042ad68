#include "check/Plausibility.h"

#include "base/Labels.h"
#include "base/Workspace.h"
#include "check/ErrorCheck.h"

namespace kinmap {

namespace {

constexpr const char* typeNames[errorTypeCount] = {
    "age difference",   "born before father", "born before mother", "born too early",    "born too late",
    "check date",       "check name",         "children dates",     "death before marriage", "different surname",
    "father dead",      "father too old",     "father too young",   "husband too old",   "husband too young",
    "mother dead",      "mother too old  ",   "mother too young",   "MRIN deleted",      "order of children",
    "order of marriages", "recursive parent", "RIN deleted",        "several parents",   "single person",
    "spouse conflict",  "superfluous date",   "wife too old",       "wife too young",    "wrong family",
    "wrong gender",     "wrong spouse"};

} // namespace

const char* const CheckOptions::ageLabels[ageCount] = {
    "husband minimum age at marriage", "husband maximum age at marriage", "wife minimum age at marriage",
    "wife maximum age at marriage",    "father minimum age at a birth",   "father maximum age at a birth",
    "mother minimum age at a birth",   "mother maximum age at a birth"};
const char* const CheckOptions::ignoreLabels[7] = {"born too late",   "born too early", "check date",  "check name",
                                                   "spouse conflict", "birth dates",    "other name"};

const char* errorTypeName(int type)
{
    return type >= 0 && type < errorTypeCount ? typeNames[type] : "?";
}

int monthsBetween(DateValue a, DateValue b)
{
    if (yearOf(a) == 0 || yearOf(b) == 0)
        return 0;
    if (yearOf(b) < yearOf(a))
        return 12 * (yearOf(b) - yearOf(a));
    if (monthOf(a) == 0 || monthOf(b) == 0)
        return 0;
    return 12 * (yearOf(b) - yearOf(a)) + monthOf(b) - monthOf(a);
}

bool isLater(DateValue a, DateValue b)
{
    if (yearOf(a) == 0 || yearOf(b) == 0)
        return false;
    if (yearOf(a) != yearOf(b))
        return yearOf(a) > yearOf(b);
    if (monthOf(a) == 0 || monthOf(b) == 0)
        return false;
    if (monthOf(a) != monthOf(b))
        return monthOf(a) > monthOf(b);
    return dayOf(a) != 0 && dayOf(b) != 0 && dayOf(a) > dayOf(b);
}

ErrorCheck::ErrorCheck(Workspace& workspace, const CheckOptions& checkOptions, ErrorList& list,
                       const FileDateText& fileDateText)
    : s(workspace), db(workspace.db), options(checkOptions), fileDate(fileDateText), list_(list)
{
}

void ErrorCheck::say(const std::string& text)
{
    s.report.append("%s", text.c_str());
}

void ErrorCheck::label(int32_t rin, int labelOptions)
{
    personLabel(s, nullptr, labelOptions, rin);
}

void ErrorCheck::record(ErrorType type, int32_t rin, bool correction)
{
    const std::string text(s.report.text(), static_cast<size_t>(s.report.length()));
    s.report.clear();
    const bool ignored = db.validRin(rin) && (db.persons[rin].flags & Flag::errorsIgnored);
    if (ignored && !correction)
        return;
    const std::string line = formatText("RIN=%5d  %25s: %s\n", rin, errorTypeName(type), text.c_str());
    list_.journalEntry += line;
    // Written in blocks: a file with a finding for every second person
    // would otherwise open the journal a hundred thousand times.
    if (list_.journalEntry.size() - journalWritten_ > (1 << 20))
        writeJournal();
    if (ignored)
        return;
    ++list_.typeCount[static_cast<size_t>(type)];
    list_.entries.push_back({type, rin, text});
}

ComparedDate ErrorCheck::dateOf(DateKind kind, int32_t number) const
{
    if (kind == DateKind::marriage)
        return {kind, number, db.validMrin(number) ? db.families[number].marrDate : 0};
    if (!db.validRin(number))
        return {kind, number, 0};
    const PersonRecord& p = db.persons[number];
    switch (kind) {
    case DateKind::birth:
        return {kind, number, p.birthDate};
    case DateKind::christening:
        return {kind, number, p.chrisDate};
    case DateKind::death:
        return {kind, number, p.deathDate};
    default:
        return {kind, number, p.burialDate};
    }
}

ComparedDate ErrorCheck::birthOf(int32_t rin) const
{
    const ComparedDate birth = dateOf(DateKind::birth, rin);
    return birth.year() != 0 ? birth : dateOf(DateKind::christening, rin);
}

ComparedDate ErrorCheck::deathOf(int32_t rin) const
{
    const ComparedDate death = dateOf(DateKind::death, rin);
    return death.year() != 0 ? death : dateOf(DateKind::burial, rin);
}

bool ErrorCheck::deleteSuperfluous(const ComparedDate& date)
{
    if (date.year() == 0)
        return false;
    static constexpr const char* messages[] = {
        "superfluous birth date %s (deleted)", "superfluous christening date %s (deleted)",
        "superfluous death date %s (deleted)", "superfluous burial date %s (deleted)",
        "superfluous marriage date %s (deleted)"};
    int32_t filedUnder = date.number;
    if (date.kind == DateKind::marriage) {
        const FamilyRecord& f = db.families[date.number];
        filedUnder = f.husband != 0 ? f.husband : f.wife;
        if (filedUnder == 0)
            return false;
    }
    const DateText text = formatDate(date.value);
    say(formatText(messages[static_cast<int>(date.kind)], text.isNull() ? "" : text.get()));
    record(superfluousDate, filedUnder, true);
    // The whole value goes: a month or qualifier left behind would be a
    // date of its own.
    if (date.kind == DateKind::marriage) {
        db.families[date.number].marrDate = 0;
        db.families[date.number].flags &= ~Flag::hasMarrDate;
        markFamilyChanged(date.number);
    } else {
        PersonRecord& p = db.persons[date.number];
        static constexpr std::pair<DateValue PersonRecord::*, uint32_t> fields[] = {
            {&PersonRecord::birthDate, Flag::hasBirthDate},
            {&PersonRecord::chrisDate, Flag::hasChrisDate},
            {&PersonRecord::deathDate, Flag::hasDeathDate},
            {&PersonRecord::burialDate, Flag::hasBurialDate}};
        const auto& [field, flag] = fields[static_cast<int>(date.kind)];
        p.*field = 0;
        p.flags &= ~flag;
        markChanged(date.number);
    }
    corrected();
    return true;
}

void ErrorCheck::markChanged(int32_t rin)
{
    db.markPersonChanged(rin);
    s.db.rowsChanged();
}

void ErrorCheck::markFamilyChanged(int32_t mrin)
{
    db.markFamilyChanged(mrin);
    s.db.rowsChanged();
}

void ErrorCheck::writeJournal()
{
    s.journal.writeText(list_.journalEntry.data() + journalWritten_, list_.journalEntry.size() - journalWritten_);
    journalWritten_ = list_.journalEntry.size();
}

void ErrorCheck::run()
{
    list_ = ErrorList{};
    s.report.clear();
    s.journal.write("\n# %s", journalStamp(s.clock.localTime()).c_str());
    list_.journalEntry = "\n- Error check:\n";
    s.ui.progressStart();
    const int32_t total = db.highestMrin + db.highestRin;
    const int32_t step = std::max(1, total / 100);
    for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin) {
        if (mrin % step == 0)
            s.ui.progressAdvance(static_cast<int>(int64_t(mrin) * 100 / total));
        checkFamily(mrin);
    }
    for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
        if ((db.highestMrin + rin) % step == 0)
            s.ui.progressAdvance(static_cast<int>(int64_t(db.highestMrin + rin) * 100 / total));
        checkPerson(rin);
    }
    s.ui.progressEnd();

    const auto found = static_cast<int>(list_.entries.size());
    const std::string counts = list_.correctedCount != 0
                                   ? formatText("%d errors found, %d corrected", found, list_.correctedCount)
                                   : formatText("%d errors found", found);
    s.setStatus(1, "%s", counts.c_str());
    list_.journalEntry += counts + "\n";
    writeJournal();
    s.counts.correctionCount += list_.correctedCount;
}

void checkPlausibility(Workspace& s, const CheckOptions& options, ErrorList& list, const FileDateText& fileDate)
{
    // The corrections are one step of undo. The rules change records in
    // many places and mark each, so every record is saved first and those
    // left unmarked are dropped again.
    EditScope undoable(s, "Find Errors");
    EditStep* step = s.history.current();
    if (step)
        step->saveAll(s.db);
    ErrorCheck(s, options, list, fileDate).run();
    if (step)
        step->keepMarkedOnly(s.db);
}

} // namespace kinmap
