// Reading and writing the bytes of GED files: encodings, line ends, long
// lines, and the conversion to and from UTF-8.
#include "ged/GedLineIO.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kinmap {
namespace {

using test::FileEncoding;
using test::TempDir;

struct Read {
    FileFormat format;
    std::vector<std::string> texts;
    std::string raw; // every line's bytes, joined
};

Read readAll(const TempDir& dir, const std::string& bytes)
{
    const std::string path = dir.file("in.ged");
    test::writeFile(path, bytes);
    GedInput input;
    EXPECT_TRUE(input.open(path)) << input.error();
    Read r;
    r.format = input.format();
    while (input.readLine()) {
        r.texts.emplace_back(input.text());
        r.raw += input.raw();
    }
    return r;
}

std::string encoded(Encoding encoding, const std::string& utf8, size_t* unmappable = nullptr)
{
    std::string out;
    size_t count = 0;
    encodeText(encoding, utf8, out, count);
    if (unmappable)
        *unmappable = count;
    return out;
}

TEST(GedInput, DetectsTheEncodingAndSaysWhy)
{
    TempDir dir;
    struct Case {
        std::string bytes;
        Encoding encoding;
        const char* reason;
    };
    const std::string body = "0 @I1@ INDI\n1 NAME Łukasz /Żółw/\n";
    const Case cases[] = {
        {test::encode("0 HEAD\n" + body, FileEncoding::utf8), Encoding::utf8, "byte order mark"},
        {test::encode("0 HEAD\n" + body, FileEncoding::utf16le), Encoding::utf16le, "byte order mark"},
        {test::encode("0 HEAD\n" + body, FileEncoding::utf16be), Encoding::utf16be, "byte order mark"},
        {test::encodeWithoutMark("0 HEAD\n" + body, FileEncoding::utf16le), Encoding::utf16le, "zero bytes"},
        {test::encodeWithoutMark("0 HEAD\n" + body, FileEncoding::utf16be), Encoding::utf16be, "zero bytes"},
        {"0 HEAD\n1 CHAR UTF-8\n" + body, Encoding::utf8, "from the header"},
        {"0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n", Encoding::ansel, "from the header"},
        {"0 HEAD\n1 CHAR ANSI\n0 @I1@ INDI\n", Encoding::windows1252, "from the header"},
        {"0 HEAD\n1 CHAR cp1252\n0 @I1@ INDI\n", Encoding::windows1252, "from the header"},
        {"0 HEAD\n1 CHAR IBMPC\n0 @I1@ INDI\n", Encoding::ibmPc, "from the header"},
        {"0 HEAD\n1 CHAR ISO-8859-1\n0 @I1@ INDI\n1 NAME \xC5sa\n", Encoding::latin1, "from the header"},
        // A declared UTF-8 that is no valid UTF-8 falls through.
        {"0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME J\xF6rg\n", Encoding::latin1, "default"},
        {"0 HEAD\n" + body, Encoding::utf8, "valid UTF-8"},
        {"0 HEAD\n1 CHAR ASCII\n0 @I1@ INDI\n", Encoding::latin1, "default"},
        {"0 HEAD\n0 @I1@ INDI\n1 NAME J\xF6rg\n", Encoding::latin1, "default"},
        {"\xEF\xBB" "A\n", Encoding::latin1, "default"}, // looks like a mark, is none
        {"", Encoding::latin1, "default"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.substr(0, 24));
        const Read r = readAll(dir, c.bytes);
        EXPECT_EQ(r.format.encoding, c.encoding);
        EXPECT_EQ(r.format.reason, c.reason);
        EXPECT_EQ(r.raw, c.bytes.substr(r.format.markLength)); // every byte is in a line
    }
    EXPECT_EQ(readAll(dir, "0 HEAD\n1 CHAR ANSEL\n").format.description(), "read as ANSEL (from the header)");
}

TEST(GedInput, ReadsTheSameTextsFromEveryEncodingAndLineEnd)
{
    TempDir dir;
    const std::string text = "0 HEAD\n1 CHAR X\n0 @I1@ INDI\n1 NAME Ёжик /Ωμέγα/ Ċ\n1 NOTE " + std::string(5000, 'n') +
                             " end\n0 TRLR";
    const std::vector<std::string> lines = {"0 HEAD", "1 CHAR X", "0 @I1@ INDI", "1 NAME Ёжик /Ωμέγα/ Ċ",
                                            "1 NOTE " + std::string(5000, 'n') + " end", "0 TRLR"};
    for (const FileEncoding encoding : {FileEncoding::utf8, FileEncoding::utf8WithoutMark, FileEncoding::utf16le,
                                        FileEncoding::utf16be}) {
        for (const std::string& end : {std::string("\n"), std::string("\r\n"), std::string("\r")}) {
            SCOPED_TRACE(static_cast<int>(encoding));
            SCOPED_TRACE(end == "\r" ? "CR" : end == "\n" ? "LF" : "CR LF");
            std::string withEnds = text;
            for (size_t at = 0; (at = withEnds.find('\n', at)) != std::string::npos; at += end.size())
                withEnds.replace(at, 1, end);
            const Read r = readAll(dir, test::encode(withEnds, encoding));
            ASSERT_EQ(r.texts.size(), lines.size());
            for (size_t i = 0; i < lines.size(); ++i)
                EXPECT_EQ(r.texts[i], lines[i] + (i + 1 < lines.size() ? end : "")) << i; // the last line has no end
            EXPECT_EQ(r.format.crLineEnds, end == "\r");
        }
    }
    // In a file with line feeds a lone carriage return belongs to its line.
    const Read mixed = readAll(dir, "\xEF\xBB\xBF" "1 NOTE a\rb\r\n1 X\n");
    EXPECT_EQ(mixed.texts, (std::vector<std::string>{"1 NOTE a\rb\r\n", "1 X\n"}));
}

TEST(GedInput, MarksBytesThatAreNotValidInTheEncoding)
{
    TempDir dir;
    // In a file with a UTF-8 mark, stray bytes become U+FFFD; the raw bytes stay.
    const Read r = readAll(dir, "\xEF\xBB\xBF" "1 A\xC3\n1 B\xFF\xE2\x82\n");
    EXPECT_EQ(r.texts, (std::vector<std::string>{"1 A\xEF\xBF\xBD\n", "1 B\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\n"}));
    EXPECT_EQ(r.raw, "1 A\xC3\n1 B\xFF\xE2\x82\n");
    // Latin-1, Windows-1252 and code page 437 map every byte.
    EXPECT_EQ(readAll(dir, "0 HEAD\n1 NOTE \xE9\x80\n").texts[1], "1 NOTE é\xC2\x80\n");
    EXPECT_EQ(readAll(dir, "0 HEAD\n1 CHAR ANSI\n1 NOTE \xE9\x80\x8A\n").texts[2], "1 NOTE é€Š\n");
    EXPECT_EQ(readAll(dir, "0 HEAD\n1 CHAR IBMPC\n1 NOTE \x81\xE1\n").texts[2], "1 NOTE üß\n");
}

TEST(Ansel, DiacriticsStandBeforeTheirLetterAndAreComposed)
{
    TempDir dir;
    const std::string ansel = "1 NAME \xE2" "Elise \xA1" "ukasz \xE8" "a\xE8" "O \xF0" "c\xE9" "s \xCF\n";
    const Read r = readAll(dir, "0 HEAD\n1 CHAR ANSEL\n" + ansel);
    ASSERT_EQ(r.texts.size(), 3u);
    EXPECT_EQ(r.texts[2], "1 NAME Élise Łukasz äÖ çš ß\n");
    // Written back, the same bytes; what ANSEL lacks becomes "?".
    EXPECT_EQ(encoded(Encoding::ansel, "1 NAME Élise Łukasz äÖ çš ß\n"), "1 NAME \xE2" "Elise \xA1" "ukasz \xE8" "a\xE8" "O \xF0" "c\xE9" "s \xCF\n");
    size_t unmappable = 0;
    EXPECT_EQ(encoded(Encoding::ansel, "Ж€", &unmappable), "?\xC8");
    EXPECT_EQ(unmappable, 1u);
}

TEST(EncodeText, WritesTheFileEncodingAndCountsWhatItCannotHold)
{
    struct Case {
        Encoding encoding;
        const char* utf8;
        std::string bytes;
        size_t unmappable;
    };
    const Case cases[] = {
        {Encoding::utf8, "Łódź €", "Łódź €", 0},
        {Encoding::latin1, "Jörg €", "J\xF6rg ?", 1},
        {Encoding::latin1, "e\xCC\x81", "\xE9", 0}, // composed first
        {Encoding::windows1252, "Jörg € Š", "J\xF6rg \x80 \x8A", 0},
        {Encoding::windows1252, "Жук", "???", 3},
        {Encoding::ibmPc, "ü ß", "\x81 \xE1", 0},
        {Encoding::utf16le, "Ać😀", std::string("A\0\x07\x01\x3D\xD8\x00\xDE", 8), 0},
        {Encoding::utf16be, "Ać", std::string("\0A\x01\x07", 4), 0},
    };
    for (const Case& c : cases) {
        size_t unmappable = 0;
        EXPECT_EQ(encoded(c.encoding, c.utf8, &unmappable), c.bytes) << c.utf8;
        EXPECT_EQ(unmappable, c.unmappable) << c.utf8;
    }
}

TEST(GedInput, SkipRecordStopsBeforeTheNextLevelZeroLineAndRefusesWhatIsNoFile)
{
    TempDir dir;
    const std::string path = dir.file("skip.ged");
    test::writeFile(path, "0 @I1@ INDI\n1 NAME A /B/\n<p>html line</p>\n2 GIVN A\n0 @I2@ INDI\n1 SEX M\n");
    GedInput input;
    ASSERT_TRUE(input.open(path));
    input.readLine();
    input.readLine();
    input.skipRecord();
    ASSERT_TRUE(input.readLine());
    EXPECT_EQ(input.text(), "0 @I2@ INDI\n");
    input.skipRecord();
    EXPECT_FALSE(input.readLine());

    EXPECT_FALSE(input.open(dir.path()));
    EXPECT_EQ(input.error(), "it is a folder");
    EXPECT_FALSE(input.open(dir.file("none.ged")));
    EXPECT_EQ(input.error(), "No such file or directory");
}

TEST(LineLevel, ReadsTheLeadingNumber)
{
    EXPECT_EQ(lineLevel("0 HEAD"), 0);
    EXPECT_EQ(lineLevel("12 _X"), 12);
    EXPECT_EQ(lineLevel("  2 DATE"), 2);
    EXPECT_EQ(lineLevel("<html>"), -1);
    EXPECT_EQ(lineLevel(""), -1);
}

} // namespace
} // namespace kinmap
