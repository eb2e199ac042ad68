#include "ged/GedLineIO.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kinmap {
namespace {

using test::TempDir;

class GedLineIOTest : public ::testing::Test {
protected:
    // Writes bytes to a file and reads all its lines after detection.
    std::vector<std::string> readAll(const std::string& bytes, Encoding* detected = nullptr)
    {
        const std::string path = dir.file("in.ged");
        test::writeFile(path, bytes);
        GedInput input;
        EXPECT_TRUE(input.open(path));
        const Encoding encoding = input.detectEncoding();
        if (detected)
            *detected = encoding;
        std::vector<std::string> lines;
        while (const char* line = input.readLine())
            lines.emplace_back(line, static_cast<size_t>(input.lineLength()));
        return lines;
    }
    // Writes one text in an encoding and returns the bytes of the file.
    std::string written(Encoding encoding, const std::string& text)
    {
        const std::string path = dir.file("out.ged");
        GedOutput output;
        EXPECT_TRUE(output.open(path));
        output.setEncoding(encoding);
        output.writeText(text.data(), text.size());
        EXPECT_TRUE(output.close());
        return test::readFile(path);
    }
    TempDir dir;
};

TEST_F(GedLineIOTest, DetectsTheEncodingFromTheMark)
{
    Encoding e;
    EXPECT_EQ(readAll("0 HEAD\n", &e), (std::vector<std::string>{"0 HEAD\n"}));
    EXPECT_EQ(e, Encoding::ansi);
    readAll("\xEF\xBB\xBF" "0 HEAD\n", &e);
    EXPECT_EQ(e, Encoding::utf8);
    readAll("\xFF\xFE" "0\0\n\0", &e);
    EXPECT_EQ(e, Encoding::utf16le);
    // A start that looks like a mark but is none is read as 8-bit text
    // from its first byte.
    EXPECT_EQ(readAll("\xEF\xBB" "A\n1 X\n", &e), (std::vector<std::string>{"\xEF\xBB" "A\n", "1 X\n"}));
    EXPECT_EQ(e, Encoding::unknown);
    EXPECT_EQ(readAll("\xFF" "A\n", &e), (std::vector<std::string>{"\xFF" "A\n"}));
    EXPECT_EQ(e, Encoding::unknown);
    EXPECT_TRUE(readAll("", &e).empty());
}

TEST_F(GedLineIOTest, Utf8MapsLatin1LettersAndMarksTheRest)
{
    const auto lines = readAll(std::string("\xEF\xBB\xBF") + "1 NAME \xC3\x84rger \xC2\xA0\xE2\x82\xAC\r\n" + "1 X\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "1 NAME \xC4rger \xA0?\x82?\r\n");
    // A lead byte without its continuation does not swallow the line feed.
    EXPECT_EQ(readAll("\xEF\xBB\xBF" "1 A\xC3\n1 B\n"), (std::vector<std::string>{"1 A?\n", "1 B\n"}));
}

TEST_F(GedLineIOTest, Utf16ReadsPairsWithZeroHighByte)
{
    const std::string bytes = std::string("\xFF\xFE", 2) + std::string("0\0 \0H\0E\0A\0D\0\r\0\n\0", 16) +
                              std::string("1\0 \0\x3B\x04\xE9\0\n\0", 10);
    EXPECT_EQ(readAll(bytes), (std::vector<std::string>{"0 HEAD\r\n", "1 ?\xE9\n"}));
}

TEST_F(GedLineIOTest, ALastLineWithoutLineFeedArrivesInEveryEncoding)
{
    EXPECT_EQ(readAll("0 HEAD\n0 TRLR"), (std::vector<std::string>{"0 HEAD\n", "0 TRLR"}));
    EXPECT_EQ(readAll("\xEF\xBB\xBF" "0 HEAD\n0 TRLR"), (std::vector<std::string>{"0 HEAD\n", "0 TRLR"}));
    EXPECT_EQ(readAll(std::string("\xFF\xFE" "0\0\n\0" "0\0 \0T\0", 12)), (std::vector<std::string>{"0\n", "0 T"}));
}

TEST_F(GedLineIOTest, LongLinesArriveInPiecesOf999Bytes)
{
    const std::string longLine = "1 NOTE " + std::string(2493, 'x') + "\n";
    ASSERT_EQ(longLine.size(), 2501u);
    for (const std::string& mark : {std::string(), std::string("\xEF\xBB\xBF")}) {
        const auto lines = readAll(mark + longLine);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0].size(), 999u);
        EXPECT_EQ(lines[1].size(), 999u);
        EXPECT_EQ(lines[2].size(), 503u);
        EXPECT_EQ(lines[0] + lines[1] + lines[2], longLine);
    }
}

TEST_F(GedLineIOTest, RawBytesOfEachLineAreKept)
{
    const std::string path = dir.file("raw.ged");
    const std::string second = "1 NAME \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD /\xC3\xBC/\r\n";
    test::writeFile(path, "\xEF\xBB\xBF" "0 HEAD\r\n" + second);
    GedInput input;
    ASSERT_TRUE(input.open(path));
    input.detectEncoding();
    input.keepRawBytes(true);
    ASSERT_NE(input.readLine(), nullptr);
    EXPECT_EQ(input.rawLine(), "0 HEAD\r\n");
    ASSERT_NE(input.readLine(), nullptr);
    EXPECT_EQ(input.rawLine(), second);
    EXPECT_STREQ(input.readLine(), nullptr);
}

TEST_F(GedLineIOTest, SkipRecordStopsBeforeTheNextLevelZeroLine)
{
    const std::string path = dir.file("skip.ged");
    test::writeFile(path, "0 @I1@ INDI\n1 NAME A /B/\n<p>html line</p>\n2 GIVN A\n0 @I2@ INDI\n1 SEX M\n");
    GedInput input;
    ASSERT_TRUE(input.open(path));
    input.detectEncoding();
    input.readLine();
    input.readLine();
    input.skipRecord();
    EXPECT_STREQ(input.readLine(), "0 @I2@ INDI\n");
    input.skipRecord();
    EXPECT_EQ(input.readLine(), nullptr);
}

TEST_F(GedLineIOTest, WriteLineEndsWithCarriageReturnAndLineFeed)
{
    EXPECT_EQ(written(Encoding::ansi, "1 SEX M\n"), "1 SEX M\r\n");
    EXPECT_EQ(written(Encoding::ansi, "a\nb"), "a\r\n");
    EXPECT_EQ(written(Encoding::ansi, "1 SEX M\r\n"), "1 SEX M\r\n");
    EXPECT_EQ(written(Encoding::ansi, "no end"), "no end");
    EXPECT_EQ(written(Encoding::unknown, "8 bit \xE9\n"), "8 bit \xE9\r\n");
}

TEST_F(GedLineIOTest, WriteLineEncodesLikeTheInput)
{
    EXPECT_EQ(written(Encoding::utf8, "\xC4 \xA0 \x82 \xFF\n"), "\xC3\x84 \xC2\xA0 \x82 \xC3\xBF\r\n");
    EXPECT_EQ(written(Encoding::utf16le, "0 \xE9\n"), std::string("0\0 \0\xE9\0\r\0\n\0", 10));
    // What the UTF-8 reading turned into "?", 0x82, "?" goes back as such.
    EXPECT_EQ(written(Encoding::utf8, "?\x82?"), "?\x82?");
}

TEST_F(GedLineIOTest, WriteErrorsAreReported)
{
    GedOutput output;
    ASSERT_TRUE(output.open("/dev/full"));
    output.writeLine("0 @I%d@ INDI\n", 1);
    EXPECT_FALSE(output.close());
    EXPECT_FALSE(output.open(dir.file("missing-folder/x.ged")));
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
