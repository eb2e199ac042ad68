#include "ged/GedLineIO.h"

#include "db/Numbers.h"
#include "db/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kinmap {

namespace {

constexpr size_t blockSize = 1 << 20;

FileStamp stampFrom(const struct stat& info)
{
    return {static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino), static_cast<uint64_t>(info.st_size),
            static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

} // namespace

int lineLevel(std::string_view line)
{
    size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    size_t digits = 0;
    const int32_t level = leadingNumber(line.substr(i), &digits);
    return digits == 0 ? -1 : level;
}

// ---- input ---------------------------------------------------------------

bool GedInput::open(const std::string& path)
{
    if (!open(path, FileFormat{}))
        return false;
    detectFormat();
    return true;
}

bool GedInput::open(const std::string& path, const FileFormat& known)
{
    close();
    error_.clear();
    missing_ = false;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        missing_ = errno == ENOENT;
        error_ = strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error_ = S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file";
        return false;
    }
    file_ = fopen(path.c_str(), "rb");
    if (!file_) {
        error_ = strerror(errno);
        return false;
    }
    size_ = static_cast<uint64_t>(info.st_size);
    start(known);
    return true;
}

bool GedInput::open(std::shared_ptr<const FileBytes> bytes)
{
    if (!open(std::move(bytes), FileFormat{}))
        return false;
    detectFormat();
    return true;
}

bool GedInput::open(std::shared_ptr<const FileBytes> bytes, const FileFormat& known, size_t bufferSize)
{
    close();
    error_.clear();
    missing_ = false;
    // A stream over the bytes, so that reading and seeking work as on a file.
    file_ = fmemopen(const_cast<char*>(bytes->data()), bytes->size(), "rb");
    if (!file_) {
        error_ = strerror(errno);
        return false;
    }
    size_ = bytes->size();
    bytes_ = std::move(bytes);
    start(known, bufferSize);
    return true;
}

void GedInput::start(const FileFormat& known, size_t bufferSize)
{
    // A small file gets a small buffer; a line longer than the buffer grows it.
    buffer_.resize(bufferSize != 0 ? bufferSize : static_cast<size_t>(std::clamp<uint64_t>(size_ + 1, 4096, blockSize)));
    bufferStart_ = 0;
    begin_ = end_ = 0;
    plainBegin_ = plainEnd_ = 0;
    atFileEnd_ = false;
    format_ = known;
    refill();
    seek(format_.markLength);
}

void GedInput::close()
{
    if (file_)
        fclose(file_);
    file_ = nullptr;
    bytes_.reset();
}

FileStamp stampOf(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? stampFrom(info) : FileStamp{};
}

FileRead readWholeFile(const std::string& path)
{
    FileRead read;
    // Non-blocking, so that a FIFO is refused rather than waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0) {
        read.missing = errno == ENOENT;
        read.error = strerror(errno);
        if (fd >= 0)
            ::close(fd);
        return read;
    }
    if (!S_ISREG(info.st_mode)) {
        read.error = S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file";
        ::close(fd);
        return read;
    }
    FileBytes bytes;
    bytes.resize(static_cast<size_t>(info.st_size));
    size_t got = 0;
    // Up to the size it had when opened; a file that grows meanwhile is read
    // as it was then.
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            read.error = n < 0 ? strerror(errno) : "the file became shorter while it was read";
            ::close(fd);
            return read;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    read.stamp = stampFrom(info);
    read.bytes = std::make_shared<const FileBytes>(std::move(bytes));
    return read;
}

void GedInput::detectFormat()
{
    const std::string_view start(buffer_.data(), end_);
    format_ = kinmap::detectFormat(start, [this, start] {
        if (bufferStart_ == 0 && end_ >= size_)
            return scanUtf8(start);
        // Larger files are scanned block by block; a character cut at the
        // end of a block is carried into the next.
        std::vector<char> block(blockSize + 4);
        size_t carried = 0;
        bool multiByte = false;
        for (off_t at = 0;;) {
            const ssize_t got = pread(fileno(file_), block.data() + carried, blockSize, at);
            if (got < 0)
                return Utf8Content::invalid;
            at += got;
            const size_t length = carried + static_cast<size_t>(got);
            const std::string_view bytes(block.data(), length);
            const size_t valid = validUtf8Prefix(bytes);
            if (got == 0 || length - valid > 3)
                return valid == length ? (multiByte ? Utf8Content::multiByte : Utf8Content::ascii) : Utf8Content::invalid;
            multiByte = multiByte || scanUtf8(bytes.substr(0, valid)) == Utf8Content::multiByte;
            carried = length - valid;
            memmove(block.data(), block.data() + valid, carried);
        }
    });
    seek(format_.markLength);
}

bool GedInput::refill()
{
    if (!file_ || atFileEnd_)
        return false;
    // What was read before the next line, or before the bytes kept, goes.
    const size_t keep = keptFrom_ >= bufferStart_ && keptFrom_ - bufferStart_ < begin_
                            ? static_cast<size_t>(keptFrom_ - bufferStart_)
                            : begin_;
    if (keep > 0) {
        std::copy(buffer_.begin() + static_cast<ptrdiff_t>(keep), buffer_.begin() + static_cast<ptrdiff_t>(end_),
                  buffer_.begin());
        bufferStart_ += keep;
        end_ -= keep;
        begin_ -= keep;
        plainBegin_ = plainBegin_ > keep ? plainBegin_ - keep : 0;
        plainEnd_ = plainEnd_ > keep ? plainEnd_ - keep : 0;
    }
    if (end_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2);
    const size_t got = fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    end_ += got;
    if (got == 0)
        atFileEnd_ = true;
    return got > 0;
}

// Where the line that starts at `from` ends (after its line end), or npos
// when the buffer does not hold its end yet.
size_t GedInput::findLineEnd(size_t from) const
{
    const char* data = buffer_.data();
    if (format_.unitBytes() == 1) {
        if (!format_.crLineEnds) {
            const void* feed = memchr(data + from, '\n', end_ - from);
            return feed ? static_cast<size_t>(static_cast<const char*>(feed) - data) + 1 : std::string::npos;
        }
        for (size_t i = from; i < end_; ++i) {
            if (data[i] == '\n')
                return i + 1;
            if (data[i] == '\r') {
                if (i + 1 == end_ && !atFileEnd_)
                    return std::string::npos; // a line feed may follow
                return i + 1 < end_ && data[i + 1] == '\n' ? i + 2 : i + 1;
            }
        }
        return std::string::npos;
    }
    const bool little = format_.encoding == Encoding::utf16le;
    auto unit = [&](size_t i) {
        const auto a = static_cast<unsigned char>(data[i]), b = static_cast<unsigned char>(data[i + 1]);
        return little ? a | b << 8 : a << 8 | b;
    };
    for (size_t i = from; i + 2 <= end_; i += 2) {
        const unsigned c = unit(i);
        if (c == '\n')
            return i + 2;
        if (c == '\r' && format_.crLineEnds) {
            if (i + 4 > end_ && !atFileEnd_)
                return std::string::npos;
            return i + 4 <= end_ && unit(i + 2) == '\n' ? i + 4 : i + 2;
        }
    }
    return std::string::npos;
}

bool GedInput::readLine()
{
    if (!file_)
        return false;
    size_t lineEnd = std::string::npos;
    for (;;) {
        lineEnd = findLineEnd(begin_);
        if (lineEnd != std::string::npos)
            break;
        if (!refill()) {
            if (begin_ == end_)
                return false;
            lineEnd = end_; // the last line, without a line end
            break;
        }
    }
    lineStart_ = bufferStart_ + begin_;
    lineBegin_ = begin_;
    raw_ = std::string_view(buffer_.data() + begin_, lineEnd - begin_);
    textKnown_ = false;
    begin_ = lineEnd;
    return true;
}

std::string_view GedInput::text()
{
    if (textKnown_)
        return text_;
    textKnown_ = true;
    // Whether a line needs decoding is found for the whole buffer at once.
    const size_t lineEnd = lineBegin_ + raw_.size();
    if (lineBegin_ < plainBegin_ || lineEnd > plainEnd_) {
        plainBegin_ = lineBegin_;
        plainEnd_ = lineBegin_ + plainPrefix(format_.encoding, std::string_view(buffer_.data() + lineBegin_, end_ - lineBegin_));
    }
    if (lineEnd <= plainEnd_) {
        text_ = raw_;
    } else {
        decodeLine(format_.encoding, raw_, decoded_);
        text_ = decoded_;
    }
    return text_;
}

void GedInput::skipRecord()
{
    if (format_.unitBytes() == 1) {
        // The level is ASCII: the buffer is searched for the next line of
        // level 0 without decoding any line.
        auto levelAt = [&](size_t from, size_t to) { return lineLevel(std::string_view(buffer_.data() + from, to - from)); };
        for (;;) {
            for (size_t lineEnd; (lineEnd = findLineEnd(begin_)) != std::string::npos; begin_ = lineEnd)
                if (levelAt(begin_, lineEnd) == 0)
                    return;
            if (!refill()) {
                if (begin_ < end_ && levelAt(begin_, end_) != 0)
                    begin_ = end_; // the last line, without a line end
                return;
            }
        }
    }
    for (;;) {
        const uint64_t start = position();
        if (!readLine())
            return;
        if (lineLevel(text()) == 0) {
            seek(start);
            return;
        }
    }
}

bool GedInput::seek(uint64_t position)
{
    if (!file_)
        return false;
    if (position >= bufferStart_ && position <= bufferStart_ + end_) {
        begin_ = static_cast<size_t>(position - bufferStart_);
        return true;
    }
    if (fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0)
        return false;
    keptFrom_ = UINT64_MAX;
    bufferStart_ = position;
    begin_ = end_ = 0;
    plainBegin_ = plainEnd_ = 0;
    atFileEnd_ = false;
    return true;
}

// ---- output ----------------------------------------------------------------

GedOutput::~GedOutput()
{
    if (file_)
        fclose(file_);
}

void GedOutput::attach(FILE* file, const FileFormat& format)
{
    file_ = file;
    format_ = format;
    buffer_.clear();
    joined_ = {};
    flushed_ = 0;
    unmappable_ = 0;
    failed_ = file == nullptr;
    error_.clear();
}

void GedOutput::flushBuffer()
{
    if (!file_ || buffer_.empty())
        return;
    if (fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        fail();
    if (copy_)
        copy_->append(buffer_.data(), buffer_.size());
    flushed_ += buffer_.size();
    buffer_.clear();
}

bool GedOutput::close()
{
    if (!file_)
        return !failed_;
    flushJoined();
    flushBuffer();
    if (fflush(file_) != 0 || ferror(file_) || fsync(fileno(file_)) != 0)
        fail();
    if (fclose(file_) != 0)
        fail();
    file_ = nullptr;
    return !failed_;
}

void GedOutput::fail()
{
    if (!failed_)
        error_ = strerror(errno);
    failed_ = true;
}

void GedOutput::writeText(std::string_view utf8, std::string_view lineEnd)
{
    flushJoined();
    encodeText(format_.encoding, utf8, buffer_, unmappable_);
    encodeText(format_.encoding, lineEnd, buffer_, unmappable_);
    flushIfFull();
}


} // namespace kinmap
