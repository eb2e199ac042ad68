// libFuzzer target: any bytes as a GED file import or fail cleanly; what
// imports survives the link check, an export of every person and a second
// import of the written file with every person it wrote.
//   cmake -DKINMAP_FUZZ=ON with clang, then run build/tests/fuzz/kinmap_import_fuzz
// The files are written to /dev/shm when it exists, so that the export's
// flush to the disk costs nothing.
#include "app/FileCommands.h"
#include "app/Session.h"
#include "check/LinkCheck.h"
#include "ged/Export.h"
#include "ged/Import.h"

#include "ScriptedUi.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

std::string folder()
{
    const std::string shm = "/dev/shm";
    std::string dir = (std::filesystem::exists(shm) ? shm : std::filesystem::temp_directory_path().string()) + "/kinmap-fuzz-" +
                      std::to_string(getpid());
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string dir = folder();
    static const std::string in = dir + "/in.ged", out = dir + "/out.ged";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    FILE* file = fopen(in.c_str(), "wb");
    fwrite(data, 1, size, file);
    fclose(file);

    // A session of its own for each input: everything it allocates is freed
    // before the next, so libFuzzer's leak check has nothing to look at.
    kinmap::test::ScriptedUi ui;
    const auto owned = std::make_unique<kinmap::Session>(ui);
    kinmap::Session& session = *owned;
    if (!kinmap::importCommand(session, in))
        return 0;
    kinmap::checkAllLinks(session);
    int32_t persons = 0;
    for (int32_t rin = 1; rin <= session.db.highestRin; ++rin)
        persons += session.db.isPerson(rin) ? 1 : 0;
    if (!kinmap::exportAllCommand(session, out))
        abort(); // a file that imports can be written
    if (persons > 0 && (!kinmap::importCommand(session, out) || session.db.personCount != persons))
        abort(); // and read again with every person
    return 0;
}
