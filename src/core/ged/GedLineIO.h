// Where the bytes of a GED file become 8-bit Latin-1 lines and such lines
// become bytes again. The input's encoding is detected once from its byte
// order mark; output is written in the same encoding.
#pragma once

#include "app/Format.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kinmap {

enum class Encoding {
    ansi,    // 8-bit text without a mark, taken as Latin-1
    utf8,    // EF BB BF
    utf16le, // FF FE
    unknown, // starts like a mark but is none; read and written as 8-bit text from the first byte
};

class GedInput {
public:
    static constexpr int lineBufferSize = 1000; // a line read holds at most 999 bytes

    GedInput() = default;
    GedInput(const GedInput&) = delete;
    GedInput& operator=(const GedInput&) = delete;
    ~GedInput() { close(); }

    bool open(const std::string& path);
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // Reads the mark at the start of the file and leaves the input at the
    // first byte after it (at the first byte of the file for 8-bit text).
    Encoding detectEncoding();
    // Reads with a known encoding, as when a file is read again.
    void setEncoding(Encoding encoding) { encoding_ = encoding; }
    Encoding encoding() const { return encoding_; }

    // The next line as zero-terminated 8-bit text with its line end, or null
    // at the end of the input. A physical line longer than 999 stored bytes
    // arrives in pieces. A last line without a line feed arrives whole.
    const char* readLine();
    int lineLength() const { return lineLength_; }
    // With keepRawBytes set, rawLine() holds the bytes of the last line
    // read exactly as they stand in the file.
    void keepRawBytes(bool keep) { keepRaw_ = keep; }
    const std::string& rawLine() const { return raw_; }

    // Reads lines until the next line of level 0 and leaves the input at its
    // start. Lines without a level number belong to the record being skipped.
    void skipRecord();

    // True once reading the file failed (not merely ended).
    bool failed() const { return file_ && ferror(file_) != 0; }
    uint64_t position() const { return bufferStart_ + index_; }
    bool seek(uint64_t position);
    uint64_t size();
    bool atEnd();

private:
    int nextByte()
    {
        if (index_ < length_)
            return buffer_[index_++];
        return refillAndTake();
    }
    int refillAndTake();
    void pushBack() { --index_; }
    void store(unsigned char c) { line_[lineLength_++] = static_cast<char>(c); }

    FILE* file_ = nullptr;
    Encoding encoding_ = Encoding::ansi;
    std::vector<unsigned char> buffer_ = std::vector<unsigned char>(1 << 20);
    uint64_t bufferStart_ = 0;
    size_t index_ = 0;
    size_t length_ = 0;
    char line_[lineBufferSize] = {};
    int lineLength_ = 0;
    bool keepRaw_ = false;
    std::string raw_;
};

class GedOutput {
public:
    GedOutput() = default;
    GedOutput(const GedOutput&) = delete;
    GedOutput& operator=(const GedOutput&) = delete;
    ~GedOutput() { close(); }

    bool open(const std::string& path);
    // Writes what is buffered and closes; false when any write or the close
    // failed (a full disk, for instance).
    bool close();
    bool isOpen() const { return file_ != nullptr; }
    void setEncoding(Encoding encoding) { encoding_ = encoding; }

    // Formats one line and writes it in the encoding: a line that ends in a
    // lone line feed gets CR LF, and anything after that line feed is dropped.
    void writeLine(const char* format, ...) KINMAP_PRINTF(2, 3);
    // The same for a text taken as it is ('%' is an ordinary character).
    void writeText(const char* text, size_t length);
    // Bytes exactly as given, already in the file's encoding.
    void writeRaw(const char* bytes, size_t length);
    // A Latin-1 text and a line end (Latin-1 too), encoded; '%' is an
    // ordinary character and no line end is added or changed.
    void writeEncoded(const std::string& latin1, const std::string& lineEnd);
    bool failed() const { return failed_; }
    // Bytes written so far: the position in the file of the next byte.
    uint64_t bytesWritten() const { return flushed_ + buffer_.size(); }

private:
    void flushBuffer();
    void encodeInto(const char* latin1, size_t length);

    FILE* file_ = nullptr;
    Encoding encoding_ = Encoding::ansi;
    std::string buffer_;
    uint64_t flushed_ = 0;
    bool failed_ = false;
};

// The leading level number of a line (blanks before it skipped); -1 when
// the line does not begin with a number.
int lineLevel(const char* line);

} // namespace kinmap
