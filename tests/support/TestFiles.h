// Temporary folders and GED texts for tests. GED texts are written in the
// tests as UTF-8 and encoded into the file's encoding here, by rules kept
// apart from the code under test.
#pragma once

#include <functional>
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

enum class FileEncoding { latin1, utf8, utf8WithoutMark, utf16le, utf16be };

// UTF-8 text in the encoding, with its byte order mark where it has one
// (Latin-1 takes only texts whose characters it holds).
std::string encode(const std::string& utf8, FileEncoding encoding);
// The bytes the encoding gives text, without a byte order mark.
std::string encodeWithoutMark(const std::string& utf8, FileEncoding encoding);

void writeFile(const std::string& path, const std::string& bytes);
// Runs work while files may grow to at most `bytes`: a longer write fails
// as on a full disk ("File too large").
void withFileSizeLimit(size_t bytes, const std::function<void()>& work);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// "\n" line ends of a test text turned into "\r\n" or "\r".
std::string crlf(const std::string& text);
std::string cr(const std::string& text);

} // namespace kinmap::test
