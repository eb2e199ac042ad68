#include "views/DatabaseDump.h"

#include "base/Format.h"
#include "db/Database.h"

#include <cinttypes>

namespace kinmap {

namespace {

void appendByte(std::string& out, unsigned char c)
{
    if (c < 0x20 || c == 0x7F || c == '\\')
        out += formatText("\\x%02X", c);
    else
        out += static_cast<char>(c);
}

void appendText(std::string& out, const char* name, Text text)
{
    out += '\t';
    out += name;
    out += '=';
    if (!text) {
        out += "<null>";
        return;
    }
    for (const char* p = text; *p; ++p)
        appendByte(out, static_cast<unsigned char>(*p));
}

void appendDate(std::string& out, const char* name, DateValue value)
{
    const DateText text = formatDate(value);
    out += formatText("\t%s=%s|%08X", name, text.isNull() ? "-" : text.get(), value);
}

void appendList(std::string& out, const char* name, const IdList& list)
{
    out += '\t';
    out += name;
    out += '=';
    for (int i = 0; i < list.count(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(list[i]);
    }
}

} // namespace

std::string dumpDatabase(const Database& db)
{
    std::string out = "\n==== dump ====\n";
    for (int32_t rin = 1; rin <= db.highestRin; ++rin) {
        const PersonRecord& p = db.persons[rin];
        if (!p.exists())
            continue;
        out += formatText("I%d\tflags=%04X\tsex=", rin, p.flags);
        appendByte(out, p.sex);
        appendText(out, "given", p.given);
        appendText(out, "surname", p.surname);
        appendDate(out, "birt", p.birthDate);
        appendDate(out, "chr", p.chrisDate);
        appendDate(out, "deat", p.deathDate);
        appendDate(out, "buri", p.burialDate);
        appendText(out, "birtplac", p.birthPlace);
        appendText(out, "chrplac", p.chrisPlace);
        appendText(out, "deatplac", p.deathPlace);
        appendText(out, "buriplac", p.burialPlace);
        appendList(out, "fams", p.fams);
        appendList(out, "famc", p.famc);
        out += formatText("\toffset=%" PRIu64 "\n", p.fileOffset);
    }
    for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin) {
        const FamilyRecord& f = db.families[mrin];
        if (!f.exists())
            continue;
        out += formatText("F%d\tflags=%04X\thusb=%d\twife=%d", mrin, f.flags, f.husband, f.wife);
        appendDate(out, "marr", f.marrDate);
        appendText(out, "marrplac", f.marrPlace);
        appendList(out, "chil", f.children);
        out += formatText("\toffset=%" PRIu64 "\n", f.fileOffset);
    }
    out += formatText("highestRin=%d highestMrin=%d personCount=%d familyCount=%d highestSourceNumber=%d\n",
                      db.highestRin, db.highestMrin, db.personCount, db.familyCount, db.highestSourceNumber);
    return out;
}

} // namespace kinmap
