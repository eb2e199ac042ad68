#include "exchange/PersonRecords.h"

#include "db/Database.h"

namespace kinmap {

PersonRecords::PersonRecords(const Database& db, const GedFile& file) : db_(db)
{
    constexpr size_t recordBuffer = 16384; // a record is read here and there, not the file
    open_ = input_.open(file.bytes, file.format, recordBuffer);
}

const std::vector<GedLine>& PersonRecords::read(int32_t rin)
{
    texts_ = "0 " + db_.personXref(rin) + " INDI";
    starts_.assign(1, 0);
    const uint64_t offset = db_.persons[rin].fileOffset;
    if (open_ && offset != 0 && input_.seek(offset)) {
        while (input_.readLine()) {
            const std::string_view text = input_.text();
            if (parseGedLine(text, {}).level == 0)
                break;
            starts_.push_back(texts_.size());
            texts_ += text;
        }
    }
    // The views are made once every text is in place.
    lines_.clear();
    starts_.push_back(texts_.size());
    for (size_t i = 0; i + 1 < starts_.size(); ++i) {
        const std::string_view text = std::string_view(texts_).substr(starts_[i], starts_[i + 1] - starts_[i]);
        lines_.push_back(parseGedLine(text, text));
    }
    return lines_;
}

} // namespace kinmap
