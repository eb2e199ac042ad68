#include "TestFiles.h"

#include <csignal>
#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace kinmap::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kinmap-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

namespace {

std::vector<uint32_t> codePoints(const std::string& utf8)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        uint32_t cp = extra == 3 ? c & 0x07 : extra == 2 ? c & 0x0F : extra == 1 ? c & 0x1F : c;
        for (int k = 1; k <= extra; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]) & 0x3F);
        out.push_back(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

} // namespace

std::string encodeWithoutMark(const std::string& utf8, FileEncoding encoding)
{
    std::string out;
    switch (encoding) {
    case FileEncoding::utf8:
    case FileEncoding::utf8WithoutMark:
        return utf8;
    case FileEncoding::latin1:
        for (const uint32_t cp : codePoints(utf8)) {
            if (cp > 0xFF)
                throw std::runtime_error("not a Latin-1 text");
            out += static_cast<char>(cp);
        }
        return out;
    case FileEncoding::utf16le:
    case FileEncoding::utf16be:
        for (uint32_t cp : codePoints(utf8)) {
            auto put = [&](uint32_t unit) {
                const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
                out += encoding == FileEncoding::utf16le ? low : high;
                out += encoding == FileEncoding::utf16le ? high : low;
            };
            if (cp >= 0x10000) {
                cp -= 0x10000;
                put(0xD800 + (cp >> 10));
                put(0xDC00 + (cp & 0x3FF));
            } else {
                put(cp);
            }
        }
        return out;
    }
    return out;
}

std::string encode(const std::string& utf8, FileEncoding encoding)
{
    const std::string bytes = encodeWithoutMark(utf8, encoding);
    switch (encoding) {
    case FileEncoding::utf8:
        return "\xEF\xBB\xBF" + bytes;
    case FileEncoding::utf16le:
        return "\xFF\xFE" + bytes;
    case FileEncoding::utf16be:
        return "\xFE\xFF" + bytes;
    default:
        return bytes;
    }
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool fileExists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

std::string crlf(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::string cr(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        if (c == '\n')
            c = '\r';
    return out;
}

void withFileSizeLimit(size_t bytes, const std::function<void()>& work)
{
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = bytes;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    work();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

} // namespace kinmap::test
