#include "ged/PersonText.h"

#include "base/Workspace.h"
#include "ged/GedLineIO.h"
#include "ged/Import.h"
#include "ged/ImportRules.h"

#include <algorithm>
#include <unordered_map>

namespace kinmap {

bool readPersonGedText(Workspace& s, const GedFile& file, int32_t rin, PersonGedText& text)
{
    text = PersonGedText{};
    const std::string& path = file.path;
    if (!s.db.validRin(rin) || s.db.persons[rin].fileOffset == 0) {
        text.firstLine = formatText("Person %d has no record in %s yet: it is written there by an export "
                                    "that includes it.\r\n",
                                    rin, fileNameOf(path).c_str());
        return true;
    }
    GedInput input;
    if (!input.open(file.bytes, file.format)) {
        s.errorBox("Original GED file %s cannot be read: %s", path.c_str(), input.error().c_str());
        return false;
    }
    {
        FileProgress progress(s, input.size());
        input.seek(s.db.persons[rin].fileOffset);
        text.firstLine = "0 " + s.db.personXref(rin) + " INDI\r\n";
        while (input.readLine() && lineLevel(input.text()) != 0) {
            text.recordLines += input.text();
            progress.advance(input.position());
        }
    }
    s.setStatus(0, "%s", loadedText(file).c_str());
    s.setStatus(1, "%s", "");
    return true;
}

std::string eventDateText(const Database& db, const GedFile& file, int32_t rin, std::string_view eventTag)
{
    GedInput input;
    constexpr size_t recordBuffer = 4096; // one record is read, not the file
    if (!db.validRin(rin) || db.persons[rin].fileOffset == 0 || !input.open(file.bytes, file.format, recordBuffer))
        return {};
    input.seek(db.persons[rin].fileOffset);
    bool inEvent = false;
    while (input.readLine()) {
        const std::string_view text = input.text();
        const int level = lineLevel(text);
        if (level == 0)
            break;
        if (level == 1) {
            inEvent = importTag(text, 2) == importTag(eventTag, 0);
        } else if (inEvent && level == 2 && importTag(text, 2) == importTagOf("DATE")) {
            std::string_view value = valueAt(text, 7);
            while (!value.empty() && value.back() == ' ')
                value.remove_suffix(1);
            return std::string(value);
        }
    }
    return {};
}

std::vector<int32_t> personsPointingTo(const Database& db, const GedFile& file, const std::string& identifier)
{
    std::vector<int32_t> persons;
    // Most persons are named by no other record: one search of the bytes tells.
    std::string needle;
    size_t unmappable = 0;
    encodeText(file.format.encoding, identifier, needle, unmappable);
    if (std::string_view(*file.bytes).find(needle) == std::string_view::npos)
        return persons;
    std::unordered_map<uint64_t, int32_t> personAt;
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        if (db.persons[rin].fileOffset != 0)
            personAt.emplace(db.persons[rin].fileOffset, rin);
    GedInput input;
    if (!input.open(file.bytes, file.format))
        return persons;
    int32_t current = 0;
    while (input.readLine()) {
        const std::string_view text = input.text();
        const int level = lineLevel(text);
        if (level == 0) {
            const auto found = personAt.find(input.position());
            current = found == personAt.end() ? 0 : found->second;
            continue;
        }
        if (current == 0 || (!persons.empty() && persons.back() == current))
            continue;
        if (valuePointer(text) == identifier)
            persons.push_back(current);
    }
    std::sort(persons.begin(), persons.end());
    return persons;
}

} // namespace kinmap
