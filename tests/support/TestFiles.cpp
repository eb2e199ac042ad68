#include "TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

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

std::string latin1ToUtf8(const std::string& latin1)
{
    std::string out;
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string encodeLatin1(const std::string& latin1, FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::latin1:
        return latin1;
    case FileEncoding::utf8:
        return "\xEF\xBB\xBF" + latin1ToUtf8(latin1);
    case FileEncoding::utf16le: {
        std::string out = "\xFF\xFE";
        for (const char c : latin1) {
            out += c;
            out += '\0';
        }
        return out;
    }
    }
    return latin1;
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
    return std::filesystem::exists(path);
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

} // namespace kinmap::test
