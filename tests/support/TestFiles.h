// Temporary folders and GED texts for tests. GED texts are written in the
// tests as Latin-1 strings and encoded into the file's encoding here.
#pragma once

#include <string>

namespace kinmap::test {

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

enum class FileEncoding { latin1, utf8, utf16le };

// Latin-1 text in the encoding, with its byte order mark (none for Latin-1).
std::string encodeLatin1(const std::string& latin1, FileEncoding encoding);
std::string latin1ToUtf8(const std::string& latin1);
// UTF-8 text (any characters) as UTF-16 little endian with its mark.
std::string utf8ToUtf16le(const std::string& utf8);

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// "\n" line ends of a test text turned into "\r\n".
std::string crlf(const std::string& text);

} // namespace kinmap::test
