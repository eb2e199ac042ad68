#include "ged/TextEncoding.h"

#include "db/Utf8.h"

#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

namespace kinmap {

namespace {

// ---- single-byte code pages -------------------------------------------------

struct CodePage {
    std::array<char32_t, 256> toUnicode{};
    std::unordered_map<char32_t, unsigned char> fromUnicode;

    void addReverse()
    {
        for (int b = 255; b >= 0; --b) // the lowest byte wins where two give one character
            fromUnicode[toUnicode[static_cast<size_t>(b)]] = static_cast<unsigned char>(b);
    }
};

// A code page that ICU knows; a byte ICU leaves undefined keeps the code
// point of its value, as Windows does, so that nothing is lost.
CodePage icuCodePage(const char* name)
{
    CodePage page;
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(name, &status);
    for (int b = 0; b < 256; ++b) {
        page.toUnicode[static_cast<size_t>(b)] = static_cast<char32_t>(b);
        if (!converter)
            continue;
        const char byte = static_cast<char>(b);
        UChar unit[4];
        UErrorCode one = U_ZERO_ERROR;
        ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &one);
        const int32_t n = ucnv_toUChars(converter, unit, 4, &byte, 1, &one);
        if (U_SUCCESS(one) && n == 1 && unit[0] != 0xFFFD && unit[0] != 0x1A)
            page.toUnicode[static_cast<size_t>(b)] = unit[0];
        ucnv_reset(converter);
    }
    if (converter)
        ucnv_close(converter);
    page.addReverse();
    return page;
}

CodePage latin1Page()
{
    CodePage page;
    for (int b = 0; b < 256; ++b)
        page.toUnicode[static_cast<size_t>(b)] = static_cast<char32_t>(b);
    page.addReverse();
    return page;
}

// ---- ANSEL ----------------------------------------------------------------------

// The spacing characters of ANSEL (0xA1 to 0xCF) and its combining
// diacritics (0xE0 to 0xFE), which stand before the letter they belong to.
constexpr struct {
    unsigned char byte;
    char32_t character;
} anselTable[] = {
    {0xA1, 0x0141}, {0xA2, 0x00D8}, {0xA3, 0x0110}, {0xA4, 0x00DE}, {0xA5, 0x00C6}, {0xA6, 0x0152},
    {0xA7, 0x02B9}, {0xA8, 0x00B7}, {0xA9, 0x266D}, {0xAA, 0x00AE}, {0xAB, 0x00B1}, {0xAC, 0x01A0},
    {0xAD, 0x01AF}, {0xAE, 0x02BC}, {0xB0, 0x02BB}, {0xB1, 0x0142}, {0xB2, 0x00F8}, {0xB3, 0x0111},
    {0xB4, 0x00FE}, {0xB5, 0x00E6}, {0xB6, 0x0153}, {0xB7, 0x02BA}, {0xB8, 0x0131}, {0xB9, 0x00A3},
    {0xBA, 0x00F0}, {0xBC, 0x01A1}, {0xBD, 0x01B0}, {0xBE, 0x25A1}, {0xBF, 0x25A0}, {0xC0, 0x00B0},
    {0xC1, 0x2113}, {0xC2, 0x2117}, {0xC3, 0x00A9}, {0xC4, 0x266F}, {0xC5, 0x00BF}, {0xC6, 0x00A1},
    {0xCF, 0x00DF}, {0xC7, 0x00DF}, {0xC8, 0x20AC},
    // combining
    {0xE0, 0x0309}, {0xE1, 0x0300}, {0xE2, 0x0301}, {0xE3, 0x0302}, {0xE4, 0x0303}, {0xE5, 0x0304},
    {0xE6, 0x0306}, {0xE7, 0x0307}, {0xE8, 0x0308}, {0xE9, 0x030C}, {0xEA, 0x030A}, {0xEB, 0xFE20},
    {0xEC, 0xFE21}, {0xED, 0x0315}, {0xEE, 0x030B}, {0xEF, 0x0310}, {0xF0, 0x0327}, {0xF1, 0x0328},
    {0xF2, 0x0323}, {0xF3, 0x0324}, {0xF4, 0x0325}, {0xF5, 0x0333}, {0xF6, 0x0332}, {0xF7, 0x0326},
    {0xF8, 0x031C}, {0xF9, 0x032E}, {0xFA, 0xFE22}, {0xFB, 0xFE23}, {0xFE, 0x0313},
};

bool isAnselCombining(unsigned char b)
{
    return b >= 0xE0;
}

CodePage anselPage()
{
    CodePage page;
    for (int b = 0; b < 256; ++b)
        page.toUnicode[static_cast<size_t>(b)] = b < 0x80 ? static_cast<char32_t>(b) : replacementCharacter;
    for (const auto& entry : anselTable)
        if (page.toUnicode[entry.byte] == replacementCharacter)
            page.toUnicode[entry.byte] = entry.character;
    page.addReverse();
    page.fromUnicode.erase(replacementCharacter);
    page.fromUnicode[0x00DF] = 0xCF; // ß as GED files write it (0xC7 is read too)
    return page;
}

const CodePage& codePage(Encoding encoding)
{
    static const CodePage latin1 = latin1Page();
    static const CodePage windows1252 = icuCodePage("windows-1252");
    static const CodePage ibmPc = icuCodePage("ibm-437");
    static const CodePage ansel = anselPage();
    switch (encoding) {
    case Encoding::windows1252:
        return windows1252;
    case Encoding::ibmPc:
        return ibmPc;
    case Encoding::ansel:
        return ansel;
    default:
        return latin1;
    }
}

const icu::Normalizer2& normalizer(bool compose)
{
    UErrorCode status = U_ZERO_ERROR;
    return compose ? *icu::Normalizer2::getNFCInstance(status) : *icu::Normalizer2::getNFDInstance(status);
}

std::string normalized(std::string_view utf8, bool compose)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    const icu::UnicodeString result = normalizer(compose).normalize(text, status);
    std::string out;
    if (U_FAILURE(status))
        return std::string(utf8);
    result.toUTF8String(out);
    return out;
}

bool isAscii(std::string_view bytes)
{
    return asciiPrefix(bytes) == bytes.size();
}

// ---- detection ------------------------------------------------------------------

// The value of the header's "1 CHAR" line, in capitals; empty without one.
std::string headerCharset(std::string_view start)
{
    size_t at = 0;
    bool inHeader = false;
    while (at < start.size()) {
        size_t end = start.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            end = start.size();
        std::string_view line = start.substr(at, end - at);
        at = end + 1;
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        if (line.empty())
            continue;
        if (line[0] == '0') {
            if (inHeader)
                break; // the header ended without one
            inHeader = line.find("HEAD") != std::string_view::npos;
            continue;
        }
        if (line.starts_with("1 CHAR ") || line.starts_with("1 CHAR\t")) {
            std::string value(line.substr(7));
            while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
                value.pop_back();
            std::transform(value.begin(), value.end(), value.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
            return value;
        }
    }
    return {};
}

} // namespace

const char* encodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::latin1:
        return "Latin-1";
    case Encoding::utf8:
        return "UTF-8";
    case Encoding::utf16le:
        return "UTF-16LE";
    case Encoding::utf16be:
        return "UTF-16BE";
    case Encoding::ansel:
        return "ANSEL";
    case Encoding::windows1252:
        return "Windows-1252";
    case Encoding::ibmPc:
        return "IBM PC (code page 437)";
    }
    return "?";
}

std::string FileFormat::description() const
{
    return std::string("read as ") + encodingName(encoding) + " (" + reason + ")";
}

Utf8Content scanUtf8(std::string_view bytes)
{
    if (validUtf8Prefix(bytes) != bytes.size())
        return Utf8Content::invalid;
    return isAscii(bytes) ? Utf8Content::ascii : Utf8Content::multiByte;
}

FileFormat detectFormat(std::string_view start, const std::function<Utf8Content()>& scanWholeFile)
{
    FileFormat f;
    auto byte = [&](size_t i) { return i < start.size() ? static_cast<unsigned char>(start[i]) : 0x100u; };
    if (byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        f = {Encoding::utf8, 3, false, "byte order mark"};
    else if (byte(0) == 0xFF && byte(1) == 0xFE)
        f = {Encoding::utf16le, 2, false, "byte order mark"};
    else if (byte(0) == 0xFE && byte(1) == 0xFF)
        f = {Encoding::utf16be, 2, false, "byte order mark"};
    else if (byte(0) != 0 && byte(1) == 0 && start.size() >= 2)
        f = {Encoding::utf16le, 0, false, "zero bytes"};
    else if (byte(0) == 0 && byte(1) != 0 && start.size() >= 2)
        f = {Encoding::utf16be, 0, false, "zero bytes"};

    if (f.unitBytes() == 1 && f.markLength == 0) {
        const std::string charset = headerCharset(start);
        if (charset == "ANSEL")
            f = {Encoding::ansel, 0, false, "from the header"};
        else if (charset == "ANSI" || charset == "WINDOWS-1252" || charset == "CP1252")
            f = {Encoding::windows1252, 0, false, "from the header"};
        else if (charset == "IBMPC" || charset == "IBM-PC" || charset == "IBM PC")
            f = {Encoding::ibmPc, 0, false, "from the header"};
        else if (charset == "ISO-8859-1" || charset == "LATIN1" || charset == "LATIN-1" || charset == "ISO8859-1")
            f = {Encoding::latin1, 0, false, "from the header"};
        else {
            // A declared UTF-8 holds only when the file is valid UTF-8.
            const Utf8Content content = scanWholeFile();
            const bool declared = charset == "UTF-8" || charset == "UTF8" || charset == "UNICODE";
            if (content != Utf8Content::invalid && declared)
                f = {Encoding::utf8, 0, false, "from the header"};
            else if (content == Utf8Content::multiByte)
                f = {Encoding::utf8, 0, false, "valid UTF-8"};
        }
    }

    // Lines end in a carriage return alone when the start of the file has
    // carriage returns and no line feed.
    const size_t unit = f.unitBytes();
    bool sawCr = false, sawLf = false;
    for (size_t i = f.markLength; i + unit <= start.size() && !sawLf; i += unit) {
        const unsigned value = unit == 1 ? byte(i) : f.encoding == Encoding::utf16le ? byte(i) | byte(i + 1) << 8 : byte(i) << 8 | byte(i + 1);
        sawCr = sawCr || value == '\r';
        sawLf = value == '\n';
    }
    f.crLineEnds = sawCr && !sawLf;
    return f;
}

size_t plainPrefix(Encoding encoding, std::string_view bytes)
{
    switch (encoding) {
    case Encoding::utf8:
        return validUtf8Prefix(bytes);
    case Encoding::utf16le:
    case Encoding::utf16be:
        return 0;
    default:
        return asciiPrefix(bytes);
    }
}

void decodeLine(Encoding encoding, std::string_view bytes, std::string& out)
{
    out.clear();
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    switch (encoding) {
    case Encoding::utf8:
        while (p < end)
            appendUtf8(out, nextCodePoint(p, end));
        return;
    case Encoding::utf16le:
    case Encoding::utf16be: {
        const bool little = encoding == Encoding::utf16le;
        auto unitAt = [&](const char* q) {
            const auto a = static_cast<unsigned char>(q[0]), b = static_cast<unsigned char>(q[1]);
            return static_cast<char32_t>(little ? a | b << 8 : a << 8 | b);
        };
        for (; end - p >= 2; p += 2) {
            char32_t c = unitAt(p);
            if (c >= 0xD800 && c <= 0xDBFF && end - p >= 4) {
                const char32_t low = unitAt(p + 2);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                    p += 2;
                }
            }
            appendUtf8(out, c >= 0xD800 && c <= 0xDFFF ? replacementCharacter : c);
        }
        if (p < end)
            appendUtf8(out, replacementCharacter); // half a unit at the end of the file
        return;
    }
    case Encoding::ansel: {
        const CodePage& page = codePage(encoding);
        std::string marks;
        bool anyMark = false;
        for (; p < end; ++p) {
            const auto b = static_cast<unsigned char>(*p);
            const char32_t c = page.toUnicode[b];
            if (isAnselCombining(b) && c != replacementCharacter) {
                appendUtf8(marks, c); // waits for its letter
                anyMark = true;
                continue;
            }
            appendUtf8(out, c);
            out += marks;
            marks.clear();
        }
        out += marks; // diacritics without a letter stay
        if (anyMark)
            out = normalized(out, true);
        return;
    }
    default: {
        const CodePage& page = codePage(encoding);
        for (; p < end; ++p)
            appendUtf8(out, page.toUnicode[static_cast<unsigned char>(*p)]);
        return;
    }
    }
}

void encodeText(Encoding encoding, std::string_view utf8, std::string& out, size_t& unmappable)
{
    if (encoding == Encoding::utf8) {
        out.append(utf8);
        return;
    }
    if (isAscii(utf8) && encoding != Encoding::utf16le && encoding != Encoding::utf16be) {
        out.append(utf8);
        return;
    }
    switch (encoding) {
    case Encoding::utf16le:
    case Encoding::utf16be: {
        const bool little = encoding == Encoding::utf16le;
        auto put = [&](char32_t unit) {
            const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
            out += little ? low : high;
            out += little ? high : low;
        };
        const char* p = utf8.data();
        const char* const end = p + utf8.size();
        while (p < end) {
            const char32_t c = nextCodePoint(p, end);
            if (c >= 0x10000) {
                put(0xD800 + ((c - 0x10000) >> 10));
                put(0xDC00 + ((c - 0x10000) & 0x3FF));
            } else {
                put(c);
            }
        }
        return;
    }
    case Encoding::ansel: {
        // Decomposed, each letter's diacritics are written before it.
        const CodePage& page = codePage(encoding);
        const std::string text = normalized(utf8, false);
        const char* p = text.data();
        const char* const end = p + text.size();
        while (p < end) {
            const char32_t base = nextCodePoint(p, end);
            std::string marks;
            for (const char* q = p; q < end;) {
                const char* at = q;
                const char32_t c = nextCodePoint(q, end);
                const auto found = page.fromUnicode.find(c);
                if (found == page.fromUnicode.end() || !isAnselCombining(found->second)) {
                    q = at;
                    break;
                }
                marks += static_cast<char>(found->second);
                p = q;
            }
            const auto found = page.fromUnicode.find(base);
            out += marks;
            if (found != page.fromUnicode.end()) {
                out += static_cast<char>(found->second);
            } else {
                out += '?';
                ++unmappable;
            }
        }
        return;
    }
    default: {
        const CodePage& page = codePage(encoding);
        const std::string text = normalized(utf8, true);
        const char* p = text.data();
        const char* const end = p + text.size();
        while (p < end) {
            const char32_t c = nextCodePoint(p, end);
            const auto found = page.fromUnicode.find(c);
            if (found != page.fromUnicode.end()) {
                out += static_cast<char>(found->second);
            } else {
                out += '?';
                ++unmappable;
            }
        }
        return;
    }
    }
}

GedFile newGedFile()
{
    GedFile file;
    file.format = {Encoding::utf8, 0, false, "a new file"};
    file.bytes = std::make_shared<const FileBytes>("0 HEAD\r\n1 SOUR kinmap\r\n1 GEDC\r\n2 VERS 5.5.1\r\n"
                                                     "2 FORM LINEAGE-LINKED\r\n1 CHAR UTF-8\r\n0 TRLR\r\n");
    return file;
}

std::string loadedText(const GedFile& file)
{
    return file.loadedName + " loaded, " + file.format.description();
}

} // namespace kinmap
