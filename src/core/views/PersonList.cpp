#include "views/PersonList.h"

#include "app/Format.h"
#include "db/SortIds.h"
#include "db/TextCompare.h"

#include <chrono>
#include <cstdlib>

namespace kinmap {

const char* const PersonList::columnTitles[columnCount] = {"RIN",  "Surn",        "Givn",     "Born",          "Birth place",
                                                           "Died", "Death place", "1st Marr", "Marriage place"};
const int PersonList::columnShares[columnCount] = {70, 100, 189, 60, 165, 60, 165, 60, 155};

namespace {

Text present(Text text)
{
    return text && *text ? text : nullptr;
}

Text birthPlaceOf(const PersonRecord& p)
{
    return p.birthPlace ? p.birthPlace : p.chrisPlace;
}

Text deathPlaceOf(const PersonRecord& p)
{
    return p.deathPlace ? p.deathPlace : p.burialPlace;
}

const FamilyRecord* firstFamily(const Database& db, const PersonRecord& p)
{
    return !p.fams.empty() && db.isFamily(p.fams[0]) ? &db.families[p.fams[0]] : nullptr;
}

int marriageYear(const Database& db, const PersonRecord& p)
{
    const FamilyRecord* f = firstFamily(db, p);
    return f ? yearOf(f->marrDate) : 0;
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

std::string yearText(int year)
{
    return year == 0 ? std::string() : std::to_string(year);
}

} // namespace

int32_t comparePersons(const Database& db, int32_t a, int32_t b, int32_t key)
{
    const PersonRecord& x = db.persons[a];
    const PersonRecord& y = db.persons[b];
    int32_t c = 0;
    switch (key) {
    case 1:
        c = compareTexts(x.surname, y.surname);
        return c != 0 ? c : compareTexts(x.given, y.given);
    case 2:
        c = compareTexts(x.given, y.given);
        return c != 0 ? c : compareTexts(x.surname, y.surname);
    case 3:
        c = birthYear(y) - birthYear(x); // earlier years first
        return c != 0 ? c : comparePersons(db, a, b, 1);
    case 4:
        c = compareTexts(birthPlaceOf(x), birthPlaceOf(y));
        return c != 0 ? c : comparePersons(db, a, b, 3);
    case 5:
        c = deathYear(y) - deathYear(x);
        return c != 0 ? c : comparePersons(db, a, b, 3);
    case 6:
        c = compareTexts(deathPlaceOf(x), deathPlaceOf(y));
        return c != 0 ? c : comparePersons(db, a, b, 5);
    case 7: {
        const bool xHas = firstFamily(db, x) != nullptr, yHas = firstFamily(db, y) != nullptr;
        if (xHas != yHas)
            return xHas ? 1 : -1; // without a family after one with a family
        c = marriageYear(db, y) - marriageYear(db, x);
        return c != 0 ? c : comparePersons(db, a, b, 1);
    }
    case 8: {
        const FamilyRecord* fx = firstFamily(db, x);
        const FamilyRecord* fy = firstFamily(db, y);
        c = compareTexts(fx ? fx->marrPlace : nullptr, fy ? fy->marrPlace : nullptr);
        return c != 0 ? c : comparePersons(db, a, b, 7);
    }
    default:
        return b - a; // RIN order
    }
}

PersonList::~PersonList()
{
    if (worker_.joinable())
        worker_.join();
}

void PersonList::waitForWorker()
{
    while (workerRunning()) {
        if (whileWaiting)
            whileWaiting();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (worker_.joinable())
        worker_.join();
}

void PersonList::build(bool selectedOnly)
{
    waitForWorker();
    selectedOnly_ = selectedOnly;
    sortDirection_ = 1;
    sortColumn_ = 0;
    spareKey_ = 0;
    builtHighestRin_ = db_.highestRin;
    base_.clear();
    for (int32_t rin = 1; rin <= db_.highestRin; ++rin)
        if (db_.isPerson(rin) && (!selectedOnly || (db_.persons[rin].flags & Flag::selected)))
            base_.push_back(rin);
    valid_ = true;
    if (!base_.empty()) {
        db_.sortIdle.store(0);
        worker_ = std::thread(&PersonList::sortWorker, this);
    }
}

void PersonList::sortWorker()
{
    static constexpr int32_t keys[5] = {1, 2, 4, 6, 8};
    const int last = static_cast<int>(base_.size()) - 1;
    auto compare = [this](int32_t a, int32_t b, int32_t key) { return comparePersons(db_, a, b, key); };
    for (size_t i = 0; i < presorted_.size(); ++i) {
        presorted_[i] = base_;
        sortIds(presorted_[i].data(), 0, last, keys[i], compare);
    }
    spare_ = base_;
    db_.sortIdle.store(1);
}

const std::vector<int32_t>& PersonList::orderOf(int column) const
{
    switch (column) {
    case 1:
        return presorted_[0];
    case 2:
        return presorted_[1];
    case 4:
        return presorted_[2];
    case 6:
        return presorted_[3];
    case 8:
        return presorted_[4];
    case 3:
    case 5:
    case 7:
        return spare_;
    default:
        return base_;
    }
}

int32_t PersonList::rinAt(int row) const
{
    const std::vector<int32_t>& order = orderOf(sortColumn_);
    const int count = rowCount();
    if (row < 0 || row >= count)
        return 0;
    return order[static_cast<size_t>(sortDirection_ > 0 ? row : count - 1 - row)];
}

int PersonList::rowOf(int32_t rin) const
{
    for (int row = 0; row < rowCount(); ++row)
        if (rinAt(row) == rin)
            return row;
    return -1;
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
    if ((column == 3 || column == 5 || column == 7) && spareKey_ != column && !spare_.empty()) {
        sortSpareByYears(column);
        spareKey_ = column;
    }
}

// The year keys compare a year or two and then the names of key 1, whose
// order the worker has already found. Each person's comparison is packed
// into one number (years, then the position in the surname order), so the
// sort on the window's thread compares integers: the order is that of
// comparePersons, ties aside.
void PersonList::sortSpareByYears(int key)
{
    std::vector<int64_t> packed(static_cast<size_t>(db_.highestRin) + 1, 0);
    const std::vector<int32_t>& bySurname = presorted_[0];
    for (size_t rank = 0; rank < bySurname.size(); ++rank) {
        const int32_t rin = bySurname[rank];
        const PersonRecord& p = db_.persons[rin];
        int64_t years = 0;
        switch (key) {
        case 3:
            years = birthYear(p);
            break;
        case 5:
            years = int64_t(deathYear(p)) << 12 | birthYear(p);
            break;
        default: // 7: persons with a family first, then by marriage year
            years = int64_t(firstFamily(db_, p) ? 0 : 1) << 12 | marriageYear(db_, p);
            break;
        }
        packed[static_cast<size_t>(rin)] = years << 20 | static_cast<int64_t>(rank);
    }
    sortIds(spare_.data(), 0, rowCount() - 1, key, [&packed](int32_t a, int32_t b, int32_t) {
        const int64_t x = packed[static_cast<size_t>(a)], y = packed[static_cast<size_t>(b)];
        return static_cast<int32_t>((x < y) - (x > y));
    });
}

std::string PersonList::cellText(int row, int column) const
{
    const int32_t rin = rinAt(row);
    if (!db_.validRin(rin))
        return {};
    const PersonRecord& p = db_.persons[rin];
    auto text = [](Text t) { return t ? std::string(t) : std::string(); };
    switch (column) {
    case 0:
        return formatText("%-6u", static_cast<unsigned>(rin));
    case 1:
        return text(p.surname);
    case 2:
        return text(p.given);
    case 3:
        return birthYear(p) ? formatText("%4u", static_cast<unsigned>(birthYear(p))) : std::string();
    case 4:
        return text(birthPlaceOf(p));
    case 5:
        return deathYear(p) ? formatText("%4u", static_cast<unsigned>(deathYear(p))) : std::string();
    case 6:
        return text(deathPlaceOf(p));
    case 7: {
        const int year = marriageYear(db_, p);
        if (year == 0)
            return {};
        return formatText(p.fams.count() > 1 ? "%4u..." : "%4u", static_cast<unsigned>(year));
    }
    case 8: {
        const FamilyRecord* f = firstFamily(db_, p);
        return f ? text(f->marrPlace) : std::string();
    }
    default:
        return {};
    }
}

int TypeAhead::key(const PersonList& list, const Database& db, int current, char c, double now)
{
    if (!running_ || now - started_ > sequenceSeconds) {
        typed_.clear();
        given_.clear();
        givenActive_ = false;
        running_ = true;
        started_ = now;
    }
    const int count = list.rowCount();
    if (count == 0)
        return current;
    const int column = list.sortColumn();
    if (c == ',' && column == 1) {
        givenActive_ = true;
        return current;
    }
    // Searching goes up the rows in the ascending direction, down in the other.
    const int step = list.sortDirection() > 0 ? -1 : 1;
    current = std::clamp(current, 0, count - 1);

    if (!givenActive_) {
        if (typed_.size() < maxLength)
            typed_ += c;
        auto matches = [&](int row) {
            const int32_t rin = list.rinAt(row);
            const PersonRecord& p = db.persons[rin];
            switch (column) {
            case 0:
                return rin == atoi(typed_.c_str());
            case 3:
                return compareFolded(yearText(birthYear(p)).c_str(), typed_.c_str(), static_cast<int>(typed_.size())) == 0;
            case 5:
                return compareFolded(yearText(deathYear(p)).c_str(), typed_.c_str(), static_cast<int>(typed_.size())) == 0;
            case 7:
                return compareFolded(yearText(marriageYear(db, p)).c_str(), typed_.c_str(),
                                     static_cast<int>(typed_.size())) == 0;
            default:
                return compareFolded(list.cellText(row, column).c_str(), typed_.c_str(), static_cast<int>(typed_.size())) == 0;
            }
        };
        int row = current;
        for (int tried = 0; tried < count; ++tried) {
            if (matches(row))
                return row;
            row = (row + step + count) % count;
        }
        return current;
    }

    if (c == ' ')
        return current;
    if (given_.size() < maxLength)
        given_ += c;
    int row = current;
    for (;;) {
        const PersonRecord& p = db.persons[list.rinAt(row)];
        if (!present(p.given) || compareFolded(p.given, given_.c_str(), static_cast<int>(given_.size())) >= 0 ||
            compareFolded(p.surname, typed_.c_str(), static_cast<int>(typed_.size())) != 0)
            return row;
        const int next = row + step;
        if (next < 0 || next >= count)
            return row;
        row = next;
    }
}

} // namespace kinmap
