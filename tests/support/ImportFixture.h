// A session with a scripted user interface, a fixed clock and a temporary
// folder, into which tests import small GED texts.
#pragma once

#include "app/FileCommands.h"
#include "app/Session.h"
#include "ged/Import.h"

#include "ScriptedUi.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace kinmap::test {

class ImportFixture : public ::testing::Test {
protected:
    ImportFixture()
    {
        session.clock.localTime = [] {
            std::tm t{};
            t.tm_wday = 3;
            t.tm_mon = 11;
            t.tm_mday = 2;
            t.tm_year = 2026 - 1900;
            t.tm_hour = 9;
            t.tm_min = 5;
            return t;
        };
        session.clock.seconds = [] { return 0LL; };
        session.journal.setFolder(dir.path()); // beside the test's files, where the tests look
    }

    // Writes a GED text (UTF-8) in an encoding and runs the Import command.
    bool importText(const std::string& utf8, FileEncoding encoding = FileEncoding::utf8WithoutMark,
                    const std::string& name = "test.ged")
    {
        return importBytes(encode(utf8, encoding), name);
    }
    // Writes the bytes of a GED file and runs the Import command.
    bool importBytes(const std::string& bytes, const std::string& name = "test.ged")
    {
        path = dir.file(name);
        fileBytes = bytes;
        writeFile(path, fileBytes);
        return importCommand(session, path);
    }

    std::string report() const
    {
        return {session.report.text(), static_cast<size_t>(session.report.length())};
    }

    TempDir dir;
    ScriptedUi ui;
    Session session{ui};
    Database& db = session.db;
    std::string path;
    std::string fileBytes;
};

} // namespace kinmap::test
