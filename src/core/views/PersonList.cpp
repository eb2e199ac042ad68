#include "views/PersonList.h"

#include "base/Format.h"
#include "db/Numbers.h"
#include "db/SortIds.h"
#include "db/TextCompare.h"
#include "db/Utf8.h"

#include <algorithm>
#include <chrono>
#include <unordered_map>

namespace kinmap {

namespace {

// What a column shows and what it is sorted by.
enum class Field : uint8_t {
    none,
    rin,
    surname,
    given,
    birthYear, // birth, else christening
    birthPlace,
    deathYear, // death, else burial
    deathPlace,
    familyFirst, // persons with a family before those without
    marriageYear,
    marriagePlace,
    nameOrder, // the order of the surname column
};

struct Column {
    const char* title;
    int share;
    Field shown;
    std::array<Field, 4> order; // compared in turn until one differs
};

constexpr Column columns[PersonList::columnCount] = {
    {"RIN", 70, Field::rin, {Field::rin}},
    {"Surn", 100, Field::surname, {Field::surname, Field::given}},
    {"Givn", 189, Field::given, {Field::given, Field::surname}},
    {"Born", 60, Field::birthYear, {Field::birthYear, Field::nameOrder}},
    {"Birth place", 165, Field::birthPlace, {Field::birthPlace, Field::birthYear, Field::nameOrder}},
    {"Died", 60, Field::deathYear, {Field::deathYear, Field::birthYear, Field::nameOrder}},
    {"Death place", 165, Field::deathPlace, {Field::deathPlace, Field::deathYear, Field::birthYear, Field::nameOrder}},
    {"1st Marr", 60, Field::marriageYear, {Field::familyFirst, Field::marriageYear, Field::nameOrder}},
    {"Marriage place", 155, Field::marriagePlace, {Field::marriagePlace, Field::familyFirst, Field::marriageYear, Field::nameOrder}},
};
constexpr int surnameColumn = 1;

Text present(Text text)
{
    return text && *text ? text : nullptr;
}

// Greater text first; a missing text after a present one.
int32_t compareTexts(Text a, Text b)
{
    a = present(a);
    b = present(b);
    if (!a || !b)
        return a ? 1 : b ? -1 : 0;
    return compareFolded(a, b, 1000);
}

// Positive when a belongs before b by one field.
int32_t compareField(const PersonList::Row& a, const PersonList::Row& b, Field field, const std::vector<int32_t>* nameRank)
{
    switch (field) {
    case Field::rin:
        return b.rin - a.rin;
    case Field::surname:
        return compareTexts(a.surname, b.surname);
    case Field::given:
        return compareTexts(a.given, b.given);
    case Field::birthYear: // earlier years first
        return b.birthYear - a.birthYear;
    case Field::birthPlace:
        return compareTexts(a.birthPlace, b.birthPlace);
    case Field::deathYear:
        return b.deathYear - a.deathYear;
    case Field::deathPlace:
        return compareTexts(a.deathPlace, b.deathPlace);
    case Field::familyFirst:
        return a.hasFamily - b.hasFamily;
    case Field::marriageYear:
        return b.marriageYear - a.marriageYear;
    case Field::marriagePlace:
        return compareTexts(a.marriagePlace, b.marriagePlace);
    case Field::nameOrder:
        if (nameRank)
            return (*nameRank)[static_cast<size_t>(b.rin)] - (*nameRank)[static_cast<size_t>(a.rin)];
        if (const int32_t c = compareTexts(a.surname, b.surname))
            return c;
        return compareTexts(a.given, b.given);
    case Field::none:
        break;
    }
    return 0;
}

// The text a field compares, or null for the other fields.
Text PersonList::Row::* textOf(Field field)
{
    switch (field) {
    case Field::surname:
        return &PersonList::Row::surname;
    case Field::given:
        return &PersonList::Row::given;
    case Field::birthPlace:
        return &PersonList::Row::birthPlace;
    case Field::deathPlace:
        return &PersonList::Row::deathPlace;
    case Field::marriagePlace:
        return &PersonList::Row::marriagePlace;
    default:
        return nullptr;
    }
}

// Each row's text of a field as its place among the field's distinct texts
// in the compare's order (0 for none), so that a sort compares integers:
// the distinct texts are far fewer than the rows.
std::vector<int32_t> textRanks(const std::vector<PersonList::Row>& rows, Text PersonList::Row::*field)
{
    std::vector<Text> texts;
    texts.reserve(rows.size());
    for (const PersonList::Row& row : rows)
        if (const Text text = present(row.*field))
            texts.push_back(text);
    std::sort(texts.begin(), texts.end());
    texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
    std::sort(texts.begin(), texts.end(), [](Text a, Text b) { return compareFolded(a, b, 1000) < 0; });
    std::unordered_map<Text, int32_t> rank;
    rank.reserve(texts.size());
    int32_t r = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i == 0 || compareFolded(texts[i - 1], texts[i], 1000) != 0)
            ++r;
        rank.emplace(texts[i], r);
    }
    std::vector<int32_t> ranks(rows.size(), 0);
    for (size_t i = 0; i < rows.size(); ++i)
        if (const Text text = present(rows[i].*field))
            ranks[i] = rank[text];
    return ranks;
}

std::string yearText(int year)
{
    return year == 0 ? std::string() : std::to_string(year);
}

} // namespace

const char* PersonList::columnTitle(int column)
{
    return columns[column].title;
}

int PersonList::columnShare(int column)
{
    return columns[column].share;
}

PersonList::Row PersonList::rowOf(const Database& db, int32_t rin)
{
    Row row;
    if (!db.validRin(rin))
        return row;
    const PersonRecord& p = db.persons[rin];
    row.rin = rin;
    row.surname = p.surname;
    row.given = p.given;
    row.birthPlace = p.birthPlace ? p.birthPlace : p.chrisPlace;
    row.deathPlace = p.deathPlace ? p.deathPlace : p.burialPlace;
    row.birthYear = static_cast<int16_t>(birthYear(p));
    row.deathYear = static_cast<int16_t>(deathYear(p));
    if (!p.fams.empty() && db.isFamily(p.fams[0])) {
        const FamilyRecord& f = db.families[p.fams[0]];
        row.hasFamily = true;
        row.marriageYear = static_cast<int16_t>(yearOf(f.marrDate));
        row.marriagePlace = f.marrPlace;
    }
    row.severalFamilies = p.fams.count() > 1;
    return row;
}

int32_t PersonList::compareRows(const Row& a, const Row& b, int column, const std::vector<int32_t>* nameRank)
{
    for (const Field field : columns[column].order)
        if (const int32_t c = compareField(a, b, field, nameRank))
            return c;
    return 0;
}

PersonList::~PersonList()
{
    if (worker_.valid())
        worker_.wait();
}

bool PersonList::workerRunning() const
{
    return worker_.valid() && worker_.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

void PersonList::waitForWorker()
{
    if (!worker_.valid())
        return;
    while (worker_.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready)
        if (whileWaiting)
            whileWaiting();
    worker_.get();
}

void PersonList::build(bool selectedOnly)
{
    waitForWorker();
    selectedOnly_ = selectedOnly;
    sortDirection_ = 1;
    sortColumn_ = 0;
    builtHighestRin_ = db_.highestRin;
    rows_.clear();
    for (int32_t rin = 1; rin <= db_.highestRin; ++rin)
        if (db_.isPerson(rin) && (!selectedOnly || (db_.persons[rin].flags & Flag::selected)))
            rows_.push_back(rowOf(db_, rin));
    for (std::vector<int32_t>& order : orders_)
        order.clear();
    orders_[0].resize(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i)
        orders_[0][i] = static_cast<int32_t>(i);
    valid_ = true;
    builtRevision_ = db_.rowsRevision;
    keepTexts_ = db_.texts.keepAlive();
    if (!rows_.empty())
        worker_ = std::async(std::launch::async, [this] { sortAll(); });
}

// The worker: the surname order first, then every other column, whose ties
// after the name fall back to the position in the surname order. Texts are
// compared by their ranks, in the order compareRows gives them.
void PersonList::sortAll()
{
    const int last = static_cast<int>(rows_.size()) - 1;
    std::array<std::vector<int32_t>, static_cast<size_t>(Field::nameOrder) + 1> ranks;
    for (size_t field = 0; field < ranks.size(); ++field)
        if (const auto text = textOf(static_cast<Field>(field)))
            ranks[field] = textRanks(rows_, text);
    std::vector<int32_t> nameRank;
    auto sortColumn = [&](int column) {
        std::vector<int32_t>& order = orders_[static_cast<size_t>(column)];
        order = orders_[0];
        sortIds(order.data(), 0, last, column, [&](int32_t a, int32_t b, int32_t key) {
            for (const Field field : columns[key].order) {
                const std::vector<int32_t>& rank = ranks[static_cast<size_t>(field)];
                const int32_t c = !rank.empty() ? rank[static_cast<size_t>(a)] - rank[static_cast<size_t>(b)]
                                                : compareField(rows_[static_cast<size_t>(a)], rows_[static_cast<size_t>(b)],
                                                               field, &nameRank);
                if (c != 0)
                    return c;
            }
            return 0;
        });
    };
    sortColumn(surnameColumn);
    nameRank.assign(static_cast<size_t>(rows_.back().rin) + 1, 0);
    const std::vector<int32_t>& bySurname = orders_[surnameColumn];
    for (size_t rank = 0; rank < bySurname.size(); ++rank)
        nameRank[static_cast<size_t>(rows_[static_cast<size_t>(bySurname[rank])].rin)] = static_cast<int32_t>(rank);
    for (int column = 2; column < columnCount; ++column)
        sortColumn(column);
}

int32_t PersonList::rinAt(int row) const
{
    const int count = rowCount();
    if (row < 0 || row >= count)
        return 0;
    const std::vector<int32_t>& order = orders_[static_cast<size_t>(sortColumn_)];
    return rows_[static_cast<size_t>(order[static_cast<size_t>(sortDirection_ > 0 ? row : count - 1 - row)])].rin;
}

int32_t PersonList::rinBySurname(int row) const
{
    const std::vector<int32_t>& order = orders_[surnameColumn];
    if (row < 0 || static_cast<size_t>(row) >= order.size())
        return 0;
    return rows_[static_cast<size_t>(order[static_cast<size_t>(row)])].rin;
}

int PersonList::rowOf(int32_t rin) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (rinAt(row) == rin)
            return row;
    return -1;
}

PersonList::Row PersonList::rowShown(int row) const
{
    return rowOf(db_, rinAt(row));
}

void PersonList::clickColumn(int column)
{
    if (column == sortColumn_) {
        sortDirection_ = -sortDirection_;
        return;
    }
    if (column != 0)
        waitForWorker();
    sortDirection_ = 1;
    sortColumn_ = column;
}

std::string PersonList::cellText(int row, int column) const
{
    const Row r = rowShown(row);
    if (r.rin == 0)
        return {};
    auto text = [](Text t) { return t ? std::string(t) : std::string(); };
    auto year = [](int y) { return y ? formatText("%4u", static_cast<unsigned>(y)) : std::string(); };
    switch (columns[column].shown) {
    case Field::rin:
        return formatText("%-6u", static_cast<unsigned>(r.rin));
    case Field::surname:
        return text(r.surname);
    case Field::given:
        return text(r.given);
    case Field::birthYear:
        return year(r.birthYear);
    case Field::birthPlace:
        return text(r.birthPlace);
    case Field::deathYear:
        return year(r.deathYear);
    case Field::deathPlace:
        return text(r.deathPlace);
    case Field::marriageYear:
        return r.marriageYear && r.severalFamilies ? year(r.marriageYear) + "..." : year(r.marriageYear);
    case Field::marriagePlace:
        return text(r.marriagePlace);
    default:
        return {};
    }
}

std::string PersonList::typeAheadText(int row, int column) const
{
    const Row r = rowShown(row);
    switch (columns[column].shown) {
    case Field::birthYear:
        return yearText(r.birthYear);
    case Field::deathYear:
        return yearText(r.deathYear);
    case Field::marriageYear:
        return yearText(r.marriageYear);
    default:
        return cellText(row, column);
    }
}

int TypeAhead::key(const PersonList& list, int current, std::string_view c, double now)
{
    if (!running_ || now - started_ > sequenceSeconds) {
        typed_.clear();
        given_.clear();
        givenActive_ = false;
        running_ = true;
        started_ = now;
    }
    const int count = list.rowCount();
    if (count == 0 || c.empty())
        return current;
    const int column = list.sortColumn();
    if (c == "," && column == surnameColumn) {
        givenActive_ = true;
        return current;
    }
    // Searching goes up the rows in the ascending direction, down in the other.
    const int step = list.sortDirection() > 0 ? -1 : 1;
    current = std::clamp(current, 0, count - 1);

    if (!givenActive_) {
        if (characterCount(typed_) < maxLength)
            typed_ += c;
        const int typedLength = static_cast<int>(characterCount(typed_));
        auto matches = [&](int row) {
            if (column == 0)
                return readNumber(typed_) == list.rinAt(row);
            return compareFolded(list.typeAheadText(row, column).c_str(), typed_.c_str(), typedLength) == 0;
        };
        int row = current;
        for (int tried = 0; tried < count; ++tried) {
            if (matches(row))
                return row;
            row = (row + step + count) % count;
        }
        return current;
    }

    if (c == " ")
        return current;
    if (characterCount(given_) < maxLength)
        given_ += c;
    const int givenLength = static_cast<int>(characterCount(given_));
    const int typedLength = static_cast<int>(characterCount(typed_));
    for (int row = current;; row += step) {
        const PersonList::Row r = list.rowShown(row);
        if (!present(r.given) || compareFolded(r.given, given_.c_str(), givenLength) >= 0 ||
            compareFolded(r.surname, typed_.c_str(), typedLength) != 0)
            return row;
        if (row + step < 0 || row + step >= count)
            return row;
    }
}

} // namespace kinmap
