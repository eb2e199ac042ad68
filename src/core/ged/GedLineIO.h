// Where the bytes of a GED file become lines of UTF-8 text and such text
// becomes bytes again. The input's format (encoding, byte order mark, line
// ends) is detected when it is opened; output is written in the same format.
#pragma once

#include "ged/TextEncoding.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kinmap {

class GedInput {
public:
    GedInput() = default;
    GedInput(const GedInput&) = delete;
    GedInput& operator=(const GedInput&) = delete;
    ~GedInput() { close(); }

    // Opens a regular file and detects its format (a known format skips
    // the detection, as when a written file is read again). False when it
    // cannot be opened; error() then says why.
    bool open(const std::string& path);
    bool open(const std::string& path, const FileFormat& known);
    // Reads bytes held in memory, as a file of them (they are kept alive
    // while the input is open).
    bool open(std::shared_ptr<const FileBytes> bytes);
    // A small buffer suits reading one record here and there (it grows for
    // a longer line); 0 sizes it for reading the whole file.
    bool open(std::shared_ptr<const FileBytes> bytes, const FileFormat& known, size_t bufferSize = 0);
    void close();
    bool isOpen() const { return file_ != nullptr; }
    const FileFormat& format() const { return format_; }
    const std::string& error() const { return error_; }
    // The file is not there at all (no other reason kept it from opening).
    bool missing() const { return missing_; }

    // Reads the next line, however long; false at the end of the input. The
    // first line begins after the byte order mark.
    bool readLine();
    // The line as UTF-8 text with its line end ("\r\n", "\n" or "\r"),
    // decoded when it is first asked for.
    std::string_view text();
    // The line's bytes exactly as they stand in the file.
    std::string_view raw() const { return raw_; }
    // Where the line read last begins, and where the next one begins.
    uint64_t lineStart() const { return lineStart_; }
    uint64_t position() const { return bufferStart_ + begin_; }

    // Reads lines until the next line of level 0 and leaves the input at its
    // start. Lines without a level number belong to the record being skipped.
    void skipRecord();

    // Keeps the bytes from `position` on in the buffer while further lines
    // are read (until the next call), so that a whole record can be seen at
    // once through bytesAt.
    void keepFrom(uint64_t position) { keptFrom_ = position; }
    // Bytes read since the position kept.
    std::string_view bytesAt(uint64_t position, size_t length) const
    {
        return {buffer_.data() + (position - bufferStart_), length};
    }

    bool seek(uint64_t position);
    uint64_t size() const { return size_; }
    // True once reading the file failed (not merely ended).
    bool failed() const { return file_ && ferror(file_) != 0; }

private:
    void start(const FileFormat& known, size_t bufferSize = 0);
    bool refill();
    size_t findLineEnd(size_t from) const;
    void detectFormat();

    FILE* file_ = nullptr;
    std::shared_ptr<const FileBytes> bytes_; // what a memory input reads
    FileFormat format_;
    std::string error_;
    bool missing_ = false;
    uint64_t size_ = 0;
    std::vector<char> buffer_;
    uint64_t bufferStart_ = 0; // the file position of buffer_[0]
    size_t begin_ = 0;         // the next unread byte
    size_t end_ = 0;           // after the last byte read into the buffer
    bool atFileEnd_ = false;
    uint64_t keptFrom_ = UINT64_MAX;
    // Bytes of the buffer known to be their own UTF-8 text.
    size_t plainBegin_ = 0, plainEnd_ = 0;
    uint64_t lineStart_ = 0;
    size_t lineBegin_ = 0; // where the line read last begins in the buffer
    std::string_view raw_, text_;
    bool textKnown_ = false;
    std::string decoded_;
};

// Reads a whole regular file into bytes, with the stamp of what was read.
// False with the reason (and whether the file is missing) when it cannot.
struct FileRead {
    std::shared_ptr<const FileBytes> bytes;
    FileStamp stamp;
    std::string error;
    bool missing = false;
};
FileRead readWholeFile(const std::string& path);
// The stamp of the file at path now; a default stamp when there is none.
FileStamp stampOf(const std::string& path);

class GedOutput {
public:
    GedOutput() = default;
    GedOutput(const GedOutput&) = delete;
    GedOutput& operator=(const GedOutput&) = delete;
    ~GedOutput();

    // Writes into an open file (the output takes it over).
    void attach(FILE* file, const FileFormat& format);
    // Keeps a copy of every byte written in `copy` as well.
    void keepCopy(FileBytes* copy) { copy_ = copy; }
    // Writes what is buffered, flushes it to the disk and closes; false when
    // any write, the flush or the close failed (a full disk, for instance).
    bool close();
    bool isOpen() const { return file_ != nullptr; }
    const FileFormat& format() const { return format_; }

    // UTF-8 text and a line end (UTF-8 too), encoded in the file's
    // encoding; '%' is an ordinary character and nothing is added.
    void writeText(std::string_view utf8, std::string_view lineEnd);
    // Bytes exactly as given, already in the file's encoding. Bytes that
    // follow the bytes written last in memory are joined to them and copied
    // at once: the caller keeps them in place until the next other write or
    // flushJoined().
    void writeRaw(std::string_view bytes)
    {
        if (!joined_.empty() && joined_.data() + joined_.size() == bytes.data()) {
            joined_ = std::string_view(joined_.data(), joined_.size() + bytes.size());
            return;
        }
        flushJoined();
        joined_ = bytes;
    }
    void flushJoined()
    {
        buffer_.append(joined_);
        joined_ = {};
        flushIfFull();
    }
    // Characters of the texts written that the encoding cannot hold (each
    // written as "?").
    size_t unmappable() const { return unmappable_; }
    bool failed() const { return failed_; }
    // Why the first write, flush or close failed; empty when none did.
    const std::string& error() const { return error_; }
    // Bytes written so far: the position in the file of the next byte.
    uint64_t bytesWritten() const { return flushed_ + buffer_.size() + joined_.size(); }

private:
    void flushIfFull()
    {
        if (buffer_.size() >= (1 << 20))
            flushBuffer();
    }
    void flushBuffer();

    FILE* file_ = nullptr;
    FileFormat format_;
    std::string buffer_;
    std::string_view joined_;
    uint64_t flushed_ = 0;
    size_t unmappable_ = 0;
    FileBytes* copy_ = nullptr;
    bool failed_ = false;
    std::string error_;

    void fail();
};

// The leading level number of a line (blanks before it skipped); -1 when
// the line does not begin with a number.
int lineLevel(std::string_view line);

} // namespace kinmap
