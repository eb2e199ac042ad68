#include "ged/BackupFiles.h"

#include "app/Session.h"
#include "ged/GedLineIO.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace kinmap {

namespace {

// Where the extension begins: the last '.' of the file name, or the end.
size_t extensionStart(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path.size();
    return dot;
}

bool exists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

bool sameFile(const std::string& a, const std::string& b)
{
    if (a == b)
        return true;
    std::error_code ignored;
    return std::filesystem::equivalent(a, b, ignored);
}

} // namespace

std::string backupName(const std::string& target, int counter)
{
    const std::string stem = target.substr(0, extensionStart(target));
    return counter == 0 ? stem + ".bak" : stem + formatText(".b%02d", counter);
}

std::string journalName(const std::string& backupOrTarget)
{
    const size_t start = extensionStart(backupOrTarget);
    const std::string extension = backupOrTarget.substr(start);
    if (extension.size() > 2) {
        const std::string digits = extension.substr(2);
        char* end = nullptr;
        const long number = strtol(digits.c_str(), &end, 10);
        if (end != digits.c_str() && number != 0)
            return backupOrTarget.substr(0, start + 1) + 'l' + extension.substr(2);
    }
    return backupOrTarget.substr(0, start) + ".log";
}

bool openForRewrite(Session& s, const std::string& target, GedInput& input, GedOutput& output, RewriteFiles& files)
{
    files = RewriteFiles{};
    files.readPath = s.shell.currentGedPath;
    if (exists(target)) {
        const bool targetIsCurrent = sameFile(target, s.shell.currentGedPath);
        std::string backup = backupName(target, 0);
        for (int counter = 1; exists(backup); ++counter)
            backup = backupName(target, counter);
        if (std::rename(target.c_str(), backup.c_str()) != 0)
            s.errorBox("OpenFiles error  %d", errno);
        s.journal.write("\n(Backup in: %s)\n", backup.c_str());
        files.backupPath = backup;
        if (targetIsCurrent)
            files.readPath = backup;
    }
    if (!input.open(files.readPath)) {
        s.errorBox("Original GED file %s not found!", files.readPath.c_str());
        return false;
    }
    if (!output.open(target)) {
        input.close();
        s.errorBox("Error opening file '%s'", target.c_str());
        return false;
    }
    const std::string journal = journalName(files.backupPath.empty() ? target : files.backupPath);
    std::remove(journal.c_str());
    std::rename(s.journal.workingPath.c_str(), journal.c_str()); // there may be no working journal yet
    return true;
}

} // namespace kinmap
