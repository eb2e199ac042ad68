#include "base/ChangeJournal.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kinmap {

namespace {

size_t nameStart(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

bool exists(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool writeAll(int fd, const std::string& bytes)
{
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

std::string fileNameOf(const std::string& path)
{
    return path.substr(nameStart(path));
}

std::string folderOf(const std::string& path)
{
    return path.substr(0, nameStart(path));
}

std::string freeFileName(const std::string& path)
{
    if (!exists(path))
        return path;
    const size_t start = nameStart(path);
    const size_t dot = path.find_last_of('.');
    const size_t split = dot == std::string::npos || dot < start ? path.size() : dot;
    for (int n = 2;; ++n) {
        const std::string candidate = path.substr(0, split) + "-" + std::to_string(n) + path.substr(split);
        if (!exists(candidate))
            return candidate;
    }
}

std::string stateFolder()
{
    const char* state = getenv("XDG_STATE_HOME");
    if (state && *state == '/')
        return std::string(state) + "/kinmap/";
    const char* home = getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/state/kinmap/";
}

ChangeJournal::ChangeJournal() : folder_(stateFolder()) {}

void ChangeJournal::startNew()
{
    discardOwn();
    failureTold_ = false;
}

void ChangeJournal::setFolder(const std::string& folder)
{
    folder_ = folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

void ChangeJournal::write(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = vformatText(format, args);
    va_end(args);
    cutAtCharacter(text, maxFormattedLength);
    writeText(text.data(), text.size());
}

void ChangeJournal::writeText(const char* text, size_t length)
{
    if (copy)
        copy->append(text, length);
    std::string lines;
    lines.reserve(length + length / 16);
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\n')
            lines += '\r';
        lines += text[i];
    }
    int fd = -1;
    if (path_.empty()) {
        std::error_code ignored; // a folder that cannot be made is told below
        if (!folder_.empty())
            std::filesystem::create_directories(folder_, ignored);
        // A new journal takes a name nobody has, so that no other journal is
        // ever written into or deleted.
        for (int n = 1; fd < 0 && n < 1000; ++n) {
            const std::string candidate = folder_ + (n == 1 ? std::string("kinmap.log") : "kinmap-" + std::to_string(n) + ".log");
            fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0666);
            if (fd >= 0)
                path_ = candidate;
            else if (errno != EEXIST)
                break;
        }
        if (fd < 0) {
            fail("The change journal cannot be created in " + (folder_.empty() ? std::string(".") : folder_) + ": " +
                 strerror(errno));
            return;
        }
    } else {
        fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
        if (fd < 0) {
            fail("The change journal " + path_ + " cannot be opened: " + strerror(errno));
            return;
        }
    }
    const bool written = writeAll(fd, lines);
    const int error = errno;
    if (close(fd) != 0 || !written)
        fail("The change journal " + path_ + " cannot be written: " + strerror(written ? errno : error));
}

std::string ChangeJournal::moveTo(const std::string& name)
{
    lastMoveFailed_ = false;
    if (path_.empty())
        return {};
    std::string target = freeFileName(name);
    if (std::rename(path_.c_str(), target.c_str()) != 0) {
        if (errno != EXDEV) {
            lastMoveFailed_ = true;
            fail("The change journal " + path_ + " cannot be moved to " + target + ": " + strerror(errno));
            return {};
        }
        // Another file system: the journal is copied there, then this one goes.
        target = copyTo(name);
        if (target.empty())
            return {};
        std::remove(path_.c_str());
    }
    path_.clear();
    failureTold_ = false;
    return target;
}

std::string ChangeJournal::copyTo(const std::string& name)
{
    if (path_.empty())
        return {};
    lastMoveFailed_ = false;
    const std::string target = freeFileName(name);
    std::error_code error;
    if (!std::filesystem::copy_file(path_, target, error)) {
        std::remove(target.c_str()); // no empty or cut journal is left (a full disk)
        lastMoveFailed_ = true;
        fail("The change journal " + path_ + " cannot be copied to " + target + ": " + error.message());
        return {};
    }
    return target;
}

void ChangeJournal::discardOwn()
{
    if (!path_.empty())
        std::remove(path_.c_str());
    path_.clear();
}

void ChangeJournal::fail(const std::string& message)
{
    if (failureTold_)
        return;
    failureTold_ = true;
    if (onFailure)
        onFailure(message);
}

std::string journalStamp(const std::tm& t)
{
    static constexpr const char* days[7] = {"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
    static constexpr const char* months[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return formatText("%.3s %.3s%3d %d %.2d:%.2d\r\n", days[(t.tm_wday % 7 + 7) % 7], months[(t.tm_mon % 12 + 12) % 12],
                      t.tm_mday, t.tm_year + 1900, t.tm_hour, t.tm_min);
}

} // namespace kinmap
