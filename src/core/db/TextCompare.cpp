#include "db/TextCompare.h"

#include "db/Utf8.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <memory>

namespace kinmap {

namespace {

// Characters 192 to 255 by their Latin-1 letters: the base letter, or a
// look-alike for the few without one (Ø and ø the digit 0, ð a capital O,
// ÷ a slash).
constexpr char upperHalfFolding[65] =
    "aaaaaaeceeeeiiii"  // À Á Â Ã Ä Å Æ Ç È É Ê Ë Ì Í Î Ï
    "dnooooox0uuuuyps"  // Ð Ñ Ò Ó Ô Õ Ö × Ø Ù Ú Û Ü Ý Þ ß
    "aaaaaaeceeeeiiii"  // à á â ã ä å æ ç è é ê ë ì í î ï
    "Onooooo/0uuuuypy"; // ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ

// Latin-1 characters: "A"-"Z" become "a"-"z" (everything below 97 moves up
// by 32, the end of the text to 32), accented letters their base.
constexpr uint32_t foldLatin1(uint32_t c)
{
    return c < 97 ? c + 32 : c < 192 ? c : static_cast<unsigned char>(upperHalfFolding[c - 192]);
}

// Letters whose base letter Unicode does not give by decomposition.
char32_t strokeBase(char32_t c)
{
    switch (c) {
    case 0x0142: // ł
        return 'l';
    case 0x0111: // đ
        return 'd';
    case 0x0127: // ħ
        return 'h';
    case 0x0167: // ŧ
        return 't';
    case 0x0180: // ƀ
        return 'b';
    case 0x0268: // ɨ
        return 'i';
    case 0x0131: // ı
        return 'i';
    case 0x0153: // œ
        return 'o';
    default:
        return c;
    }
}

// The folded form of every character of the Basic Multilingual Plane,
// computed once: case folded, then reduced to its base letter.
struct FoldTable {
    std::unique_ptr<uint32_t[]> folded{new uint32_t[0x10000]};
    FoldTable()
    {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
        for (uint32_t c = 0; c < 0x10000; ++c) {
            if (c < 256) {
                folded[c] = foldLatin1(c);
                continue;
            }
            char32_t f = strokeBase(static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT)));
            icu::UnicodeString decomposed;
            if (U_SUCCESS(status) && nfd->getDecomposition(static_cast<UChar32>(f), decomposed) && decomposed.length() > 0)
                f = static_cast<char32_t>(decomposed.char32At(0));
            folded[c] = f < 256 ? foldLatin1(f) : f;
        }
    }
};

const FoldTable& foldTable()
{
    static const FoldTable table;
    return table;
}

} // namespace

uint32_t foldedCharacter(char32_t c)
{
    return c < 0x10000 ? foldTable().folded[c] : static_cast<uint32_t>(c);
}

int32_t compareFolded(const char* a, const char* b, int n)
{
    const uint32_t* table = foldTable().folded.get();
    const char* x = a ? a : "";
    const char* y = b ? b : "";
    // The texts end at their zero byte; reading a code point never goes
    // past it because a zero byte is no continuation byte.
    auto next = [table](const char*& p) -> uint32_t {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 0x80) {
            if (c != 0)
                ++p;
            return table[c];
        }
        const char32_t cp = nextCodePoint(p, p + 4);
        return cp < 0x10000 ? table[cp] : static_cast<uint32_t>(cp);
    };
    for (int i = 0; i < n; ++i) {
        const uint32_t fx = next(x);
        const uint32_t fy = next(y);
        if (fx != fy)
            return static_cast<int32_t>(fx) - static_cast<int32_t>(fy);
        if (fx == 32) // the end of a, and of b too
            return 0;
    }
    return 0;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    const char* p = text.data();
    const char* const pEnd = p + text.size();
    const char* q = prefix.data();
    const char* const qEnd = q + prefix.size();
    while (q < qEnd) {
        if (p == pEnd)
            return false;
        const char32_t a = nextCodePoint(p, pEnd);
        const char32_t b = nextCodePoint(q, qEnd);
        if (a != b && u_foldCase(static_cast<UChar32>(a), U_FOLD_CASE_DEFAULT) !=
                          u_foldCase(static_cast<UChar32>(b), U_FOLD_CASE_DEFAULT))
            return false;
    }
    return true;
}

bool isUpperCaseLetter(char32_t c)
{
    return u_isupper(static_cast<UChar32>(c)) != 0;
}

} // namespace kinmap
