#include "views/Chart.h"

#include "base/Format.h"
#include "db/Database.h"
#include "db/TextCompare.h"
#include "db/Utf8.h"

#include <algorithm>

namespace kinmap {

namespace {

class ChartBuilder {
public:
    ChartBuilder(const Database& db, Chart& chart) : db_(db), c_(chart) {}

    // The ancestors of rin from (x, y) on, fanning out to the right or,
    // mirrored, to the left. Placeholders have no ancestors.
    void ancestors(int32_t rin, int generation, int x, int y, int hangsOn, bool toTheRight)
    {
        const int index = static_cast<int>(c_.boxes.size());
        c_.boxes.push_back({rin, x, y, c_.boxW, c_.boxH, hangsOn, generation});
        if (rin <= 0 || !db_.isPerson(rin) || generation >= c_.generations)
            return;
        // The first parents' family; a parent who is not there is a placeholder.
        int32_t father = db_.personOrNone(db_.fatherOf(rin, 0)), mother = db_.personOrNone(db_.motherOf(rin, 0));
        father = father ? father : missingFather;
        mother = mother ? mother : missingMother;
        const int boxW = c_.boxW, boxH = c_.boxH, margin = c_.margin;
        const int dy = (c_.height - 40) >> (generation + 1);
        if (generation < c_.generations - 1) {
            const int step = c_.kind == ChartKind::tree ? boxW / 2 : boxW * generation / 5;
            const int nx = toTheRight ? x + step : x - step;
            // The stubs start at the parents' inner edge, the bracket a margin beyond.
            const int edge = toTheRight ? nx : nx + boxW;
            const int xl = toTheRight ? nx - margin : nx + boxW + margin;
            line(edge, y - dy + boxH / 2, xl, y - dy + boxH / 2);
            line(xl, y - dy + boxH / 2, xl, y);
            line(xl, y + dy + boxH / 2, xl, y + boxH);
            line(edge, y + dy + boxH / 2, xl, y + dy + boxH / 2);
            ancestors(father, generation + 1, nx, y - dy, index, toTheRight);
            ancestors(mother, generation + 1, nx, y + dy, index, toTheRight);
        } else {
            // The last pair goes right beside the box.
            const int x2 = toTheRight ? x + margin + boxW : x - margin - boxW;
            const int xs = toTheRight ? x + boxW - margin : x + margin;
            const int reach = toTheRight ? x2 : x2 + boxW;
            line(xs, y, xs, y - margin);
            line(xs, y - margin, reach, y - margin);
            line(xs, y + boxH, xs, y + boxH + margin);
            line(xs, y + boxH + margin, reach, y + boxH + margin);
            ancestors(father, generation + 1, x2, y - boxH / 2 - margin, index, toTheRight);
            ancestors(mother, generation + 1, x2, y + boxH / 2 + margin, index, toTheRight);
        }
    }

    void line(int x1, int y1, int x2, int y2) { c_.lines.push_back({x1, y1, x2, y2}); }

    // The drawing takes in every box and label.
    void fitExtent()
    {
        for (const ChartBox& b : c_.boxes) {
            c_.width = std::max(c_.width, b.x + b.w + c_.margin);
            c_.height = std::max(c_.height, b.y + b.h + c_.margin);
        }
        for (const ChartLabel& l : c_.labels)
            c_.width = std::max(c_.width, l.x + l.w);
    }

private:
    const Database& db_;
    Chart& c_;
};

// The font's pixel height: from the box's height, but no larger than lets
// the boxW / 7 characters a box holds fit its width (7 pixels a character
// of a font about 13 pixels high).
int fontFor(int fromHeight)
{
    return std::clamp(fromHeight, 7, 13);
}

std::string yearsText(const PersonRecord& p)
{
    std::string text;
    if (const int born = birthYear(p))
        text += formatText("%d", born);
    if (const int died = deathYear(p))
        text += formatText("-%d", died);
    return text;
}

} // namespace

int Chart::boxOf(int32_t rin) const
{
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i].id == rin && rin > 0)
            return static_cast<int>(i);
    return -1;
}

Chart buildTree(const Database& db, int32_t proband, int width, int height, int generations)
{
    Chart c;
    c.kind = ChartKind::tree;
    c.proband = proband;
    c.generations = std::clamp(generations, 3, 8);
    c.margin = 5;
    c.width = width;
    c.height = height * 95 / 100;
    // A small view gets a small drawing, never boxes without room.
    c.boxW = std::max(width / 4, 48);
    c.boxH = std::max(c.height / 16 - 10, 12);
    c.fontHeight = fontFor(c.boxH * 26 / 40);
    // From the sixth generation on the drawing grows in height, so that
    // the parents' boxes keep apart; the view zooms and scrolls.
    c.height = std::max(c.height, 200) << std::max(0, c.generations - 5);
    if (!db.isPerson(proband))
        return c;
    ChartBuilder(db, c).ancestors(proband, 1, c.margin + 30, c.height / 2 - c.boxH, -1, true);
    ChartBuilder(db, c).fitExtent();
    return c;
}

Chart buildHourglass(const Database& db, int32_t proband, int& familyIndex, int width, int height, int generations)
{
    Chart c;
    c.kind = ChartKind::hourglass;
    c.proband = proband;
    c.generations = std::clamp(generations, 3, 8);
    c.margin = 4;
    c.width = width;
    c.height = std::max(height, 200) << std::max(0, c.generations - 4);
    c.boxW = std::max((width / 3) * 9 / 20, 40);
    c.boxH = std::max((height / 8) * 13 / 20, 12);
    c.fontHeight = fontFor(c.boxH * 12 / 40);
    if (!db.isPerson(proband))
        return c;
    const int W = c.width, H = c.height, boxW = c.boxW, boxH = c.boxH, margin = c.margin;
    ChartBuilder build(db, c);

    const IdList& fams = db.persons[proband].fams;
    familyIndex = fams.empty() ? 0 : std::clamp(familyIndex, 0, fams.count() - 1);
    c.family = !fams.empty() && db.isFamily(fams[familyIndex]) ? fams[familyIndex] : 0;
    const int x0 = W / 2 - 3 * boxW / 2, y0 = H / 2 - boxH;
    if (c.family) {
        const FamilyRecord& f = db.families[c.family];
        const int32_t other = f.husband == proband ? f.wife : f.husband;
        c.spouse = db.isPerson(other) ? other : 0;
        if (const int year = yearOf(f.marrDate))
            c.labels.push_back({formatText(" marr. %d", year), x0 + 6 * boxW / 5, y0 + boxH / 3, boxW + 20, 20});
        std::vector<int32_t> children;
        for (const int32_t child : f.children)
            if (db.isPerson(child))
                children.push_back(child);
        if (!children.empty()) {
            const int n = static_cast<int>(children.size());
            c.labels.push_back({n > 1 ? formatText("%d children:", n) : std::string("child:"), x0 + 6 * boxW / 5,
                                y0 + 2 * boxH / 3, boxW - 20, 20});
            // At least a readable row per child: a long list runs below the view.
            const int row = std::max(std::min(boxH / 2, H / (2 * n) - margin), 14 + margin);
            for (int i = 0; i < n; ++i)
                c.boxes.push_back({children[static_cast<size_t>(i)], W / 2 - boxW / 2 + margin, H / 2 + 2 * margin + i * row,
                                   boxW - 9, row - margin, -1, 2, true});
        }
    } else {
        c.labels.push_back({"unmarried:", margin, H / 2, boxW, boxH});
    }
    // The spouse, or the place to add one, with the spouse's ancestors.
    build.ancestors(c.spouse, 1, x0, y0, -1, false);

    const int x = W / 2 + boxW / 2, y = H / 2 - boxH;
    c.labels.push_back({"proband:", x + boxW / 3, y - 18, boxW / 2, boxH / 2});
    build.ancestors(proband, 1, x, y, -1, true);
    build.fitExtent();
    return c;
}

std::string shortenName(std::string_view text, size_t room)
{
    if (characterCount(text) <= room)
        return std::string(text);
    // The words, split at blanks (empty words keep doubled blanks).
    std::vector<std::u32string> words(1);
    for (const char* p = text.data(); p < text.data() + text.size();) {
        const char32_t ch = nextCodePoint(p, text.data() + text.size());
        if (ch == U' ')
            words.emplace_back();
        else
            words.back() += ch;
    }
    // The word with the last capital stays whole, and all after it.
    int last = -1;
    for (int w = 0; w < static_cast<int>(words.size()); ++w)
        for (const char32_t ch : words[static_cast<size_t>(w)])
            if (isUpperCaseLetter(ch))
                last = w;
    if (last <= 0)
        return std::string(text);
    auto initial = [](const std::u32string& word) {
        for (size_t i = 0; i < word.size(); ++i)
            if (isUpperCaseLetter(word[i]))
                return (i > 0 && word[i - 1] == U'"' ? std::u32string(U" ") : std::u32string()) + word[i];
        return word; // no capital to cut to
    };
    std::string result;
    for (int cut = last - 1; cut >= 0; --cut) {
        std::u32string shortened;
        for (int w = 0; w < last; ++w)
            shortened += w < cut ? words[static_cast<size_t>(w)] + U' ' : initial(words[static_cast<size_t>(w)]);
        for (int w = last; w < static_cast<int>(words.size()); ++w)
            shortened += U' ' + words[static_cast<size_t>(w)];
        result.clear();
        for (const char32_t ch : shortened)
            appendUtf8(result, ch);
        if (shortened.size() <= room)
            break;
    }
    return result;
}

std::vector<std::string> chartBoxLines(const Database& db, const Chart& chart, const ChartBox& box)
{
    if (box.placeholder() || !db.isPerson(box.id))
        return {};
    const PersonRecord& p = db.persons[box.id];
    const size_t room = static_cast<size_t>(std::max(chart.boxW / 7, 4));
    if (box.child) {
        std::string text = shortenName(formatText("%s ", orEmpty(p.given)), room);
        if (const int born = birthYear(p))
            text += formatText("%d", born);
        return {text};
    }
    if (chart.kind == ChartKind::tree) {
        std::string text = shortenName(formatText("%s %s ", orEmpty(p.given), orEmpty(p.surname)), room);
        const size_t enough = static_cast<size_t>(chart.boxW / 8);
        if (const int born = birthYear(p); born && characterCount(text) < enough)
            text += formatText("%d", born);
        if (const int died = deathYear(p); died && characterCount(text) < enough)
            text += formatText("-%d", died);
        return {text};
    }
    const std::string given = shortenName(orEmpty(p.given), room);
    const std::string both = formatText("%s %s", orEmpty(p.given), orEmpty(p.surname));
    if (characterCount(both) <= room && chart.boxW * 10 / chart.boxH > 30)
        return {both, yearsText(p)};
    if (!(p.flags & (Flag::hasBirthDate | Flag::hasChrisDate | Flag::hasDeathDate | Flag::hasBurialDate)))
        return {given, orEmpty(p.surname)};
    return {given, orEmpty(p.surname), yearsText(p)};
}

std::string chartTooltip(const Database& db, int32_t rin)
{
    if (!db.isPerson(rin))
        return {};
    const PersonRecord& p = db.persons[rin];
    std::string text;
    if (p.given && *p.given)
        text += formatText("[%d]\r\n%s ", rin, p.given);
    if (p.surname && *p.surname)
        text += formatText("%s\r\n", p.surname);
    auto event = [&](char mark, uint32_t dateFlag, DateValue date, uint32_t fallbackFlag, DateValue fallback, Text place,
                     uint32_t placeFlag) {
        if (!(p.flags & (dateFlag | placeFlag)))
            return;
        text += mark;
        if (p.flags & dateFlag)
            text += formatText("%s ", orEmpty(formatDate(date).get()));
        else if (p.flags & fallbackFlag)
            text += formatText("%s ", orEmpty(formatDate(fallback).get()));
        text += orEmpty(place);
        text += "\r\n";
    };
    event('*', Flag::hasBirthDate, p.birthDate, Flag::hasChrisDate, p.chrisDate, p.birthPlace, Flag::hasBirthPlace);
    event('+', Flag::hasDeathDate, p.deathDate, Flag::hasBurialDate, p.burialDate, p.deathPlace, Flag::hasDeathPlace);
    if (!p.fams.empty()) {
        text += "Spouse:";
        for (const int32_t mrin : p.fams) {
            if (!db.isFamily(mrin))
                continue;
            const FamilyRecord& f = db.families[mrin];
            text += "\r\n";
            if (const int year = yearOf(f.marrDate))
                text += formatText("%d", year);
            const int32_t spouse = f.husband == rin ? f.wife : f.husband;
            if (db.isPerson(spouse))
                text += formatText(" %s %s", orEmpty(db.persons[spouse].given), orEmpty(db.persons[spouse].surname));
        }
    }
    return text;
}

} // namespace kinmap
