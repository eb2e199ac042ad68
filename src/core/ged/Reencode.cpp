#include "ged/Reencode.h"

#include "db/Database.h"
#include "ged/GedLineIO.h"
#include "ged/ImportRules.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kinmap {

namespace {

// The line end of a decoded line, and the line without it.
std::pair<std::string_view, std::string_view> splitLineEnd(std::string_view line)
{
    size_t end = line.size();
    while (end > 0 && (line[end - 1] == '\r' || line[end - 1] == '\n'))
        --end;
    return {line.substr(0, end), line.substr(end)};
}

} // namespace

bool convertToUtf8(GedFile& file, Database& db)
{
    GedInput input;
    if (!input.open(file.bytes, file.format))
        return false;
    FileBytes converted;
    converted.reserve(file.bytes->size() + file.bytes->size() / 8);
    std::vector<std::pair<uint64_t, uint64_t>> moved; // after each level-0 line: old position, new position
    bool inHeader = false, charDone = false;
    while (input.readLine()) {
        const std::string_view text = input.text();
        const int level = lineLevel(text);
        if (inHeader && !charDone && level == 1 && importTag(text, 2) == importTagOf("CHAR")) {
            converted.append("1 CHAR UTF-8").append(splitLineEnd(text).second);
            charDone = true;
            continue;
        }
        converted.append(text);
        if (level == 0) {
            // A record's position is just after its level-0 line.
            moved.emplace_back(input.position(), converted.size());
            const RecordLine record = recordLine(text);
            inHeader = record.identifier.empty() && importTag(text, record.tagAt) == importTagOf("HEAD");
        }
    }
    if (input.failed())
        return false;
    auto newPosition = [&moved](uint64_t old) -> uint64_t {
        const auto at = std::lower_bound(moved.begin(), moved.end(), std::pair<uint64_t, uint64_t>{old, 0});
        return at != moved.end() && at->first == old ? at->second : 0;
    };
    for (int32_t rin = 1; rin <= db.highestRin; ++rin)
        if (db.persons[rin].fileOffset != 0)
            db.persons[rin].fileOffset = newPosition(db.persons[rin].fileOffset);
    for (int32_t mrin = 1; mrin <= db.highestMrin; ++mrin)
        if (db.families[mrin].fileOffset != 0)
            db.families[mrin].fileOffset = newPosition(db.families[mrin].fileOffset);
    file.bytes = std::make_shared<const FileBytes>(std::move(converted));
    file.format = {Encoding::utf8, 0, file.format.crLineEnds, "converted to UTF-8"};
    return true;
}

} // namespace kinmap
