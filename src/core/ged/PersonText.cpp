#include "ged/PersonText.h"

#include "base/Workspace.h"
#include "ged/GedLineIO.h"
#include "ged/Import.h"

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

} // namespace kinmap
