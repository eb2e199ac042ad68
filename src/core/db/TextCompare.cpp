#include "db/TextCompare.h"

namespace kinmap {

namespace {

// Bytes 192 to 255 by their Latin-1 letters: the base letter, or a look-alike
// for the few without one (Ø and ø the digit 0, ð a capital O, ÷ a slash).
constexpr char upperHalfFolding[65] =
    "aaaaaaeceeeeiiii"  // À Á Â Ã Ä Å Æ Ç È É Ê Ë Ì Í Î Ï
    "dnooooox0uuuuyps"  // Ð Ñ Ò Ó Ô Õ Ö × Ø Ù Ú Û Ü Ý Þ ß
    "aaaaaaeceeeeiiii"  // à á â ã ä å æ ç è é ê ë ì í î ï
    "Onooooo/0uuuuypy"; // ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ

// Every byte's folded form, computed once: the compare is the inner loop of
// every sort by name or place. "A"-"Z" become "a"-"z" (every byte below 97
// moves up by 32, the terminating zero to 32), accented letters their base.
struct FoldTable {
    unsigned char folded[256];
    constexpr FoldTable() : folded()
    {
        for (int c = 0; c < 256; ++c)
            folded[c] = c < 97 ? static_cast<unsigned char>(c + 32)
                        : c < 192 ? static_cast<unsigned char>(c)
                                  : static_cast<unsigned char>(upperHalfFolding[c - 192]);
    }
};
constexpr FoldTable foldTable;

} // namespace

int32_t compareFolded(const char* a, const char* b, int n)
{
    const auto* x = reinterpret_cast<const unsigned char*>(a ? a : "");
    const auto* y = reinterpret_cast<const unsigned char*>(b ? b : "");
    for (int i = 0; i < n; ++i) {
        const unsigned char fx = foldTable.folded[x[i]];
        const unsigned char fy = foldTable.folded[y[i]];
        if (fx != fy)
            return fx - fy;
        if (fx == 32) // the end of a, and of b too
            return 0;
    }
    return 0;
}

} // namespace kinmap
