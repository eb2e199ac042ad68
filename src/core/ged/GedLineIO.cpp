#include "ged/GedLineIO.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

namespace kinmap {

namespace {

constexpr int maxStoredBytes = GedInput::lineBufferSize - 1;

bool isContinuationByte(int b) { return b >= 0x80 && b <= 0xBF; }

} // namespace

int lineLevel(const char* line)
{
    const char* p = line;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p < '0' || *p > '9')
        return -1;
    int level = 0;
    while (*p >= '0' && *p <= '9') {
        if (level < 1000000)
            level = level * 10 + (*p - '0');
        ++p;
    }
    return level;
}

// ---- input ---------------------------------------------------------------

bool GedInput::open(const std::string& path)
{
    close();
    file_ = fopen(path.c_str(), "rb");
    bufferStart_ = 0;
    index_ = length_ = 0;
    encoding_ = Encoding::ansi;
    return file_ != nullptr;
}

void GedInput::close()
{
    if (file_)
        fclose(file_);
    file_ = nullptr;
}

int GedInput::refillAndTake()
{
    if (!file_)
        return -1;
    bufferStart_ += length_;
    index_ = 0;
    length_ = fread(buffer_.data(), 1, buffer_.size(), file_);
    if (length_ == 0)
        return -1;
    return buffer_[index_++];
}

bool GedInput::seek(uint64_t position)
{
    if (!file_)
        return false;
    if (position >= bufferStart_ && position <= bufferStart_ + length_) {
        index_ = static_cast<size_t>(position - bufferStart_);
        return true;
    }
    if (fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0)
        return false;
    bufferStart_ = position;
    index_ = length_ = 0;
    return true;
}

uint64_t GedInput::size()
{
    if (!file_)
        return 0;
    const off_t here = ftello(file_);
    fseeko(file_, 0, SEEK_END);
    const off_t end = ftello(file_);
    fseeko(file_, here, SEEK_SET);
    return end < 0 ? 0 : static_cast<uint64_t>(end);
}

bool GedInput::atEnd()
{
    if (index_ < length_)
        return false;
    if (nextByte() < 0)
        return true;
    pushBack();
    return false;
}

Encoding GedInput::detectEncoding()
{
    seek(0);
    const int first = nextByte();
    if (first == 0xEF) {
        const int second = nextByte();
        const int third = nextByte();
        encoding_ = (second == 0xBB && third == 0xBF) ? Encoding::utf8 : Encoding::unknown;
    } else if (first == 0xFF) {
        encoding_ = nextByte() == 0xFE ? Encoding::utf16le : Encoding::unknown;
    } else {
        encoding_ = Encoding::ansi;
    }
    if (encoding_ == Encoding::ansi || encoding_ == Encoding::unknown)
        seek(0);
    return encoding_;
}

const char* GedInput::readLine()
{
    lineLength_ = 0;
    raw_.clear();
    const uint64_t start = position();
    bool tookAny = false;

    switch (encoding_) {
    case Encoding::ansi:
    case Encoding::unknown:
        while (lineLength_ < maxStoredBytes) {
            if (index_ == length_ && nextByte() >= 0)
                pushBack();
            if (index_ == length_)
                break;
            // Take a run of bytes up to the line feed at once.
            const size_t room = static_cast<size_t>(maxStoredBytes - lineLength_);
            const size_t available = std::min(room, length_ - index_);
            const unsigned char* from = buffer_.data() + index_;
            const void* feed = memchr(from, '\n', available);
            const size_t take = feed ? static_cast<size_t>(static_cast<const unsigned char*>(feed) - from) + 1 : available;
            memcpy(line_ + lineLength_, from, take);
            lineLength_ += static_cast<int>(take);
            index_ += take;
            tookAny = true;
            if (feed)
                break;
        }
        if (keepRaw_)
            raw_.assign(line_, static_cast<size_t>(lineLength_));
        break;

    case Encoding::utf8:
        while (lineLength_ < maxStoredBytes) {
            if (index_ == length_) {
                if (nextByte() < 0)
                    break;
                pushBack();
            }
            // Bytes up to 0xA0 are stored as they are: copy such a run at once.
            const unsigned char* from = buffer_.data() + index_;
            const unsigned char* end = from + std::min(length_ - index_, static_cast<size_t>(maxStoredBytes - lineLength_));
            const auto* feed = static_cast<const unsigned char*>(memchr(from, '\n', static_cast<size_t>(end - from)));
            const unsigned char* stop = feed ? feed : end;
            const unsigned char* p = from;
            for (uint64_t word; p + 8 <= stop; p += 8) { // ASCII eight bytes at a time
                memcpy(&word, p, 8);
                if (word & 0x8080808080808080ull)
                    break;
            }
            while (p < stop && *p <= 0xA0)
                ++p;
            memcpy(line_ + lineLength_, from, static_cast<size_t>(p - from));
            lineLength_ += static_cast<int>(p - from);
            index_ += static_cast<size_t>(p - from);
            tookAny = tookAny || p > from;
            if (p == end)
                continue;
            const int b = nextByte();
            tookAny = true;
            if (b == '\n') {
                store('\n');
                break;
            }
            if (b == 0xC3 || b == 0xC2) {
                const int next = nextByte();
                if (isContinuationByte(next)) {
                    store(static_cast<unsigned char>(b == 0xC3 ? (next | 0x40) : next));
                } else {
                    // A lead byte without its continuation: the byte after it
                    // (a line feed, say) is read on its own.
                    store('?');
                    if (next >= 0)
                        pushBack();
                }
            } else {
                store('?');
            }
        }
        break;

    case Encoding::utf16le:
        while (lineLength_ < maxStoredBytes) {
            const int low = nextByte();
            if (low < 0)
                break;
            tookAny = true;
            const int high = nextByte();
            if (high < 0)
                break; // a lone last byte is no character
            store(high == 0 ? static_cast<unsigned char>(low) : '?');
            if (high == 0 && low == '\n')
                break;
        }
        break;
    }

    if (!tookAny)
        return nullptr;
    line_[lineLength_] = 0;
    if (keepRaw_ && raw_.empty()) {
        // Read the consumed bytes again; they are still in the buffer unless
        // the line crossed a refill.
        const uint64_t end = position();
        if (start >= bufferStart_) {
            raw_.assign(reinterpret_cast<const char*>(buffer_.data() + (start - bufferStart_)),
                        static_cast<size_t>(end - start));
        } else {
            const size_t size = static_cast<size_t>(end - start);
            raw_.resize(size);
            fseeko(file_, static_cast<off_t>(start), SEEK_SET);
            const size_t got = fread(raw_.data(), 1, size, file_);
            raw_.resize(got);
            fseeko(file_, static_cast<off_t>(bufferStart_ + length_), SEEK_SET);
        }
    }
    return line_;
}

void GedInput::skipRecord()
{
    for (;;) {
        const uint64_t lineStart = position();
        const char* line = readLine();
        if (!line)
            return;
        if (lineLevel(line) == 0) {
            seek(lineStart);
            return;
        }
    }
}

// ---- output ----------------------------------------------------------------

bool GedOutput::open(const std::string& path)
{
    close();
    file_ = fopen(path.c_str(), "wb");
    failed_ = file_ == nullptr;
    buffer_.clear();
    flushed_ = 0;
    return file_ != nullptr;
}

void GedOutput::flushBuffer()
{
    if (!file_ || buffer_.empty())
        return;
    if (fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        failed_ = true;
    flushed_ += buffer_.size();
    buffer_.clear();
}

bool GedOutput::close()
{
    if (!file_)
        return !failed_;
    flushBuffer();
    if (fflush(file_) != 0 || ferror(file_))
        failed_ = true;
    if (fclose(file_) != 0)
        failed_ = true;
    file_ = nullptr;
    return !failed_;
}

void GedOutput::writeLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = vformatText(format, args);
    va_end(args);
    writeText(text.data(), text.size());
}

void GedOutput::writeText(const char* text, size_t length)
{
    const char* end = static_cast<const char*>(memchr(text, '\n', length));
    const char* cr = static_cast<const char*>(memchr(text, '\r', length));
    std::string line(text, length);
    if (end && (!cr || end < cr) && (end + 1 == text + length || end[1] != '\r'))
        line.replace(static_cast<size_t>(end - text), std::string::npos, "\r\n");

    encodeInto(line.data(), line.size());
    if (buffer_.size() >= (1 << 20))
        flushBuffer();
}

void GedOutput::writeEncoded(const std::string& latin1, const std::string& lineEnd)
{
    encodeInto(latin1.data(), latin1.size());
    encodeInto(lineEnd.data(), lineEnd.size());
    if (buffer_.size() >= (1 << 20))
        flushBuffer();
}

void GedOutput::encodeInto(const char* latin1, size_t length)
{
    switch (encoding_) {
    case Encoding::ansi:
    case Encoding::unknown:
        buffer_.append(latin1, length);
        break;
    case Encoding::utf8:
        for (size_t i = 0; i < length; ++i) {
            const auto c = static_cast<unsigned char>(latin1[i]);
            if (c < 0xA0) {
                buffer_ += static_cast<char>(c);
            } else if (c < 0xC0) {
                buffer_ += '\xC2';
                buffer_ += static_cast<char>(c);
            } else {
                buffer_ += '\xC3';
                buffer_ += static_cast<char>(c & 0xBF);
            }
        }
        break;
    case Encoding::utf16le:
        for (size_t i = 0; i < length; ++i) {
            buffer_ += latin1[i];
            buffer_ += '\0';
        }
        break;
    }
}

void GedOutput::writeRaw(const char* bytes, size_t length)
{
    buffer_.append(bytes, length);
    if (buffer_.size() >= (1 << 20))
        flushBuffer();
}

} // namespace kinmap
