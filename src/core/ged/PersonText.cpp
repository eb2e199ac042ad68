#include "ged/PersonText.h"

#include "app/Session.h"
#include "ged/Import.h"

namespace kinmap {

bool readPersonGedText(Session& s, int32_t rin, PersonGedText& text)
{
    text = PersonGedText{};
    const std::string& path = s.shell.currentGedPath;
    if (!s.db.validRin(rin) || s.db.persons[rin].fileOffset == 0) {
        text.firstLine = formatText("Person %d has no record in %s yet: it is written there by an export "
                                    "that includes it.\r\n",
                                    rin, fileNameOf(path).c_str());
        return true;
    }
    GedInput input;
    if (!input.open(path)) {
        s.errorBox("Original GED file %s not found!", path.c_str());
        return false;
    }
    {
        FileProgress progress(s, input.size());
        text.encoding = input.detectEncoding();
        input.seek(s.db.persons[rin].fileOffset);
        input.keepRawBytes(true);
        text.firstLine = formatText("0 @I%d@ INDI\r\n", rin);
        while (const char* line = input.readLine()) {
            if (line[0] == '0' && (line[1] < '0' || line[1] > '9'))
                break;
            text.recordLines += input.rawLine();
            progress.advance(input.position());
        }
    }
    s.setStatus(0, "%s loaded", s.shell.loadedFileName.c_str());
    s.setStatus(1, "%s", "");
    return true;
}

} // namespace kinmap
