#include "ged/Import.h"

#include "app/Session.h"
#include "app/Shell.h"
#include "check/LinkCheck.h"
#include "ged/GedLineIO.h"
#include "ged/ImportRules.h"

#include <climits>

namespace kinmap {

FileProgress::FileProgress(Session& session, uint64_t fileSize)
    : session_(session), size_(fileSize), step_(fileSize / 100), next_(fileSize / 100)
{
    session_.ui.progressStart();
}

FileProgress::~FileProgress()
{
    session_.ui.progressEnd();
}

void FileProgress::advance(uint64_t position)
{
    if (position <= next_ || size_ == 0)
        return;
    int percent = static_cast<int>(position * 100 / size_);
    if (percent == 99)
        percent = 100;
    next_ += step_;
    session_.ui.progressAdvance(percent);
    session_.setStatus(1, "%d%% done", percent);
}

namespace {

constexpr auto tag = [](const auto& name) { return importTagOf(name); };

enum class Event { none, birth, christening, death, burial, marriage };

class GedReader {
public:
    GedReader(Session& session, GedInput& input) : s_(session), db_(session.db), input_(input) {}
    bool readFile();

private:
    bool recordLine(std::string_view line);
    void personOrFamilyLine(std::string_view line);
    void eventLine(std::string_view line);
    void nameLine(std::string_view value);
    void linkLine(IdList& list, int32_t mrin, const char* duplicateMessage);

    Session& s_;
    Database& db_;
    GedInput& input_;
    int32_t person_ = 0;
    int32_t family_ = 0;
    Event event_ = Event::none;
};

bool GedReader::readFile()
{
    FileProgress progress(s_, input_.size());
    s_.shell.gedEncoding = input_.detectEncoding();
    while (const char* text = input_.readLine()) {
        const std::string_view line(text, static_cast<size_t>(input_.lineLength()));
        switch (importLevel(line)) {
        case 0:
            progress.advance(input_.position());
            if (!recordLine(line))
                return false;
            break;
        case 1:
            event_ = Event::none;
            personOrFamilyLine(line);
            break;
        case 2:
            if (event_ != Event::none)
                eventLine(line);
            break;
        default:
            break;
        }
    }
    return true;
}

bool GedReader::recordLine(std::string_view line)
{
    event_ = Event::none;
    person_ = family_ = 0;
    const size_t at = line.size() > 3 ? line.find('@', 3) : std::string_view::npos;
    if (at == std::string_view::npos)
        return true;
    const uint32_t code = importTag(line, at + 2);
    const long long number = referenceNumber(valueAt(line, 4));
    if (code == tag("INDI")) {
        if (number >= Database::importPersonSlots) {
            s_.errorBox("\r\n GED file too big. >%d Persons", static_cast<int>(std::min<long long>(number, INT32_MAX)));
            db_.highestRin = db_.highestMrin = 0;
            return false;
        }
        if (number < 1) // no usable record number: the record is not kept
            return true;
        const auto rin = static_cast<int32_t>(number);
        db_.highestRin = std::max(db_.highestRin, rin);
        ++db_.personCount;
        PersonRecord& person = db_.importedPerson(rin);
        person.fileOffset = input_.position();
        person.flags |= Flag::exists;
        person_ = rin;
    } else if (code == tag("FAM")) {
        if (number >= Database::importFamilySlots) {
            s_.errorBox("\r\n GED file too big. >%d Families", static_cast<int>(std::min<long long>(number, INT32_MAX)));
            db_.highestRin = db_.highestMrin = 0;
            return false;
        }
        if (number < 1)
            return true;
        const auto mrin = static_cast<int32_t>(number);
        db_.highestMrin = std::max(db_.highestMrin, mrin);
        ++db_.familyCount;
        FamilyRecord& family = db_.importedFamily(mrin);
        family.fileOffset = input_.position();
        family.flags |= Flag::exists;
        family_ = mrin;
    } else if (code == tag("SOUR")) {
        if (number <= INT32_MAX)
            db_.highestSourceNumber = std::max(db_.highestSourceNumber, static_cast<int32_t>(number));
    }
    return true;
}

void GedReader::personOrFamilyLine(std::string_view line)
{
    const uint32_t code = importTag(line, 2);
    if (person_ != 0) {
        PersonRecord& person = db_.persons[person_];
        switch (code) {
        case tag("NAME"):
            nameLine(valueAt(line, 7));
            break;
        case tag("SEX"):
            person.sex = sexValue(line);
            break;
        case tag("FAMS"):
            linkLine(person.fams, linkNumber(line), "RIN %d has duplicate FAMS %d: ignored\r\n");
            break;
        case tag("FAMC"):
            linkLine(person.famc, linkNumber(line), "RIN %d has duplicate FAMC %d: ignored\r\n");
            break;
        case tag("BIRT"):
            event_ = Event::birth;
            break;
        case tag("CHR"):
            event_ = Event::christening;
            break;
        case tag("DEAT"):
            event_ = Event::death;
            break;
        case tag("BURI"):
            event_ = Event::burial;
            break;
        default:
            break;
        }
    } else if (family_ != 0) {
        FamilyRecord& family = db_.families[family_];
        switch (code) {
        case tag("HUSB"):
            family.husband = linkNumber(line);
            family.flags |= Flag::hasHusband;
            break;
        case tag("WIFE"):
            family.wife = linkNumber(line);
            family.flags |= Flag::hasWife;
            break;
        case tag("CHIL"):
            db_.appendLink(family.children, linkNumber(line));
            family.flags |= Flag::hasChildren;
            break;
        case tag("DIV"):
            if (valueAt(line, 6).starts_with('Y'))
                family.flags |= Flag::changed;
            break;
        case tag("MARR"):
            event_ = Event::marriage;
            break;
        default:
            break;
        }
    }
}

void GedReader::nameLine(std::string_view value)
{
    const std::optional<NameParts> name = nameParts(value);
    if (!name)
        return; // a NAME without a slash changes nothing
    PersonRecord& person = db_.persons[person_];
    person.surname = db_.internText(surnamePool, name->surname);
    if (*person.surname)
        person.flags |= Flag::hasSurname;
    person.given = db_.internText(givenPool, name->given);
    if (*person.given)
        person.flags |= Flag::hasGiven;
}

void GedReader::linkLine(IdList& list, int32_t mrin, const char* duplicateMessage)
{
    if (list.contains(mrin)) {
        s_.report.append(duplicateMessage, person_, mrin);
        s_.journal.write(duplicateMessage, person_, mrin);
        return;
    }
    db_.appendLink(list, mrin);
}

void GedReader::eventLine(std::string_view line)
{
    const uint32_t code = importTag(line, 2);
    const bool isDate = code == tag("DATE");
    if (!isDate && code != tag("PLAC"))
        return;

    DateValue* date = nullptr;
    Text* place = nullptr;
    uint32_t* flags = nullptr;
    uint32_t dateFlag = 0, placeFlag = 0;
    if (event_ == Event::marriage) {
        FamilyRecord& family = db_.families[family_];
        date = &family.marrDate;
        place = &family.marrPlace;
        flags = &family.flags;
        dateFlag = Flag::hasMarrDate;
        placeFlag = Flag::hasMarrPlace;
    } else {
        PersonRecord& p = db_.persons[person_];
        flags = &p.flags;
        switch (event_) {
        case Event::birth:
            date = &p.birthDate, place = &p.birthPlace, dateFlag = Flag::hasBirthDate, placeFlag = Flag::hasBirthPlace;
            break;
        case Event::christening:
            date = &p.chrisDate, place = &p.chrisPlace, dateFlag = Flag::hasChrisDate, placeFlag = Flag::hasChrisPlace;
            break;
        case Event::death:
            date = &p.deathDate, place = &p.deathPlace, dateFlag = Flag::hasDeathDate, placeFlag = Flag::hasDeathPlace;
            break;
        default:
            date = &p.burialDate, place = &p.burialPlace, dateFlag = Flag::hasBurialDate, placeFlag = Flag::hasBurialPlace;
            break;
        }
    }
    const std::string value(valueAt(line, 7));
    if (isDate) {
        parseGedDate(*date, value.c_str());
        *flags |= dateFlag;
    } else {
        *place = db_.internText(placePool, value);
        *flags |= placeFlag;
    }
}

// Reads the tables; false when a record number is too large or no person
// was read.
bool loadTables(Session& s, GedInput& input)
{
    Database& db = s.db;
    s.personList.waitForWorker(); // the background sort may be reading the tables
    db.beginImport();
    GedReader reader(s, input);
    if (!reader.readFile())
        return false;
    if (db.personCount == 0)
        return false;
    s.setStatus(1, "%d Persons", db.personCount);
    db.endImport();
    s.setStatus(1, "%d Persons %d Families", db.personCount, db.familyCount);
    s.report.append("%d Persons %d Families imported\r\n", db.personCount, db.familyCount);
    return true;
}

} // namespace

bool importGed(Session& s, const std::string& path)
{
    GedInput input;
    if (!input.open(path)) {
        s.errorBox("Original GED file %s not found!", path.c_str());
        return false;
    }
    s.journal.workingPath = ChangeJournal::workingPathFor(path);
    s.journal.write("\n# kinmap! %s", programVersion);
    s.journal.write("\n# %s", journalStamp(s.clock.localTime()).c_str());
    s.journal.write("\nImport: %s\n\n", path.c_str());
    const bool loaded = loadTables(s, input);
    input.close();
    if (s.shell.currentView == selectionView) {
        s.setStatus(0, "%s", "Selection");
        s.setStatus(1, "%d persons\t", s.personList.rowCount());
    } else {
        s.setStatus(0, "%s loaded", s.shell.loadedFileName.c_str());
        s.setStatus(1, "%s", "");
    }
    return loaded;
}

bool importCommand(Session& s, const std::string& path)
{
    if (path.find(".ged") == std::string::npos && path.find(".GED") == std::string::npos) {
        s.errorBox("\r\nFile %s has not extension .ged", path.c_str());
        return false;
    }
    const long long started = s.clock.seconds();
    resetToNoData(s);
    s.shell.currentGedPath = path;
    s.shell.loadedFileName = fileNameOf(path);
    s.setStatus(0, "Loading %s ...", s.shell.loadedFileName.c_str());

    if (!importGed(s, path)) {
        s.setStatus(1, "Maximum %d persons per GED file!", Database::importPersonSlots);
        s.errorBox("\r\nLoading of GED file %s not possible.\r\nPlease import another GED file",
                   s.shell.loadedFileName.c_str());
        s.db.clear();
        return false;
    }
    s.report.append("%s loaded in %d sec", s.shell.loadedFileName.c_str(), static_cast<int>(s.clock.seconds() - started));
    if (const int32_t repairs = checkAllLinks(s)) {
        s.report.append("\r\n\r\n%d errors corrected automatically!", repairs);
        s.report.append("%s", "\r\nPlease export to save changes!\r\n");
    }
    addRecentFile(s, path);
    enableDataCommands(s);
    showView(s, listView);
    return true;
}

} // namespace kinmap
