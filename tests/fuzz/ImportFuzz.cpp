// libFuzzer target: any bytes as a GED file must import or fail cleanly.
//   cmake -DKINMAP_FUZZ=ON with clang, then run build/tests/fuzz/kinmap_import_fuzz
#include "app/Session.h"
#include "check/LinkCheck.h"
#include "ged/Import.h"

#include "ScriptedUi.h"

#include <cstdio>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/kinmap-fuzz-" + std::to_string(getpid()) + ".ged";
    FILE* file = fopen(path.c_str(), "wb");
    fwrite(data, 1, size, file);
    fclose(file);
    static kinmap::test::ScriptedUi ui;
    static kinmap::Session session(ui); // each import starts from no data
    if (kinmap::importCommand(session, path))
        kinmap::checkAllLinks(session);
    std::remove(kinmap::ChangeJournal::workingPathFor(path).c_str());
    return 0;
}
