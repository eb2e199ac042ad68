#include "TerminalUi.h"

#include <cstdio>

namespace kinmap {

std::string latin1ToUtf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (const char ch : text) {
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

void TerminalUi::errorBox(const std::string& text)
{
    fprintf(stderr, "ERROR: %s\n", forTerminal(text).c_str());
}

bool TerminalUi::askYesNo(const std::string& title, const std::string& text, MessageIcon)
{
    fprintf(stderr, "%s: %s\n(answered No)\n", forTerminal(title).c_str(), forTerminal(text).c_str());
    return false;
}

void TerminalUi::messageBox(const std::string& title, const std::string& text, MessageIcon)
{
    fprintf(stderr, "%s: %s\n", forTerminal(title).c_str(), forTerminal(text).c_str());
}

} // namespace kinmap
