#include "views/Pedigree.h"

#include "base/Format.h"
#include "db/Database.h"

#include <algorithm>

namespace kinmap {

namespace {

bool present(Text text)
{
    return text && *text;
}

std::string yearText(const char* format, int year)
{
    return year != 0 ? formatText(format, year) : std::string();
}

} // namespace

const char* Pedigree::columnTitle(int column)
{
    static const char* const titles[columnCount] = {"Line",   "up",   "down", "RIN",     "Gen/Nr", "Kekulé",
                                                     "Name",   "born", "died", "married", "implex"};
    return column >= 0 && column < columnCount ? titles[column] : "";
}

int Pedigree::columnShare(int column)
{
    static const int shares[columnCount] = {60, 40, 40, 60, 60, 70, 300, 60, 60, 60, 214};
    return column >= 0 && column < columnCount ? shares[column] : 0;
}

const char* Pedigree::overflowMessage(Outcome outcome)
{
    return outcome == Outcome::counterOverflow ? "Pedigree counter overflow" : "Pedigree generation overflow";
}

Pedigree::Outcome Pedigree::build(const Database& db, int32_t rin)
{
    rows_.clear();
    implexRows_.clear();
    firstRows_.assign(static_cast<size_t>(db.highestRin) + 1, -1);
    if (!db.isPerson(rin))
        return Outcome::built;
    // The next number of each generation; an entry of generation
    // maxGeneration + 1 is read before that overflow is told.
    std::vector<int> counters(maxGeneration + 2, 1);
    struct Pending {
        int32_t rin;
        int generation;
        int32_t up;
        bool mother;
    };
    // Every entry not yet taken stays: the last rows may enqueue two parents each.
    std::vector<Pending> queue{{rin, 1, -1, false}};
    auto fail = [this](Outcome outcome) {
        rows_.clear();
        implexRows_.clear();
        return outcome;
    };
    for (size_t next = 0; next < queue.size() && rows_.size() < maxRows; ++next) {
        const Pending p = queue[next];
        const int index = static_cast<int>(rows_.size());
        PedigreeRow row{p.rin, p.up, index, p.generation, counters[static_cast<size_t>(p.generation)], p.mother};
        int32_t& first = firstRows_[static_cast<size_t>(p.rin)];
        if (first >= 0) {
            // Listed before: the parents are not walked again.
            row.firstRow = first;
            rows_.push_back(row);
            implexRows_.push_back(index);
            continue;
        }
        first = index;
        if (row.number > maxNumber)
            return fail(Outcome::counterOverflow);
        ++counters[static_cast<size_t>(p.generation)];
        if (p.generation > maxGeneration)
            return fail(Outcome::generationOverflow);
        rows_.push_back(row);
        // Only the first parents' family is followed.
        if (const int32_t father = db.personOrNone(db.fatherOf(p.rin, 0)))
            queue.push_back({father, p.generation + 1, index, false});
        if (const int32_t mother = db.personOrNone(db.motherOf(p.rin, 0)))
            queue.push_back({mother, p.generation + 1, index, true});
    }
    return Outcome::built;
}

std::string Pedigree::countText() const
{
    if (implexRows_.empty())
        return formatText("%d Persons in %d Generations", rowCount(), generations());
    return formatText("%d Persons in %d Generations, %dx implex", rowCount(), generations(), implexCount());
}

int32_t Pedigree::firstRowOf(const Database& db, int32_t rin) const
{
    return db.isPerson(rin) && static_cast<size_t>(rin) < firstRows_.size() ? firstRows_[static_cast<size_t>(rin)] : -1;
}

std::string Pedigree::downText(const Database& db, int index) const
{
    const int32_t rin = row(index).rin;
    int32_t first = firstRowOf(db, db.fatherOf(rin, 0));
    if (first < 0)
        first = firstRowOf(db, db.motherOf(rin, 0));
    return first >= 0 ? formatText("%d ", first + 1) : std::string();
}

std::string Pedigree::kekuleNumber(int index) const
{
    // The steps from the person down to the row, father 0 and mother 1.
    std::vector<bool> steps;
    for (int r = index; row(r).up >= 0; r = row(r).up)
        steps.push_back(row(r).mother);
    // Digits in base 10^9, least significant first: 254 generations
    // exceed every integer type.
    std::vector<uint32_t> digits{1};
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        uint64_t carry = *step ? 1 : 0;
        for (uint32_t& d : digits) {
            const uint64_t value = uint64_t(d) * 2 + carry;
            d = static_cast<uint32_t>(value % 1000000000);
            carry = value / 1000000000;
        }
        if (carry)
            digits.push_back(static_cast<uint32_t>(carry));
    }
    std::string text = std::to_string(digits.back());
    for (size_t i = digits.size() - 1; i-- > 0;)
        text += formatText("%09u", digits[i]);
    return text;
}

std::string Pedigree::cellText(const Database& db, int index, int column) const
{
    if (index < 0 || index >= rowCount())
        return {};
    const PedigreeRow& r = row(index);
    const PersonRecord& p = db.persons[r.rin];
    switch (column) {
    case 0:
        return formatText("%d", index + 1);
    case 1:
        return r.up >= 0 ? formatText("%d", r.up + 1) : std::string();
    case 2:
        return downText(db, index);
    case 3:
        return formatText("%d", r.rin);
    case 4:
        return formatText("%d-%d", r.generation, r.number);
    case kekuleColumn:
        return kekuleNumber(index);
    case 6:
        return (present(p.given) ? formatText("%s ", p.given) : std::string()) + orEmpty(p.surname);
    case 7:
        return yearText("%4d", birthYear(p));
    case 8:
        return yearText("%4d", deathYear(p));
    case 9: {
        // The marriage that joins the row with its neighbour, father above mother.
        int year = 0;
        for (const int32_t mrin : p.fams) {
            if (!db.isFamily(mrin))
                continue;
            const FamilyRecord& f = db.families[mrin];
            if (p.sex == 'M' ? firstRowOf(db, f.wife) == index + 1 : firstRowOf(db, f.husband) == index - 1)
                year = yearOf(f.marrDate);
        }
        return yearText("%4d", year);
    }
    case 10:
        if (r.firstRow != index) {
            const PedigreeRow& first = row(r.firstRow);
            return formatText("siehe -> %d-%d (Zeile %d)", first.generation, first.number, r.firstRow + 1);
        }
        return {};
    default:
        return {};
    }
}

std::string Pedigree::fileText(const Database& db) const
{
    std::string text = "Line\tup\tdown\tRIN\tGen/Nr\tName\tBirth\tDeath\tMarriage\tImplex\n";
    for (int index = 0; index < rowCount(); ++index) {
        const PedigreeRow& r = row(index);
        const PersonRecord& p = db.persons[r.rin];
        // Appended piece by piece: one string, no temporaries.
        text.append(formatText("%d\t", index + 1));
        if (index > 0)
            text.append(formatText("%d", r.up + 1));
        text.append("\t").append(downText(db, index)).append("\t");
        text.append(formatText("%d\t%d_%d\t", r.rin, r.generation, r.number));
        if (present(p.surname))
            text.append(p.surname).append(" ");
        if (present(p.given))
            text.append(p.given);
        text.append("\t").append(yearText("%d", birthYear(p))).append("\t").append(yearText("%d", deathYear(p))).append("\t");
        if (!p.fams.empty() && db.isFamily(p.fams[0]))
            text.append(yearText("%d", yearOf(db.families[p.fams[0]].marrDate)));
        text.append("\t").append(cellText(db, index, 10)).append("\r\n");
    }
    return text;
}

namespace {

// The partner row of a parent row: the father's wife is the row after him,
// the mother's husband the row before her, both reached through the same child.
int partnerRow(const Pedigree& pedigree, int r)
{
    if (r < 0 || r >= pedigree.rowCount() || pedigree.row(r).up < 0)
        return -1;
    const PedigreeRow& row = pedigree.row(r);
    const int other = row.mother ? r - 1 : r + 1;
    if (other < 0 || other >= pedigree.rowCount())
        return -1;
    const PedigreeRow& o = pedigree.row(other);
    return o.up == row.up && o.mother != row.mother ? other : -1;
}

bool holds(const std::vector<int>& line, int r)
{
    return r >= 0 && std::find(line.begin(), line.end(), r) != line.end();
}

} // namespace

ImplexLines implexLines(const Pedigree& pedigree, int implexRow)
{
    ImplexLines lines;
    if (implexRow < 0 || implexRow >= pedigree.rowCount())
        return lines;
    auto& a = lines.a;
    auto& b = lines.b;
    a.push_back(implexRow);
    b.push_back(pedigree.row(implexRow).firstRow);
    int meeting = -1;
    // Both lines climb towards row 0, one child row each step; a child row
    // always comes before its parents' rows, so the walk ends.
    for (int pa = a.back(), pb = b.back();;) {
        a.push_back(partnerRow(pedigree, pa));
        const int partnerB = partnerRow(pedigree, pb);
        if (holds(a, partnerB)) {
            meeting = partnerB;
            break;
        }
        b.push_back(partnerB);
        const int upA = pedigree.row(pa).up;
        if (upA < 0)
            break;
        a.push_back(upA);
        if (holds(b, upA)) {
            meeting = upA;
            break;
        }
        const int upB = pedigree.row(pb).up;
        if (upB < 0 || upB == upA)
            break;
        b.push_back(upB);
        if (holds(a, upB)) {
            meeting = upB;
            break;
        }
        pa = upA;
        pb = upB;
    }
    if (const int partner = partnerRow(pedigree, meeting); partner >= 0) {
        const bool motherMeets = pedigree.row(meeting).mother;
        lines.husbandRow = motherMeets ? partner : meeting;
        lines.wifeRow = motherMeets ? meeting : partner;
    }
    return lines;
}

ImplexText implexText(const Database& db, const Pedigree& pedigree, const ImplexLines& lines)
{
    auto entry = [&](int r, const std::string& indent) {
        if (r < 0)
            return std::string();
        const PersonRecord& p = db.persons[pedigree.row(r).rin];
        std::string text = formatText("%s[%d]  %s %s ", indent.c_str(), pedigree.row(r).rin, orEmpty(p.given),
                                      orEmpty(p.surname));
        text += yearText("%d ", birthYear(p)) + yearText("-%d", deathYear(p));
        return text;
    };
    // Person, " & ", partner, " -> ", next person one step further in.
    auto fill = [&](const std::vector<int>& line, std::vector<std::string>& out, const std::vector<int>* stopAt) {
        std::string indent;
        for (size_t i = 0; i < line.size(); ++i) {
            if (i % 2 == 0) {
                if (i > 0) {
                    out.push_back(indent + " -> ");
                    indent += "    ";
                }
                out.push_back(entry(line[i], indent));
            } else {
                out.push_back(indent + "\t & ");
                out.push_back(entry(line[i], indent));
            }
            if (stopAt && holds(*stopAt, line[i]))
                break;
        }
    };
    ImplexText text;
    fill(lines.a, text.left, nullptr);
    fill(lines.b, text.right, &lines.a);
    if (lines.husbandRow >= 0) {
        const PersonRecord& h = db.persons[pedigree.row(lines.husbandRow).rin];
        const PersonRecord& w = db.persons[pedigree.row(lines.wifeRow).rin];
        text.couple = formatText("[%d]  %s %s and [%d]  %s %s have common ancestors\r\n ", pedigree.row(lines.husbandRow).rin,
                                 orEmpty(h.given), orEmpty(h.surname),
                                 pedigree.row(lines.wifeRow).rin, orEmpty(w.given),
                                 orEmpty(w.surname));
    }
    return text;
}

} // namespace kinmap
