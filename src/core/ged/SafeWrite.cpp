#include "ged/SafeWrite.h"

#include "base/Workspace.h"
#include "db/Numbers.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kinmap {

namespace {

// Where the extension begins: the last '.' of the file name, or the end.
size_t extensionStart(const std::string& path)
{
    const size_t name = path.size() - fileNameOf(path).size();
    const size_t dot = path.find_last_of('.');
    return dot == std::string::npos || dot < name ? path.size() : dot;
}

bool exists(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool samePath(const std::string& a, const std::string& b)
{
    std::error_code ignored;
    return a == b || std::filesystem::weakly_canonical(a, ignored) == std::filesystem::weakly_canonical(b, ignored);
}

void syncFolder(const std::string& path)
{
    const std::string folder = folderOf(path).empty() ? "." : folderOf(path);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
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
        size_t count = 0;
        if (leadingNumber(digits, &count) != 0 && count == digits.size())
            return backupOrTarget.substr(0, start + 1) + 'l' + digits;
    }
    return backupOrTarget.substr(0, start) + ".log";
}

bool changedSinceRead(const GedFile& file, const std::string& target)
{
    if (file.path.empty() || !samePath(target, file.path))
        return false;
    const FileStamp now = stampOf(file.path);
    return now != FileStamp{} && now != file.stamp;
}

GedRewrite::GedRewrite(Workspace& workspace, const GedFile& file, const std::string& target)
    : s_(workspace), file_(file), target_(target)
{
    // Writing to a symbolic link writes the file it names.
    std::error_code error;
    if (std::filesystem::is_symlink(target, error)) {
        const std::filesystem::path real = std::filesystem::weakly_canonical(target, error);
        if (!error)
            target_ = real.string();
    }
}

GedRewrite::~GedRewrite()
{
    if (!temporaryPath_.empty())
        undo();
}

bool GedRewrite::open(GedInput& input, GedOutput& output)
{
    const std::string& current = file_.path;
    struct stat info {};
    const bool targetExists = stat(target_.c_str(), &info) == 0;
    if (targetExists && !S_ISREG(info.st_mode)) {
        s_.errorBox("\r\nCannot write %s: %s.", target_.c_str(), S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file");
        return false;
    }
    const mode_t mode = targetExists ? info.st_mode & 07777 : 0;
    if (targetExists) {
        std::string backup = backupName(target_, 0);
        for (int counter = 1; exists(backup); ++counter)
            backup = backupName(target_, counter);
        if (std::rename(target_.c_str(), backup.c_str()) != 0) {
            s_.errorBox("OpenFiles error  %d: %s could not be renamed to %s (%s).\r\nNothing was written.", errno,
                        target_.c_str(), backup.c_str(), strerror(errno));
            return false;
        }
        backupPath_ = backup;
    }
    // The bytes the import read, not the file as it may be now.
    if (!input.open(file_.bytes, file_.format)) {
        const std::string why = input.error();
        undo();
        s_.errorBox("Original GED file %s cannot be read: %s", current.c_str(), why.c_str());
        return false;
    }
    std::string pattern = folderOf(target_) + "." + fileNameOf(target_) + ".XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        const int error = errno;
        input.close();
        undo();
        s_.errorBox("Error opening file '%s': %s", target_.c_str(), strerror(error));
        return false;
    }
    temporaryPath_ = pattern;
    if (targetExists) {
        fchmod(fd, mode);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    output.attach(fdopen(fd, "wb"), file_.format);
    return true;
}

bool GedRewrite::finish(GedOutput& output, bool writtenCompletely, bool keepJournal)
{
    const bool closed = output.close();
    std::string why = output.error();
    const bool moved = writtenCompletely && closed && std::rename(temporaryPath_.c_str(), target_.c_str()) == 0;
    if (!moved) {
        if (why.empty() && writtenCompletely && closed)
            why = strerror(errno);
        undo();
        if (why.empty())
            s_.errorBox("\r\nsave GED file failed:\r\n%s", target_.c_str());
        else
            s_.errorBox("\r\nsave GED file failed:\r\n%s\r\n(%s)", target_.c_str(), why.c_str());
        return false;
    }
    temporaryPath_.clear();
    syncFolder(target_);
    if (!backupPath_.empty())
        s_.journal.write("\n(Backup in: %s)\n", backupPath_.c_str());
    const std::string journal = journalName(backupPath_.empty() ? target_ : backupPath_);
    if (keepJournal)
        s_.journal.copyTo(journal);
    else
        s_.journal.moveTo(journal);
    return true;
}

void GedRewrite::abandon(GedOutput& output)
{
    output.close();
    undo();
}

void GedRewrite::undo()
{
    if (!temporaryPath_.empty())
        std::remove(temporaryPath_.c_str());
    temporaryPath_.clear();
    if (!backupPath_.empty() && std::rename(backupPath_.c_str(), target_.c_str()) != 0)
        s_.errorBox("The original file stays in %s: it could not be renamed back to %s (%s).", backupPath_.c_str(),
                    target_.c_str(), strerror(errno));
    backupPath_.clear();
}

} // namespace kinmap
