#include "edit/PersonForm.h"

#include "base/Format.h"
#include "base/Workspace.h"
#include "db/Numbers.h"
#include "db/TextCompare.h"

#include <algorithm>

namespace kinmap {

namespace {

struct EventField {
    DateValue PersonRecord::*date;
    Text PersonRecord::*place;
    uint32_t dateFlag, placeFlag;
};
constexpr EventField eventFields[formMarriage] = {
    {&PersonRecord::birthDate, &PersonRecord::birthPlace, Flag::hasBirthDate, Flag::hasBirthPlace},
    {&PersonRecord::chrisDate, &PersonRecord::chrisPlace, Flag::hasChrisDate, Flag::hasChrisPlace},
    {&PersonRecord::deathDate, &PersonRecord::deathPlace, Flag::hasDeathDate, Flag::hasDeathPlace},
    {&PersonRecord::burialDate, &PersonRecord::burialPlace, Flag::hasBurialDate, Flag::hasBurialPlace}};

std::string textOf(Text text)
{
    return text ? std::string(text) : std::string();
}

std::string dateText(DateValue value)
{
    const DateText text = formatDate(value);
    return text.isNull() ? std::string() : std::string(text.get());
}

std::string trimmed(std::string_view text)
{
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos)
        return {};
    const size_t end = text.find_last_not_of(" \t");
    return std::string(text.substr(begin, end - begin + 1));
}

// The given names as they are stored: no surrounding quotes, no commas, no
// blanks at either end.
std::string cleanGiven(std::string_view typed)
{
    std::string text = trimmed(typed);
    if (!text.empty() && text.front() == '"') {
        text.erase(0, 1);
        const size_t close = text.find('"');
        if (close != std::string::npos) {
            if (close + 1 == text.size() || text[close + 1] == ' ')
                text.erase(close, 1);
            else
                text[close] = ' ';
        }
    }
    text.erase(std::remove(text.begin(), text.end(), ','), text.end());
    return trimmed(text);
}

// The family whose marriage the form shows: the current family, within
// the person's families.
int32_t currentFamily(const Workspace& s, int familyIndex, int32_t rin)
{
    if (!s.db.isPerson(rin) || s.db.persons[rin].fams.empty())
        return 0;
    const IdList& fams = s.db.persons[rin].fams;
    const int index = std::clamp(familyIndex, 0, fams.count() - 1);
    return s.db.isFamily(fams[index]) ? fams[index] : 0;
}

std::string spouseText(const Database& db, int32_t spouse)
{
    if (!db.isPerson(spouse))
        return {};
    const PersonRecord& p = db.persons[spouse];
    std::string text = textOf(p.given);
    if (p.surname && *p.surname)
        text += formatText(" %s", p.surname);
    if (const int born = birthYear(p))
        text += formatText(" %d ", born);
    else if (const int estimated = db.estimatedBirthYear(spouse))
        text += formatText(" * ABT.%d ", estimated);
    if (const int died = deathYear(p))
        text += formatText("-%d ", died);
    return text;
}

// Stores a text field: an empty one stores no text.
void storeText(Database& db, Text& field, uint32_t& flags, uint32_t flag, PoolId pool, const std::string& text)
{
    if (text == textOf(field))
        return;
    field = text.empty() ? nullptr : db.internText(pool, text);
    flags = text.empty() ? flags & ~flag : flags | flag;
    flags |= Flag::changed;
}

void storeDate(DateValue& field, uint32_t& flags, uint32_t flag, const std::string& text)
{
    const DateValue value = parseTypedDate(text).value;
    if (value == field || text == dateText(field))
        return;
    field = value;
    flags = yearOf(value) != 0 || monthOf(value) != 0 ? flags | flag : flags & ~flag;
    flags |= Flag::changed;
}

} // namespace

std::string formCaption(const Workspace& s, const char* operation, int32_t rin)
{
    const PersonRecord* p = s.db.isPerson(rin) ? &s.db.persons[rin] : nullptr;
    return formatText("%s [%d] %s %s", operation, rin, p && p->given ? p->given : "", p && p->surname ? p->surname : "");
}

PersonForm openPersonForm(Workspace& s, int& familyIndex, int32_t rin, const std::string& caption)
{
    PersonForm form;
    form.caption = caption.empty() ? std::string("EDIT PERSON") : caption;
    if (!s.db.isPerson(rin))
        return form;
    form.rin = rin;
    const PersonRecord& p = s.db.persons[rin];
    form.sex = p.sex == 'M' || p.sex == 'm' ? 'M' : p.sex == 'F' || p.sex == 'f' ? 'F' : 'U';
    form.given = textOf(p.given);
    form.surname = textOf(p.surname);
    for (int e = 0; e < formMarriage; ++e) {
        form.dates[e] = dateText(p.*eventFields[e].date);
        form.places[e] = textOf(p.*eventFields[e].place);
    }
    if (!p.fams.empty() && familyIndex >= p.fams.count())
        familyIndex = 0;
    if (const int32_t mrin = currentFamily(s, familyIndex, rin)) {
        const FamilyRecord& f = s.db.families[mrin];
        form.dates[formMarriage] = dateText(f.marrDate);
        form.places[formMarriage] = textOf(f.marrPlace);
        form.divorced = (f.flags & Flag::divorced) != 0;
        form.spouse = spouseText(s.db, f.husband == rin ? f.wife : f.husband);
    }
    return form;
}

DateField readDateField(const PersonForm& form, int event, std::string_view typed)
{
    const std::string text = trimmed(typed);
    if (text.empty())
        return {};
    TypedDate date = parseTypedDate(text);
    // A date without a year takes it from the date above.
    const bool completes = event == formChristening || event == formDeath || event == formBurial;
    // "12": the 12th of the month above; "12 MAR": of the year above.
    const bool bareDay = date.ok() && yearOf(date.value) >= 1 && yearOf(date.value) <= 31 && monthOf(date.value) == 0 &&
                         dayOf(date.value) == 0 && isDigit(text[0]) && text.size() <= 2;
    const bool noYear = date.problem == TypedDate::noYear && monthOf(date.value) != 0;
    if (completes && (bareDay || noYear)) {
        const DateValue above = parseTypedDate(form.dates[static_cast<size_t>(event - 1)]).value;
        if (yearOf(above) != 0) {
            if (bareDay && monthOf(above) == 0)
                return {text, "A day needs a month, and the date above has none."};
            const DateValue own = date.value;
            // A range above lends its first year only.
            const bool range = qualifierOf(above) == betweenDate || qualifierOf(above) == fromToDate;
            const int qualifier = range ? 0 : qualifierOf(above), span = range ? 0 : spanOf(above);
            date.value = bareDay ? makeDate(yearOf(above), monthOf(above), yearOf(own), qualifier, span)
                                 : makeDate(yearOf(above), monthOf(own), dayOf(own), qualifier, span);
            date.problem = TypedDate::none;
        }
    }
    if (!date.ok())
        return {text, date.message()};
    return {dateText(date.value), {}};
}

char sexOfKey(char key)
{
    switch (key) {
    case 'm':
    case 'M':
        return 'M';
    case 'f':
    case 'F':
    case 'w':
    case 'W':
        return 'F';
    case 'u':
    case 'U':
    case 'n':
    case 'N':
    case '?':
        return 'U';
    default:
        return 0;
    }
}

std::string checkPersonForm(const PersonForm& form)
{
    const std::string given = cleanGiven(form.given), surname = trimmed(form.surname);
    if (given.empty() && surname.empty())
        return "Please give at least one name!";
    // A slash ends the surname in a GED NAME line.
    if (given.find('/') != std::string::npos || surname.find('/') != std::string::npos)
        return "A name cannot hold a slash (/).";
    static constexpr const char* eventNames[formEventCount] = {"birth", "christening", "death", "burial", "marriage"};
    for (int e = 0; e < formEventCount; ++e) {
        if (!form.dateEdited[e] || form.dates[e].empty())
            continue;
        const DateField field = readDateField(form, e, form.dates[e]);
        if (!field.problem.empty())
            return formatText("The %s date '%s': %s", eventNames[e], form.dates[e].c_str(), field.problem.c_str());
    }
    return {};
}

std::string whyNoSexChange(const Database& db, int32_t rin, char sex)
{
    if ((sex != 'M' && sex != 'F') || !db.isPerson(rin) || db.persons[rin].sex == sex)
        return {};
    const IdList& fams = db.persons[rin].fams;
    for (const int32_t mrin : fams) {
        if (!db.isFamily(mrin))
            continue;
        const FamilyRecord& f = db.families[mrin];
        const int32_t spouse = f.husband == rin ? f.wife : f.husband;
        if (!db.isPerson(spouse) || (sex == 'M' ? f.husband : f.wife) == rin)
            continue;
        // The spouse takes the other role here; a family of the spouse's
        // without this person would then have a man as wife or a woman as husband.
        for (const int32_t other : db.persons[spouse].fams)
            if (other != mrin && db.isFamily(other) && !fams.contains(other))
                return formatText("The sex of person [%d] cannot change: its spouse [%d] in family %d would change "
                                  "sex too, and is also a spouse in family %d.",
                                  rin, spouse, mrin, other);
    }
    return {};
}

std::vector<std::pair<int32_t, int32_t>> applyPerson(Workspace& s, const PersonForm& form)
{
    std::vector<std::pair<int32_t, int32_t>> swapped;
    Database& db = s.db;
    const int32_t rin = form.rin;
    db.touchPerson(rin);
    PersonRecord& p = db.persons[rin];
    // A new sex moves the person into the spouse's place in its families.
    if ((form.sex == 'M' || form.sex == 'F') && p.sex != form.sex) {
        const bool male = form.sex == 'M';
        p.sex = static_cast<unsigned char>(form.sex);
        p.flags |= Flag::hasSex | Flag::changed;
        for (const int32_t mrin : std::vector<int32_t>(p.fams.begin(), p.fams.end())) {
            if (!db.isFamily(mrin))
                continue;
            db.touchFamily(mrin);
            FamilyRecord& f = db.families[mrin];
            int32_t& own = male ? f.husband : f.wife;
            int32_t& other = male ? f.wife : f.husband;
            if (own == rin)
                continue;
            const int32_t former = own;
            own = rin;
            other = former;
            if (db.isPerson(former)) {
                db.touchPerson(former);
                db.persons[former].sex = male ? 'F' : 'M';
                db.persons[former].flags |= Flag::hasSex | Flag::changed;
                swapped.emplace_back(mrin, former);
            }
            f.flags |= Flag::changed;
        }
    }
    PersonRecord& person = db.persons[rin];
    storeText(db, person.given, person.flags, Flag::hasGiven, givenPool, cleanGiven(form.given));
    storeText(db, person.surname, person.flags, Flag::hasSurname, surnamePool, trimmed(form.surname));
    for (int e = 0; e < formMarriage; ++e) {
        const EventField& field = eventFields[e];
        const std::string date = form.dateEdited[e] ? readDateField(form, e, form.dates[e]).text : form.dates[e];
        storeDate(person.*field.date, person.flags, field.dateFlag, date);
        storeText(db, person.*field.place, person.flags, field.placeFlag, placePool, trimmed(form.places[e]));
    }
    s.db.rowsChanged();
    return swapped;
}

void applyMarriage(Workspace& s, const PersonForm& form, int32_t mrin)
{
    Database& db = s.db;
    const std::string date = form.dateEdited[formMarriage] ? readDateField(form, formMarriage, form.dates[formMarriage]).text
                                                           : form.dates[formMarriage];
    const std::string place = trimmed(form.places[formMarriage]);
    if (mrin == 0) {
        if (date.empty() && place.empty())
            return;
        // The person's first family, for it alone.
        mrin = db.addFamily();
        db.touchPerson(form.rin);
        PersonRecord& p = db.persons[form.rin];
        db.appendLink(p.fams, mrin);
        p.flags |= Flag::changed;
        FamilyRecord& f = db.families[mrin];
        (p.sex == 'M' ? f.husband : f.wife) = form.rin;
        f.flags |= p.sex == 'M' ? Flag::hasHusband : Flag::hasWife;
    }
    db.touchFamily(mrin);
    FamilyRecord& f = db.families[mrin];
    storeDate(f.marrDate, f.flags, Flag::hasMarrDate, date);
    storeText(db, f.marrPlace, f.flags, Flag::hasMarrPlace, placePool, place);
    if (form.divorced != ((f.flags & Flag::divorced) != 0))
        f.flags = (f.flags ^ Flag::divorced) | Flag::changed;
    s.db.rowsChanged();
}

void CompletionLists::build(const Workspace& s)
{
    places_.clear();
    female_.clear();
    male_.clear();
    const Database& db = s.db;
    constexpr uint32_t anyPlace = Flag::hasBirthPlace | Flag::hasChrisPlace | Flag::hasDeathPlace | Flag::hasBurialPlace;
    for (int32_t rin = db.highestRin; rin >= 1; --rin) {
        if (places_.size() >= maxPlaces && female_.size() >= maxWords && male_.size() >= maxWords)
            break; // every list full
        if (!db.isPerson(rin))
            continue;
        const PersonRecord& p = db.persons[rin];
        if (!p.given || !*p.given)
            continue;
        if (places_.size() < maxPlaces && (p.flags & anyPlace))
            for (const Text place : {p.birthPlace, p.chrisPlace, p.deathPlace, p.burialPlace})
                if (place && *place && std::find(places_.begin(), places_.end(), place) == places_.end())
                    places_.emplace_back(place);
        std::vector<std::string>& words = p.sex == 'F' ? female_ : male_;
        std::string_view given = p.given;
        for (size_t start = 0; start < given.size();) {
            const size_t end = std::min(given.find(' ', start), given.size());
            if (end > start && words.size() < maxWords) {
                const std::string word(given.substr(start, end - start));
                if (std::find(words.begin(), words.end(), word) == words.end())
                    words.push_back(word);
            }
            start = end + 1;
        }
    }
}

std::string CompletionLists::complete(const std::vector<std::string>& list, std::string_view text)
{
    if (text.empty())
        return {};
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if (startsWithIgnoringCase(*it, text))
            return *it;
    return {};
}

void CompletionLists::learn(std::vector<std::string>& list, std::string_view text, size_t limit)
{
    const std::string entry = trimmed(text);
    if (entry.empty())
        return;
    const auto found = std::find(list.begin(), list.end(), entry);
    if (found != list.end()) {
        std::rotate(found, found + 1, list.end()); // the most recent last
        return;
    }
    if (list.size() >= limit)
        list.erase(list.begin());
    list.push_back(entry);
}

} // namespace kinmap
