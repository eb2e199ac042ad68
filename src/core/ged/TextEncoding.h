// The encodings of GED files: which one a file uses (and why we think so),
// and the conversion of its text to and from UTF-8, the form of every text
// inside kinmap.
#pragma once

#include "db/TableAllocator.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kinmap {

enum class Encoding {
    latin1,      // ISO-8859-1, the default for 8-bit text
    utf8,
    utf16le,
    utf16be,
    ansel,       // the GEDCOM 5.5 character set: diacritics before their letter
    windows1252, // "ANSI"
    ibmPc,       // code page 437, "IBMPC"
};

const char* encodingName(Encoding encoding);

// How a GED file is written: its encoding, the byte order mark it starts
// with, whether its lines end in a carriage return alone, and why the
// encoding was chosen ("byte order mark", "from the header", ...).
struct FileFormat {
    Encoding encoding = Encoding::latin1;
    size_t markLength = 0;
    bool crLineEnds = false;
    std::string reason = "default";

    size_t unitBytes() const { return encoding == Encoding::utf16le || encoding == Encoding::utf16be ? 2 : 1; }
    // "read as UTF-8 (from the header)"
    std::string description() const;
};

// What identifies one version of a file on disk.
struct FileStamp {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The bytes of a whole file, held in huge pages where the system allows it
// (a large file would otherwise cost tens of thousands of page faults).
using FileBytes = std::basic_string<char, std::char_traits<char>, TableAllocator<char>>;

// The GED file the data was imported from. Its bytes as they were read are
// kept, so that the export copies what the import read, whatever happens
// to the file on disk since; the stamp tells whether that file changed.
struct GedFile {
    std::string path;       // empty for a new database
    std::string loadedName; // the name after the last separator, as the status bar shows it
    FileFormat format;
    std::shared_ptr<const FileBytes> bytes = std::make_shared<const FileBytes>();
    FileStamp stamp;        // of path when its bytes were read or written
};
// The file of a database begun with New: its first export writes this
// header, in UTF-8.
GedFile newGedFile();
// "x.ged loaded, read as UTF-8 (from the header)": the status while its
// data is shown.
std::string loadedText(const GedFile& file);

// What a scan of a whole file found: bytes that are no UTF-8, only ASCII,
// or valid UTF-8 with multi-byte characters.
enum class Utf8Content { invalid, ascii, multiByte };
Utf8Content scanUtf8(std::string_view bytes);

// Finds the format of a file from its first bytes (up to a MiB): a byte
// order mark, the zero bytes of UTF-16, the header's "1 CHAR" value, and,
// when none of these decides, whether the whole file is valid UTF-8 with
// multi-byte characters (scanWholeFile is called only then).
FileFormat detectFormat(std::string_view start, const std::function<Utf8Content()>& scanWholeFile);

// Decodes the bytes of one line into UTF-8. Bytes that are not valid in the
// encoding become U+FFFD; ANSEL's diacritics are put after their letter and
// composed (e ́ gives é).
void decodeLine(Encoding encoding, std::string_view bytes, std::string& utf8);
// How many bytes at the start of `bytes` are their own UTF-8 text already
// (plain ASCII, or valid UTF-8 in a UTF-8 file), so that no decoding is
// needed for lines that lie within them.
size_t plainPrefix(Encoding encoding, std::string_view bytes);

// Encodes UTF-8 text in the encoding, appending to out. A character that
// the encoding cannot hold is written as "?" and counted in unmappable.
void encodeText(Encoding encoding, std::string_view utf8, std::string& out, size_t& unmappable);

} // namespace kinmap
