// Writes a synthetic GED file for benchmarks: families over many
// generations with accented names, every date form the import reads, notes,
// sources and citations, and duplicates as files merged from other people's
// research have them: one in a thousand persons entered again as they are,
// with a surname spelt otherwise (a vowel changed), with the given names in
// another order, and one in a thousand families entered twice. The same
// arguments always give the same file.
//
//   kinmap-generate PERSONS utf8|utf8-nobom|utf16|ansi|ansel|latin1 OUT.ged
//
// utf8 and utf16 start with a byte order mark, utf8-nobom does not; ansi is
// Windows-1252 ("1 CHAR ANSI"), ansel the GEDCOM character set with its
// diacritics before the letter, latin1 8-bit text with no CHAR line.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

namespace {

// A small fixed generator, so that the files do not depend on the library.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint32_t next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<uint32_t>(state_ >> 11);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T>
    const T& pick(const std::vector<T>& v) { return v[static_cast<size_t>(below(static_cast<int>(v.size())))]; }

private:
    uint64_t state_;
};

// Texts are Latin-1 here; the writer encodes them.
const std::vector<std::string> maleNames = {
    "Johann", "Georg", "Friedrich", "J\xFCrgen", "Karl", "Heinrich", "Wilhelm", "August", "Jos\xE9", "Fran\xE7ois",
    "S\xF8ren", "Bj\xF6rn", "\xD3lafur", "Andr\xE9", "Jean", "Pierre", "Hans", "Peter", "Michael", "Thomas",
    "Nikolaus", "Mat\xED" "as", "\xC1lvaro", "Lu\xEDs", "Ren\xE9", "Ernst", "Otto", "Paul", "Jakob", "Martin"};
const std::vector<std::string> femaleNames = {
    "Anna", "Maria", "Elisabeth", "Margaretha", "Catharina", "\xC9lise", "Zo\xEB", "Ren\xE9" "e", "In\xE9s", "\xC5sa",
    "Ingrid", "Bj\xF6rk", "Marie-Th\xE9r\xE8se", "Sophie", "Louise", "Christine", "Barbara", "Agnes", "Magdalena",
    "Dorothea", "Gertrud", "H\xE9l\xE8ne", "Mar\xED" "a", "Luc\xED" "a", "Franziska", "Theresia", "Ursula", "Helene"};
const std::vector<std::string> surnameRoots = {
    "M\xFCller", "Schmidt", "Schneider", "Fischer", "Weber", "Sch\xE4" "fer", "Becker", "Hoffmann", "Lef\xE8vre",
    "Dupr\xE9", "\xC5ngstr\xF6m", "\xDE\xF3r\xF0" "arson", "Garc\xED" "a", "Mart\xEDnez", "N\xFA\xF1" "ez", "Kr\xFCger",
    "Wei\xDF", "Gro\xDF", "Bra\xFCn", "Ol\xE9", "Hansen", "Jensen", "Nilsson", "Berger", "Dubois", "Moreau",
    "Rossi", "Bianchi", "Novak", "Horv\xE1th", "Kov\xE1\xE7", "Meier", "Wagner", "Keller", "Zimmermann", "Braun"};
const std::vector<std::string> surnameEndings = {"", "-Ost", "-West", "mann", "er", "s", "sen", "berg", "feld", "hoff"};
const std::vector<std::string> townRoots = {"K\xF6ln", "Bonn", "Stra\xDF" "burg", "G\xF6teborg", "Reykjav\xEDk",
                                            "Z\xFCrich", "M\xFCnchen", "Li\xE8ge", "Orl\xE9" "ans", "M\xE1laga",
                                            "Br\xFCnn", "P\xE9" "cs", "Gen\xE8ve", "Aarhus", "Trier", "Mainz"};
const std::vector<std::string> regions = {"Rheinland", "Bayern", "Alsace", "V\xE4stra G\xF6taland", "Isl\xE1nd",
                                          "Z\xFCrich", "Wallonie", "Andaluc\xED" "a", "M\xE4hren", "Jylland"};
const std::vector<std::string> occupations = {"B\xE4" "cker", "Bauer", "Schmied", "Lehrer", "Tagel\xF6hner",
                                              "Weber", "Pfarrer", "M\xFCller", "Kaufmann", "Schneider"};
const char* const months[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

struct Person {
    int rin = 0;
    bool male = true;
    int born = 0, died = 0; // died 0: alive
    std::string given, surname;
    std::vector<int> fams;
    int famc = 0;
};

struct Family {
    int mrin = 0, husband = 0, wife = 0, married = 0;
    std::vector<int> children;
};

enum class Encoding { utf8, utf8NoMark, utf16, ansi, ansel, latin1 };

// The ANSEL bytes of the Latin-1 letters 0xC0 to 0xFF: a diacritic (or 0)
// and the letter it stands before, or a letter of its own.
struct AnselLetter {
    char diacritic;
    char letter;
};
constexpr AnselLetter anselLetters[64] = {
    {'\xE1', 'A'}, {'\xE2', 'A'}, {'\xE3', 'A'}, {'\xE4', 'A'}, {'\xE8', 'A'}, {'\xEA', 'A'}, {0, '\xA5'}, {'\xF0', 'C'},
    {'\xE1', 'E'}, {'\xE2', 'E'}, {'\xE3', 'E'}, {'\xE8', 'E'}, {'\xE1', 'I'}, {'\xE2', 'I'}, {'\xE3', 'I'}, {'\xE8', 'I'},
    {0, '\xA3'},   {'\xE4', 'N'}, {'\xE1', 'O'}, {'\xE2', 'O'}, {'\xE3', 'O'}, {'\xE4', 'O'}, {'\xE8', 'O'}, {0, 'x'},
    {0, '\xA2'},   {'\xE1', 'U'}, {'\xE2', 'U'}, {'\xE3', 'U'}, {'\xE8', 'U'}, {'\xE2', 'Y'}, {0, '\xA4'},   {0, '\xCF'},
    {'\xE1', 'a'}, {'\xE2', 'a'}, {'\xE3', 'a'}, {'\xE4', 'a'}, {'\xE8', 'a'}, {'\xEA', 'a'}, {0, '\xB5'}, {'\xF0', 'c'},
    {'\xE1', 'e'}, {'\xE2', 'e'}, {'\xE3', 'e'}, {'\xE8', 'e'}, {'\xE1', 'i'}, {'\xE2', 'i'}, {'\xE3', 'i'}, {'\xE8', 'i'},
    {0, '\xBA'},   {'\xE4', 'n'}, {'\xE1', 'o'}, {'\xE2', 'o'}, {'\xE3', 'o'}, {'\xE4', 'o'}, {'\xE8', 'o'}, {0, '/'},
    {0, '\xB2'},   {'\xE1', 'u'}, {'\xE2', 'u'}, {'\xE3', 'u'}, {'\xE8', 'u'}, {'\xE2', 'y'}, {0, '\xB4'},   {'\xE8', 'y'},
};

class Writer {
public:
    Writer(FILE* file, Encoding encoding) : file_(file), encoding_(encoding)
    {
        if (encoding_ == Encoding::utf8)
            out_ += "\xEF\xBB\xBF";
        else if (encoding_ == Encoding::utf16)
            out_ += "\xFF\xFE";
    }
    const char* charset() const
    {
        switch (encoding_) {
        case Encoding::ansi:
            return "ANSI";
        case Encoding::ansel:
            return "ANSEL";
        case Encoding::latin1:
            return nullptr;
        default:
            return "UTF-8";
        }
    }
    ~Writer() { flush(); }

    // One line; text is Latin-1. `extra` is a character outside Latin-1
    // (UTF-8 bytes) that only the Unicode encodings can hold.
    void line(const std::string& text, const char* extra = nullptr)
    {
        put(text);
        if (extra) {
            if (encoding_ == Encoding::utf8 || encoding_ == Encoding::utf8NoMark || encoding_ == Encoding::utf16)
                putUtf8(extra);
            else if (encoding_ == Encoding::ansi)
                out_ += "\x8A"; // Š, a letter of Windows-1252 outside Latin-1
            else
                put("?");
        }
        put("\r\n");
        if (out_.size() > (1 << 20))
            flush();
    }

private:
    void put(const std::string& latin1)
    {
        for (const char ch : latin1) {
            const auto c = static_cast<unsigned char>(ch);
            switch (encoding_) {
            case Encoding::utf16:
                out_ += ch;
                out_ += '\0';
                break;
            case Encoding::utf8:
            case Encoding::utf8NoMark:
                if (c < 0x80) {
                    out_ += ch;
                } else {
                    out_ += static_cast<char>(0xC0 | (c >> 6));
                    out_ += static_cast<char>(0x80 | (c & 0x3F));
                }
                break;
            case Encoding::ansel:
                if (c < 0xC0) {
                    out_ += c < 0x80 ? ch : '?';
                } else {
                    const AnselLetter& a = anselLetters[c - 0xC0];
                    if (a.diacritic)
                        out_ += a.diacritic;
                    out_ += a.letter;
                }
                break;
            default:
                out_ += ch;
                break;
            }
        }
    }
    void putUtf8(const char* utf8)
    {
        if (encoding_ == Encoding::utf8 || encoding_ == Encoding::utf8NoMark) {
            out_ += utf8;
            return;
        }
        // UTF-16: decode the (BMP) characters of utf8.
        for (const auto* p = reinterpret_cast<const unsigned char*>(utf8); *p;) {
            uint32_t cp = *p++;
            if (cp >= 0xE0) {
                cp = ((cp & 0x0F) << 12) | ((p[0] & 0x3Fu) << 6) | (p[1] & 0x3Fu);
                p += 2;
            } else if (cp >= 0xC0) {
                cp = ((cp & 0x1F) << 6) | (p[0] & 0x3Fu);
                p += 1;
            }
            out_ += static_cast<char>(cp & 0xFF);
            out_ += static_cast<char>(cp >> 8);
        }
    }
    void flush()
    {
        fwrite(out_.data(), 1, out_.size(), file_);
        out_.clear();
    }

    FILE* file_;
    Encoding encoding_;
    std::string out_;
};

class Generator {
public:
    explicit Generator(int personCount) : random_(0x6B696E6D6170ull + static_cast<uint64_t>(personCount))
    {
        const int pairs = personCount / 1000;
        build(personCount - 3 * pairs);
        addDuplicates(pairs);
    }

    void write(Writer& w)
    {
        w.line("0 HEAD");
        w.line("1 SOUR kinmap-generate");
        w.line("1 GEDC");
        w.line("2 VERS 5.5.1");
        w.line("2 FORM LINEAGE-LINKED");
        if (const char* charset = w.charset())
            w.line(std::string("1 CHAR ") + charset);
        w.line("1 SUBM @U1@");
        w.line("0 @U1@ SUBM");
        w.line("1 NAME Synthetic Genealogist");
        for (int n = 1; n <= noteCount_; ++n) {
            w.line("0 @N" + std::to_string(n) + "@ NOTE Research note " + std::to_string(n) + " on the family from ",
                   "\xC5\x81\xC3\xB3" "d\xC5\xBA"); // Łódź
            w.line("1 CONT The church book of " + random_.pick(townRoots) + " was partly destroyed.");
        }
        for (int s = 1; s <= sourceCount_; ++s) {
            w.line("0 @S" + std::to_string(s) + "@ SOUR");
            w.line("1 TITL Kirchenbuch " + random_.pick(townRoots) + " " + std::to_string(1500 + s % 400));
            w.line("1 REPO @R1@");
        }
        w.line("0 @R1@ REPO");
        w.line("1 NAME Landesarchiv");
        for (const Person& p : persons_)
            writePerson(w, p);
        for (const Family& f : families_)
            writeFamily(w, f);
        w.line("0 TRLR");
    }

    size_t familyCount() const { return families_.size(); }

private:
    std::string surname()
    {
        // Many distinct surnames, as in a large real file.
        return random_.pick(surnameRoots) + random_.pick(surnameEndings) +
               (random_.chance(30) ? std::string(1, static_cast<char>('a' + random_.below(26))) : "");
    }
    std::string place()
    {
        std::string town = random_.pick(townRoots);
        if (random_.chance(50))
            town += '-' + std::to_string(random_.below(60));
        return town + ", " + random_.pick(regions);
    }

    // Every date form that the import reads, most of them plain.
    std::string date(int year)
    {
        const int form = random_.below(100);
        const std::string y = std::to_string(year);
        const std::string m = months[random_.below(12)];
        const std::string d = std::to_string(random_.between(1, 28));
        if (form < 45)
            return d + " " + m + " " + y;
        if (form < 60)
            return m + " " + y;
        if (form < 70)
            return y;
        if (form < 76)
            return "ABT " + y;
        if (form < 80)
            return "BEF " + y;
        if (form < 84)
            return "AFT " + y;
        if (form < 86)
            return "CAL " + y;
        if (form < 88)
            return "ABT " + m + " " + y;
        if (form < 90)
            return d + "." + std::to_string(random_.between(1, 12)) + "." + y;
        if (form < 92)
            return y + "/" + std::to_string(year + 1);
        if (form < 94)
            return "BET " + y + " AND " + std::to_string(year + 5);
        if (form < 95)
            return "EST " + y;
        if (form < 97)
            return "VOR " + y;
        if (form < 98)
            return "UNG " + y;
        return "INT " + y + " (from a letter)";
    }

    int newPerson(bool male, int born, const std::string& family)
    {
        Person p;
        p.rin = static_cast<int>(persons_.size()) + 1;
        p.male = male;
        p.born = born;
        if (born < 1900 || random_.chance(50))
            p.died = born + random_.between(0, 90);
        const auto& names = male ? maleNames : femaleNames;
        p.given = random_.pick(names) + (random_.chance(35) ? " " + random_.pick(names) : "");
        p.surname = family.empty() ? surname() : family;
        persons_.push_back(p);
        return p.rin;
    }

    void build(int personCount)
    {
        std::deque<int> unmarried;
        noteCount_ = personCount / 50 + 1;
        sourceCount_ = personCount / 200 + 1;
        while (static_cast<int>(persons_.size()) < personCount) {
            int spouse;
            if (!unmarried.empty() && random_.chance(85)) {
                spouse = unmarried.front();
                unmarried.pop_front();
            } else {
                spouse = newPerson(random_.chance(50), random_.between(1500, 1650), "");
            }
            const Person& known = persons_[static_cast<size_t>(spouse) - 1];
            const int partner = newPerson(!known.male, known.born + random_.between(-5, 8), "");
            Family f;
            f.mrin = static_cast<int>(families_.size()) + 1;
            f.husband = persons_[static_cast<size_t>(spouse) - 1].male ? spouse : partner;
            f.wife = f.husband == spouse ? partner : spouse;
            f.married = persons_[static_cast<size_t>(f.husband) - 1].born + random_.between(19, 35);
            const std::string familyName = persons_[static_cast<size_t>(f.husband) - 1].surname;
            const int children = std::vector<int>{0, 1, 1, 2, 2, 2, 3, 3, 4, 5}[static_cast<size_t>(random_.below(10))];
            for (int c = 0; c < children && static_cast<int>(persons_.size()) < personCount; ++c) {
                const int child = newPerson(random_.chance(51), f.married + 1 + c * 2 + random_.below(2), familyName);
                persons_[static_cast<size_t>(child) - 1].famc = f.mrin;
                f.children.push_back(child);
                unmarried.push_back(child);
            }
            persons_[static_cast<size_t>(f.husband) - 1].fams.push_back(f.mrin);
            persons_[static_cast<size_t>(f.wife) - 1].fams.push_back(f.mrin);
            families_.push_back(f);
        }
    }

    // A person entered again, without links: the same name and birth year,
    // or a changed spelling of either.
    enum class Copy { same, surnameSpelling, givenOrder };
    void addDuplicate(Copy copy)
    {
        const auto isCandidate = [&](const Person& p) {
            return copy != Copy::givenOrder || p.given.find(' ') != std::string::npos;
        };
        size_t original = 0;
        do
            original = static_cast<size_t>(random_.below(static_cast<int>(persons_.size())));
        while (!isCandidate(persons_[original]));
        Person p = persons_[original];
        p.rin = static_cast<int>(persons_.size()) + 1;
        p.fams.clear();
        p.famc = 0;
        if (copy == Copy::surnameSpelling) {
            // Vowels are no sound of their own: Schmidt becomes Schmedt.
            const size_t vowel = p.surname.find_first_of("aeiou", 1);
            if (vowel != std::string::npos)
                p.surname[vowel] = p.surname[vowel] == 'e' ? 'a' : 'e';
        } else if (copy == Copy::givenOrder) {
            const size_t blank = p.given.find(' ');
            p.given = p.given.substr(blank + 1) + " " + p.given.substr(0, blank);
        }
        persons_.push_back(p);
    }

    void addDuplicates(int pairs)
    {
        for (const Copy copy : {Copy::same, Copy::surnameSpelling, Copy::givenOrder})
            for (int i = 0; i < pairs; ++i)
                addDuplicate(copy);
        for (int i = 0; i < pairs; ++i) {
            Family f = families_[static_cast<size_t>(random_.below(static_cast<int>(families_.size())))];
            f.mrin = static_cast<int>(families_.size()) + 1;
            f.children.clear();
            persons_[static_cast<size_t>(f.husband) - 1].fams.push_back(f.mrin);
            persons_[static_cast<size_t>(f.wife) - 1].fams.push_back(f.mrin);
            families_.push_back(f);
        }
    }

    void writePerson(Writer& w, const Person& p)
    {
        w.line("0 @I" + std::to_string(p.rin) + "@ INDI");
        w.line("1 NAME " + p.given + " /" + p.surname + "/");
        w.line("2 GIVN " + p.given);
        w.line("2 SURN " + p.surname);
        w.line(std::string("1 SEX ") + (p.male ? "M" : "F"));
        w.line("1 BIRT");
        w.line("2 DATE " + date(p.born));
        w.line("2 PLAC " + place());
        if (random_.chance(40)) {
            w.line("2 SOUR @S" + std::to_string(random_.between(1, sourceCount_)) + "@");
            w.line("3 PAGE p. " + std::to_string(random_.between(1, 400)));
        }
        if (random_.chance(30)) {
            w.line("1 CHR");
            w.line("2 DATE " + date(p.born));
        }
        if (p.died != 0) {
            const int died = p.died;
            w.line("1 DEAT");
            w.line("2 DATE " + date(died));
            if (random_.chance(60))
                w.line("2 PLAC " + place());
            if (random_.chance(25)) {
                w.line("1 BURI");
                w.line("2 DATE " + date(died));
            }
        }
        if (random_.chance(40))
            w.line("1 OCCU " + random_.pick(occupations));
        if (random_.chance(5))
            w.line("1 NOTE @N" + std::to_string(random_.between(1, noteCount_)) + "@");
        for (int mrin : p.fams)
            w.line("1 FAMS @F" + std::to_string(mrin) + "@");
        if (p.famc) {
            w.line("1 FAMC @F" + std::to_string(p.famc) + "@");
            if (random_.chance(2))
                w.line("2 PEDI adopted");
        }
        w.line("1 _UID " + std::to_string(0x51A7E000u + static_cast<unsigned>(p.rin)));
    }

    void writeFamily(Writer& w, const Family& f)
    {
        w.line("0 @F" + std::to_string(f.mrin) + "@ FAM");
        w.line("1 HUSB @I" + std::to_string(f.husband) + "@");
        w.line("1 WIFE @I" + std::to_string(f.wife) + "@");
        for (int child : f.children)
            w.line("1 CHIL @I" + std::to_string(child) + "@");
        w.line("1 MARR");
        w.line("2 DATE " + date(f.married));
        if (random_.chance(70))
            w.line("2 PLAC " + place());
        if (random_.chance(20))
            w.line("2 SOUR @S" + std::to_string(random_.between(1, sourceCount_)) + "@");
    }

    Random random_;
    std::vector<Person> persons_;
    std::vector<Family> families_;
    int noteCount_ = 0;
    int sourceCount_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    static const struct {
        const char* name;
        Encoding encoding;
    } modes[] = {{"utf8", Encoding::utf8},   {"utf8-nobom", Encoding::utf8NoMark}, {"utf16", Encoding::utf16},
                 {"ansi", Encoding::ansi},   {"ansel", Encoding::ansel},           {"latin1", Encoding::latin1}};
    const char* usage = "usage: kinmap-generate PERSONS utf8|utf8-nobom|utf16|ansi|ansel|latin1 OUT.ged\n";
    if (argc != 4) {
        fputs(usage, stderr);
        return 2;
    }
    const int persons = atoi(argv[1]);
    const Encoding* encoding = nullptr;
    for (const auto& mode : modes)
        if (std::string(argv[2]) == mode.name)
            encoding = &mode.encoding;
    if (persons < 1 || persons >= 250000 || !encoding) {
        fputs("kinmap-generate: PERSONS from 1 to 249999\n", stderr);
        fputs(usage, stderr);
        return 2;
    }
    FILE* out = fopen(argv[3], "wb");
    if (!out) {
        perror(argv[3]);
        return 1;
    }
    Generator generator(persons);
    if (generator.familyCount() >= 100000) {
        fputs("kinmap-generate: too many families for one file\n", stderr);
        return 1;
    }
    {
        Writer writer(out, *encoding);
        generator.write(writer);
    }
    return fclose(out) == 0 ? 0 : 1;
}
