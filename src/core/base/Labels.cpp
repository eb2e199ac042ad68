#include "base/Labels.h"

#include "base/Workspace.h"

namespace kinmap {

namespace {

// A number outside the table reads as a person without any data. A deleted
// record inside it still shows its names: the link check reports on such.
const PersonRecord& personOrBlank(const Database& db, int32_t rin)
{
    static const PersonRecord blank{};
    return db.validRin(rin) ? db.persons[rin] : blank;
}

} // namespace

void personLabel(Workspace& session, const char* prefix, int options, int32_t rin)
{
    using namespace LabelOption;
    ReportBuffer& report = session.report;
    const PersonRecord& p = personOrBlank(session.db, rin);

    if (prefix)
        report.append("%s", prefix);
    if (options & numberFirst)
        report.append("[%d] ", rin);
    report.append("%s ", p.given);
    report.append("%s ", p.surname);

    constexpr uint32_t anyDate = Flag::hasBirthDate | Flag::hasChrisDate | Flag::hasDeathDate | Flag::hasBurialDate;
    if ((options & places) && !(p.flags & anyDate)) {
        if (p.birthPlace)
            report.append("* %s", p.birthPlace);
        else if (p.chrisPlace)
            report.append("~ %s", p.chrisPlace);
        else if (p.deathPlace)
            report.append("+ %s", p.deathPlace);
        else if (p.burialPlace)
            report.append("_ %s", p.burialPlace);
    }

    auto place = [&](Text text) {
        if (options & places)
            report.append("%s", text);
    };
    const int born = birthYear(p);
    const int died = deathYear(p);
    if ((options & birth) && born != 0) {
        if (options & fullDates) {
            if (const DateText date = formatDate(p.birthDate); !date.isNull()) {
                report.append(" * %s ", date.get());
                place(p.birthPlace);
            } else if (const DateText chris = formatDate(p.chrisDate); !chris.isNull()) {
                report.append(" ~ %s ", chris.get());
                place(p.chrisPlace);
            }
            if (const DateText date = formatDate(p.deathDate); !date.isNull()) {
                report.append(" + %s ", date.get());
                place(p.deathPlace);
            }
        } else if ((options & death) && died != 0) {
            report.append(" %d-%d ", born, died);
            place(p.deathPlace);
        } else {
            report.append(" *%d ", born);
            place(p.birthPlace ? p.birthPlace : p.chrisPlace);
        }
    } else if ((options & death) && yearOf(p.deathDate) != 0) {
        if (options & fullDates) {
            report.append(" + %s ", formatDate(p.deathDate).get());
            place(p.deathPlace);
        } else {
            report.append(" +%d ", yearOf(p.deathDate));
            place(p.deathPlace ? p.deathPlace : p.burialPlace);
        }
    }

    if (options & numberLast)
        report.append(" [%d]", rin);
    if (options & lineEnd)
        report.append("%s", "\r\n");
}

void relativesLabel(Workspace& session, int options, int32_t rin)
{
    using namespace RelativesOption;
    const Database& db = session.db;
    ReportBuffer& report = session.report;
    const int32_t father = db.fatherOf(rin, 0);
    const int32_t mother = db.motherOf(rin, 0);
    const int32_t spouse = db.spouseOf(rin, 0);
    const int year = db.marriageYearOf(rin, 0);

    if (options & lineBefore)
        report.append("%s", "\r\n");
    if (options & parents) {
        if (db.validRin(father))
            report.append(" father: %s %s ", db.persons[father].given, db.persons[father].surname);
        if (db.validRin(mother))
            report.append(" mother: %s %s ", db.persons[mother].given, db.persons[mother].surname);
    }
    if (options & marriageYear)
        report.append(" &%d ", year);
    if ((options & spouses) && db.validRin(spouse)) {
        report.append(" spouse: %s %s ", db.persons[spouse].given, db.persons[spouse].surname);
        for (int i = 1; i < db.persons[rin].fams.count(); ++i) {
            const int32_t further = db.spouseOf(rin, i);
            if (db.validRin(further))
                report.append(", %s %s ", db.persons[further].given, db.persons[further].surname);
        }
    }
    if (options & lineAfter)
        report.append("%s", "\r\n");
}

void familyLabel(Workspace& session, const char* prefix, int32_t mrin)
{
    const Database& db = session.db;
    ReportBuffer& report = session.report;
    if (prefix)
        report.append("%s", prefix);
    report.append(" Fam [%d] ", mrin);
    if (!db.validMrin(mrin))
        return;
    const FamilyRecord& family = db.families[mrin];
    if (db.validRin(family.husband))
        report.append("%s %s ", db.persons[family.husband].given, db.persons[family.husband].surname);
    if (db.validRin(family.wife))
        report.append("- %s %s ", db.persons[family.wife].given, db.persons[family.wife].surname);
}

} // namespace kinmap

